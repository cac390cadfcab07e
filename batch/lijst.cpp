// zarvo-batch lijst: reads a profile-lines file and lists its profiles.
#include <algorithm>
#include <cstdio>
#include <new>
#include <string>

#include "batch/batchgemeen.h"
#include "input/leesbestand.h"
#include "basis/meldingen.h"

namespace zarvo::batch {

namespace {

constexpr std::string_view gebruikLijst =
    "Gebruik: zarvo-batch lijst PROFIELBESTAND [--decimaalteken T]\n"
    "\n"
    "Leest een profielbestand (per regel: code, code, X, Y, Z, profielnaam)\n"
    "en schrijft per profiel een regel <nummer> TAB <naam> TAB <aantal punten>,\n"
    "daarna aantalProfielen, aantalKolommen en aantalRijenInfo.\n"
    "Meldingen (zoals dubbele punten) en fouten gaan naar stderr.\n"
    "\n"
    "Opties:\n"
    "  --decimaalteken T  ',' of '.' voor getallen in meldingen; standaard volgens\n"
    "                     " ZARVO_HERKOMST_DECIMAALTEKEN "\n"
    "  --help             deze uitleg\n"
    "\n"
    "Afsluitcode: 0 klaar, 1 bestand niet leesbaar of fout, 2 verkeerd gebruik.\n";

}  // namespace

int voerLijstUit(const std::vector<std::string>& argumenten) {
  const Argumenten args = ontleedArgumenten(argumenten, {"decimaalteken"});
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
  std::vector<ProfielTelling> profielen;
  StderrSink sink;
  try {
    if (const auto melding = telBestand(pad, sink, decimaalteken, profielen)) {
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
