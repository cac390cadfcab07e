#include "input/invoerbestand.h"

#include <cerrno>

#include "basis/bestandspad.h"

namespace zarvo {

Bestand openInvoer(const std::string& pad, Invoerfout& fout) {
  const std::filesystem::path bestandspad = padUitUtf8(pad);
  if (const auto soort = geenGewoonBestand(bestandspad)) {
    if (*soort == Bestandssoort::Map) {
      fout = {Invoerfout::Soort::Map, pad + " is een map, geen bestand."};
    } else {
      fout = {Invoerfout::Soort::GeenGewoonBestand,
              "Het bestand " + pad + " is " + soortTekst(*soort) + ", geen gewoon bestand."};
    }
    return nullptr;
  }
  errno = 0;
  Bestand bestand(openBestand(bestandspad, "rb"));
  if (bestand) return bestand;
  const int reden = errno;
  if (reden == ENOENT) {
    fout = {Invoerfout::Soort::Ontbreekt, "Het bestand " + pad + " bestaat niet."};
  } else if (reden == EACCES) {
    fout = {Invoerfout::Soort::GeenLeesrechten, "Het bestand " + pad + " kan niet worden geopend: geen leesrechten."};
  } else {
    fout = {Invoerfout::Soort::Anders, "Het bestand " + pad + " kan niet worden geopend."};
  }
  return nullptr;
}

}  // namespace zarvo
