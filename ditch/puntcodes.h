// The point codes the ditch screen colours, with what each means to an
// engineer: one table for the legend on screen and for the meaning written
// into the map export, so that both say the same.
#pragma once

#include <array>

#include "basis/profielstore.h"

namespace zarvo {

struct Puntcode {
  const char* tekst;
  int qbKleur;        // colour index of the standard 16-colour palette
  const char* codes;  // the codes drawn in this colour, as the legend shows them; nullptr when none
  std::array<int, 2> codeWaarden;  // the same as numbers, 0 where none
  bool gebouwd;                    // a point the construction made (drawn filled)
};

// The legend lines, top to bottom.
const std::array<Puntcode, 10>& puntcodeLegenda();

// The legend line of point 'p': a bottom point the construction made
// ('gebouwd') is the last line; otherwise the first line whose code one of
// the point's two fields holds. nullptr for a point with none of them.
const Puntcode* legendaVanPunt(const Punt& p, bool gebouwd);

}  // namespace zarvo
