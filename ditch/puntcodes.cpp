#include "ditch/puntcodes.h"

#include "basis/getallen.h"

namespace zarvo {

const std::array<Puntcode, 10>& puntcodeLegenda() {
  // Line 6 has no point code in the drawing: the survey has no code for the
  // edge of the toe ditch, but engineers know the colour from paper plots.
  // The last line is for the bottom points the construction adds: they
  // carry codes 4 and 3 and so share those colours with surveyed points,
  // but are drawn filled.
  static const std::array<Puntcode, 10> regels{{
      {"Kruin boezem (Referentielijn)", 4, "18", {18, 0}, false},
      {"Teen boezem", 3, "3", {3, 0}, false},
      {"Kruin polder", 5, "4", {4, 0}, false},
      {"Teen polder", 7, "5", {5, 0}, false},
      {"Begin en einde asfaltweg", 9, "72", {72, 0}, false},
      {"Begin en einde insteek teensloot", 11, nullptr, {0, 0}, false},
      {"Begin (en soms einde) teen sloot", 13, "2", {2, 0}, false},
      {"Beschoeiing", 1, "8", {8, 0}, false},
      {"Snijpunt met wateroppervlak", 2, "9", {9, 0}, false},
      {"slootbodem (gebouwd)", 5, "4 en 3", {4, 3}, true},
  }};
  return regels;
}

const Puntcode* legendaVanPunt(const Punt& p, bool gebouwd) {
  const auto& regels = puntcodeLegenda();
  if (gebouwd) return &regels.back();
  for (const Puntcode& regel : regels) {
    if (regel.gebouwd || regel.codeWaarden[0] == 0) continue;
    if (heeftCode(p, regel.codeWaarden[0])) return &regel;
  }
  return nullptr;
}

}  // namespace zarvo
