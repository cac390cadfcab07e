// The job's steps as the screens call them, and the profile geometry both
// drawings take their measures from.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "basis/profielgeometrie.h"
#include "taak/taak.h"
#include "testmap.h"

using zarvotest::TestMap;
using namespace zarvo;

namespace {

const std::string voorbeeld = ZARVO_BRON "/voorbeelden/";

std::vector<std::string> namen(const ProfielStore& s) {
  std::vector<std::string> uit;
  for (const Profiel& p : s.profielen) uit.push_back(p.naam);
  return uit;
}

Profiel profiel(std::initializer_list<Punt> punten) {
  Profiel p;
  p.naam = "P";
  p.punten = punten;
  return p;
}

Punt punt(double x, double y, double z) { return Punt{Cel(99.0), Cel(999.0), x, y, z}; }

// Writes both files into 'map', chooses them and reads them.
std::optional<Melding> lees(Taak& taak, const TestMap& map, const std::string& profielen,
                            const std::string& sloot) {
  taak.zetBestanden(map.schrijf("p.txt", profielen), map.schrijf("s.csv", sloot));
  MeldingVerzamelaar sink;
  return taak.leesIn(sink, '.');
}

}  // namespace

// Read, delete two, put the first one back, build, save: the bytes the batch
// writes for the same job with only the second one deleted.
TEST(Taak, DeletePutBackBuildAndSaveGiveTheBatchsBytes) {
  TestMap map;
  Taak taak;
  taak.zetBestanden(voorbeeld + "profielen.txt", voorbeeld + "sloot.csv");
  MeldingVerzamelaar sink;
  ASSERT_FALSE(taak.leesIn(sink, ','));
  const std::vector<std::string> gelezen = namen(taak.store());
  ASSERT_GT(gelezen.size(), 4u);

  ASSERT_FALSE(taak.verwijder(3));
  ASSERT_FALSE(taak.verwijder(1));
  EXPECT_EQ(taak.store().verwijderdeProfielen, (std::vector<std::string>{gelezen[2], gelezen[0]}));
  // The profile that was third comes back second: the first is still gone.
  EXPECT_EQ(taak.zetTerug(0), 2);
  EXPECT_EQ(taak.zetTerug(5), 0);
  std::vector<std::string> zonderEerste(gelezen.begin() + 1, gelezen.end());
  EXPECT_EQ(namen(taak.store()), zonderEerste);
  EXPECT_EQ(taak.store().verwijderdeProfielen, std::vector<std::string>{gelezen[0]});
  EXPECT_EQ(taak.store().profiel(2).sloot.kolom(1), gelezen[2]);  // with its own ditch record

  const std::vector<SlootStatus> statussen = taak.bouwSloten(sink);
  EXPECT_EQ(statussen.size(), zonderEerste.size());
  // Building again changes nothing.
  const std::size_t punten = taak.store().profiel(1).punten.size();
  EXPECT_EQ(taak.bouwSloten(sink), statussen);
  EXPECT_EQ(taak.store().profiel(1).punten.size(), punten);
  EXPECT_THROW(taak.verwijder(1), std::logic_error);

  EXPECT_EQ(taak.standaardNaamResultaat(), "output_profiel_profielen.txt");
  EXPECT_EQ(taak.standaardNaamVerwijderd(), "output_verwijderde_profielen_profielen.txt");
  std::filesystem::create_directory(map.map() / "taak");
  std::filesystem::create_directory(map.map() / "batch");
  ASSERT_FALSE(taak.slaOp((map.map() / "taak").string(), {taak.standaardNaamResultaat()},
                          taak.standaardNaamVerwijderd(), ','));

  const auto batch = zarvotest::draaiBatch(
      map, {map.map() / "batch", {}},
      "bouw '" + voorbeeld + "profielen.txt' '" + voorbeeld + "sloot.csv' --decimaalteken , --verwijder '" +
          gelezen[0] + "'");
  ASSERT_EQ(batch.code, 0) << batch.fout;
  for (const std::string naam : {"output_profiel_profielen.txt", "output_verwijderde_profielen_profielen.txt"}) {
    const std::string vanTaak = zarvotest::leesAlles(map.map() / "taak" / naam);
    EXPECT_GT(vanTaak.size(), 30u) << naam;
    EXPECT_TRUE(vanTaak == zarvotest::leesAlles(map.map() / "batch" / naam)) << naam;
  }
}

TEST(Taak, AFailedReadLeavesNothingLoadedAndTheLastDeleteSaysSo) {
  TestMap map;
  Taak taak;
  // The ditch file has one record for two profiles.
  const std::string profielen = "1,2,0,0,1,A\n1,2,3,4,2,A\n1,2,0,0,0,B\n1,2,1,0,0,B\n";
  const auto fout = lees(taak, map, profielen, "kop\nA;-1.5;2;2;;;\n");
  ASSERT_TRUE(fout);
  EXPECT_EQ(fout->titel, "Fout!");
  EXPECT_FALSE(taak.isIngelezen());
  EXPECT_EQ(taak.profielbestand(), map.pad("p.txt"));  // the choice stays

  ASSERT_FALSE(lees(taak, map, profielen, "kop\nA;-1.5;2;2;;;\nB;-1.5;2;2;;;\n"));
  EXPECT_EQ(taak.zoekProfiel("B"), 2);
  EXPECT_EQ(taak.zoekProfiel("b"), 0);
  EXPECT_FALSE(taak.verwijder(2));
  const auto laatste = taak.verwijder(1);
  ASSERT_TRUE(laatste);
  EXPECT_EQ(laatste->tekst, "Er zijn geen profielen meer over. Verdere uitvoering Zarvo-Edit niet mogelijk");
  // Both can come back, in file order whatever the order of putting back.
  EXPECT_EQ(taak.zetTerug(1), 1);
  EXPECT_EQ(taak.zetTerug(0), 2);
  EXPECT_EQ(namen(taak.store()), (std::vector<std::string>{"A", "B"}));
  EXPECT_TRUE(taak.store().verwijderdeProfielen.empty());
}

TEST(ProfielGeometrie, ExtentsLengthAndTheUnfoldedLine) {
  // Bent in plan (3-4-5, then 6-(-8)-10), with a vertical step at the end.
  const ProfielGeometrie g = berekenGeometrie(
      profiel({punt(100, 200, 1.0), punt(103, 204, 2.5), punt(109, 196, 1.2), punt(109, 196, -0.5)}));
  EXPECT_EQ(g.minX, 100.0);
  EXPECT_EQ(g.maxX, 109.0);
  EXPECT_EQ(g.minY, 196.0);
  EXPECT_EQ(g.maxY, 204.0);
  EXPECT_EQ(g.minZ, -0.5);
  EXPECT_EQ(g.maxZ, 2.5);
  EXPECT_EQ(g.lengte, 15.0);  // along the ground: 5 + 10, not the straight 9.85
  ASSERT_EQ(g.lz.size(), 4u);
  EXPECT_EQ(g.lz[0].l, 0.0);
  EXPECT_EQ(g.lz[1].l, 5.0);
  EXPECT_EQ(g.lz[2].l, 15.0);
  EXPECT_EQ(g.lz[3].l, 15.0);  // the vertical segment adds no distance
  EXPECT_EQ(g.lz[3].z, -0.5);

  // A profile that turns back is longer than its extent.
  EXPECT_EQ(berekenGeometrie(profiel({punt(0, 0, 0), punt(10, 0, 0), punt(4, 0, 0)})).lengte, 16.0);
}

TEST(ProfielGeometrie, DegenerateProfiles) {
  const ProfielGeometrie leeg = berekenGeometrie(Profiel{});
  EXPECT_TRUE(leeg.leeg());
  EXPECT_EQ(leeg.lengte, 0.0);

  // One plan position: zero extents and length, every point at L = 0.
  const ProfielGeometrie stip = berekenGeometrie(profiel({punt(5, 6, 1), punt(5, 6, 3)}));
  EXPECT_FALSE(stip.leeg());
  EXPECT_EQ(stip.maxX - stip.minX, 0.0);
  EXPECT_EQ(stip.maxY - stip.minY, 0.0);
  EXPECT_EQ(stip.lengte, 0.0);
  EXPECT_EQ(stip.lz[1].l, 0.0);

  // Coordinates whose squares overflow a double still give a finite length.
  const ProfielGeometrie groot = berekenGeometrie(profiel({punt(0, 0, 0), punt(3e200, 4e200, 0)}));
  EXPECT_TRUE(std::isfinite(groot.lengte));
  EXPECT_DOUBLE_EQ(groot.lengte, 5e200);
}

// The longest profile of a file fills every column of the column view; its
// geometry still takes all its points.
TEST(ProfielGeometrie, TheLongestProfileOfAFileIsWhole) {
  TestMap map;
  Taak taak;
  ASSERT_FALSE(lees(taak, map, "1,2,0,0,1,A\n1,2,3,4,2,A\n1,2,6,8,0,A\n1,2,0,0,0,B\n1,2,1,0,0,B\n",
                    "kop\nA;-1.5;2;2;;;\nB;-1.5;2;2;;;\n"));
  const Profiel& a = taak.store().profiel(1);
  ASSERT_EQ(taak.store().aantalKolommen(), 1 + 3 * 3);
  EXPECT_FALSE(taak.store().profielDataCel(1, taak.store().aantalKolommen()).isLeeg());
  const ProfielGeometrie g = berekenGeometrie(a);
  ASSERT_EQ(g.lz.size(), 3u);
  EXPECT_EQ(g.lz.back().l, 10.0);
  EXPECT_EQ(g.lz.back().z, 0.0);
}
