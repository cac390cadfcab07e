// One built profile drawn onto a picture box, for the ditch screen and for
// the report alike: the cross-section with its coded points, the bottom
// points the construction made, the selection markers, the ground the ditch
// replaced and the two water-level lines; and the texts of the
// "Slootmaten" panel.
#pragma once

#include <QColor>
#include <QString>
#include <array>
#include <optional>

#include "basis/profielgeometrie.h"
#include "ditch/slootprofiel.h"
#include "ditch/slootzicht.h"

namespace zarvo::gui {

class LineControl;
class PictureBox;

struct Slootprofieltekening {
  // The drawn width in metres (the profile's length, or the minimum extent
  // for a profile without length): marker radii are taken from it.
  double schaal = 0;
  // A selection slot between the two ends holds a point.
  bool selectieGevuld = false;
};

// Clears 'pic', sets its scale to the profile and draws 'profiel' (with
// geometry 'g' and what the construction did to it, 'feiten'). With
// 'metOudMaaiveld' the replaced ground is drawn under it, light and dashed.
Slootprofieltekening tekenSlootprofiel(PictureBox& pic, const Profiel& profiel, const ProfielGeometrie& g,
                                       const Bouwfeiten& feiten, bool metOudMaaiveld);

// The two water-level lines of a picture, made once with their colours.
struct Peillijnen {
  LineControl* boezem = nullptr;
  LineControl* polder = nullptr;
};
Peillijnen maakPeillijnen(PictureBox& pic);
// Puts both lines across a drawing 'breedteVenster' wide, with their
// levels in the markers at the picture's edge.
void zetPeillijnen(const Peillijnen& lijnen, double breedteVenster, double boezempeil, double polderpeil);
QColor kleurBoezempeil();
QColor kleurPolderpeil();

// The captions of the "Slootmaten" panel and the values shown beside them
// (a dash each without a ditch), in the user's number format.
constexpr std::size_t aantalSlootmaten = 8;
const std::array<QString, aantalSlootmaten>& slootmatenKoppen();
std::array<QString, aantalSlootmaten> slootmatenTeksten(const std::optional<Slootmaten>& maten);

// The fields of the ditch record the screen and the report show (the sixth
// is not used): caption and column of the ditch file.
struct Recordveld {
  QString kop;
  int kolom;
};
constexpr std::size_t aantalRecordvelden = 6;
const std::array<Recordveld, aantalRecordvelden>& slootrecordVelden();
// A field as written in the file; a dash for a profile without a record.
QString slootrecordTekst(const SlootRecord& record, int kolom);

}  // namespace zarvo::gui
