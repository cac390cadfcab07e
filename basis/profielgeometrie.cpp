#include "basis/profielgeometrie.h"

#include <cmath>

namespace zarvo {

double planAfstand(const Punt& a, const Punt& b) { return std::hypot(b.x - a.x, b.y - a.y); }

ProfielGeometrie berekenGeometrie(const Profiel& profiel) {
  ProfielGeometrie g;
  const std::vector<Punt>& punten = profiel.punten;
  if (punten.empty()) return g;
  const Punt& eerste = punten.front();
  g.minX = g.maxX = eerste.x;
  g.minY = g.maxY = eerste.y;
  g.minZ = g.maxZ = eerste.z;
  g.lz.resize(punten.size());
  g.lz[0] = {0.0, eerste.z};
  double afstand = 0.0;
  for (std::size_t k = 1; k < punten.size(); ++k) {
    const Punt& p = punten[k];
    if (p.x < g.minX) g.minX = p.x;
    if (p.x > g.maxX) g.maxX = p.x;
    if (p.y < g.minY) g.minY = p.y;
    if (p.y > g.maxY) g.maxY = p.y;
    if (p.z < g.minZ) g.minZ = p.z;
    if (p.z > g.maxZ) g.maxZ = p.z;
    afstand += planAfstand(punten[k - 1], p);
    g.lz[k] = {afstand, p.z};
  }
  g.lengte = afstand;
  return g;
}

}  // namespace zarvo
