#include "ditch/slootprofiel.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <optional>
#include <string>
#include <utility>

#include "basis/getallen.h"
#include "basis/parallel.h"

namespace zarvo {

namespace {

// Column of point j's X in the store's column view (profielDataCel). The
// edge counters are handed to the ditch screen in this form; the fuzz checks
// turn them back into point numbers.
std::int32_t kolomVanPunt(std::size_t j) { return static_cast<std::int32_t>(3 * j - 1); }

// Messages name the profile as the ditch file does; a profile that never got
// a record falls back on its own name so the message still says which one.
std::string naamVoorMelding(const Profiel& p) {
  return p.sloot.aanwezig() ? std::string(p.sloot.kolom(1)) : p.naam;
}

void meldFout(MeldingSink& sink, std::string tekst) {
  sink.meld(Melding{"Fout!", std::move(tekst), Icoon::Kritiek});
}

// Raises the store's bounds to cover a profile of 'aantal' points that has
// just grown. Done per profile instead of rescanning the whole store, which
// would make the construction quadratic in the number of profiles.
void dekPunten(ProfielStore& store, std::size_t aantal) {
  const auto n = static_cast<std::int64_t>(aantal);
  const std::int64_t grens = std::numeric_limits<std::int32_t>::max();
  const auto kolommen = static_cast<std::int32_t>(std::min(grens, 1 + 3 * n));
  const auto info = static_cast<std::int32_t>(std::min(grens, 1 + 2 * n));
  if (kolommen > store.aantalKolommen() || info > store.aantalRijenInfo()) {
    store.zetGrenzen(std::max(kolommen, store.aantalKolommen()),
                     std::max(info, store.aantalRijenInfo()));
  }
}
void dekProfiel(ProfielStore& store, const Profiel& p) { dekPunten(store, p.punten.size()); }

Punt nieuwPunt(double code, double x, double y, double z) {
  Punt p;
  p.veld1 = Cel(code);
  p.veld2 = Cel(code);
  p.x = x;
  p.y = y;
  p.z = z;
  return p;
}

bool eindig(const Punt& p) { return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z); }

}  // namespace

double berekenRichting(double dx, double dy) {
  // The constants are the ones the engineers' earlier results were made
  // with; full-precision pi would move bottom points in the third decimal.
  double theta;
  if (dy == 0) {
    theta = dx < 0 ? -1.570796327 : 1.570796327;
  } else {
    theta = std::atan(dx / dy);
  }
  if (dy < 0) theta += 3.141592654;
  if (dy > 0 && dx < 0) theta += 6.283185308;
  return theta;
}

namespace {

// The two steps on one profile. They leave the store's bounds to their
// callers, so that profiles can be built side by side.
SlootStatus bouwSloot(Profiel& prof, SlootVariabelen& var, MeldingSink& sink, std::vector<Punt>* vervangen) {
  // Both edges are reset: a polder-side edge left over from the previous
  // profile would otherwise steer this profile's foreland step.
  var = SlootVariabelen{};

  std::vector<Punt>& punten = prof.punten;

  std::size_t links = 0;  // 1-based point number, 0 = not found
  const std::optional<Slootkeuze>& keuze = prof.slootkeuze();
  if (keuze) {
    if (keuze->geenSloot()) return SlootStatus::GeenSloot;
    // A choice refers to the profile as read: one that no longer fits it
    // (from a choices file for another survey) builds nothing.
    if (keuze->puntDijk < 1 || keuze->puntPolder <= keuze->puntDijk ||
        static_cast<std::size_t>(keuze->puntPolder) > punten.size()) {
      meldFout(sink, "de gekozen slootkanten liggen niet in profiel " + naamVoorMelding(prof));
      return SlootStatus::Fout;
    }
    links = static_cast<std::size_t>(keuze->puntDijk);
  } else {
    for (std::size_t j = 1; j <= punten.size(); ++j) {
      if (heeftCode(punten[j - 1], 5)) {
        links = j;
        break;
      }
    }
  }
  if (links == 0) return SlootStatus::GeenSloot;
  const Punt& randL = punten[links - 1];
  var.xSlootrandLinks = randL.x;
  var.ySlootrandLinks = randL.y;
  var.zSlootrandLinks = randL.z;
  var.tellerSlootkantLinks = kolomVanPunt(links);

  // The polder-side search starts at the dike-side edge itself, so a point
  // coded both 5 and 2 is found as both edges (handled below).
  std::size_t rechts = keuze ? static_cast<std::size_t>(keuze->puntPolder) : 0;
  for (std::size_t j = links; rechts == 0 && j <= punten.size(); ++j) {
    if (heeftCode(punten[j - 1], 2)) rechts = j;
  }
  // Without a polder-side edge there is nothing to build between; this is
  // as ordinary as a profile without any ditch, so no message.
  if (rechts == 0) return SlootStatus::GeenSloot;
  const Punt& randR = punten[rechts - 1];
  var.xSlootrandRechts = randR.x;
  var.ySlootrandRechts = randR.y;
  var.zSlootrandRechts = randR.z;
  var.tellerSlootkantRechts = kolomVanPunt(rechts);
  var.randRechtsGevonden = true;

  // Made only for a message: most profiles never need it.
  auto naam = [&prof] { return naamVoorMelding(prof); };
  // Matched by name, a profile may have found no record in the ditch file;
  // that is said as such, not as fields that are no number.
  if (!prof.sloot.aanwezig()) {
    meldFout(sink, "er is geen slootrecord voor profiel " + naam());
    return SlootStatus::Fout;
  }
  const std::optional<double> bodemGelezen = leesGetalSloot(prof.sloot.kolom(2));
  if (!bodemGelezen) {
    meldFout(sink, "de slootbodem is geen getal in profiel " + naam());
    return SlootStatus::Fout;
  }
  const std::optional<double> factorDijk = leesGetalSloot(prof.sloot.kolom(3));
  if (!factorDijk) {
    meldFout(sink, "de taludfactor (dijkzijde) is geen getal in profiel " + naam());
    return SlootStatus::Fout;
  }
  const std::optional<double> factorPolder = leesGetalSloot(prof.sloot.kolom(4));
  if (!factorPolder) {
    meldFout(sink, "de taludfactor (polderzijde) is geen getal in profiel " + naam());
    return SlootStatus::Fout;
  }
  const double bodem = *bodemGelezen;

  const double dx = var.xSlootrandRechts - var.xSlootrandLinks;
  const double dy = var.ySlootrandRechts - var.ySlootrandLinks;
  const double theta = berekenRichting(dx, dy);
  const double breedte = std::sqrt(dx * dx + dy * dy);

  // A bottom level equal to an edge is an error too: a ditch of no depth
  // there is almost always a typing error in the ditch file.
  if (var.zSlootrandLinks <= bodem) {
    meldFout(sink, "de slootbodem (dijkzijde) ligt hoger dan de insteek van de sloot in profiel " +
                       naam());
    return SlootStatus::Fout;
  }
  const double offsetDijk = (var.zSlootrandLinks - bodem) * *factorDijk;
  if (var.zSlootrandRechts <= bodem) {
    meldFout(sink, "de slootbodem (polderzijde) ligt hoger dan de insteek van de sloot in profiel " +
                       naam());
    return SlootStatus::Fout;
  }
  const double offsetPolder = (var.zSlootrandRechts - bodem) * *factorPolder;

  // Bottom points that cross, or lie outside the edges, would be written as
  // a self-intersecting ditch. Meeting exactly in the middle is a V-shaped
  // ditch and is fine. One point coded as both edges gives no room at all:
  // building there would put the edge point twice in a row.
  // Written so that a NaN offset (an infinite height difference times a
  // zero slope factor) is refused as well.
  if (!(offsetDijk >= 0) || !(offsetPolder >= 0) || !(offsetDijk + offsetPolder <= breedte) ||
      rechts == links) {
    meldFout(sink, "de sloot past niet tussen de insteken in profiel " + naam());
    return SlootStatus::Fout;
  }

  const double sinT = std::sin(theta);
  const double cosT = std::cos(theta);
  const Punt b1 = nieuwPunt(4, rondAf3(sinT * offsetDijk + var.xSlootrandLinks),
                            rondAf3(cosT * offsetDijk + var.ySlootrandLinks), bodem);
  const Punt b2 = nieuwPunt(3, rondAf3(sinT * (breedte - offsetPolder) + var.xSlootrandLinks),
                            rondAf3(cosT * (breedte - offsetPolder) + var.ySlootrandLinks), bodem);
  // Edges or ditch values near the limit of a double overflow on the way
  // (the width of edges 1e308 apart is infinite); such points would reach
  // the result file as "Inf" or "NaN".
  if (!eindig(b1) || !eindig(b2)) {
    meldFout(sink, "de slootmaten zijn te groot in profiel " + naam());
    return SlootStatus::Fout;
  }

  // Points strictly between the edges make way for the two bottom points;
  // the polder-side edge and everything after it follow B2. The profile
  // grows as far as it must: no point after the ditch is ever cut off.
  const std::size_t tussen = rechts - links - 1;
  // The reader leaves room for these points; should a profile come from
  // elsewhere at its exact size, growing it by the vector's doubling would
  // leave half of it empty, for every profile.
  // A chosen edge gets its code in the second field (the first, the point
  // number, stays), so that the result reads back with the same ditch.
  if (keuze) {
    punten[links - 1].veld2 = Cel(5.0);
    punten[rechts - 1].veld2 = Cel(2.0);
  }
  if (tussen < 2) punten.reserve(punten.size() + 2 - tussen);
  const auto eersteWeg = punten.begin() + static_cast<std::ptrdiff_t>(links);
  const auto eersteNa = punten.begin() + static_cast<std::ptrdiff_t>(rechts - 1);
  if (vervangen) vervangen->assign(eersteWeg, eersteNa);
  if (tussen >= 2) {
    auto plek = punten.erase(eersteWeg + 2, eersteNa);
    *(plek - 2) = b1;
    *(plek - 1) = b2;
  } else {
    // 0 or 1 inner points: overwrite what is there, insert the rest.
    if (tussen == 1) {
      *eersteWeg = b1;
      punten.insert(eersteWeg + 1, b2);
    } else {
      punten.insert(eersteWeg, {b1, b2});
    }
  }
  // Characteristic points read with the profile follow their points; those
  // on a point the bottoms replaced go with it. Only a profile that has them
  // is touched: the others keep no room for them.
  if (!prof.karakteristiek().empty()) {
    std::erase_if(prof.karakteristiekBewerken(), [&](KarakteristiekeVerwijzing& k) {
      const auto i = static_cast<std::size_t>(k.punt);
      if (i >= links && i + 1 < rechts) return true;
      if (i + 1 >= rechts) k.punt += 2 - static_cast<std::int32_t>(tussen);
      return false;
    });
  }
  return SlootStatus::Sloot;
}

SlootStatus bouwVoorland(Profiel& prof, const SlootVariabelen& var, MeldingSink& sink) {
  std::vector<Punt>& punten = prof.punten;
  if (!var.randRechtsGevonden || punten.empty()) return SlootStatus::GeenSloot;

  const Punt* voorlandPunt = nullptr;
  for (const Punt& p : punten) {
    if (heeftCode(p, 50) || heeftCode(p, 51) || heeftCode(p, 60) || heeftCode(p, 61) ||
        heeftCode(p, 70) || heeftCode(p, 71)) {
      voorlandPunt = &p;
      break;
    }
  }
  if (voorlandPunt == nullptr) return SlootStatus::GeenSloot;
  // Both edges were found, so the ditch step has already said that the
  // profile has no record; once is enough.
  if (!prof.sloot.aanwezig()) return SlootStatus::Fout;

  const std::optional<double> a = leesGetalSloot(prof.sloot.kolom(5));
  const std::optional<double> b = leesGetalSloot(prof.sloot.kolom(7));
  if (!a || !b || *a < 0 || *b < 0) {
    meldFout(sink, "de voorlandmaten zijn ongeldig in profiel " + naamVoorMelding(prof));
    return SlootStatus::Fout;
  }

  const double x1 = punten.front().x;
  const double y1 = punten.front().y;
  const double z = voorlandPunt->z;
  const double theta = berekenRichting(var.xSlootrandRechts - x1, var.ySlootrandRechts - y1);
  const double sinT = std::sin(theta);
  const double cosT = std::cos(theta);
  const Punt verst = nieuwPunt(16, rondAf3(x1 - sinT * (*a + *b)), rondAf3(y1 - cosT * (*a + *b)), z);
  const Punt nabij = nieuwPunt(15, rondAf3(x1 - sinT * *a), rondAf3(y1 - cosT * *a), z);
  // a + b, or the points, can overflow for values near the limit of a double.
  if (!eindig(verst) || !eindig(nabij)) {
    meldFout(sink, "de voorlandmaten zijn ongeldig in profiel " + naamVoorMelding(prof));
    return SlootStatus::Fout;
  }
  punten.reserve(punten.size() + 2);  // exactly, as above
  punten.insert(punten.begin(), {verst, nabij});
  if (!prof.karakteristiek().empty()) {
    for (KarakteristiekeVerwijzing& k : prof.karakteristiekBewerken()) k.punt += 2;
  }
  return SlootStatus::Sloot;
}

}  // namespace

SlootStatus berekenSlootprofiel(ProfielStore& store, std::int32_t profiel, SlootVariabelen& var,
                                MeldingSink& sink, std::vector<Punt>* vervangen) {
  Profiel& prof = store.profiel(profiel);
  const SlootStatus status = bouwSloot(prof, var, sink, vervangen);
  if (status == SlootStatus::Sloot) dekProfiel(store, prof);
  return status;
}

SlootStatus berekenVoorland(ProfielStore& store, std::int32_t profiel, const SlootVariabelen& var,
                            MeldingSink& sink) {
  Profiel& prof = store.profiel(profiel);
  const SlootStatus status = bouwVoorland(prof, var, sink);
  if (status == SlootStatus::Sloot) dekProfiel(store, prof);
  return status;
}

std::vector<SlootStatus> bouwSlotenInAlleProfielen(ProfielStore& store, SlootVariabelen& var, MeldingSink& sink,
                                                   std::vector<Bouwfeiten>* feiten, const Bouwvoortgang& voortgang,
                                                   bool metSchermfeiten) {
  const std::size_t n = store.profielen.size();
  std::vector<SlootStatus> statussen(n, SlootStatus::GeenSloot);
  if (feiten) feiten->assign(n, Bouwfeiten{});
  // Profiles are independent, so pieces of them are built side by side.
  // Each piece collects its messages, and the pieces are joined in order a
  // round at a time: the messages come out in profile order, and progress
  // is told on this thread.
  const std::size_t perStuk = stukGrootteVoorTests() > 0 ? stukGrootteVoorTests() : 1024;
  const std::size_t perRonde = 8 * aantalDraden();
  // Side by side in a vector and written by different threads profile
  // after profile: each on cache lines of its own.
  struct alignas(64) Stuk {
    MeldingVerzamelaar meldingen;
    SlootVariabelen var;
    std::size_t meestePunten = 0;  // of the profiles that grew
  };
  std::vector<Stuk> stukken;
  for (std::size_t begin = 0; begin < n; begin += perStuk * perRonde) {
    const std::size_t aantal = std::min(perRonde, (n - begin + perStuk - 1) / perStuk);
    stukken.assign(aantal, Stuk{});
    verdeelOverDraden(aantal, [&](std::size_t i, std::size_t) {
      Stuk& stuk = stukken[i];
      std::vector<Punt> vervangen;
      const std::size_t van = begin + i * perStuk;
      for (std::size_t p = van; p < std::min(n, van + perStuk); ++p) {
        Profiel& prof = store.profielen[p];
        const std::size_t meldingenVoor = stuk.meldingen.meldingen.size();
        const SlootStatus sloot = bouwSloot(prof, stuk.var, stuk.meldingen, feiten && metSchermfeiten ? &vervangen : nullptr);
        const SlootStatus voorland = bouwVoorland(prof, stuk.var, stuk.meldingen);
        if (sloot == SlootStatus::Sloot || voorland == SlootStatus::Sloot) {
          stuk.meestePunten = std::max(stuk.meestePunten, prof.punten.size());
        }
        statussen[p] = voorland == SlootStatus::Fout ? SlootStatus::Fout : sloot;
        if (feiten && sloot == SlootStatus::Sloot) {
          // The bottom points follow the dike-side edge; the foreland, when
          // built, pushes all four back by its two points.
          const std::int32_t links =
              (stuk.var.tellerSlootkantLinks + 1) / 3 + (voorland == SlootStatus::Sloot ? 2 : 0);
          (*feiten)[p] = Bouwfeiten{links, links + 1, links + 2, links + 3, std::move(vervangen), {}};
          vervangen.clear();
        }
        if (feiten && metSchermfeiten) {
          // Kept with the profile, so a report or a screen can say later why
          // a profile failed without building it again.
          std::string& melding = (*feiten)[p].melding;
          for (std::size_t m = meldingenVoor; m < stuk.meldingen.meldingen.size(); ++m) {
            if (!melding.empty()) melding += '\n';
            melding += stuk.meldingen.meldingen[m].tekst;
          }
        }
      }
    });
    for (Stuk& stuk : stukken) {
      for (const Melding& m : stuk.meldingen.meldingen) sink.meld(m);
      if (stuk.meestePunten > 0) dekPunten(store, stuk.meestePunten);
    }
    var = stukken.back().var;
    if (voortgang) voortgang(std::min(n, begin + perStuk * perRonde), n);
  }
  return statussen;
}

}  // namespace zarvo

