// zarvo-batch lijst: reads a profile file (profile lines or surface lines)
// and lists its profiles.
#include <algorithm>
#include <cstdio>
#include <new>
#include <string>

#include "batch/batchgemeen.h"
#include "input/leesbestand.h"
#include "input/leesoppervlaktelijnen.h"
#include "output/resultaatschrijver.h"
#include "basis/meldingen.h"

namespace zarvo::batch {

namespace {

constexpr std::string_view gebruikLijst =
    "Gebruik: zarvo-batch lijst PROFIELBESTAND [--decimaalteken T]\n"
    "                           [--karakteristiekepunten BESTAND]\n"
    "\n"
    "Leest een profielbestand (per regel: code, code, X, Y, Z, profielnaam, of\n"
    "oppervlaktelijnen: een bestand dat begint met de kop LOCATIONID;X1;Y1;Z1)\n"
    "en schrijft per profiel een regel <nummer> TAB <naam> TAB <aantal punten>,\n"
    "daarna aantalProfielen, aantalKolommen en aantalRijenInfo.\n"
    "Meldingen (zoals dubbele punten) en fouten gaan naar stderr.\n"
    "\n"
    "Opties:\n"
    "  --decimaalteken T  ',' of '.' voor getallen in meldingen; standaard volgens\n"
    "                     " ZARVO_HERKOMST_DECIMAALTEKEN "\n"
    "  --karakteristiekepunten BESTAND\n"
    "                     de karakteristieke punten bij oppervlaktelijnen; standaard\n"
    "                     <naam zonder .csv>.krp.csv ernaast als dat bestaat\n"
    "  --help             deze uitleg\n"
    "\n"
    "Afsluitcode: 0 klaar, 1 bestand niet leesbaar of fout, 2 verkeerd gebruik.\n";

}  // namespace

int voerLijstUit(const std::vector<std::string>& argumenten) {
  const Argumenten args = ontleedArgumenten(argumenten, {"decimaalteken", "karakteristiekepunten"});
  if (!args.fout.empty()) return gebruiksfout(args.fout, gebruikLijst);
  if (args.hulp) {
    std::fwrite(gebruikLijst.data(), 1, gebruikLijst.size(), stdout);
    return klaar;
  }
  if (args.posities.size() != 1) {
    return gebruiksfout(args.posities.empty() ? "geen profielbestand opgegeven"
                                              : "precies één profielbestand verwacht",
                        gebruikLijst);
  }
  std::string fout;
  const char decimaalteken = kiesDecimaalteken(args, fout);
  if (!fout.empty()) return gebruiksfout(fout, gebruikLijst);

  // Only names and counts are listed, so the points are not kept: a file
  // of millions of points is listed in the memory of its names.
  const std::string& pad = args.posities[0];
  const auto krpOptie = args.opties.find("karakteristiekepunten");
  std::vector<ProfielTelling> profielen;
  StderrSink sink;
  try {
    if (isOppervlaktelijnenBestand(pad)) {
      // Surface lines are read whole (their reader keeps no less), with the
      // characteristic points that bouw would take, so that the counts and
      // the messages are those of bouw.
      const std::string krp = krpOptie != args.opties.end() ? krpOptie->second : gevondenKarakteristiekePunten(pad);
      ProfielStore store;
      if (const auto melding = leesOppervlaktelijnen(store, pad, krp, sink, decimaalteken)) {
        meldOpStderr(*melding);
        return invoerFout;
      }
      for (const Profiel& p : store.profielen) profielen.push_back({p.naam, p.punten.size()});
    } else if (krpOptie != args.opties.end()) {
      meldOpStderr(Melding{"Fout!",
                           "Het bestand " + pad +
                               " bevat geen oppervlaktelijnen (de eerste regel is geen kop LOCATIONID;X1;Y1;Z1;...), "
                               "dus de karakteristieke punten van " + krpOptie->second + " horen er niet bij.",
                           Icoon::Kritiek});
      return invoerFout;
    } else if (const auto melding = telBestand(pad, sink, decimaalteken, profielen)) {
      meldOpStderr(*melding);
      return invoerFout;
    }
  } catch (const std::bad_alloc&) {
    meldOpStderr(meldingTeWeinigGeheugen(pad));
    return invoerFout;
  }

  std::size_t meeste = 0;
  std::string uit;
  uit.reserve(profielen.size() * 24 + 64);
  for (std::size_t i = 0; i < profielen.size(); ++i) {
    uit += std::to_string(i + 1);
    uit += '\t';
    uit += profielen[i].naam;
    uit += '\t';
    uit += std::to_string(profielen[i].punten);
    uit += '\n';
    meeste = std::max(meeste, profielen[i].punten);
  }
  // The bounds of the column view of a store holding these profiles.
  uit += "aantalProfielen\t" + std::to_string(profielen.size()) + "\n";
  uit += "aantalKolommen\t" + std::to_string(1 + 3 * meeste) + "\n";
  uit += "aantalRijenInfo\t" + std::to_string(1 + 2 * meeste) + "\n";
  if (!schrijfNaarStdout(uit)) return stdoutMislukt();
  return klaar;
}

}  // namespace zarvo::batch
