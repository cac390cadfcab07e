// Building the ditch into one profile: finding the edges, the bearing, the
// bottom points, the splice, and the refusals.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "ditch/slootprofiel.h"

using namespace zarvo;

namespace {

Punt pt(double code, double x, double y, double z) {
  return Punt{Cel(code), Cel(99.0), x, y, z};
}

// A store with one profile; bounds as the reader leaves them.
ProfielStore eenProfiel(std::vector<Punt> punten, const std::string& bodem = "-1",
                        const std::string& dijk = "1", const std::string& polder = "1") {
  ProfielStore store;
  Profiel p;
  p.naam = "P1";
  p.punten = std::move(punten);
  p.sloot = SlootRecord({"P1 sloot", bodem, dijk, polder, "", "", ""});
  store.profielen.push_back(std::move(p));
  store.zetGrenzen(0, 0);
  store.dekGrenzen();
  return store;
}

struct XY {
  double x, y;
};

// Builds a ditch between edge L at (xl, yl) and edge R at (xr, yr), both at
// Z 2, bottom -1 and slope factors 1 (offsets 3 on both sides), and returns
// the two bottom points.
std::vector<XY> bodempunten(double xl, double yl, double xr, double yr) {
  ProfielStore store = eenProfiel({pt(5, xl, yl, 2), pt(2, xr, yr, 2)});
  MeldingVerzamelaar sink;
  SlootVariabelen var;
  EXPECT_EQ(berekenSlootprofiel(store, 1, var, sink), SlootStatus::Sloot);
  const auto& p = store.profiel(1).punten;
  EXPECT_EQ(p.size(), 4u);
  if (p.size() != 4u) return {};
  EXPECT_EQ(p[1].z, -1.0);
  return {{p[1].x, p[1].y}, {p[2].x, p[2].y}};
}

}  // namespace

TEST(Richting, QuadrantsAndTheTenDigitConstants) {
  EXPECT_EQ(berekenRichting(0, 5), 0.0);                 // due north
  EXPECT_EQ(berekenRichting(3, 0), 1.570796327);         // due east
  EXPECT_EQ(berekenRichting(-3, 0), -1.570796327);       // due west: no correction
  EXPECT_EQ(berekenRichting(0, 0), 1.570796327);         // no direction at all
  // The short constants differ from full-precision pi by about 4e-10; the
  // tolerance is far below that.
  EXPECT_NEAR(berekenRichting(1, -1), 2.356194490602552, 1e-13);  // south-east
  EXPECT_NEAR(berekenRichting(-1, -1), 3.926990817397448, 1e-13); // south-west
  EXPECT_NEAR(berekenRichting(-1, 1), 5.497787144602552, 1e-13);  // north-west
  EXPECT_NEAR(berekenRichting(1, 1), 0.7853981633974483, 1e-15);  // north-east
}

TEST(Slootprofiel, BottomPointsFollowTheBearingInEveryDirection) {
  // North: both bottom points straight above the dike-side edge.
  auto b = bodempunten(4, 10, 4, 20);
  ASSERT_EQ(b.size(), 2u);
  EXPECT_EQ(b[0].x, 4.0);
  EXPECT_EQ(b[0].y, 13.0);
  EXPECT_EQ(b[1].x, 4.0);
  EXPECT_EQ(b[1].y, 17.0);
  // East (dy = 0, dx > 0).
  b = bodempunten(10, 0, 20, 0);
  ASSERT_EQ(b.size(), 2u);
  EXPECT_EQ(b[0].x, 13.0);
  EXPECT_EQ(b[0].y, 0.0);
  EXPECT_EQ(b[1].x, 17.0);
  // West (dy = 0, dx < 0).
  b = bodempunten(20, 0, 10, 0);
  ASSERT_EQ(b.size(), 2u);
  EXPECT_EQ(b[0].x, 17.0);
  EXPECT_EQ(b[1].x, 13.0);
  EXPECT_EQ(b[1].y, 0.0);
  // South-east (dy < 0, dx > 0): a 6-8-10 triangle.
  b = bodempunten(0, 0, 6, -8);
  ASSERT_EQ(b.size(), 2u);
  EXPECT_EQ(b[0].x, 1.8);
  EXPECT_EQ(b[0].y, -2.4);
  EXPECT_EQ(b[1].x, 4.2);
  EXPECT_EQ(b[1].y, -5.6);
  // North-west (dy > 0, dx < 0).
  b = bodempunten(0, 0, -6, 8);
  ASSERT_EQ(b.size(), 2u);
  EXPECT_EQ(b[0].x, -1.8);
  EXPECT_EQ(b[0].y, 2.4);
  EXPECT_EQ(b[1].x, -4.2);
  EXPECT_EQ(b[1].y, 5.6);
}

TEST(Slootprofiel, SplicesTheBottomBetweenTheEdgesAndKeepsEverythingElse) {
  // Four points between the edges are replaced by the two bottom points.
  ProfielStore store = eenProfiel({pt(99, 0, 0, 5), pt(5, 0, 10, 2), pt(99, 0, 11, 0),
                                   pt(99, 0, 12, -1), pt(99, 0, 14, -1), pt(99, 0, 15, 0),
                                   pt(2, 0, 20, 2), pt(99, 0, 30, 3)},
                                  "-1,25", " 0.8 ", "1,2");
  MeldingVerzamelaar sink;
  SlootVariabelen var;
  ASSERT_EQ(berekenSlootprofiel(store, 1, var, sink), SlootStatus::Sloot);
  EXPECT_TRUE(sink.meldingen.empty());
  const auto& p = store.profiel(1).punten;
  ASSERT_EQ(p.size(), 6u);
  EXPECT_EQ(p[0].y, 0.0);
  EXPECT_EQ(p[1].y, 10.0);
  // offsetDijk = 3.25 × 0.8 = 2.6; offsetPolder = 3.25 × 1.2 = 3.9.
  EXPECT_EQ(p[2].y, 12.6);
  EXPECT_EQ(p[2].z, -1.25);
  EXPECT_EQ(p[3].y, 16.1);
  EXPECT_EQ(p[3].z, -1.25);
  EXPECT_EQ(p[4].y, 20.0);
  EXPECT_EQ(p[5].y, 30.0);
  // The bottom points carry the codes 4,4 and 3,3 as numbers.
  EXPECT_EQ(p[2].veld1, Cel(4.0));
  EXPECT_EQ(p[2].veld2, Cel(4.0));
  EXPECT_EQ(p[3].veld1, Cel(3.0));
  EXPECT_EQ(p[3].veld2, Cel(3.0));
  EXPECT_EQ(p[4].veld1, Cel(2.0));
  EXPECT_EQ(var.tellerSlootkantLinks, 5);   // point 2's X column
  EXPECT_EQ(var.tellerSlootkantRechts, 20); // point 7's X column
  EXPECT_EQ(var.zSlootrandRechts, 2.0);
  // The shrunk profile leaves the bounds as they were.
  EXPECT_EQ(store.aantalKolommen(), 25);
}

TEST(Slootprofiel, GrowingNeverCutsOffTheTail) {
  // The longest profile gains two points (no inner points, the edges
  // adjacent), and a profile with one inner point gains one.
  ProfielStore store;
  for (int n : {3, 5}) {
    Profiel p;
    p.naam = "P" + std::to_string(n);
    p.punten.push_back(pt(5, 0, 0, 2));
    if (n == 3) p.punten.push_back(pt(99, 0, 5, 0));
    p.punten.push_back(pt(2, 0, 10, 2));
    while (static_cast<int>(p.punten.size()) < n) {
      p.punten.push_back(pt(99, 0, 10.0 + static_cast<double>(p.punten.size()), 3));
    }
    p.sloot = SlootRecord({p.naam, "0", "1", "1", "", "", ""});
    store.profielen.push_back(std::move(p));
  }
  store.zetGrenzen(16, 11);  // 5 points
  MeldingVerzamelaar sink;
  SlootVariabelen var;
  const auto status = bouwSlotenInAlleProfielen(store, var, sink);
  ASSERT_EQ(status.size(), 2u);
  EXPECT_EQ(status[0], SlootStatus::Sloot);
  EXPECT_EQ(status[1], SlootStatus::Sloot);
  EXPECT_EQ(store.profiel(1).punten.size(), 4u);
  ASSERT_EQ(store.profiel(2).punten.size(), 7u);
  EXPECT_EQ(store.profiel(2).punten.back().y, 14.0);
  EXPECT_EQ(store.aantalKolommen(), 22);
  EXPECT_EQ(store.aantalRijenInfo(), 15);
  // The column view reaches the new last point through the raised bounds.
  EXPECT_EQ(store.profielDataCel(2, 21), Cel(14.0));
  EXPECT_EQ(store.puntInfoCel(2, 15), Cel(99.0));
}

TEST(Slootprofiel, EdgesAreFoundInEitherFieldAndInOrder) {
  // A 2 before the dike-side edge does not count; a 5 in the second field
  // counts as much as in the first; the first 5 wins.
  ProfielStore store = eenProfiel({Punt{Cel(2.0), Cel(99.0), 0, 0, 2},
                                   Punt{Cel(1.0), Cel(5.0), 0, 10, 2},
                                   Punt{Cel(5.0), Cel(1.0), 0, 11, 2},
                                   Punt{Cel(99.0), Cel(2.0), 0, 20, 2},
                                   Punt{Cel(2.0), Cel(2.0), 0, 30, 2}});
  MeldingVerzamelaar sink;
  SlootVariabelen var;
  ASSERT_EQ(berekenSlootprofiel(store, 1, var, sink), SlootStatus::Sloot);
  EXPECT_EQ(var.ySlootrandLinks, 10.0);
  EXPECT_EQ(var.ySlootrandRechts, 20.0);
  EXPECT_EQ(var.tellerSlootkantLinks, 5);
  EXPECT_EQ(var.tellerSlootkantRechts, 11);
  // 0, 10, B1, B2, 20, 30: the point at 11 lay between the edges.
  const auto& p = store.profiel(1).punten;
  ASSERT_EQ(p.size(), 6u);
  EXPECT_EQ(p[2].y, 13.0);
  EXPECT_EQ(p[3].y, 17.0);
}

TEST(Slootprofiel, ProfilesWithoutBothEdgesAreSkippedSilently) {
  for (const std::vector<Punt>& punten :
       {std::vector<Punt>{pt(99, 0, 0, 1), pt(2, 0, 10, 1)},
        std::vector<Punt>{pt(2, 0, 0, 1), pt(5, 0, 10, 1), pt(99, 0, 20, 1)},
        std::vector<Punt>{}}) {
    ProfielStore store = eenProfiel(punten);
    MeldingVerzamelaar sink;
    SlootVariabelen var;
    var.randRechtsGevonden = true;  // left over from an earlier profile
    var.xSlootrandRechts = 7;
    EXPECT_EQ(berekenSlootprofiel(store, 1, var, sink), SlootStatus::GeenSloot);
    EXPECT_TRUE(sink.meldingen.empty());
    EXPECT_EQ(store.profiel(1).punten.size(), punten.size());
    EXPECT_FALSE(var.randRechtsGevonden);
    EXPECT_EQ(var.xSlootrandRechts, -1.0);
  }
}

TEST(Slootprofiel, RefusalsLeaveTheProfileAsItWas) {
  struct Geval {
    std::vector<Punt> punten;
    std::string bodem, dijk, polder;
    bool metRecord;
    std::string melding;
  };
  const std::vector<Punt> gewoon = {pt(5, 0, 0, 2), pt(99, 0, 5, 0), pt(2, 0, 10, 3)};
  const std::string naam = "P1 sloot";
  const std::vector<Geval> gevallen = {
      // A bottom exactly at an edge level is no ditch of zero depth.
      {gewoon, "2", "1", "1", true,
       "de slootbodem (dijkzijde) ligt hoger dan de insteek van de sloot in profiel " + naam},
      {gewoon, "2.5", "1", "1", true,
       "de slootbodem (dijkzijde) ligt hoger dan de insteek van de sloot in profiel " + naam},
      {{pt(5, 0, 0, 4), pt(2, 0, 10, 3)}, "3", "1", "1", true,
       "de slootbodem (polderzijde) ligt hoger dan de insteek van de sloot in profiel " + naam},
      {gewoon, "laag", "1", "1", true, "de slootbodem is geen getal in profiel " + naam},
      {gewoon, "0", "1.2.3", "1", true, "de taludfactor (dijkzijde) is geen getal in profiel " + naam},
      {gewoon, "0", "1", "", true, "de taludfactor (polderzijde) is geen getal in profiel " + naam},
      // No record at all: said as such, with the profile's own name.
      {gewoon, "", "", "", false, "er is geen slootrecord voor profiel P1"},
      // Offsets 2×3 + 3×2 = 12 across 10 m: the bottom points would cross.
      {gewoon, "0", "3", "2", true, "de sloot past niet tussen de insteken in profiel " + naam},
      {gewoon, "0", "-1", "1", true, "de sloot past niet tussen de insteken in profiel " + naam},
      {gewoon, "0", "1", "-0,5", true, "de sloot past niet tussen de insteken in profiel " + naam},
      // One point coded as both edges leaves no room.
      {{Punt{Cel(5.0), Cel(2.0), 0, 0, 2}, pt(99, 0, 10, 2)}, "0", "0", "0", true,
       "de sloot past niet tussen de insteken in profiel " + naam},
  };
  for (const Geval& g : gevallen) {
    SCOPED_TRACE(g.melding + " / bodem " + g.bodem);
    ProfielStore store = eenProfiel(g.punten, g.bodem, g.dijk, g.polder);
    if (!g.metRecord) store.profiel(1).sloot = SlootRecord();
    MeldingVerzamelaar sink;
    SlootVariabelen var;
    EXPECT_EQ(berekenSlootprofiel(store, 1, var, sink), SlootStatus::Fout);
    ASSERT_EQ(sink.meldingen.size(), 1u);
    EXPECT_EQ(sink.meldingen[0].titel, "Fout!");
    EXPECT_EQ(sink.meldingen[0].tekst, g.melding);
    EXPECT_EQ(sink.meldingen[0].icoon, Icoon::Kritiek);
    ASSERT_EQ(store.profiel(1).punten.size(), g.punten.size());
    for (std::size_t i = 0; i < g.punten.size(); ++i) {
      EXPECT_EQ(store.profiel(1).punten[i].y, g.punten[i].y);
    }
    // The edges found stay available to the screen.
    EXPECT_EQ(var.xSlootrandLinks, 0.0);
  }
}

TEST(Slootprofiel, OffsetsFillingTheWholeWidthGiveAVShapedDitch) {
  ProfielStore store = eenProfiel({pt(5, 0, 0, 2), pt(2, 0, 10, 2)}, "-0.5", "2", "2");
  MeldingVerzamelaar sink;
  SlootVariabelen var;
  ASSERT_EQ(berekenSlootprofiel(store, 1, var, sink), SlootStatus::Sloot);
  const auto& p = store.profiel(1).punten;
  ASSERT_EQ(p.size(), 4u);
  EXPECT_EQ(p[1].y, 5.0);
  EXPECT_EQ(p[2].y, 5.0);
}

TEST(Slootprofiel, BottomCoordinatesAreRoundedButTheLevelIsNot) {
  // Bearing 1:2, offsets 1.2345 × 1 → X and Y with more than 3 decimals.
  ProfielStore store = eenProfiel({pt(5, 0, 0, 1), pt(2, 10, 20, 1)}, "-0.2345", "1", "1");
  MeldingVerzamelaar sink;
  SlootVariabelen var;
  ASSERT_EQ(berekenSlootprofiel(store, 1, var, sink), SlootStatus::Sloot);
  const auto& p = store.profiel(1).punten;
  ASSERT_EQ(p.size(), 4u);
  // sin θ = 1/√5, cos θ = 2/√5: 1.2345/√5 = 0.55208..., 2.469/√5 = 1.10417...
  EXPECT_EQ(p[1].x, 0.552);
  EXPECT_EQ(p[1].y, 1.104);
  EXPECT_EQ(p[1].z, -0.2345);
}
