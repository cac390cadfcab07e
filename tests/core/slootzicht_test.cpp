// What the screens and the report show of a built ditch: the dimensions,
// the replaced ground and the "Zoom op sloot" window, from the build's own
// record of each profile.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ditch/slootzicht.h"
#include "taak/taak.h"

using namespace zarvo;

namespace {

Punt pt(double code, double x, double z) { return Punt{Cel(code), Cel(99.0), x, 0.0, z}; }

struct Gebouwd {
  ProfielStore store;
  std::vector<Bouwfeiten> feiten;
  const Profiel& profiel() const { return store.profiel(1); }
};

Gebouwd bouw(std::vector<Punt> punten, const std::string& bodem, const std::string& talud) {
  Gebouwd g;
  Profiel p;
  p.naam = "P1";
  p.punten = std::move(punten);
  p.sloot = SlootRecord({"P1", bodem, talud, talud, "", "", ""});
  g.store.profielen.push_back(std::move(p));
  g.store.zetGrenzen(0, 0);
  g.store.dekGrenzen();
  SlootVariabelen var;
  MeldingVerzamelaar sink;
  bouwSlotenInAlleProfielen(g.store, var, sink, &g.feiten);
  return g;
}

}  // namespace

TEST(Slootzicht, AVerticalWallHasSlopeZeroAndTheWindowReachesPastBothEdges) {
  // Slope factor 0: each bottom point stands under its edge.
  const Gebouwd g = bouw({pt(5, 0, 2), pt(2, 10, 2)}, "-1", "0");
  ASSERT_TRUE(g.feiten[0].heeftSloot());
  const auto maten = berekenSlootmaten(g.profiel(), g.feiten[0]);
  ASSERT_TRUE(maten);
  EXPECT_DOUBLE_EQ(maten->bovenbreedte, 10);
  EXPECT_DOUBLE_EQ(maten->bodembreedte, 10);
  EXPECT_DOUBLE_EQ(maten->bodempeil, -1);
  EXPECT_DOUBLE_EQ(maten->diepteDijk, 3);
  EXPECT_DOUBLE_EQ(maten->dieptePolder, 3);
  EXPECT_EQ(maten->taludDijk, 0.0);
  EXPECT_EQ(maten->taludPolder, 0.0);
  EXPECT_EQ(maten->vervangen, 0u);

  const ProfielGeometrie geo = berekenGeometrie(g.profiel());
  const auto oud = oudMaaiveld(g.profiel(), geo, g.feiten[0]);
  ASSERT_EQ(oud.size(), 2u);  // nothing replaced: edge to edge
  EXPECT_DOUBLE_EQ(oud[1].l, 10);
  // Both vertical walls lie on the profile's own ends: the window still
  // reaches 2 m past them, over the whole depth with 15 % to spare.
  const auto kader = slootKader(geo, g.feiten[0]);
  ASSERT_TRUE(kader);
  EXPECT_DOUBLE_EQ(kader->links, -2);
  EXPECT_DOUBLE_EQ(kader->rechts, 12);
  EXPECT_DOUBLE_EQ(kader->boven, 0.5 + 3 * 0.65);
  EXPECT_DOUBLE_EQ(kader->onder, 0.5 - 3 * 0.65);
}

TEST(Slootzicht, ADitchAtTheProfilesEndShowsTheGroundItReplaced) {
  // The surveyed point at L 7 lies between the new bottom points.
  const Gebouwd g = bouw({pt(0, 0, 5), pt(5, 5, 2), pt(0, 7, 1.5), pt(2, 10, 2)}, "1", "1");
  const Bouwfeiten& f = g.feiten[0];
  ASSERT_EQ(f.insteekPolder, 5);
  const auto maten = berekenSlootmaten(g.profiel(), f);
  ASSERT_TRUE(maten);
  EXPECT_DOUBLE_EQ(maten->bovenbreedte, 5);
  EXPECT_DOUBLE_EQ(maten->bodembreedte, 3);
  EXPECT_EQ(maten->taludDijk, 1.0);
  EXPECT_EQ(maten->taludPolder, 1.0);
  EXPECT_EQ(maten->vervangen, 1u);

  const ProfielGeometrie geo = berekenGeometrie(g.profiel());
  const auto oud = oudMaaiveld(g.profiel(), geo, f);
  ASSERT_EQ(oud.size(), 3u);
  EXPECT_DOUBLE_EQ(oud[0].l, 5);
  EXPECT_DOUBLE_EQ(oud[1].l, 7);
  EXPECT_DOUBLE_EQ(oud[1].z, 1.5);
  EXPECT_DOUBLE_EQ(oud[2].l, 10);
  // The dike at L 0 lies outside the stretch and does not raise the window.
  const auto kader = slootKader(geo, f);
  ASSERT_TRUE(kader);
  EXPECT_DOUBLE_EQ(kader->rechts, 12);
  EXPECT_DOUBLE_EQ(kader->boven, 1.5 + 0.65);
  EXPECT_DOUBLE_EQ(kader->onder, 1.5 - 0.65);
  EXPECT_TRUE(f.melding.empty());
}

TEST(Slootzicht, NoDitchNoNumbersAndTheBuildKeepsWhyItRefused) {
  // A bottom above the edges is refused with a message.
  const Gebouwd g = bouw({pt(5, 0, 2), pt(2, 10, 2)}, "3", "1");
  const Bouwfeiten& f = g.feiten[0];
  EXPECT_FALSE(f.heeftSloot());
  EXPECT_FALSE(f.melding.empty());
  EXPECT_FALSE(berekenSlootmaten(g.profiel(), f));
  EXPECT_TRUE(oudMaaiveld(g.profiel(), berekenGeometrie(g.profiel()), f).empty());
  EXPECT_FALSE(slootKader(berekenGeometrie(g.profiel()), f));
}

TEST(Slootzicht, TheSamplesFirstProfile) {
  Taak taak;
  taak.zetBestanden(ZARVO_BRON "/voorbeelden/profielen.txt", ZARVO_BRON "/voorbeelden/sloot.csv");
  MeldingVerzamelaar sink;
  ASSERT_FALSE(taak.leesIn(sink, '.'));
  taak.zetSchermgegevensBewaren(true);
  taak.bouwSloten(sink);
  const auto maten = berekenSlootmaten(taak.store().profiel(1), taak.bouwfeiten()[0]);
  ASSERT_TRUE(maten);
  EXPECT_NEAR(maten->bovenbreedte, 4.63, 0.005);
  EXPECT_NEAR(maten->bodembreedte, 0.43, 0.005);
  EXPECT_NEAR(maten->bodempeil, -1.60, 0.005);
  EXPECT_NEAR(maten->diepteDijk, 1.02, 0.005);
  EXPECT_NEAR(maten->dieptePolder, 0.98, 0.005);
  EXPECT_NEAR(*maten->taludDijk, 2.00, 0.005);
  EXPECT_NEAR(*maten->taludPolder, 2.20, 0.005);
  EXPECT_EQ(maten->vervangen, 3u);
}
