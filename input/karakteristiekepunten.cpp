#include "input/karakteristiekepunten.h"

namespace zarvo {

const std::array<KarakteristiekPunt, aantalKarakteristiekePunten>& karakteristiekePunten() {
  // Ditch edges outrank everything on a shared point, so a point that is
  // both an edge and something else still carries the ditch into the build.
  // The constructed bottoms carry 4 and 3, as the construction codes them;
  // the writer tells them from a surveyed 4 or 3 by the construction's own
  // record of where it put them.
  static constexpr std::array<KarakteristiekPunt, aantalKarakteristiekePunten> tabel{{
      {"Maaiveld binnenwaarts", "Y_Maaiveld binnenwaarts", Herkomst::LaatstePunt, 0, 99},
      {"Insteek sloot polderzijde", "Y_Insteek sloot polderzijde", Herkomst::InsteekPolder, 2, 2},
      {"Slootbodem polderzijde", "Y_Slootbodem polderzijde", Herkomst::BodemPolder, 3, 4},
      {"Slootbodem dijkzijde", "Y_Slootbodem dijkzijde", Herkomst::BodemDijk, 4, 3},
      {"Insteek sloot dijkzijde", "Y_Insteek_sloot dijkzijde", Herkomst::InsteekDijk, 5, 1},
      {"Teen dijk binnenwaarts", "Y_Teen dijk binnenwaarts", Herkomst::Geen, 0, 99},
      {"Kruin binnenberm", "Y_Kruin binnenberm", Herkomst::Geen, 0, 99},
      {"Insteek binnenberm", "Y_Insteek binnenberm", Herkomst::Geen, 0, 99},
      {"Kruin binnentalud", "Y_Kruin binnentalud", Herkomst::EersteCode, 4, 7},
      {"Verkeersbelasting kant binnenwaarts", "Y_Verkeersbelasting kant binnenwaarts", Herkomst::TweedeCode, 72, 9},
      {"Verkeersbelasting kant buitenwaarts", "Y_Verkeersbelasting kant buitenwaarts", Herkomst::EersteCode, 72, 8},
      {"Kruin buitentalud", "Y_Kruin buitentalud", Herkomst::EersteCode, 18, 5},
      {"Insteek buitenberm", "Y_Insteek buitenberm", Herkomst::Geen, 0, 99},
      {"Kruin buitenberm", "Y_Kruin buitenberm", Herkomst::Geen, 0, 99},
      {"Teen dijk buitenwaarts", "Y_Teen dijk buitenwaarts", Herkomst::EersteCode, 3, 6},
      {"Insteek geul", "Y_Insteek geul", Herkomst::Geen, 0, 99},
      {"Teen geul", "Y_Teen geul", Herkomst::Geen, 0, 99},
      {"Maaiveld buitenwaarts", "Y_Maaiveld buitenwaarts", Herkomst::EerstePunt, 0, 99},
  }};
  return tabel;
}

std::string kopKarakteristiekePunten() {
  std::string kop = "LOCATIONID";
  for (const KarakteristiekPunt& k : karakteristiekePunten()) {
    kop += ";X_";
    kop += k.naam;
    kop += ';';
    kop += k.kolomY;
    kop += ";Z_";
    kop += k.naam;
  }
  return kop;
}

std::string uitlegKarakteristiekePunten() {
  std::string tekst;
  for (const KarakteristiekPunt& k : karakteristiekePunten()) {
    std::string bron;
    switch (k.herkomst) {
      case Herkomst::Geen: bron = "niet geschreven (-1;-1;-1); bij inlezen geen code"; break;
      case Herkomst::EerstePunt: bron = "het eerste punt van het profiel"; break;
      case Herkomst::LaatstePunt: bron = "het laatste punt van het profiel"; break;
      case Herkomst::InsteekDijk: bron = "insteek dijkzijde van de gebouwde sloot (code 5)"; break;
      case Herkomst::BodemDijk: bron = "slootbodempunt dijkzijde van de gebouwde sloot (code 4)"; break;
      case Herkomst::BodemPolder: bron = "slootbodempunt polderzijde van de gebouwde sloot (code 3)"; break;
      case Herkomst::InsteekPolder: bron = "insteek polderzijde van de gebouwde sloot (code 2)"; break;
      case Herkomst::EersteCode:
        bron = "het eerste punt met code " + std::to_string(k.code);
        if (k.code == 3 || k.code == 4) bron += " (geen slootbodempunt)";
        break;
      case Herkomst::TweedeCode: bron = "het tweede punt met code " + std::to_string(k.code); break;
    }
    tekst += "  ";
    tekst += k.naam;
    tekst.append(k.naam.size() < 36 ? 36 - k.naam.size() : 1, ' ');
    tekst += bron;
    tekst += '\n';
  }
  return tekst;
}

}  // namespace zarvo
