// The foreland step after the ditch, and the loop over all profiles.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ditch/slootprofiel.h"

using namespace zarvo;

namespace {

Punt pt(Cel v1, Cel v2, double x, double y, double z) { return Punt{v1, v2, x, y, z}; }
Punt pt(double code, double x, double y, double z) { return pt(Cel(code), Cel(99.0), x, y, z); }

// Surveyed from (0, 0) towards the polder-side edge at (6, 8); the foreland
// point F lies before the ditch, at Z 0.5.
Profiel voorlandProfiel(const std::string& naam, Cel fVeld1, Cel fVeld2, const std::string& a,
                        const std::string& b, const std::string& bodem = "-1") {
  Profiel p;
  p.naam = naam;
  p.punten = {pt(99, 0, 0, 1), pt(fVeld1, fVeld2, 0.3, 0.4, 0.5), pt(5, 3, 4, 2),
              pt(99, 4.5, 6, 0), pt(2, 6, 8, 2), pt(99, 9, 12, 3)};
  p.sloot = SlootRecord({naam + "_s", bodem, "0.1", "0.1", a, "weg", b});
  return p;
}

ProfielStore storeMet(Profielen profielen) {
  ProfielStore store;
  store.profielen = std::move(profielen);
  store.dekGrenzen();
  return store;
}

}  // namespace

TEST(Voorland, TwoPointsGoInFrontAlongTheBearingToThePolderEdge) {
  for (double code : {50.0, 51.0, 60.0, 61.0, 70.0, 71.0}) {
    SCOPED_TRACE(code);
    // The code in the second field counts as much as in the first.
    ProfielStore store = storeMet({voorlandProfiel("A", Cel(7.0), Cel(code), "2", "3")});
    MeldingVerzamelaar sink;
    SlootVariabelen var;
    const auto status = bouwSlotenInAlleProfielen(store, var, sink);
    EXPECT_TRUE(sink.meldingen.empty());
    ASSERT_EQ(status.size(), 1u);
    EXPECT_EQ(status[0], SlootStatus::Sloot);
    const auto& p = store.profiel(1).punten;
    // 6 surveyed - 1 inner + 2 bottom + 2 foreland.
    ASSERT_EQ(p.size(), 9u);
    // sin θ = 0.6, cos θ = 0.8; a + b = 5 and a = 2 back from (0, 0).
    EXPECT_EQ(p[0].x, -3.0);
    EXPECT_EQ(p[0].y, -4.0);
    EXPECT_EQ(p[0].z, 0.5);
    EXPECT_EQ(p[0].veld1, Cel(16.0));
    EXPECT_EQ(p[0].veld2, Cel(16.0));
    EXPECT_EQ(p[1].x, -1.2);
    EXPECT_EQ(p[1].y, -1.6);
    EXPECT_EQ(p[1].z, 0.5);
    EXPECT_EQ(p[1].veld1, Cel(15.0));
    EXPECT_EQ(p[1].veld2, Cel(15.0));
    EXPECT_EQ(p[2].x, 0.0);  // the surveyed first point follows them
    EXPECT_EQ(p[4].veld1, Cel(5.0));
    EXPECT_EQ(p[5].veld1, Cel(4.0));
    EXPECT_EQ(store.aantalKolommen(), 1 + 3 * 9);
    EXPECT_EQ(store.aantalRijenInfo(), 1 + 2 * 9);
  }
}

TEST(Voorland, CommaDecimalsAndZeroWidthsAreAccepted) {
  ProfielStore store = storeMet({voorlandProfiel("A", Cel(50.0), Cel(99.0), "0", " 2,5 ")});
  MeldingVerzamelaar sink;
  SlootVariabelen var;
  ASSERT_EQ(bouwSlotenInAlleProfielen(store, var, sink)[0], SlootStatus::Sloot);
  const auto& p = store.profiel(1).punten;
  ASSERT_EQ(p.size(), 9u);
  EXPECT_EQ(p[0].x, -1.5);
  EXPECT_EQ(p[0].y, -2.0);
  EXPECT_EQ(p[1].x, 0.0);
  EXPECT_EQ(p[1].y, 0.0);
}

TEST(Voorland, InvalidMeasuresAreReportedAndTheStepSkipped) {
  for (const auto& [a, b] : std::vector<std::pair<std::string, std::string>>{
           {"-1", "3"}, {"2", "-0,1"}, {"x", "3"}, {"2", ""}}) {
    SCOPED_TRACE(a + "/" + b);
    ProfielStore store = storeMet({voorlandProfiel("A", Cel(50.0), Cel(99.0), a, b)});
    MeldingVerzamelaar sink;
    SlootVariabelen var;
    EXPECT_EQ(bouwSlotenInAlleProfielen(store, var, sink)[0], SlootStatus::Fout);
    ASSERT_EQ(sink.meldingen.size(), 1u);
    EXPECT_EQ(sink.meldingen[0].titel, "Fout!");
    EXPECT_EQ(sink.meldingen[0].tekst, "de voorlandmaten zijn ongeldig in profiel A_s");
    // The ditch itself was built; only the foreland step was skipped.
    EXPECT_EQ(store.profiel(1).punten.size(), 7u);
    EXPECT_EQ(store.profiel(1).punten[0].x, 0.0);
  }
}

TEST(Voorland, NeedsBothTheForelandPointAndThisProfilesPolderEdge) {
  // Profile 1 has a complete ditch. Profile 2 has a foreland point and a
  // dike-side edge but no polder-side edge: the edge of profile 1 must not
  // be used for it. Profile 3 has a ditch but no foreland point.
  Profiel zonderRechts = voorlandProfiel("B", Cel(50.0), Cel(99.0), "2", "3");
  zonderRechts.punten[4].veld1 = Cel(99.0);
  Profiel zonderVoorland = voorlandProfiel("C", Cel(1.0), Cel(1.0), "2", "3");
  ProfielStore store = storeMet(
      {voorlandProfiel("A", Cel(50.0), Cel(99.0), "2", "3"), zonderRechts, zonderVoorland});
  MeldingVerzamelaar sink;
  SlootVariabelen var;
  const auto status = bouwSlotenInAlleProfielen(store, var, sink);
  EXPECT_TRUE(sink.meldingen.empty());
  ASSERT_EQ(status.size(), 3u);
  EXPECT_EQ(status[0], SlootStatus::Sloot);
  EXPECT_EQ(status[1], SlootStatus::GeenSloot);
  EXPECT_EQ(status[2], SlootStatus::Sloot);
  EXPECT_EQ(store.profiel(1).punten.size(), 9u);
  EXPECT_EQ(store.profiel(2).punten.size(), 6u);
  EXPECT_EQ(store.profiel(3).punten.size(), 7u);
  // The screen sees the last profile's edges.
  EXPECT_EQ(var.xSlootrandRechts, 6.0);
}

TEST(Voorland, RunsEvenWhenTheDitchWasRefused) {
  // The bottom lies above the edges: the ditch step refuses, but the
  // polder-side edge was found, so the foreland points are still added.
  ProfielStore store = storeMet({voorlandProfiel("A", Cel(50.0), Cel(99.0), "2", "3", "5")});
  MeldingVerzamelaar sink;
  SlootVariabelen var;
  EXPECT_EQ(bouwSlotenInAlleProfielen(store, var, sink)[0], SlootStatus::Fout);
  ASSERT_EQ(sink.meldingen.size(), 1u);
  EXPECT_EQ(store.profiel(1).punten.size(), 8u);
  EXPECT_EQ(store.profiel(1).punten[0].veld1, Cel(16.0));
}
