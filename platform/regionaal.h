// Numbers in text boxes and messages follow the user's regional settings
// (the default QLocale, which is the system locale unless a test pins one).
#pragma once

#include <QString>
#include <optional>

namespace zarvo::gui {

char decimaalteken();  // '.' or ',' of the current locale
QString getalNaarTekstRegionaal(double x);  // default conversion, regional separator
// The whole text as a number in the regional format (blanks around it are
// allowed); nullopt when it is not a finite number.
std::optional<double> leesGetalRegionaal(const QString& tekst);
QString formaat00Regionaal(double x);  // "###0.00" with the regional separator

}  // namespace zarvo::gui
