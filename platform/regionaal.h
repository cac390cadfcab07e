// Numbers in text boxes and messages follow the user's regional settings
// (the default QLocale, which is the system locale unless a test pins one).
#pragma once

#include <QString>
#include <QTranslator>
#include <optional>
#include <string_view>

namespace zarvo::gui {

char decimaalteken();  // '.' or ',' of the current locale
QString getalNaarTekstRegionaal(double x);  // default conversion, regional separator
// The whole text as a number in the regional format (blanks around it are
// allowed); nullopt when it is not a finite number.
std::optional<double> leesGetalRegionaal(const QString& tekst);
QString formaat00Regionaal(double x);  // "###0.00" with the regional separator
// "###0.00" of a pointer coordinate. The pointer position is single
// precision; it is rounded from the decimal the user reads for it (12.345
// shows as 12.35), not from the binary value just below it.
QString formaat00Aanwijzer(float waarde);
// The cross-section read-out under the pointer: "L = 12.35m, Z = -1.50m".
QString uitleesLZ(double l, double z);

// Text from an input file for the screen: UTF-8, or else Windows-1252, in
// which files from older Windows tools come. Only the display changes; the
// bytes in the store and in the result stay exactly as read.
QString tekstUitBestand(std::string_view bytes);

// When the user's language is Dutch, Qt's own texts (the file dialog, the
// standard buttons) speak Dutch too. Returns the installed translator, or
// nullptr when none was loaded.
QTranslator* laadQtVertalingen();

}  // namespace zarvo::gui
