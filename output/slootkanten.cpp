#include "output/slootkanten.h"

#include "basis/bestandspad.h"
#include "basis/getallen.h"
#include "input/leesslootkanten.h"

namespace zarvo {

std::string standaardNaamSlootkanten(const std::string& bestandsnaam) {
  return "output_slootkanten_" + stamVan(bestandsnaam) + ".csv";
}

bool heeftSlootkeuzes(const ProfielStore& store) {
  for (const Profiel& p : store.profielen) {
    if (p.slootkeuze()) return true;
  }
  return false;
}

std::string slootkantenTekst(const ProfielStore& store) {
  std::string tekst = std::string(slootkantenKop) + "\r\n";
  for (const Profiel& p : store.profielen) {
    if (!p.slootkeuze()) continue;
    const Slootkeuze& k = *p.slootkeuze();
    tekst += p.naam;
    if (k.geenSloot()) {
      tekst += ";;;;;;";
    } else {
      // Coordinates with '.' whatever the regional settings: the file is
      // read back by a program, not by a person's spreadsheet.
      tekst += ';' + std::to_string(k.puntDijk) + ';' + getalNaarTekst(k.xDijk) + ';' + getalNaarTekst(k.yDijk) + ';' +
               std::to_string(k.puntPolder) + ';' + getalNaarTekst(k.xPolder) + ';' + getalNaarTekst(k.yPolder);
    }
    tekst += "\r\n";
  }
  return tekst;
}

std::string MetSlootkanten::standaardNaam(std::size_t i, const std::string& bestandsnaam) const {
  if (i < basis_.aantalBestanden()) return basis_.standaardNaam(i, bestandsnaam);
  return standaardNaamSlootkanten(bestandsnaam);
}

bool MetSlootkanten::schrijf(std::size_t i, const ProfielStore& store, Uitvoerstroom& uit, char decimaalteken) const {
  if (i < basis_.aantalBestanden()) return basis_.schrijf(i, store, uit, decimaalteken);
  return uit.schrijf(slootkantenTekst(store));
}

}  // namespace zarvo
