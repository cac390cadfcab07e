// Properties that must hold for any store, checked over seeded random ones:
// the ditch replaces only the points between its edges, the foreland step
// only adds two points in front, and a written result reads back to the
// same cells. A failure prints its seed; the same seed rebuilds the store.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "ditch/slootprofiel.h"
#include "output/oppervlaktelijnen.h"
#include "output/opslag.h"
#include "output/resultaatschrijver.h"
#include "basis/getallen.h"
#include "basis/parallel.h"
#include "testmap.h"

using namespace zarvo;
using zarvotest::TestMap;

namespace {

class Toeval {
 public:
  explicit Toeval(unsigned zaad) : gen_(zaad) {}
  int geheel(int van, int tot) { return std::uniform_int_distribution<int>(van, tot)(gen_); }
  double getal(double van, double tot) { return std::uniform_real_distribution<double>(van, tot)(gen_); }
  bool kans(double p) { return std::bernoulli_distribution(p)(gen_); }
  template <class T>
  const T& kies(const std::vector<T>& uit) {
    return uit[static_cast<std::size_t>(geheel(0, static_cast<int>(uit.size()) - 1))];
  }

 private:
  std::mt19937 gen_;
};

// Code fields as surveys have them: mostly filler, sometimes an edge,
// a foreland code, a code written as text, or nothing.
Cel codeVeld(Toeval& t) {
  static const std::vector<double> getallen = {99, 999, 5, 2, 18, 3, 4, 72, 51, 60, 71, 16};
  static const std::vector<std::string> teksten = {" 5 ", "2", "50", "rand", "5a", ""};
  const int soort = t.geheel(0, 9);
  if (soort < 7) return Cel(t.kies(getallen));
  if (soort < 9) return Cel(t.kies(teksten));
  return Cel();
}

std::string slootGetal(Toeval& t, double van, double tot) {
  std::string s = getalNaarTekst(rondAf3(t.getal(van, tot)));
  if (t.kans(0.3)) {
    for (char& c : s) {
      if (c == '.') c = ',';
    }
  }
  return s;
}

// A random store: profiles of 1..40 points along a straight line in a
// random direction (as a surveyed cross-section runs), heights up and down,
// and a ditch record that is sometimes unusable.
ProfielStore willekeurigeStore(unsigned zaad) {
  Toeval t(zaad);
  ProfielStore store;
  const int aantal = t.geheel(1, 25);
  for (int i = 0; i < aantal; ++i) {
    Profiel p;
    p.naam = "DP" + std::to_string(i);
    const double richting = t.getal(0, 6.283);
    double l = 0;
    const double x0 = rondAf3(t.getal(100000, 200000));
    const double y0 = rondAf3(t.getal(400000, 600000));
    const int punten = t.geheel(1, 40);
    for (int k = 0; k < punten; ++k) {
      l += t.getal(0.2, 3);
      Punt pt;
      pt.veld1 = codeVeld(t);
      pt.veld2 = codeVeld(t);
      pt.x = rondAf3(x0 + std::sin(richting) * l);
      pt.y = rondAf3(y0 + std::cos(richting) * l);
      pt.z = rondAf3(t.getal(-3, 7));
      p.punten.push_back(std::move(pt));
    }
    std::array<std::string, 7> v = {p.naam, slootGetal(t, -4, 1), slootGetal(t, 0, 3), slootGetal(t, 0, 3),
                                     t.kans(0.8) ? slootGetal(t, 0, 8) : "", "", slootGetal(t, -0.5, 4)};
    if (t.kans(0.05)) v[static_cast<std::size_t>(t.geheel(1, 3))] = "n.v.t.";
    p.sloot = SlootRecord({v[0], v[1], v[2], v[3], v[4], v[5], v[6]});
    store.profielen.push_back(std::move(p));
  }
  store.dekGrenzen();
  return store;
}

bool zelfde(const Punt& a, const Punt& b) {
  return a.veld1 == b.veld1 && a.veld2 == b.veld2 && a.x == b.x && a.y == b.y && a.z == b.z;
}

double afstand(const Punt& a, const Punt& b) { return std::hypot(a.x - b.x, a.y - b.y); }

// Edges as the engineer would point them out: the first code-5 point, and
// the first code-2 point from there on.
struct Randen {
  std::size_t links = 0;  // 0-based; only valid when gevonden
  std::size_t rechts = 0;
  bool gevonden = false;
};

Randen zoekRanden(const std::vector<Punt>& punten) {
  Randen r;
  for (std::size_t j = 0; j < punten.size(); ++j) {
    if (!heeftCode(punten[j], 5)) continue;
    r.links = j;
    for (std::size_t k = j; k < punten.size(); ++k) {
      if (heeftCode(punten[k], 2)) {
        r.rechts = k;
        r.gevonden = true;
        return r;
      }
    }
    return r;
  }
  return r;
}

constexpr int aantalZaden = 300;

}  // namespace

TEST(Eigenschappen, DitchKeepsEverythingOutsideItsEdgesAndPutsTwoBottomPointsBetween) {
  int gebouwd = 0;
  int geweigerd = 0;
  for (unsigned zaad = 1; zaad <= aantalZaden; ++zaad) {
    SCOPED_TRACE("zaad " + std::to_string(zaad));
    ProfielStore store = willekeurigeStore(zaad);
    for (std::int32_t p = 1; p <= store.aantalProfielen(); ++p) {
      const std::vector<Punt> voor = store.profiel(p).punten;
      const Randen r = zoekRanden(voor);
      MeldingVerzamelaar sink;
      SlootVariabelen var;
      std::vector<Punt> vervangen;
      const SlootStatus status = berekenSlootprofiel(store, p, var, sink, &vervangen);
      const std::vector<Punt>& na = store.profiel(p).punten;

      if (!r.gevonden) {
        EXPECT_EQ(status, SlootStatus::GeenSloot);
      }
      if (status != SlootStatus::Sloot) {
        // Refused or nothing to build: not a single cell changes, and only
        // a refusal says so.
        ASSERT_EQ(na.size(), voor.size());
        for (std::size_t k = 0; k < na.size(); ++k) {
          EXPECT_TRUE(zelfde(na[k], voor[k])) << k;
        }
        EXPECT_EQ(sink.meldingen.size(), status == SlootStatus::Fout ? 1u : 0u);
        EXPECT_TRUE(vervangen.empty());
        geweigerd += status == SlootStatus::Fout;
        continue;
      }
      ++gebouwd;
      ASSERT_TRUE(r.gevonden);
      EXPECT_TRUE(sink.meldingen.empty());
      ASSERT_EQ(na.size(), voor.size() - (r.rechts - r.links - 1) + 2);
      for (std::size_t k = 0; k <= r.links; ++k) {
        EXPECT_TRUE(zelfde(na[k], voor[k])) << k;
      }
      for (std::size_t k = r.rechts; k < voor.size(); ++k) {
        EXPECT_TRUE(zelfde(na[k - r.rechts + r.links + 3], voor[k])) << k;
      }
      // What the ditch replaced is exactly the surveyed points between the
      // edges: the ground the ditch screen shows under the new profile.
      ASSERT_EQ(vervangen.size(), r.rechts - r.links - 1);
      for (std::size_t k = 0; k < vervangen.size(); ++k) {
        EXPECT_TRUE(zelfde(vervangen[k], voor[r.links + 1 + k])) << k;
      }

      // The two bottom points: codes 4 and 3, at the bottom level, below
      // both edges, and in plan on the line between the edges at the slope
      // offsets (within the rounding of X and Y to 3 decimals).
      const Punt& randL = voor[r.links];
      const Punt& randR = voor[r.rechts];
      const Punt& b1 = na[r.links + 1];
      const Punt& b2 = na[r.links + 2];
      const double bodem = *leesGetalSloot(store.profiel(p).sloot.kolom(2));
      const double offsetDijk = (randL.z - bodem) * *leesGetalSloot(store.profiel(p).sloot.kolom(3));
      const double offsetPolder = (randR.z - bodem) * *leesGetalSloot(store.profiel(p).sloot.kolom(4));
      EXPECT_TRUE(b1.veld1 == Cel(4.0) && b1.veld2 == Cel(4.0));
      EXPECT_TRUE(b2.veld1 == Cel(3.0) && b2.veld2 == Cel(3.0));
      EXPECT_EQ(b1.z, bodem);
      EXPECT_EQ(b2.z, bodem);
      EXPECT_LT(bodem, randL.z);
      EXPECT_LT(bodem, randR.z);
      const double breedte = afstand(randL, randR);
      const double tol = 0.0015;
      EXPECT_NEAR(afstand(randL, b1), offsetDijk, tol);
      EXPECT_NEAR(afstand(b1, b2), breedte - offsetDijk - offsetPolder, 2 * tol);
      EXPECT_NEAR(afstand(b2, randR), offsetPolder, tol);
    }
    for (const Profiel& prof : store.profielen) {
      EXPECT_GE(store.aantalKolommen(), static_cast<std::int32_t>(1 + 3 * prof.punten.size()));
      EXPECT_GE(store.aantalRijenInfo(), static_cast<std::int32_t>(1 + 2 * prof.punten.size()));
    }
  }
  // The generator must exercise both outcomes, or the checks above say little.
  EXPECT_GT(gebouwd, 100);
  EXPECT_GT(geweigerd, 50);
}

TEST(Eigenschappen, ForelandAddsExactlyTwoPointsInFrontAndMovesNothingElse) {
  int toegevoegd = 0;
  for (unsigned zaad = 1; zaad <= aantalZaden; ++zaad) {
    SCOPED_TRACE("zaad " + std::to_string(zaad));
    ProfielStore store = willekeurigeStore(zaad);
    for (std::int32_t p = 1; p <= store.aantalProfielen(); ++p) {
      MeldingVerzamelaar sink;
      SlootVariabelen var;
      berekenSlootprofiel(store, p, var, sink);
      const std::vector<Punt> voor = store.profiel(p).punten;
      const SlootStatus status = berekenVoorland(store, p, var, sink);
      const std::vector<Punt>& na = store.profiel(p).punten;
      if (status != SlootStatus::Sloot) {
        ASSERT_EQ(na.size(), voor.size());
        for (std::size_t k = 0; k < na.size(); ++k) {
          EXPECT_TRUE(zelfde(na[k], voor[k])) << k;
        }
        continue;
      }
      ++toegevoegd;
      ASSERT_EQ(na.size(), voor.size() + 2);
      for (std::size_t k = 0; k < voor.size(); ++k) {
        EXPECT_TRUE(zelfde(na[k + 2], voor[k])) << k;
      }
      EXPECT_TRUE(na[0].veld1 == Cel(16.0) && na[0].veld2 == Cel(16.0));
      EXPECT_TRUE(na[1].veld1 == Cel(15.0) && na[1].veld2 == Cel(15.0));
      EXPECT_EQ(na[0].z, na[1].z);

      // Both new points lie behind the first point, away from the
      // polder-side edge, at a + b and a.
      const Profiel& prof = store.profiel(p);
      const double a = *leesGetalSloot(prof.sloot.kolom(5));
      const double b = *leesGetalSloot(prof.sloot.kolom(7));
      EXPECT_NEAR(afstand(na[0], voor[0]), a + b, 0.0015);
      EXPECT_NEAR(afstand(na[1], voor[0]), a, 0.0015);
      const double naarRandX = var.xSlootrandRechts - voor[0].x;
      const double naarRandY = var.ySlootrandRechts - voor[0].y;
      if (a + b > 0.01 && std::hypot(naarRandX, naarRandY) > 0.01) {
        EXPECT_LT((na[0].x - voor[0].x) * naarRandX + (na[0].y - voor[0].y) * naarRandY, 0.0);
      }
    }
  }
  EXPECT_GT(toegevoegd, 30);
}

namespace {

// The result file as another tool would read it: lines ended by CRLF, six
// TAB-separated fields.
std::vector<std::vector<std::string>> leesTabBestand(const std::string& pad) {
  const std::string inhoud = zarvotest::leesAlles(pad);
  std::vector<std::vector<std::string>> regels;
  std::size_t pos = 0;
  while (pos < inhoud.size()) {
    const std::size_t eind = inhoud.find("\r\n", pos);
    if (eind == std::string::npos) {
      ADD_FAILURE() << "laatste regel zonder CRLF";
      break;
    }
    std::vector<std::string> velden(1);
    for (std::size_t i = pos; i < eind; ++i) {
      if (inhoud[i] == '\t') {
        velden.emplace_back();
      } else {
        velden.back().push_back(inhoud[i]);
      }
    }
    regels.push_back(std::move(velden));
    pos = eind + 2;
  }
  return regels;
}

// A field read back as the cell it came from: empty, a number (with the
// separator that was written), or text.
Cel alsCel(const std::string& veld, char decimaalteken) {
  if (veld.empty()) return Cel();
  std::string punt = veld;
  for (char& c : punt) {
    if (c == decimaalteken) c = '.';
  }
  if (const auto getal = leesGetalPunt(punt)) return Cel(*getal);
  return Cel(veld);
}

}  // namespace

TEST(Eigenschappen, WrittenResultReadsBackToTheSameCells) {
  for (unsigned zaad = 1; zaad <= 60; ++zaad) {
    SCOPED_TRACE("zaad " + std::to_string(zaad));
    Toeval t(zaad);
    ProfielStore store = willekeurigeStore(zaad);
    // Code texts that cannot be mistaken for numbers, and names with
    // blanks and bytes of other encodings, go out as they are.
    for (Profiel& p : store.profielen) {
      if (t.kans(0.3)) p.naam += " d\xC3\xA9 \xFF";
      for (Punt& pt : p.punten) {
        // append, not "x" + std::string: g++ 12 -O3 warns falsely (-Wrestrict) on that
        if (pt.veld2.isTekst()) pt.veld2 = Cel(std::string("x").append(pt.veld2.tekstWaarde()));
        if (pt.veld1.isTekst()) pt.veld1 = Cel(std::string("c").append(pt.veld1.tekstWaarde()));
        if (t.kans(0.05)) pt.z = -pt.z;
        if (t.kans(0.02)) pt.x = 0.0005;
      }
    }
    MeldingVerzamelaar sink;
    SlootVariabelen var;
    bouwSlotenInAlleProfielen(store, var, sink);
    if (store.aantalProfielen() > 1) store.verwijderProfiel(store.aantalProfielen());

    const char scheiding = zaad % 2 == 0 ? ',' : '.';
    TestMap map;
    ASSERT_FALSE(schrijfResultaat(store, map.map().string(), "uit.txt", "weg.txt", scheiding));
    const auto regels = leesTabBestand(map.pad("uit.txt"));

    std::size_t r = 0;
    for (const Profiel& p : store.profielen) {
      for (const Punt& pt : p.punten) {
        ASSERT_LT(r, regels.size());
        const auto& v = regels[r++];
        ASSERT_EQ(v.size(), 6u);
        EXPECT_EQ(alsCel(v[0], scheiding), pt.veld1) << v[0];
        EXPECT_EQ(alsCel(v[1], scheiding), pt.veld2) << v[1];
        EXPECT_EQ(alsCel(v[2], scheiding), Cel(pt.x)) << v[2];
        EXPECT_EQ(alsCel(v[3], scheiding), Cel(pt.y)) << v[3];
        EXPECT_EQ(alsCel(v[4], scheiding), Cel(pt.z)) << v[4];
        EXPECT_EQ(v[5], p.naam);
      }
    }
    EXPECT_EQ(r, regels.size());

    std::ifstream lijst(map.pad("weg.txt"), std::ios::binary);
    EXPECT_EQ(lijst.is_open(), store.aantalVerwijderd() > 0);
  }
}

namespace {

struct Verzamelstroom : Uitvoerstroom {
  bool schrijf(std::string_view bytes) override {
    inhoud.append(bytes);
    return true;
  }
  std::string inhoud;
};

struct Gebouwd {
  ProfielStore store;
  std::vector<SlootStatus> statussen;
  std::vector<Bouwfeiten> feiten;
  SlootVariabelen var;
  std::vector<Melding> meldingen;
  std::string resultaat;
  std::string oppervlaktelijnen[2];
};

// Builds and writes 'store' with the work cut into pieces of 'grootte'
// profiles (construction) and points or profiles (writers); 0 is the
// normal size. A profile without points goes in the middle before the
// writing: a piece border beside it must not lose its line.
Gebouwd bouwEnSchrijf(ProfielStore store, std::size_t grootte, char scheiding) {
  zetStukGrootteVoorTests(grootte);
  Gebouwd g;
  MeldingVerzamelaar sink;
  g.statussen = bouwSlotenInAlleProfielen(store, g.var, sink, &g.feiten);
  Verzamelstroom uit;
  EXPECT_TRUE(profielregels().schrijf(0, store, uit, scheiding));
  std::vector<Bouwfeiten> feiten = g.feiten;
  const std::size_t midden = store.profielen.size() / 2;
  feiten.insert(feiten.begin() + static_cast<std::ptrdiff_t>(midden), Bouwfeiten{});
  ProfielStore metLeeg = store;
  metLeeg.profielen.insert(metLeeg.profielen.begin() + static_cast<std::ptrdiff_t>(midden), Profiel{});
  metLeeg.profielen[midden].naam = "leeg";
  const Oppervlaktelijnen oppervlak(feiten);
  for (std::size_t i = 0; i < 2; ++i) {
    Verzamelstroom bestand;
    EXPECT_TRUE(oppervlak.schrijf(i, metLeeg, bestand, scheiding));
    g.oppervlaktelijnen[i] = std::move(bestand.inhoud);
  }
  zetStukGrootteVoorTests(0);
  g.store = std::move(store);
  g.meldingen = std::move(sink.meldingen);
  g.resultaat = std::move(uit.inhoud);
  return g;
}

}  // namespace

// The construction and the writers share the profiles out over the cores;
// wherever the pieces' borders fall (down to one profile or one point a
// piece, a profile split over pieces, far more pieces than buffers), the
// outcome must be that of one piece.
TEST(Eigenschappen, BuildingAndWritingInPiecesGiveWhatOnePieceGives) {
  int metMeldingen = 0;
  for (unsigned zaad = 1; zaad <= 40; ++zaad) {
    const ProfielStore store = willekeurigeStore(zaad);
    const char scheiding = zaad % 2 == 0 ? ',' : '.';
    const Gebouwd een = bouwEnSchrijf(store, 0, scheiding);
    metMeldingen += een.meldingen.empty() ? 0 : 1;
    ASSERT_NE(een.oppervlaktelijnen[0].find("\r\nleeg\r\n"), std::string::npos);
    for (const std::size_t grootte : {1u, 3u, 17u}) {
      SCOPED_TRACE("zaad " + std::to_string(zaad) + ", stukken van " + std::to_string(grootte));
      const Gebouwd stukken = bouwEnSchrijf(store, grootte, scheiding);
      EXPECT_EQ(een.statussen, stukken.statussen);
      ASSERT_EQ(een.meldingen.size(), stukken.meldingen.size());
      for (std::size_t i = 0; i < een.meldingen.size(); ++i) {
        EXPECT_EQ(een.meldingen[i].tekst, stukken.meldingen[i].tekst);
      }
      ASSERT_EQ(een.feiten.size(), stukken.feiten.size());
      for (std::size_t p = 0; p < een.feiten.size(); ++p) {
        EXPECT_EQ(een.feiten[p].insteekDijk, stukken.feiten[p].insteekDijk);
        EXPECT_EQ(een.feiten[p].vervangen.size(), stukken.feiten[p].vervangen.size());
      }
      EXPECT_EQ(een.var.xSlootrandRechts, stukken.var.xSlootrandRechts);
      EXPECT_EQ(een.var.tellerSlootkantLinks, stukken.var.tellerSlootkantLinks);
      EXPECT_EQ(een.store.aantalKolommen(), stukken.store.aantalKolommen());
      EXPECT_EQ(een.store.aantalRijenInfo(), stukken.store.aantalRijenInfo());
      EXPECT_TRUE(een.resultaat == stukken.resultaat) << "het resultaatbestand verschilt";
      EXPECT_TRUE(een.oppervlaktelijnen[0] == stukken.oppervlaktelijnen[0]) << "de oppervlaktelijnen verschillen";
      EXPECT_TRUE(een.oppervlaktelijnen[1] == stukken.oppervlaktelijnen[1]) << "de karakteristieke punten verschillen";
    }
  }
  EXPECT_GT(metMeldingen, 5);  // the stores do hold profiles the construction refuses
}
