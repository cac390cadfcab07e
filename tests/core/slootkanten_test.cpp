// Ditch edges chosen by hand: built exactly as the same points coded 5 and
// 2 would be, saved beside the result, and replayed by zarvo-batch.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "input/leesslootkanten.h"
#include "output/slootkanten.h"
#include "taak/taak.h"
#include "testmap.h"

using zarvotest::TestMap;
using namespace zarvo;

namespace {

const std::string voorbeeld = ZARVO_BRON "/voorbeelden/";

// The sample with the ditch codes of profile DP112+075 taken away (the
// surveyor forgot them), and the choices file that puts them back.
struct ZonderCodes {
  std::string profielen;
  std::string keuzes;
};

ZonderCodes zonderCodes() {
  std::string tekst = zarvotest::leesAlles(voorbeeld + "profielen.txt");
  ZonderCodes uit;
  int nummer = 0;
  std::string kanten[2];
  std::size_t begin = 0;
  while (begin < tekst.size()) {
    const std::size_t eind = tekst.find('\n', begin);
    std::string regel = tekst.substr(begin, eind - begin);
    begin = eind == std::string::npos ? tekst.size() : eind + 1;
    if (regel.find(",DP112+075") != std::string::npos) {
      ++nummer;
      for (int k = 0; k < 2; ++k) {
        const std::string code = k == 0 ? "99,5," : "99,2,";
        if (regel.rfind(code, 0) == 0) {
          regel = "99,999," + regel.substr(code.size());
          const std::size_t x = regel.find(',', 7);
          kanten[k] = std::to_string(nummer) + ";" + regel.substr(7, x - 7) + ";" +
                      regel.substr(x + 1, regel.find(',', x + 1) - x - 1);
        }
      }
    }
    uit.profielen += regel + "\n";
  }
  uit.keuzes = std::string(slootkantenKop) + "\r\nDP112+075;" + kanten[0] + ";" + kanten[1] + "\r\n";
  return uit;
}

bool zelfde(const std::vector<Punt>& a, const std::vector<Punt>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (!(a[i].x == b[i].x && a[i].y == b[i].y && a[i].z == b[i].z && a[i].veld1 == b[i].veld1 &&
          a[i].veld2 == b[i].veld2)) {
      return false;
    }
  }
  return true;
}

}  // namespace

TEST(Slootkanten, ChosenEdgesBuildTheCodedDitchAndTheBatchReplaysThem) {
  TestMap map;
  const ZonderCodes z = zonderCodes();
  ASSERT_NE(z.keuzes.find("DP112+075;"), std::string::npos);
  const std::string profielen = map.schrijf("profielen.txt", z.profielen);
  const std::string keuzes = map.schrijf("keuzes.csv", z.keuzes);
  std::filesystem::create_directory(map.map() / "gecodeerd");
  std::filesystem::create_directory(map.map() / "gekozen");
  std::filesystem::create_directory(map.map() / "zonder");
  auto bouw = [&](const std::string& invoer, const std::string& uit, const std::string& extra) {
    return zarvotest::draaiBatch(map, {map.map() / uit, {}},
                                 "bouw '" + invoer + "' '" + voorbeeld + "sloot.csv' --decimaalteken . " + extra);
  };
  ASSERT_EQ(bouw(voorbeeld + "profielen.txt", "gecodeerd", "").code, 0);
  const auto gekozen = bouw(profielen, "gekozen", "--slootkanten '" + keuzes + "'");
  ASSERT_EQ(gekozen.code, 0) << gekozen.fout;
  ASSERT_EQ(bouw(profielen, "zonder", "").code, 0);
  const std::string resultaat = "output_profiel_profielen.txt";
  const std::string gecodeerd = zarvotest::leesAlles(map.map() / "gecodeerd" / resultaat);
  EXPECT_GT(gecodeerd.size(), 1000u);
  // The choice gives the coded file's bytes; without it the profile has no ditch.
  EXPECT_TRUE(zarvotest::leesAlles(map.map() / "gekozen" / resultaat) == gecodeerd);
  EXPECT_FALSE(zarvotest::leesAlles(map.map() / "zonder" / resultaat) == gecodeerd);
  // The choices file saved beside it replays to the same bytes.
  const std::string bewaard = (map.map() / "gekozen" / "output_slootkanten_profielen.csv").string();
  EXPECT_EQ(zarvotest::leesAlles(bewaard).rfind(std::string(slootkantenKop) + "\r\nDP112+075;", 0), 0u);
  std::filesystem::create_directory(map.map() / "opnieuw");
  ASSERT_EQ(bouw(profielen, "opnieuw", "--slootkanten '" + bewaard + "'").code, 0);
  EXPECT_TRUE(zarvotest::leesAlles(map.map() / "opnieuw" / resultaat) == gecodeerd);
}

TEST(Slootkanten, AChoiceThatDoesNotFitTheSurveyIsRefusedWithItsLine) {
  TestMap map;
  const ZonderCodes z = zonderCodes();
  const std::string goed = z.keuzes.substr(z.keuzes.find("\r\n") + 2);
  const std::string kop = std::string(slootkantenKop) + "\r\n";
  const struct {
    std::string inhoud;
    std::string reden;
  } gevallen[] = {
      {kop + "GEEN+PROFIEL;;;;;;\r\n", "er is geen profiel GEEN+PROFIEL"},
      {kop + goed + "DP112+050;400;1;2;401;3;4\r\n", "regel 3"},
      {kop + "DP112+075;3;1.5;2;9;130083.104;550006.502\r\n", "dijkzijde"},
      {kop + "DP112+075;9;1;2;3;4;5\r\n", "niet na die aan de dijkzijde"},
      {kop + "DP112+075;a;1;2;3;4;5\r\n", "geen nummer"},
      {kop + "DP112+075;1;2;3\r\n", "zeven velden"},
      {"naam;dijk;x;y;polder;x;y\r\n", "kopregel"},
  };
  for (const auto& geval : gevallen) {
    Taak taak;
    taak.zetBestanden(voorbeeld + "profielen.txt", voorbeeld + "sloot.csv");
    MeldingVerzamelaar sink;
    ASSERT_FALSE(taak.leesIn(sink, '.'));
    const std::string pad = map.schrijf("keuzes.csv", geval.inhoud);
    const auto fout = taak.pasSlootkantenToe(pad);
    ASSERT_TRUE(fout) << geval.inhoud;
    EXPECT_NE(fout->tekst.find(geval.reden), std::string::npos) << fout->tekst;
    EXPECT_NE(fout->tekst.find(pad), std::string::npos) << fout->tekst;
    EXPECT_FALSE(taak.heeftSlootkeuzes()) << geval.inhoud;  // nothing half applied
  }
}

TEST(Slootkanten, AChoiceAfterTheBuildRebuildsOneProfileFromTheGroundAsReviewed) {
  Taak taak;
  taak.zetBestanden(voorbeeld + "profielen.txt", voorbeeld + "sloot.csv");
  MeldingVerzamelaar sink;
  ASSERT_FALSE(taak.leesIn(sink, '.'));
  taak.zetTerugMogelijk(true);
  taak.bouwSloten(sink);
  ASSERT_TRUE(taak.bouwfeiten()[0].heeftSloot());
  const std::vector<Punt> gebouwd = taak.store().profiel(1).punten;
  const std::size_t gemeten = taak.profielVoorBouw(1)->punten.size();

  // No ditch: the profile as surveyed.
  EXPECT_EQ(taak.zetSlootkeuze(1, Slootkeuze{}, sink), SlootStatus::GeenSloot);
  EXPECT_EQ(taak.store().profiel(1).punten.size(), gemeten);
  EXPECT_FALSE(taak.bouwfeiten()[0].heeftSloot());
  EXPECT_EQ(taak.slootStatussen()[0], SlootStatus::GeenSloot);
  // Back to the codes: the first build again, point for point.
  EXPECT_EQ(taak.zetSlootkeuze(1, std::nullopt, sink), SlootStatus::Sloot);
  EXPECT_TRUE(zelfde(taak.store().profiel(1).punten, gebouwd));
  // The choice goes back to the review with the profile.
  ASSERT_EQ(taak.zetSlootkeuze(1, Slootkeuze{}, sink), SlootStatus::GeenSloot);
  ASSERT_TRUE(taak.terugVoorBouw());
  EXPECT_EQ(taak.store().profiel(1).slootkeuze(), Slootkeuze{});
  EXPECT_EQ(taak.zoekVolgnummer(taak.store().profiel(2).volgnummer), 2);
}
