// zarvo-batch lijst: reads a profile-lines file and lists its profiles.
#include <cstdio>
#include <new>
#include <string>

#include "batch/batchgemeen.h"
#include "input/leesbestand.h"
#include "output/resultaatschrijver.h"
#include "shell/profielstore.h"

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

  ProfielStore store;
  store.inputbestand = args.posities[0];
  StderrSink sink;
  try {
    if (const auto melding = leesBestand(store, store.inputbestand, sink, decimaalteken)) {
      meldOpStderr(*melding);
      return invoerFout;
    }
  } catch (const std::bad_alloc&) {
    meldOpStderr(meldingTeWeinigGeheugen(store.inputbestand));
    return invoerFout;
  }

  std::string uit;
  uit.reserve(static_cast<std::size_t>(store.aantalProfielen()) * 24 + 64);
  for (std::int32_t p = 1; p <= store.aantalProfielen(); ++p) {
    const Profiel& profiel = store.profiel(p);
    uit += std::to_string(p);
    uit += '\t';
    uit += profiel.naam;
    uit += '\t';
    uit += std::to_string(profiel.punten.size());
    uit += '\n';
  }
  uit += "aantalProfielen\t" + std::to_string(store.aantalProfielen()) + "\n";
  uit += "aantalKolommen\t" + std::to_string(store.aantalKolommen()) + "\n";
  uit += "aantalRijenInfo\t" + std::to_string(store.aantalRijenInfo()) + "\n";
  if (!schrijfNaarStdout(uit)) return stdoutMislukt();
  return klaar;
}

}  // namespace zarvo::batch
