// zarvo-batch: the core's jobs without the screens. The first argument
// names the subcommand; each lives in its own file.
#include <algorithm>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "batch/batchgemeen.h"
#include "basis/onderbreking.h"

namespace {

using namespace zarvo::batch;

struct Opdracht {
  std::string_view naam;
  int (*uitvoeren)(const std::vector<std::string>&);
  std::string_view uitleg;
};

// One line per subcommand.
constexpr Opdracht opdrachten[] = {
    {"lijst", voerLijstUit, "toont de profielen van een profielbestand"},
    {"bouw", voerBouwUit, "bouwt de sloten in en schrijft het resultaat"},
};

std::string gebruik() {
  std::string tekst =
      "Gebruik: zarvo-batch OPDRACHT [ARGUMENTEN]\n"
      "\n"
      "Opdrachten:\n";
  for (const Opdracht& o : opdrachten) {
    tekst += "  " + std::string(o.naam) + std::string(o.naam.size() < 8 ? 8 - o.naam.size() : 1, ' ') +
             std::string(o.uitleg) + "\n";
  }
  tekst +=
      "\n"
      "'zarvo-batch OPDRACHT --help' geeft de uitleg van een opdracht,\n"
      "'zarvo-batch --version' de versie.\n"
      "Afsluitcode: 0 klaar, 1 invoerbestand niet leesbaar of fout, 2 verkeerd gebruik.\n";
  return tekst;
}

}  // namespace

int main(int argc, char** argv) {
  // A closed stdout is a failed write (exit code 1), not a silent death.
  zarvo::negeerGebrokenPijp();
  const std::vector<std::string> regel = opdrachtregel(argc, argv);
  const std::vector<std::string> argumenten(regel.begin() + std::min<std::ptrdiff_t>(2, std::ssize(regel)), regel.end());
  const std::string_view opdracht = regel.size() > 1 ? std::string_view(regel[1]) : "";
  if (opdracht == "--version") {
    std::fputs("zarvo-batch " ZARVO_VERSIE "\n", stdout);
    return klaar;
  }
  if (opdracht == "--help" || opdracht == "-h" || opdracht == "help") {
    const std::string tekst = gebruik();
    std::fwrite(tekst.data(), 1, tekst.size(), stdout);
    return klaar;
  }
  for (const Opdracht& o : opdrachten) {
    if (o.naam == opdracht) return o.uitvoeren(argumenten);
  }
  return gebruiksfout(opdracht.empty() ? "geen opdracht opgegeven"
                                       : "onbekende opdracht '" + std::string(opdracht) + "'",
                      gebruik());
}
