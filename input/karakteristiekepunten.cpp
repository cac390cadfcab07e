#include "input/karakteristiekepunten.h"

namespace zarvo {

const std::array<KarakteristiekPunt, aantalKarakteristiekePunten>& karakteristiekePunten() {
  // Ditch edges outrank everything on a shared point, so a point that is
  // both an edge and something else still carries the ditch into the build.
  // The constructed bottoms carry 4 and 3, as the construction codes them;
  // the writer tells them from a surveyed 4 or 3 by the construction's own
  // record of where it put them. Teen dijk binnenwaarts is written from
  // code 5 ("Teen polder", the point the ditch is built from) but gives no
  // code when read: a second 5 in front of the ditch's edge would make the
  // construction build the ditch from the toe.
  static constexpr std::array<KarakteristiekPunt, aantalKarakteristiekePunten> tabel{{
      {"Maaiveld binnenwaarts", "Y_Maaiveld binnenwaarts", Herkomst::LaatstePunt, 0, 0, 99},
      {"Insteek sloot polderzijde", "Y_Insteek sloot polderzijde", Herkomst::InsteekPolder, 0, 2, 2},
      {"Slootbodem polderzijde", "Y_Slootbodem polderzijde", Herkomst::BodemPolder, 0, 3, 4},
      {"Slootbodem dijkzijde", "Y_Slootbodem dijkzijde", Herkomst::BodemDijk, 0, 4, 3},
      {"Insteek sloot dijkzijde", "Y_Insteek_sloot dijkzijde", Herkomst::InsteekDijk, 0, 5, 1},
      {"Teen dijk binnenwaarts", "Y_Teen dijk binnenwaarts", Herkomst::EersteCode, 5, 0, 99},
      {"Kruin binnenberm", "Y_Kruin binnenberm", Herkomst::Geen, 0, 0, 99},
      {"Insteek binnenberm", "Y_Insteek binnenberm", Herkomst::Geen, 0, 0, 99},
      {"Kruin binnentalud", "Y_Kruin binnentalud", Herkomst::EersteCode, 4, 4, 7},
      {"Verkeersbelasting kant binnenwaarts", "Y_Verkeersbelasting kant binnenwaarts", Herkomst::TweedeCode, 72, 72, 9},
      {"Verkeersbelasting kant buitenwaarts", "Y_Verkeersbelasting kant buitenwaarts", Herkomst::EersteCode, 72, 72, 8},
      {"Kruin buitentalud", "Y_Kruin buitentalud", Herkomst::EersteCode, 18, 18, 5},
      {"Insteek buitenberm", "Y_Insteek buitenberm", Herkomst::Geen, 0, 0, 99},
      {"Kruin buitenberm", "Y_Kruin buitenberm", Herkomst::Geen, 0, 0, 99},
      {"Teen dijk buitenwaarts", "Y_Teen dijk buitenwaarts", Herkomst::EersteCode, 3, 3, 6},
      {"Insteek geul", "Y_Insteek geul", Herkomst::Geen, 0, 0, 99},
      {"Teen geul", "Y_Teen geul", Herkomst::Geen, 0, 0, 99},
      {"Maaiveld buitenwaarts", "Y_Maaiveld buitenwaarts", Herkomst::EerstePunt, 0, 0, 99},
      {"Dijktafelhoogte", "Y_Dijktafelhoogte", Herkomst::Geen, 0, 0, 99},
  }};
  return tabel;
}

bool isVerplichtKarakteristiekPunt(std::size_t tabelIndex) {
  const std::string_view naam = karakteristiekePunten()[tabelIndex].naam;
  return naam == "Maaiveld buitenwaarts" || naam == "Teen dijk buitenwaarts" || naam == "Kruin buitentalud" ||
         naam == "Kruin binnentalud" || naam == "Teen dijk binnenwaarts" || naam == "Maaiveld binnenwaarts";
}

std::string kopKarakteristiekePunten(bool metDijktafelhoogte) {
  std::string kop = "LOCATIONID";
  for (const KarakteristiekPunt& k : karakteristiekePunten()) {
    if (&k == &karakteristiekePunten()[indexDijktafelhoogte] && !metDijktafelhoogte) continue;
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
      case Herkomst::Geen: bron = "uit profielregels nooit (-1;-1;-1)"; break;
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
    bron += k.leesCode == 0 ? "; inlezen: geen code" : "; inlezen: code " + std::to_string(k.leesCode);
    tekst += "  ";
    tekst += k.naam;
    tekst.append(k.naam.size() < 36 ? 36 - k.naam.size() : 1, ' ');
    tekst += bron;
    tekst += '\n';
  }
  tekst +=
      "Oppervlaktelijnen die met hun karakteristieke punten zijn ingelezen krijgen\n"
      "elk gelezen punt terug op zijn plek (ook de punten zonder code), behalve\n"
      "waar de sloot het punt verving; de vier slootpunten van een gebouwde sloot\n"
      "komen uit de constructie, die van een niet gebouwde sloot blijven zoals\n"
      "ingelezen. Dijktafelhoogte wordt alleen geschreven als een profiel er een\n"
      "heeft.\n";
  return tekst;
}

}  // namespace zarvo
