// zarvo-batch lijst as a user runs it: stdout, stderr and exit code.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "testmap.h"

using zarvotest::TestMap;

namespace {

using Uitvoer = zarvotest::BatchUitvoer;

// Runs zarvo-batch with 'argumenten' (already shell-quoted) with only the
// variables 'omgeving' set.
Uitvoer draai(const TestMap& map, const std::string& argumenten, std::vector<std::string> omgeving = {}) {
  return zarvotest::draaiBatch(map, {{}, std::move(omgeving)}, argumenten);
}

std::vector<std::string> regels(const std::string& tekst) {
  std::vector<std::string> uit;
  std::istringstream in(tekst);
  for (std::string r; std::getline(in, r);) uit.push_back(r);
  return uit;
}

const std::string dubbel =
    "1,99,1.5,2,3,A\n"
    "2,99,1.5001,2.0004,4,\n"
    "3,99,5,5,5,B\n"
    "4,99,6,5,5,B\n";

}  // namespace

TEST(BatchLijst, ListsTheSampleProfiles) {
  TestMap map;
  const Uitvoer r = draai(map, "lijst '" ZARVO_BRON "/voorbeelden/profielen.txt'");
  ASSERT_EQ(r.code, 0) << r.fout;
  EXPECT_EQ(r.fout, "");
  const auto lijst = regels(r.uit);
  ASSERT_GE(lijst.size(), 4u);
  const std::size_t n = lijst.size() - 3;
  std::size_t meeste = 0;
  for (std::size_t i = 0; i < n; ++i) {
    std::istringstream velden(lijst[i]);
    std::string nummer, naam, punten;
    std::getline(velden, nummer, '\t');
    std::getline(velden, naam, '\t');
    std::getline(velden, punten, '\t');
    EXPECT_EQ(nummer, std::to_string(i + 1));
    EXPECT_EQ(naam.rfind("DP", 0), 0u) << lijst[i];
    EXPECT_GE(std::stoul(punten), 30u);
    EXPECT_LE(std::stoul(punten), 80u);
    meeste = std::max<std::size_t>(meeste, std::stoul(punten));
  }
  EXPECT_EQ(n, 15u);
  EXPECT_EQ(lijst[n], "aantalProfielen\t" + std::to_string(n));
  EXPECT_EQ(lijst[n + 1], "aantalKolommen\t" + std::to_string(1 + 3 * meeste));
  EXPECT_EQ(lijst[n + 2], "aantalRijenInfo\t" + std::to_string(1 + 2 * meeste));
}

TEST(BatchLijst, DoublePointsGoToStderrWithTheChosenDecimalSeparator) {
  TestMap map;
  const std::string pad = map.schrijf("dubbel.txt", dubbel);
  const std::string melding =
      "Melding: Profiel A bevat een dubbel punt.\n"
      "xOld = 1{}5 = xNew 1{}5\n"
      "yOld = 2 = yNew = 2\n"
      "Het punt wordt niet meegenomen in de database\n";
  const auto met = [&](char teken) {
    std::string t = melding;
    for (std::size_t p; (p = t.find("{}")) != std::string::npos;) t.replace(p, 2, 1, teken);
    return t;
  };
  const std::string verwacht = "1\tA\t1\n2\tB\t2\naantalProfielen\t2\naantalKolommen\t7\naantalRijenInfo\t5\n";

  Uitvoer r = draai(map, "lijst --decimaalteken , '" + pad + "'", {"LANG=en_GB.UTF-8"});
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.uit, verwacht);
  EXPECT_EQ(r.fout, met(','));
  r = draai(map, "lijst '" + pad + "' --decimaalteken=.", {"LANG=nl_NL.UTF-8"});
  EXPECT_EQ(r.fout, met('.'));
#ifdef _WIN32
  // Without the option the user's regional settings decide; Windows has no
  // locale variables.
  wchar_t regionaal[8] = {};
  GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, regionaal, 8);
  r = draai(map, "lijst '" + pad + "'", {"LANG=C"});
  EXPECT_EQ(r.fout, met(std::wstring(regionaal) == L"," ? ',' : '.'));
#else
  // Without the option the locale decides: LC_ALL before LC_NUMERIC before LANG.
  r = draai(map, "lijst '" + pad + "'", {"LANG=nl_NL.UTF-8"});
  EXPECT_EQ(r.fout, met(','));
  r = draai(map, "lijst '" + pad + "'", {"LANG=nl_NL.UTF-8", "LC_NUMERIC=C"});
  EXPECT_EQ(r.fout, met('.'));
  r = draai(map, "lijst '" + pad + "'", {"LANG=C", "LC_NUMERIC=C", "LC_ALL=de_DE@euro"});
  EXPECT_EQ(r.fout, met(','));
  r = draai(map, "lijst '" + pad + "'", {"LANG=de_CH.UTF-8"});
  EXPECT_EQ(r.fout, met('.'));
  r = draai(map, "lijst '" + pad + "'");
  EXPECT_EQ(r.fout, met('.'));
#endif
  EXPECT_EQ(r.uit, verwacht);
}

TEST(BatchLijst, BadInputExitsOneAndWrongUsageTwo) {
  TestMap map;
  const std::string pad = map.schrijf("slecht.txt", "1,99,1,2,3,A\n2,99,1,2x,3,A\n");
  Uitvoer r = draai(map, "lijst '" + pad + "'");
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.uit, "");
  EXPECT_EQ(r.fout.rfind("Fout!: Fout in bestand " + pad + ", regel 2: de Y-waarde", 0), 0u) << r.fout;

  r = draai(map, "lijst '" + map.pad("ontbreekt.txt") + "'");
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.fout.find("ontbreekt.txt bestaat niet"), std::string::npos);

  for (const char* argumenten : {"", "onbekend", "lijst", "lijst a b", "lijst a --decimaalteken ';'",
                                 "lijst a --decimaalteken", "lijst a --kolommen 3", "lijst -x a"}) {
    r = draai(map, argumenten);
    EXPECT_EQ(r.code, 2) << argumenten;
    EXPECT_EQ(r.uit, "") << argumenten;
    EXPECT_NE(r.fout.find("Gebruik: zarvo-batch"), std::string::npos) << argumenten;
  }
  for (const char* argumenten : {"--help", "lijst --help"}) {
    r = draai(map, argumenten);
    EXPECT_EQ(r.code, 0);
    EXPECT_NE(r.uit.find("Gebruik: zarvo-batch"), std::string::npos);
    EXPECT_EQ(r.fout, "");
  }
}
