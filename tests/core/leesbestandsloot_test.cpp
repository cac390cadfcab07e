// Reading the ditch-profile file.
#include <gtest/gtest.h>

#include <string>

#include "input/leesbestandsloot.h"
#include "testmap.h"

using namespace zarvo;
using zarvotest::TestMap;

namespace {

ProfielStore storeMet(int profielen) {
  ProfielStore store;
  store.profielen.resize(static_cast<std::size_t>(profielen));
  // append, not "P" + std::to_string: g++ 12 -O3 warns falsely (-Wrestrict) on that
  for (int i = 0; i < profielen; ++i)
    store.profielen[static_cast<std::size_t>(i)].naam = std::string("P").append(std::to_string(i + 1));
  return store;
}

const std::string kop = "naam;bodem;talud dijk;talud polder;a;x;b\n";

}  // namespace

TEST(LeesBestandSloot, RecordsGoToProfilesInOrderAsVerbatimText) {
  TestMap map;
  ProfielStore store = storeMet(3);
  const std::string pad = map.schrijf("sloot.csv", kop +
                                                       "DP1; -1,25 ;1.5;2;0,5;;1.25;extra;meer\r\n"
                                                       "anders;-1.1;2;2;;;\r\n"
                                                       "DP3;-0.9;1,75;2.25;;;\n");
  ASSERT_FALSE(leesBestandSloot(store, pad));
  const SlootRecord& r1 = store.profiel(1).sloot;
  EXPECT_TRUE(r1.aanwezig());
  EXPECT_EQ(r1.kolom(1), "DP1");
  EXPECT_EQ(r1.kolom(2), " -1,25 ");
  EXPECT_EQ(r1.kolom(5), "0,5");
  EXPECT_EQ(r1.kolom(6), "");
  EXPECT_EQ(r1.kolom(7), "1.25");  // the eighth and later fields are ignored
  EXPECT_EQ(store.profiel(2).sloot.kolom(1), "anders");  // names are not compared
  EXPECT_EQ(store.profiel(2).sloot.kolom(7), "");        // no '\r' left in the last field
  EXPECT_EQ(store.profiel(3).sloot.kolom(3), "1,75");
  EXPECT_EQ(store.profiel(3).sloot.kolom(7), "");
}

TEST(LeesBestandSloot, LineCountAgainstProfileCount) {
  TestMap map;
  // Only the header, no profiles: 0 = 1 - 1.
  ProfielStore leeg;
  EXPECT_FALSE(leesBestandSloot(leeg, map.schrijf("kop.csv", kop)));
  EXPECT_FALSE(leesBestandSloot(leeg, map.schrijf("kop2.csv", "alleen kop")));

  // A last record without line end still counts.
  ProfielStore twee = storeMet(2);
  EXPECT_FALSE(leesBestandSloot(twee, map.schrijf("a.csv", kop + "a;1;2;3;4;5;6\nb;1;2;3;4;5;6")));

  // A trailing empty line is one line too many; an empty file one too few,
  // and a binary file is none at all. The second line says which.
  const std::pair<std::string, std::string> gevallen[] = {
      {kop + "a;1;2;3;4;5;6\nb;1;2;3;4;5;6\n\n", "heeft 3 records na de kopregel, het profielbestand 2 profielen."},
      {kop + "a;1;2;3;4;5;6\n", "heeft 1 record na de kopregel, het profielbestand 2 profielen."},
      {std::string(), "is leeg."},
      {std::string("\x7f" "ELF\x02\x01\0\0\n\0\0\x03\n\0\n\x01", 16), "is geen tekst."}};
  for (const auto& [inhoud, reden] : gevallen) {
    ProfielStore store = storeMet(2);
    const std::string pad = map.schrijf("b.csv", inhoud);
    const auto fout = leesBestandSloot(store, pad);
    ASSERT_TRUE(fout);
    EXPECT_EQ(fout->titel, "Fout!");
    EXPECT_EQ(fout->tekst, "fout in het invoerbestand, restart het programma\nHet slootbestand " + pad + " " + reden)
        << fout->tekst;
    EXPECT_FALSE(store.profiel(1).sloot.aanwezig());
  }
}

TEST(LeesBestandSloot, RecordsForAnotherProfileAreNamedInOneWarning) {
  TestMap map;
  ProfielStore store = storeMet(9);
  // Records 2 and 3 swapped; record 5 differs only in case and blanks;
  // 6 to 9 belong to other profiles.
  std::string inhoud = kop;
  for (const char* naam : {"P1", "P3", "P2", "P4", " p5 ", "X6", "X7", "X8", "X9"}) {
    inhoud.append(naam).append(";1;2;3;;;\n");
  }
  ASSERT_FALSE(leesBestandSloot(store, map.schrijf("s.csv", inhoud.substr(0, inhoud.size() - 1))));
  const auto waarschuwing = waarschuwingSlootNamen(store);
  ASSERT_TRUE(waarschuwing);
  EXPECT_EQ(waarschuwing->titel, "Let op!");
  const std::string& tekst = waarschuwing->tekst;
  EXPECT_EQ(tekst.rfind("Bij 6 profielen", 0), 0u) << tekst;
  EXPECT_NE(tekst.find("\nprofiel 2 'P2' heeft slootrecord 'P3'\n"), std::string::npos);
  EXPECT_EQ(tekst.find("'P5'"), std::string::npos);
  // The first five pairs, then how many more.
  EXPECT_NE(tekst.find("profiel 8 'P8' heeft slootrecord 'X8'"), std::string::npos);
  EXPECT_EQ(tekst.find("profiel 9"), std::string::npos);
  EXPECT_NE(tekst.find("en nog 1\n"), std::string::npos);

  for (Profiel& p : store.profielen) {
    p.sloot = SlootRecord({p.naam, p.sloot.kolom(2), p.sloot.kolom(3), p.sloot.kolom(4), p.sloot.kolom(5),
                           p.sloot.kolom(6), p.sloot.kolom(7)});
  }
  EXPECT_FALSE(waarschuwingSlootNamen(store));
}

TEST(LeesBestandSloot, ShortRecordsAndUnreadableFilesChangeNothing) {
  TestMap map;
  struct Geval {
    std::string inhoud;
    const char* regel;
  };
  for (const Geval& g : {Geval{kop + "a;1;2;3;4;5;6\nb;1;2;3;4;5\nc;1;2;3;4;5;6\n", "regel 3:"},
                         Geval{kop + "a;1;2;3;4;5;6\n\nc;1;2;3;4;5;6\n", "regel 3: de regel is leeg"},
                         Geval{kop + "a;1;2;3;4;5;6\nb;1;2;3;4;5;6\nc\n", "regel 4:"},
                         Geval{kop + "a,1,2,3,4,5,6\nb;1;2;3;4;5;6\nc;1;2;3;4;5;6", "regel 2:"}}) {
    ProfielStore store = storeMet(3);
    const std::string pad = map.schrijf("kort.csv", g.inhoud);
    const auto fout = leesBestandSloot(store, pad);
    ASSERT_TRUE(fout) << g.inhoud;
    EXPECT_EQ(fout->tekst.rfind("fout in het invoerbestand, restart het programma\n", 0), 0u);
    EXPECT_NE(fout->tekst.find(pad), std::string::npos);
    EXPECT_NE(fout->tekst.find(g.regel), std::string::npos) << fout->tekst;
    for (const Profiel& p : store.profielen) EXPECT_FALSE(p.sloot.aanwezig());
  }
  ProfielStore store = storeMet(1);
  const auto ontbreekt = leesBestandSloot(store, map.pad("geen.csv"));
  ASSERT_TRUE(ontbreekt);
  EXPECT_NE(ontbreekt->tekst.find("geen.csv bestaat niet"), std::string::npos);
  const auto isMap = leesBestandSloot(store, map.map().string());
  ASSERT_TRUE(isMap);
  EXPECT_NE(isMap->tekst.find("is een map"), std::string::npos);
  EXPECT_FALSE(store.profiel(1).sloot.aanwezig());
}

// Matched by name the order and the count are free: each profile gets the
// record of its name (blanks and case aside), and one notice names the
// profiles left without a record and the records left without a profile.
TEST(LeesBestandSloot, MatchedByNameEachProfileGetsTheRecordOfItsName) {
  TestMap map;
  ProfielStore store = storeMet(7);
  std::string inhoud = kop + "P4;-4;1;1;;;\r\nX1;-9;1;1;;;\n p3 ;-3;1;1;;;\nP1;-1;1;1;;;\n";
  for (const char* naam : {"X2", "X3", "X4", "X5", "X6"}) inhoud.append(naam).append(";-9;1;1;;;\n");
  inhoud += "P7;-7;1;1;;;\nP5;-5;1;1;2;;3";  // the last line without a line end
  const std::string pad = map.schrijf("naam.csv", inhoud);
  // By position the same file is refused for its count.
  ProfielStore opVolgorde = storeMet(7);
  ASSERT_TRUE(leesBestandSloot(opVolgorde, pad));

  std::optional<Melding> ongekoppeld;
  ASSERT_FALSE(leesBestandSloot(store, pad, Slootkoppeling::OpNaam, &ongekoppeld));
  const char* bodems[] = {"-1", "", "-3", "-4", "-5", "", "-7"};
  for (std::int32_t p = 1; p <= 7; ++p) {
    SCOPED_TRACE(p);
    EXPECT_EQ(store.profiel(p).sloot.aanwezig(), *bodems[p - 1] != '\0');
    EXPECT_EQ(store.profiel(p).sloot.kolom(2), bodems[p - 1]);
  }
  EXPECT_EQ(store.profiel(3).sloot.kolom(1), " p3 ");
  EXPECT_EQ(store.profiel(4).sloot.kolom(7), "");  // no '\r' left
  EXPECT_EQ(store.profiel(5).sloot.kolom(7), "3");
  EXPECT_FALSE(waarschuwingSlootNamen(store));
  ASSERT_TRUE(ongekoppeld);
  EXPECT_EQ(ongekoppeld->titel, "Let op!");
  EXPECT_EQ(ongekoppeld->tekst, "De records van het slootbestand " + pad +
                                    " zijn op naam aan de profielen gegeven.\n"
                                    "Geen slootrecord voor 2 profielen:\nprofiel 2 'P2'\nprofiel 6 'P6'\n"
                                    "6 slootrecords horen bij geen profiel:\nregel 3 'X1'\nregel 6 'X2'\n"
                                    "regel 7 'X3'\nregel 8 'X4'\nregel 9 'X5'\n... en nog 1\n"
                                    "Profielen zonder slootrecord krijgen geen sloot.");

  // Every name found: no notice, and records a profile had before are
  // replaced, also by none.
  ProfielStore drie = storeMet(3);
  drie.profiel(2).sloot = SlootRecord({"oud", "-8", "1", "1", "", "", ""});
  ASSERT_FALSE(leesBestandSloot(drie, map.schrijf("drie.csv", kop + "P3;-3;1;1;;;\nP1;-1;1;1;;;\n"),
                                Slootkoppeling::OpNaam, &ongekoppeld));
  EXPECT_FALSE(drie.profiel(2).sloot.aanwezig());
  ASSERT_TRUE(ongekoppeld);
  EXPECT_EQ(ongekoppeld->tekst.find("bij geen profiel"), std::string::npos);
  ASSERT_FALSE(leesBestandSloot(drie, map.schrijf("alle.csv", kop + "P3;-3;1;1;;;\nP2;-2;1;1;;;\nP1;-1;1;1;;;\n"),
                                Slootkoppeling::OpNaam, &ongekoppeld));
  EXPECT_FALSE(ongekoppeld);
  EXPECT_EQ(drie.profiel(2).sloot.kolom(2), "-2");
}

// Which of two records, or which of two profiles, was meant cannot be
// told: refused with the lines, and the records stay as they were. Two
// records of a name no profile has are only named, as neither is used.
TEST(LeesBestandSloot, MatchedByNameOneNameTwiceIsRefusedWhereItMatters) {
  TestMap map;
  struct Geval {
    std::vector<std::string> profielen;
    std::string records;
    std::string reden;  // empty: read
  };
  const Geval gevallen[] = {
      {{"P1", "P2", "P3"}, "P1;1;1;1;;;\nP2;1;1;1;;;\n p1;1;1;1;;;\n",
       "regel 4: het record ' p1' staat ook op regel 2; op naam koppelen kan alleen met één record per profiel."},
      {{"P1", "P2", "p1 "}, "P2;1;1;1;;;\nP1;1;1;1;;;\n",
       "regel 3: het record 'P1' past bij profiel 1 en profiel 3 van profielen.txt, die dezelfde naam hebben"},
      {{"P1", "P2", "p1 "}, "P2;1;1;1;;;\nX;1;1;1;;;\nX;2;1;1;;;\n", ""},
      {{"P1", "P2"}, "P2;1;1;1;;;\nP1;1;1\n", "regel 3: de regel heeft 3 velden, er zijn er 7 nodig"},
      {{"P1"}, std::string("\x7f" "ELF\x02\x01\0\0\n\0\0\x03\n", 13), "is geen tekst."},
  };
  for (const Geval& g : gevallen) {
    SCOPED_TRACE(g.records);
    ProfielStore store;
    store.inputbestand = "profielen.txt";
    for (const std::string& naam : g.profielen) {
      store.profielen.emplace_back().naam = naam;
      store.profielen.back().sloot = SlootRecord({"oud", "-8", "1", "1", "", "", ""});
    }
    const std::string pad = map.schrijf("dubbel.csv", kop + g.records);
    std::optional<Melding> ongekoppeld;
    const auto fout = leesBestandSloot(store, pad, Slootkoppeling::OpNaam, &ongekoppeld);
    if (g.reden.empty()) {
      ASSERT_FALSE(fout) << fout->tekst;
      EXPECT_EQ(store.profiel(2).sloot.kolom(2), "1");
      EXPECT_FALSE(store.profiel(1).sloot.aanwezig());
      ASSERT_TRUE(ongekoppeld);
      EXPECT_NE(ongekoppeld->tekst.find("regel 3 'X'\nregel 4 'X'\n"), std::string::npos) << ongekoppeld->tekst;
      continue;
    }
    ASSERT_TRUE(fout);
    EXPECT_EQ(fout->titel, "Fout!");
    EXPECT_EQ(fout->tekst.rfind("fout in het invoerbestand, restart het programma\nHet slootbestand " + pad, 0), 0u)
        << fout->tekst;
    EXPECT_NE(fout->tekst.find(g.reden), std::string::npos) << fout->tekst;
    EXPECT_FALSE(ongekoppeld);
    for (const Profiel& p : store.profielen) EXPECT_EQ(p.sloot.kolom(1), "oud");
  }
}
