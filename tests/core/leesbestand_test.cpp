// Reading the profile-lines file.
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "input/leesbestand.h"
#include "basis/getallen.h"
#include "testmap.h"

using namespace zarvo;
using zarvotest::TestMap;
using namespace std::string_literals;

namespace {

struct Resultaat {
  std::optional<Melding> fout;
  std::vector<Melding> meldingen;
};

Resultaat lees(ProfielStore& store, const TestMap& map, const std::string& inhoud,
               char decimaalteken = '.') {
  const std::string pad = map.schrijf("profielen.txt", inhoud);
  MeldingVerzamelaar sink;
  Resultaat r;
  r.fout = leesBestand(store, pad, sink, decimaalteken);
  r.meldingen = sink.meldingen;
  return r;
}

}  // namespace

TEST(LeesBestand, OneLineFileGivesOneProfileWithOnePoint) {
  TestMap map;
  ProfielStore store;
  const auto r = lees(store, map, "1,99,130000.1234,550000.5,2.25,DP12");
  ASSERT_FALSE(r.fout) << r.fout->tekst;
  ASSERT_EQ(store.aantalProfielen(), 1);
  EXPECT_EQ(store.aantalKolommen(), 4);
  EXPECT_EQ(store.aantalRijenInfo(), 3);
  const Profiel& p = store.profiel(1);
  EXPECT_EQ(p.naam, "DP12");
  ASSERT_EQ(p.punten.size(), 1u);
  EXPECT_EQ(p.punten[0].x, 130000.123);
  EXPECT_EQ(p.punten[0].y, 550000.5);
  EXPECT_EQ(p.punten[0].z, 2.25);
  EXPECT_EQ(p.punten[0].veld1, Cel(1.0));
  EXPECT_EQ(store.puntInfoCel(1, 3), Cel(99.0));
  EXPECT_TRUE(store.profielDataCel(1, 5).isLeeg());
}

TEST(LeesBestand, ProfilesFollowConsecutiveNamesAndEmptyNamesContinue) {
  TestMap map;
  ProfielStore store;
  const auto r = lees(store, map,
                      "1,3,0,0,1,A\n"
                      "2,18,1,0,2,\n"          // empty name: still A
                      "3,4,2,0,1,A\n"
                      "4,99,0,5,0,B\n"
                      "5,99,0,6,0,A\n"         // A again after B: a new profile
                      "6,99,0,7,0,A\n"
                      "7,99,0,8,0,A\n"
                      "8,99,0,9,0,A\n");
  ASSERT_FALSE(r.fout) << r.fout->tekst;
  ASSERT_EQ(store.aantalProfielen(), 3);
  EXPECT_EQ(store.profiel(1).naam, "A");
  EXPECT_EQ(store.profiel(1).punten.size(), 3u);
  EXPECT_EQ(store.profiel(2).naam, "B");
  EXPECT_EQ(store.profiel(3).naam, "A");
  // The last profile is the longest: the bounds must cover its four points.
  EXPECT_EQ(store.aantalKolommen(), 13);
  EXPECT_EQ(store.aantalRijenInfo(), 9);
  EXPECT_EQ(store.profielDataCel(3, 13), Cel(0.0));
  EXPECT_EQ(store.profielDataCel(3, 12), Cel(9.0));
  EXPECT_TRUE(r.meldingen.empty());
}

TEST(LeesBestand, DoublePointAfterRoundingIsDroppedWithItsMessage) {
  TestMap map;
  ProfielStore store;
  const auto r = lees(store, map,
                      "1,99,10.0004,20.5,1,P 1\n"
                      "2,99,10.0001,20.4996,9,P 1\n"  // same X/Y after rounding, other Z
                      "3,99,11,20.5,1,\n"
                      "4,99,10,20.5,1,P 1\n",         // same as point 1, but not consecutive
                      ',');
  ASSERT_FALSE(r.fout) << r.fout->tekst;
  ASSERT_EQ(store.aantalProfielen(), 1);
  const Profiel& p = store.profiel(1);
  ASSERT_EQ(p.punten.size(), 3u);
  EXPECT_EQ(p.punten[1].veld1, Cel(3.0));
  EXPECT_EQ(p.punten[2].x, 10.0);
  EXPECT_EQ(store.aantalKolommen(), 10);
  ASSERT_EQ(r.meldingen.size(), 1u);
  EXPECT_EQ(r.meldingen[0].titel, "Melding");
  EXPECT_EQ(r.meldingen[0].icoon, Icoon::Kritiek);
  EXPECT_EQ(r.meldingen[0].tekst,
            "Profiel P 1 bevat een dubbel punt.\n"
            "xOld = 10 = xNew 10\n"
            "yOld = 20,5 = yNew = 20,5\n"
            "Het punt wordt niet meegenomen in de database");
}

TEST(LeesBestand, FieldsLineEndsAndEncoding) {
  TestMap map;
  ProfielStore store;
  const std::string naam = "Dwarsprofiel \xC3\xA9\xE9 \"x\"";  // UTF-8 and a stray Latin-1 byte
  const auto r = lees(store, map,
                      "\xEF\xBB\xBF" "12,\"003\",1.5e2,-2,+0.0625,\"K,1\"\r\n"
                      "\r\n"
                      "   \n"
                      "\"\",A7,151,-2,0.1875,K,1,,\r\n"
                      "ab, 72 ,152,-2,1.0005,\"K,1\",,\n"
                      ",,153,-2,2.0005,\"K,1\"");        // no line end after the last line
  ASSERT_TRUE(r.fout);  // K,1 unquoted is two fields: the seventh is not empty
  EXPECT_NE(r.fout->tekst.find("regel 4"), std::string::npos) << r.fout->tekst;
  EXPECT_EQ(store.aantalProfielen(), 0);

  const auto r2 = lees(store, map,
                       "\xEF\xBB\xBF" "12,\"003\",1.5e2,-2,+0.0625,\"K,1\"\r\n"
                       "\r\n"
                       "   \n"
                       "\"\",A7,151,-2,0.1875,\"K,1\",,\r\n"
                       "ab, 72 ,152,-2,1.0005,\"K,1\",,\n"
                       ",,153,-2,2.0005,\"K,1\"\n"
                       "1,2,154,-2,0," + naam + "\n");
  ASSERT_FALSE(r2.fout) << r2.fout->tekst;
  ASSERT_EQ(store.aantalProfielen(), 2);
  const Profiel& p = store.profiel(1);
  EXPECT_EQ(p.naam, "K,1");
  ASSERT_EQ(p.punten.size(), 4u);
  EXPECT_EQ(p.punten[0].veld1, Cel(12.0));
  EXPECT_EQ(p.punten[0].veld2, Cel(std::string_view("003")));  // quoted: text
  EXPECT_EQ(p.punten[0].x, 150.0);
  EXPECT_EQ(p.punten[0].z, 0.062);
  EXPECT_EQ(p.punten[1].veld1, Cel(std::string_view("")));     // quoted empty: empty text
  EXPECT_EQ(p.punten[1].veld2, Cel(std::string_view("A7")));
  EXPECT_EQ(p.punten[1].z, 0.188);
  EXPECT_EQ(p.punten[2].veld2, Cel(72.0));
  EXPECT_EQ(p.punten[2].z, 1.0);
  EXPECT_TRUE(p.punten[3].veld1.isLeeg());
  EXPECT_EQ(p.punten[3].z, 2.001);
  EXPECT_EQ(store.profiel(2).naam, naam);
}

TEST(LeesBestand, BadFilesNameTheLineAndLoadNothing) {
  struct Geval {
    std::string inhoud;
    int regel;
    const char* deel;  // a piece of the message that says what is wrong
  };
  const std::vector<Geval> gevallen = {
      {"1,99,1,1,1\n", 1, "5 velden"},
      {"1,99,1,1\n2,99,2,2,2,P\n", 1, "4 velden"},
      {"1,99,1,1,1,P,extra\n", 1, "meer dan zes velden"},
      {"1,99,1,1,1,P\n\n2,99,2,,2,P\n", 3, "Y-waarde"},
      {"1,99,1,1,1,P\n2,99,2;5,2,2,P\n", 2, "X-waarde"},
      {"1,99,1,1,1,P\n2,99,2,2,\"2\"x,P\n", 2, "na het sluitende aanhalingsteken"},
      {"1,99,1,1,1,P\n2,99,2,2,2,\"P\n", 2, "aanhalingsteken"},
      {"1,99,1,1,1,P\n2,99,2,2,2.5.1,P\n", 2, "Z-waarde"},
      {"1,99,1,1,1,P\n2,99,2,2,1e999,P\n", 2, "Z-waarde"},
      {"1,99,1,1,nan,P\n", 1, "Z-waarde"},
      {"1,99,1,1,1,P\n2,99,2,2,2,P\n3,99,3,3,3,P,,x", 3, "meer dan zes velden"},
      {"1,99,1,1,1,\n2,99,2,2,2,P\n", 1, "geen profielnaam"},
      {"1,99,1\0,1,1,P\n"s, 1, "X-waarde"},
      {"1,99,1,1,1,P\n2,99,2,2,2,P\tQ\n", 2, "veld 6 bevat een tab"},
      {"1,99,1,1,1,P\n2,\"a\tb\",2,2,2,P\n", 2, "veld 2 bevat een tab"},
      {"1,99,1,1,1,P\rQ\n", 1, "losse regelterugloop"},
  };
  for (const Geval& g : gevallen) {
    TestMap map;
    ProfielStore store;
    store.profielen.resize(2);  // what was there must stay there
    store.zetGrenzen(7, 5);
    const auto r = lees(store, map, g.inhoud);
    ASSERT_TRUE(r.fout) << g.inhoud;
    EXPECT_EQ(r.fout->titel, "Fout!");
    EXPECT_NE(r.fout->tekst.find(map.pad("profielen.txt")), std::string::npos) << r.fout->tekst;
    EXPECT_NE(r.fout->tekst.find("regel " + std::to_string(g.regel) + ":"), std::string::npos)
        << r.fout->tekst;
    EXPECT_NE(r.fout->tekst.find(g.deel), std::string::npos) << r.fout->tekst;
    EXPECT_EQ(store.aantalProfielen(), 2);
    EXPECT_EQ(store.aantalKolommen(), 7);
    EXPECT_EQ(store.aantalRijenInfo(), 5);
  }
}

TEST(LeesBestand, FilesWithoutDataAndPathsThatAreNoFiles) {
  TestMap map;
  ProfielStore store;
  for (const std::string& inhoud : {std::string(), std::string("\n\r\n  \n"), std::string("\xEF\xBB\xBF")}) {
    const auto r = lees(store, map, inhoud);
    ASSERT_TRUE(r.fout);
    EXPECT_NE(r.fout->tekst.find("bevat geen profielen"), std::string::npos);
    EXPECT_EQ(store.aantalProfielen(), 0);
  }
  MeldingVerzamelaar sink;
  const auto ontbreekt = leesBestand(store, map.pad("bestaat-niet.txt"), sink);
  ASSERT_TRUE(ontbreekt);
  EXPECT_NE(ontbreekt->tekst.find("bestaat-niet.txt bestaat niet"), std::string::npos);
  const auto isMap = leesBestand(store, map.map().string(), sink);
  ASSERT_TRUE(isMap);
  EXPECT_NE(isMap->tekst.find("is een map"), std::string::npos);
}

TEST(LeesBestand, LongLinesAndBigFilesAcrossReadBlocks) {
  TestMap map;
  ProfielStore store;
  // A 2 MB line is refused with its line number, without reading it whole.
  const auto lang = lees(store, map, "1,99,1,1,1,P\n1,99,2,2,2," + std::string(2 << 20, 'x') + "\n");
  ASSERT_TRUE(lang.fout);
  EXPECT_NE(lang.fout->tekst.find("regel 2: de regel is langer dan"), std::string::npos);

  // Lines that straddle the 1 MB read blocks are read whole; a 100 kB name is kept.
  std::string inhoud;
  const std::string langeNaam(100000, 'n');
  int regels = 0;
  while (inhoud.size() < (3u << 20)) {
    const int p = regels / 500;
    inhoud += std::to_string(regels) + ",99," + std::to_string(regels) + ".5,7," +
              std::to_string(p) + ",P" + std::to_string(p) + (p == 3 ? langeNaam : "") + "\n";
    ++regels;
  }
  std::vector<std::uint64_t> stappen;
  const std::string pad = map.schrijf("groot.txt", inhoud);
  MeldingVerzamelaar sink;
  ASSERT_FALSE(leesBestand(store, pad, sink, '.',
                           [&](std::uint64_t gelezen, std::uint64_t totaal) {
                             EXPECT_EQ(totaal, inhoud.size());
                             stappen.push_back(gelezen);
                           }));
  std::size_t punten = 0;
  for (const Profiel& p : store.profielen) punten += p.punten.size();
  EXPECT_EQ(punten, static_cast<std::size_t>(regels));
  EXPECT_EQ(store.profiel(4).naam, "P3" + langeNaam);
  EXPECT_EQ(store.profielen.back().punten.back().x, regels - 1 + 0.5);
  ASSERT_GE(stappen.size(), 2u);
  EXPECT_EQ(stappen.back(), inhoud.size());
}

// Coordinates take a short road when they have at most three decimals; every
// spelling must still give exactly the rounded value of the general parser.
TEST(LeesBestand, EveryCoordinateSpellingRoundsAsTheGeneralParserDoes) {
  std::mt19937 gen(7);
  auto cijfers = [&](int n) {
    std::string t;
    for (int i = 0; i < n; ++i) t += static_cast<char>('0' + gen() % 10);
    return t;
  };
  std::vector<std::string> teksten = {"-0.000", "-0", "0.0005", "-0.0005", "8796093022.207", "8796093022.208",
                                      "999999999999.999", "4503599627370.4955", "1e3", "+12.5", ".5", "5."};
  for (int i = 0; i < 4000; ++i) {
    std::string t = gen() % 4 == 0 ? "-" : "";
    t += cijfers(1 + static_cast<int>(gen() % 16));
    if (gen() % 5 > 0) t += "." + cijfers(static_cast<int>(gen() % 6));
    teksten.push_back(t);
  }
  std::string inhoud;
  for (const std::string& t : teksten) inhoud += "1,2," + t + ",0,0,P\n";
  TestMap map;
  ProfielStore store;
  const auto r = lees(store, map, inhoud);
  ASSERT_FALSE(r.fout) << r.fout->tekst;
  // A coordinate that rounds onto the one before it makes a double point,
  // which is dropped: walk the texts alongside and skip those.
  std::size_t k = 0;
  double vorige = 0.0;
  for (std::size_t i = 0; i < teksten.size(); ++i) {
    const double verwacht = rondAf3(*leesGetalPunt(teksten[i]));
    if (i > 0 && verwacht == vorige) continue;
    vorige = verwacht;
    ASSERT_LT(k, store.profiel(1).punten.size());
    const double gelezen = store.profiel(1).punten[k++].x;
    EXPECT_EQ(std::bit_cast<std::uint64_t>(gelezen), std::bit_cast<std::uint64_t>(verwacht)) << teksten[i];
  }
  EXPECT_EQ(k, store.profiel(1).punten.size());
}
