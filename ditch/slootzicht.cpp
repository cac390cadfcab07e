#include "ditch/slootzicht.h"

#include <algorithm>
#include <limits>

namespace zarvo::gui {

namespace {
constexpr double rand = 2.0;          // metres before and past the edges
constexpr double marge = 0.15;        // of the height, above and below
constexpr double kleinsteHoogte = 0.5;  // metres: a flat stretch still gets a window
}  // namespace

std::optional<std::pair<QPointF, QPointF>> slootKader(const ProfielGeometrie& g, const Bouwfeiten& feiten) {
  const auto n = static_cast<std::int32_t>(g.lz.size());
  if (!feiten.heeftSloot() || feiten.insteekPolder < feiten.insteekDijk || feiten.insteekPolder > n) {
    return std::nullopt;
  }
  const double van = g.lz[static_cast<std::size_t>(feiten.insteekDijk - 1)].l - rand;
  const double tot = g.lz[static_cast<std::size_t>(feiten.insteekPolder - 1)].l + rand;
  double laag = std::numeric_limits<double>::infinity();
  double hoog = -laag;
  for (std::int32_t k = 0; k < n; ++k) {
    const LZPunt& p = g.lz[static_cast<std::size_t>(k)];
    // The ditch's own points always count: a profile folded back on itself
    // may put one outside the stretch along L.
    const bool slootpunt = k + 1 >= feiten.insteekDijk && k + 1 <= feiten.insteekPolder;
    if (slootpunt || (p.l >= van && p.l <= tot)) {
      laag = std::min(laag, p.z);
      hoog = std::max(hoog, p.z);
    }
  }
  // The surveyed ground the ditch replaced is drawn under it; an old ditch
  // deeper than the new one must show whole.
  for (const Punt& q : feiten.vervangen) {
    laag = std::min(laag, q.z);
    hoog = std::max(hoog, q.z);
  }
  const double hoogte = std::max(hoog - laag, kleinsteHoogte);
  const double midden = (hoog + laag) / 2;
  const double half = hoogte * (0.5 + marge);
  if (!(tot > van)) return std::nullopt;
  return std::make_pair(QPointF(van, midden + half), QPointF(tot, midden - half));
}

}  // namespace zarvo::gui
