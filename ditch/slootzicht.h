// A built ditch as the screens and the report show it: the dimensions of
// the "Slootmaten" panel, the surveyed ground the ditch replaced as it is
// drawn under the new profile, and the window "Zoom op sloot" fits. Worked
// out here, once, so that the ditch screen and the report cannot tell two
// stories about one profile.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "basis/profielgeometrie.h"
#include "ditch/slootprofiel.h"

namespace zarvo {

// What was built, in the numbers a ditch register asks for (metres). The
// slopes are the ones that shaped the ditch: horizontal metres per metre of
// depth, from the plan distance between edge and bottom point; none where
// the bottom does not lie below its edge.
struct Slootmaten {
  double bovenbreedte = 0;  // edge to edge, in plan
  double bodembreedte = 0;  // bottom point to bottom point, in plan
  double bodempeil = 0;     // level of the dike-side bottom point
  double diepteDijk = 0;
  double dieptePolder = 0;
  std::optional<double> taludDijk;
  std::optional<double> taludPolder;
  std::size_t vervangen = 0;  // surveyed points the ditch replaced
};

// nullopt for a profile without a built ditch.
std::optional<Slootmaten> berekenSlootmaten(const Profiel& profiel, const Bouwfeiten& feiten);

// The ground the ditch replaced, in cross-section: from the dike-side edge
// through the replaced points to the polder-side edge. Each replaced point
// stands at its distance along the straight line between the edges (the
// line on which the bottom points were set out), so that the old and the
// new line meet at the edges. Empty without a ditch, or when the edges
// share one plan position. 'g' is the geometry of 'profiel'.
std::vector<LZPunt> oudMaaiveld(const Profiel& profiel, const ProfielGeometrie& g, const Bouwfeiten& feiten);

// A window on the cross-section: L from 'links' to 'rechts', Z from 'onder'
// to 'boven'.
struct LZKader {
  double links = 0, boven = 0, rechts = 0, onder = 0;
};

// From 2 m before the dike-side edge to 2 m past the polder-side edge,
// high enough for every point in that stretch (the bottom and both edges
// among them) and for the surveyed points the ditch replaced, with a
// margin. nullopt for a profile without a built ditch.
std::optional<LZKader> slootKader(const ProfielGeometrie& g, const Bouwfeiten& feiten);

}  // namespace zarvo
