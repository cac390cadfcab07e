#include "ditch/slootzicht.h"

#include <algorithm>
#include <limits>

namespace zarvo {

namespace {
constexpr double rand = 2.0;            // metres before and past the edges
constexpr double marge = 0.15;          // of the height, above and below
constexpr double kleinsteHoogte = 0.5;  // metres: a flat stretch still gets a window

// The four points of a built ditch are in the profile, in order, as the
// record says; a record that points past the profile is no ditch to show.
bool toonbaar(const Bouwfeiten& feiten, std::size_t aantalPunten) {
  return feiten.heeftSloot() && feiten.insteekPolder >= feiten.insteekDijk &&
         static_cast<std::size_t>(feiten.insteekPolder) <= aantalPunten;
}

const Punt& punt(const Profiel& profiel, std::int32_t nummer) {
  return profiel.punten[static_cast<std::size_t>(nummer - 1)];
}

}  // namespace

std::optional<Slootmaten> berekenSlootmaten(const Profiel& profiel, const Bouwfeiten& feiten) {
  if (!toonbaar(feiten, profiel.punten.size())) return std::nullopt;
  const Punt& randDijk = punt(profiel, feiten.insteekDijk);
  const Punt& bodemDijk = punt(profiel, feiten.bodemDijk);
  const Punt& bodemPolder = punt(profiel, feiten.bodemPolder);
  const Punt& randPolder = punt(profiel, feiten.insteekPolder);
  auto talud = [](const Punt& rand, const Punt& bodem) -> std::optional<double> {
    const double diepte = rand.z - bodem.z;
    if (!(diepte > 0)) return std::nullopt;
    return planAfstand(rand, bodem) / diepte;
  };
  Slootmaten maten;
  maten.bovenbreedte = planAfstand(randDijk, randPolder);
  maten.bodembreedte = planAfstand(bodemDijk, bodemPolder);
  maten.bodempeil = bodemDijk.z;
  maten.diepteDijk = randDijk.z - bodemDijk.z;
  maten.dieptePolder = randPolder.z - bodemPolder.z;
  maten.taludDijk = talud(randDijk, bodemDijk);
  maten.taludPolder = talud(randPolder, bodemPolder);
  maten.vervangen = feiten.vervangen.size();
  return maten;
}

std::vector<LZPunt> oudMaaiveld(const Profiel& profiel, const ProfielGeometrie& g, const Bouwfeiten& feiten) {
  if (!toonbaar(feiten, std::min(profiel.punten.size(), g.lz.size()))) return {};
  const Punt& randDijk = punt(profiel, feiten.insteekDijk);
  const Punt& randPolder = punt(profiel, feiten.insteekPolder);
  const double lengte = planAfstand(randDijk, randPolder);
  if (!(lengte > 0)) return {};
  const double ux = (randPolder.x - randDijk.x) / lengte;
  const double uy = (randPolder.y - randDijk.y) / lengte;
  const double l0 = g.lz[static_cast<std::size_t>(feiten.insteekDijk - 1)].l;

  std::vector<LZPunt> oud;
  oud.reserve(feiten.vervangen.size() + 2);
  oud.push_back({l0, randDijk.z});
  for (const Punt& q : feiten.vervangen) oud.push_back({l0 + (q.x - randDijk.x) * ux + (q.y - randDijk.y) * uy, q.z});
  oud.push_back({g.lz[static_cast<std::size_t>(feiten.insteekPolder - 1)].l, randPolder.z});
  return oud;
}

std::optional<LZKader> slootKader(const ProfielGeometrie& g, const Bouwfeiten& feiten) {
  const auto n = static_cast<std::int32_t>(g.lz.size());
  if (!toonbaar(feiten, g.lz.size())) return std::nullopt;
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
  return LZKader{van, midden + half, tot, midden - half};
}

}  // namespace zarvo
