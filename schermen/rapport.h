// The ditch report: one A4 landscape page per profile with the built
// profile at fit, its dimensions and the build outcome, drawn as the ditch
// screen draws them.
#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

#include "basis/profielgeometrie.h"
#include "ditch/slootzicht.h"

namespace zarvo {
class Taak;
}

namespace zarvo::gui {

// What the report shows besides the job: the water levels (m NAP) and
// whether the ground each ditch replaced is drawn; and, made without a
// window, whether the ditch records go to the profiles by name.
struct RapportOpties {
  double boezempeil = -0.4;
  double polderpeil = -2;
  bool oudMaaiveld = true;
  bool koppelOpNaam = false;
};

// The texts of one page and whether it shows the ditch zoomed in.
struct Rapportpagina {
  QString kop;            // program, date and page number
  QStringList bestanden;  // the profile file and the ditch file
  QString naam;
  QString uitkomst;
  QString waarschuwing;   // for a record meant for another profile; else empty
  QStringList record;     // the ditch record used, field by field
  std::optional<LZKader> sloot;  // the zoomed view; none without a built ditch
};
// Page 'nr' (1-based) of the report on 'taak', whose geometry is 'g', made
// at 'gemaakt'.
Rapportpagina rapportpagina(const Taak& taak, std::int32_t nr, const ProfielGeometrie& g, const QDateTime& gemaakt);

// Writes a page for every profile of 'taak' (its ditches built) to 'pad'.
// Returns the message when the file cannot be written.
std::optional<QString> schrijfRapport(const Taak& taak, const RapportOpties& opties, const QString& pad);

// zarvo-edit --rapport UIT PROFIELBESTAND SLOOTBESTAND, without a window:
// reads both files, builds the ditches and writes the report with
// 'opties'. Messages go to stderr as "titel: tekst". 0 when the report was
// written, else 1.
int maakRapportZonderScherm(const QString& uit, const QString& profielbestand, const QString& slootbestand,
                            const RapportOpties& opties = {});

}  // namespace zarvo::gui
