// The measures of one profile that both drawings, their read-outs and the
// tests take from one place: the extents, the length along the ground and
// the unfolded cross-section (distance along the profile against height).
#pragma once

#include <cstddef>
#include <vector>

#include "basis/profielstore.h"

namespace zarvo {

// One point of the unfolded cross-section.
struct LZPunt {
  double l = 0.0;  // running plan distance from point 1 along the polyline
  double z = 0.0;
};

struct ProfielGeometrie {
  double minX = 0.0, maxX = 0.0;
  double minY = 0.0, maxY = 0.0;
  double minZ = 0.0, maxZ = 0.0;
  // Sum of the plan lengths of the segments: a profile that bends is
  // longer than the straight distance between its ends.
  double lengte = 0.0;
  // One entry per point, in store order; lz.front() is (0, Z of point 1).
  std::vector<LZPunt> lz;

  bool leeg() const { return lz.empty(); }
};

// Plan distance between two points. hypot, not the square root of the
// squares: coordinates near the limit of a double must not overflow into
// an infinite length.
double planAfstand(const Punt& a, const Punt& b);

// Extents, length and L–Z line of 'profiel'. A profile without points gives
// an empty result with all measures 0.
ProfielGeometrie berekenGeometrie(const Profiel& profiel);

}  // namespace zarvo
