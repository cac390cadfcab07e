// The ditch report: one A4 landscape page per profile with the built
// profile at fit, its dimensions and the build outcome, as the ditch screen
// shows them.
#pragma once

#include <QString>
#include <optional>

#include "basis/profielstore.h"

namespace zarvo {
class Taak;
}

namespace zarvo::gui {

class FrmPL;

// Steps 'scherm' (loaded, its ditches built) through every profile and
// writes the pages to 'pad'. The screen shows the profile it showed before,
// at the zoom it had. Returns the message when the file cannot be written.
std::optional<QString> schrijfRapport(FrmPL& scherm, const Taak& taak, const QString& pad);

// The message the construction gave for a profile it refused. The job does
// not keep message texts, but a refused step leaves the profile as it was,
// so building a copy of it again says the same.
QString bouwMelding(const Profiel& profiel);

// zarvo-edit --rapport UIT PROFIELBESTAND SLOOTBESTAND, without a window:
// reads both files, builds the ditches and writes the report. Messages go
// to stderr as "titel: tekst". 0 when the report was written, else 1.
int maakRapportZonderScherm(const QString& uit, const QString& profielbestand, const QString& slootbestand);

}  // namespace zarvo::gui
