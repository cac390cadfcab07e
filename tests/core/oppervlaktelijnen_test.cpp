// Surface lines and characteristic points: the mapping to our codes both
// ways, the export of the sample byte for byte and read back, the published
// files of the dike-assessment software, and the files both sides refuse.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "input/karakteristiekepunten.h"
#include "input/leesoppervlaktelijnen.h"
#include "output/oppervlaktelijnen.h"
#include "basis/getallen.h"
#include "taak/taak.h"
#include "testmap.h"

using zarvotest::TestMap;
using namespace zarvo;

namespace {

const std::string voorbeeld = ZARVO_BRON "/voorbeelden/";
const std::string echteData = ZARVO_BRON "/../shared/realdata/";

std::optional<Melding> lees(Taak& taak, const std::string& profielen, const std::string& sloot,
                            const std::string& krp = {}) {
  taak.zetBestanden(profielen, sloot);
  taak.zetKarakteristiekePunten(krp);
  MeldingVerzamelaar sink;
  return taak.leesIn(sink, '.');
}

std::vector<double> codes(const Punt& p) { return {p.veld1.getal(), p.veld2.getal()}; }

// The characteristic-points line of 'naam' with the points given as
// (table name, "x;y;z"); all others -1;-1;-1. Without Dijktafelhoogte, as
// the default header.
std::string krpRegel(const std::string& naam, const std::vector<std::pair<std::string, std::string>>& punten) {
  std::string regel = naam;
  for (const KarakteristiekPunt& k : karakteristiekePunten()) {
    if (k.naam == "Dijktafelhoogte") continue;
    std::string waarde = "-1;-1;-1";
    for (const auto& [n, xyz] : punten) {
      if (n == k.naam) waarde = xyz;
    }
    regel += ";" + waarde;
  }
  return regel;
}

}  // namespace

// One profile with every mapped point, two pairs sharing a point: reading
// gives the codes (Teen dijk binnenwaarts none), writing gives every point
// back where it was.
TEST(Oppervlaktelijnen, MappingTableBothWays) {
  TestMap map;
  const std::vector<std::string> xyz = {"0;0;1",  "1;0;2",   "2;0;5", "3;0;5", "4;0;1",
                                        "5;0;-1", "6;0;-1",  "7;0;1", "8;0;1.5"};
  std::string lijn = "L";
  for (const std::string& p : xyz) lijn += ";" + p;
  const std::vector<std::pair<std::string, std::string>> punten = {
      {"Maaiveld buitenwaarts", xyz[0]},  {"Teen dijk buitenwaarts", xyz[1]},
      {"Kruin buitentalud", xyz[2]},      {"Verkeersbelasting kant buitenwaarts", xyz[2]},
      {"Kruin binnentalud", xyz[3]},      {"Verkeersbelasting kant binnenwaarts", xyz[3]},
      {"Insteek sloot dijkzijde", xyz[4]}, {"Teen dijk binnenwaarts", xyz[4]},
      {"Slootbodem dijkzijde", xyz[5]},   {"Slootbodem polderzijde", xyz[6]},
      {"Insteek sloot polderzijde", xyz[7]}, {"Maaiveld binnenwaarts", xyz[8]}};
  const std::string opl = map.schrijf("lijnen.csv", "LOCATIONID;X1;Y1;Z1;.....;Xn;Yn;Zn;(Profiel)\r\n" + lijn + "\r\n");
  map.schrijf("lijnen.krp.csv", kopKarakteristiekePunten() + "\r\n" + krpRegel("L", punten) + "\r\n");

  Taak taak;  // the characteristic points found beside the lines
  ASSERT_FALSE(lees(taak, opl, map.schrijf("s.csv", "kop\nL;-2;1;1;;;\n")));
  const std::vector<Punt>& p = taak.store().profiel(1).punten;
  ASSERT_EQ(p.size(), 9u);
  const std::vector<std::vector<double>> verwacht = {{99, 999}, {3, 3}, {18, 72}, {4, 72}, {5, 5},
                                                     {4, 4},    {3, 3}, {2, 2},   {99, 999}};
  for (std::size_t i = 0; i < p.size(); ++i) EXPECT_EQ(codes(p[i]), verwacht[i]) << "punt " << i + 1;

  // The built ditch's points, as the construction would report them.
  const std::vector<Bouwfeiten> feiten = {Bouwfeiten{5, 6, 7, 8, {}, {}}};
  std::filesystem::create_directory(map.map() / "uit");
  const Oppervlaktelijnen formaat(feiten);
  ASSERT_FALSE(taak.slaOp((map.map() / "uit").string(), {"a.csv", "a.krp.csv"}, "weg.csv", ',', formaat));
  EXPECT_EQ(zarvotest::leesAlles(map.map() / "uit" / "a.csv"),
            "LOCATIONID;X1;Y1;Z1;.....;Xn;Yn;Zn;(Profiel)\r\n" + lijn + "\r\n");
  EXPECT_EQ(zarvotest::leesAlles(map.map() / "uit" / "a.krp.csv"),
            kopKarakteristiekePunten() + "\r\n" + krpRegel("L", punten) + "\r\n");
}

// The sample's export byte for byte; read back, it gives the same profiles
// and points, and every written characteristic point comes back as its
// code on the same point, so the ditch edges are where they were.
TEST(Oppervlaktelijnen, SampleExportIsGoldenAndReadsBack) {
  TestMap map;
  Taak taak;
  ASSERT_FALSE(lees(taak, voorbeeld + "profielen.txt", voorbeeld + "sloot.csv"));
  MeldingVerzamelaar sink;
  taak.bouwSloten(sink);
  const Oppervlaktelijnen formaat = taak.oppervlaktelijnen();
  const std::vector<std::string> namen = {taak.standaardNaamResultaat(formaat, 0),
                                          taak.standaardNaamResultaat(formaat, 1)};
  EXPECT_EQ(namen, (std::vector<std::string>{"output_oppervlaktelijnen_profielen.csv",
                                             "output_oppervlaktelijnen_profielen.krp.csv"}));
  ASSERT_FALSE(taak.slaOp(map.map().string(), namen, "weg.csv", ',', formaat));
  const std::string data = ZARVO_BRON "/tests/data/";
  EXPECT_TRUE(zarvotest::leesAlles(map.map() / namen[0]) == zarvotest::leesAlles(data + "oppervlaktelijnen_voorbeeld.csv"));
  EXPECT_TRUE(zarvotest::leesAlles(map.map() / namen[1]) ==
              zarvotest::leesAlles(data + "oppervlaktelijnen_voorbeeld.krp.csv"));

  Taak terug;
  ASSERT_FALSE(lees(terug, map.pad(namen[0]), voorbeeld + "sloot.csv"));
  const ProfielStore& a = taak.store();
  const ProfielStore& b = terug.store();
  ASSERT_EQ(a.aantalProfielen(), b.aantalProfielen());
  const auto& tabel = karakteristiekePunten();
  std::size_t sloten = 0;
  for (std::int32_t p = 1; p <= a.aantalProfielen(); ++p) {
    const Profiel& pa = a.profiel(p);
    const Profiel& pb = b.profiel(p);
    EXPECT_EQ(pa.naam, pb.naam);
    ASSERT_EQ(pa.punten.size(), pb.punten.size()) << pa.naam;
    for (std::size_t i = 0; i < pa.punten.size(); ++i) {
      EXPECT_TRUE(pa.punten[i].x == pb.punten[i].x && pa.punten[i].y == pb.punten[i].y &&
                  pa.punten[i].z == pb.punten[i].z)
          << pa.naam << " punt " << i + 1;
    }
    const auto punten = formaat.karakteristiekePuntenVan(a, static_cast<std::size_t>(p - 1));
    for (std::size_t t = 0; t < tabel.size(); ++t) {
      if (punten[t] >= 0 && tabel[t].leesCode != 0) {
        EXPECT_TRUE(heeftCode(pb.punten[static_cast<std::size_t>(punten[t])], tabel[t].leesCode)) << pa.naam << " " << tabel[t].naam;
      }
    }
    sloten += taak.bouwfeiten()[static_cast<std::size_t>(p - 1)].heeftSloot() ? 1 : 0;
  }
  EXPECT_GT(sloten, 5u);  // the sample builds most of its ditches
}

// The published files: 12-2's twenty lines with a characteristic-points
// file of 184 rows, 41-1 padded with empty fields. They build the same
// ditches as the profile-lines files converted from them.
TEST(Oppervlaktelijnen, PublishedFilesBuildAsTheConvertedOnes) {
  if (!std::filesystem::exists(echteData + "raw")) GTEST_SKIP() << "geen gepubliceerde bestanden aanwezig";
  struct Traject {
    std::string lijnen, krp, omgezet, sloot;
    std::size_t profielen;
  };
  const std::vector<Traject> trajecten = {
      {"raw/12-2.surfacelines.first20.csv", "raw/12-2.krp.csv", "12-2.profielen.txt", "12-2.sloot.csv", 20},
      {"raw/41-1.surfacelines.csv", "raw/41-1.krp.csv", "41-1.profielen.txt", "41-1.sloot.csv", 5}};
  for (const Traject& t : trajecten) {
    Taak gepubliceerd, omgezet;
    ASSERT_FALSE(lees(gepubliceerd, echteData + t.lijnen, echteData + t.sloot, echteData + t.krp)) << t.lijnen;
    ASSERT_FALSE(lees(omgezet, echteData + t.omgezet, echteData + t.sloot)) << t.omgezet;
    ASSERT_EQ(gepubliceerd.store().aantalProfielen(), static_cast<std::int32_t>(t.profielen));
    MeldingVerzamelaar sink;
    EXPECT_EQ(gepubliceerd.bouwSloten(sink), omgezet.bouwSloten(sink)) << t.lijnen;
    for (std::int32_t p = 1; p <= omgezet.store().aantalProfielen(); ++p) {
      const Profiel& a = gepubliceerd.store().profiel(p);
      const Profiel& b = omgezet.store().profiel(p);
      EXPECT_EQ(a.naam, b.naam);
      ASSERT_EQ(a.punten.size(), b.punten.size()) << a.naam;
      for (std::size_t i = 0; i < a.punten.size(); ++i) {
        EXPECT_TRUE(a.punten[i].x == b.punten[i].x && a.punten[i].y == b.punten[i].y && a.punten[i].z == b.punten[i].z)
            << a.naam << " punt " << i + 1;
      }
    }
  }
}

// What either side's readers accept, and the files each refuses with the
// file and line named and nothing loaded.
TEST(Oppervlaktelijnen, LenientWhereEitherReaderIsAndBadFilesNameTheLine) {
  TestMap map;
  const std::string sloot = map.schrijf("s.csv", "kop\nA;-2;1;1;;;\nB;-2;1;1;;;\n");
  const std::string kop = "LOCATIONID;X1;Y1;Z1;.....;Xn;Yn;Zn;(Profiel)\n";
  {
    // A byte-order mark, another first column name in other case, blank and
    // empty lines, blanks around fields, padding, LF and CRLF mixed.
    Taak taak;
    const std::string lijnen = map.schrijf(
        "goed.csv", "\xEF\xBB\xBF profielnaam ; x1;Y1 ;z1;;;\r\n\r\n;;;;\nA; 0;0;1 ;1;0;2;;;;\r\nB;0;0;1;2;0;1\n");
    const std::string krp = map.schrijf(
        "goed.krp", "locationid;x_insteek sloot DIJKZIJDE;Y_Insteek_sloot dijkzijde;Z_Insteek sloot dijkzijde;;\n"
                    "A;1;0;2;;\nONBEKEND;5;5;5\n\n");
    ASSERT_FALSE(lees(taak, lijnen, sloot, krp));
    ASSERT_EQ(taak.store().aantalProfielen(), 2);
    EXPECT_EQ(codes(taak.store().profiel(1).punten[1]), (std::vector<double>{5, 5}));
    EXPECT_EQ(codes(taak.store().profiel(2).punten[1]), (std::vector<double>{99, 999}));
  }
  struct Geval {
    std::string lijnen, krp, verwachtBestand, verwacht;
  };
  const std::string krpKop = "LOCATIONID;X_Kruin buitentalud;Y_Kruin buitentalud;Z_Kruin buitentalud\n";
  const std::vector<Geval> gevallen = {
      {"LOCATIONID;X;Y;Z\nA;0;0;0\n", "", "l.csv", "regel 1: dit is geen kop van oppervlaktelijnen"},
      {kop + "A;0;0;0\nB\n", "", "l.csv", "regel 3: de regel bevat geen ';'"},
      {kop + "A;0;0;0;1;1\n", "", "l.csv", "regel 2: de regel heeft 5 getallen"},
      {kop + "A;0;0;0\nB;0,5;0;0\n", "", "l.csv", "regel 3: veld 2 \"0,5\" is geen getal"},
      {kop + "A;0;;0\n", "", "l.csv", "regel 2: veld 3 is leeg"},
      {kop + "A;0;0;0\n\nA;1;1;1\n", "", "l.csv", "regel 4: de LOCATIONID A staat ook al op regel 2"},
      {kop + "A;0;0;0;1;0;1\n", krpKop + "A;1;0;1\nA;1;0;1\n", "k.csv", "regel 3: de LOCATIONID A staat ook al op regel 2"},
      {kop + "A;0;0;0;1;0;1\n", "LOCATIONID;X_Kruin;Y_Kruin;Z_Kruin\n", "k.csv", "regel 1: kolom 2 \"X_Kruin\" is geen LOCATIONID, Volgnummer of X_"},
      {kop + "A;0;0;0;1;0;1\n", "Naam;X_Kruin buitentalud;Y_Kruin buitentalud;Z_Kruin buitentalud\n", "k.csv",
       "regel 1: kolom 1 \"Naam\" is geen LOCATIONID"},
      {"Volgnummer;X1;Y1;Z1\n1;0;0;0\n", "", "l.csv", "regel 1: dit is geen kop van oppervlaktelijnen"},
      {kop + "A;0;0;0;1;0;1\n", krpKop + "A;1;0\n", "k.csv", "regel 2: van het karakteristieke punt Kruin buitentalud ontbreekt"},
  };
  for (const Geval& g : gevallen) {
    Taak taak;
    const std::string lijnen = map.schrijf("l.csv", g.lijnen);
    const auto fout = lees(taak, lijnen, sloot, g.krp.empty() ? "" : map.schrijf("k.csv", g.krp));
    ASSERT_TRUE(fout) << g.verwacht;
    EXPECT_NE(fout->tekst.find(map.pad(g.verwachtBestand) + ", " + g.verwacht), std::string::npos) << fout->tekst;
    EXPECT_FALSE(taak.isIngelezen()) << g.verwacht;
  }
  // Characteristic points for a profile-lines file are a mistake worth saying.
  Taak taak;
  const auto fout = lees(taak, voorbeeld + "profielen.txt", voorbeeld + "sloot.csv", map.schrijf("k.csv", krpKop));
  ASSERT_TRUE(fout);
  EXPECT_NE(fout->tekst.find("bevat geen oppervlaktelijnen"), std::string::npos);
}

// A surface line is read field by field in blocks: a line far longer than
// a block, with fields and a CRLF cut by the block borders, reads as the
// same points; a field that is no number however long it grows is refused
// naming its line and field, and so is the bad line of a long file.
TEST(Oppervlaktelijnen, LongLinesReadAcrossBlocks) {
  TestMap map;
  const std::string kop = "LOCATIONID;X1;Y1;Z1\r\n";
  std::string lang = "\xEF\xBB\xBF" + kop + "LANG";
  constexpr int aantal = 30000;  // about 600 kB on one line
  for (int i = 0; i < aantal; ++i) lang += ";" + std::to_string(100000 + i) + ".125;" + std::to_string(i % 7) + ";1.5";
  lang += "\r\nKORT;1;2;3";  // the last line without a line end
  Taak taak;
  ASSERT_FALSE(lees(taak, map.schrijf("l.csv", lang), map.schrijf("s.csv", "kop\nLANG;0;1;1;;;\nKORT;0;1;1;;;\n")));
  ASSERT_EQ(taak.store().aantalProfielen(), 2);
  const auto& punten = taak.store().profiel(1).punten;
  ASSERT_EQ(punten.size(), static_cast<std::size_t>(aantal));
  for (int i : {0, 1, 4095, 4096, aantal - 1}) {
    EXPECT_EQ(punten[static_cast<std::size_t>(i)].x, 100000 + i + 0.125) << i;
    EXPECT_EQ(punten[static_cast<std::size_t>(i)].y, i % 7) << i;
  }
  EXPECT_EQ(taak.store().profiel(2).punten.back().z, 3.0);

  std::string veld(3u << 20, '7');
  veld[0] = 'x';
  const std::string metLangVeld = kop + "A;1;2;3\nB;1;" + veld + ";3\n";
  std::string slecht = kop;
  for (int i = 0; i < 20000; ++i) slecht += "P" + std::to_string(i) + ";1;2;3\n";
  slecht += "Q;1;2\n";
  for (int i = 0; i < 20000; ++i) slecht += "R" + std::to_string(i) + ";1;2;3\n";
  for (const auto& [inhoud, verwacht] :
       {std::pair{metLangVeld, "regel 3: veld 3 is langer dan 1048576 tekens"},
        std::pair{slecht, "regel 20002: de regel heeft 2 getallen"}}) {
    Taak fout;
    const auto melding = lees(fout, map.schrijf("f.csv", inhoud), map.schrijf("s.csv", "kop\n"));
    ASSERT_TRUE(melding) << verwacht;
    EXPECT_NE(melding->tekst.find("f.csv, " + std::string(verwacht)), std::string::npos) << melding->tekst;
  }
}

// What the importers refuse is not written at all: no file appears.
TEST(Oppervlaktelijnen, RefusesWhatTheImportersRefuseAndWritesNothing) {
  using Lijn = std::pair<std::string, std::vector<double>>;  // name, x y pairs
  const std::vector<std::pair<std::vector<Lijn>, std::string>> gevallen = {
      {{{"P", {0, 0, 1, 0}}, {"Q", {0, 0}}}, "profiel Q heeft minder dan twee punten"},
      {{{"P", {0, 0, 0, 0}}}, "profiel P heeft geen lengte"},
      {{{"P;Q", {0, 0, 1, 0}}}, "de naam van profiel P;Q bevat een ';'"},
      {{{"P", {0, 0, 1, 0}}, {"Q", {0, 0, 1, 0}}, {"P", {0, 0, 1, 0}}}, "de naam P komt bij meer dan één profiel voor"},
  };
  const std::vector<Bouwfeiten> geenFeiten;
  for (const auto& [lijnen, verwacht] : gevallen) {
    TestMap map;
    ProfielStore store;
    for (const auto& [naam, xy] : lijnen) {
      Profiel& p = store.profielen.emplace_back();
      p.naam = naam;
      for (std::size_t i = 0; i + 1 < xy.size(); i += 2) p.punten.push_back(Punt{Cel(99.0), Cel(999.0), xy[i], xy[i + 1], 1.0});
    }
    store.verwijderdeProfielen.push_back("weg");
    const auto fout = slaOp(store, map.map().string(), Oppervlaktelijnen(geenFeiten), {"a.csv", "a.krp.csv"},
                            "weg.csv", '.');
    ASSERT_TRUE(fout) << verwacht;
    EXPECT_NE(fout->tekst.find(verwacht), std::string::npos) << fout->tekst;
    EXPECT_TRUE(std::filesystem::is_empty(map.map())) << verwacht;
  }
}

// Values that are not three-decimal numbers (found by fuzzing: a huge X
// came back as "1.29953333333333E+26") are written with all the digits
// they need, in plain notation, and read back as the same doubles.
TEST(Oppervlaktelijnen, EveryCoordinateReadsBackExactly) {
  TestMap map;
  ProfielStore store;
  Profiel& p = store.profielen.emplace_back();
  p.naam = "P";
  p.punten = {Punt{Cel(99.0), Cel(999.0), 1.2995333333333334e26, 550053.616, -2.62912345678901},
              Punt{Cel(99.0), Cel(999.0), 129999.359, 1e-7, 0.25}};
  const std::vector<Bouwfeiten> geenFeiten;
  ASSERT_FALSE(slaOp(store, map.map().string(), Oppervlaktelijnen(geenFeiten), {"a.csv", "a.krp.csv"}, "weg.csv", '.'));
  const std::string tekst = zarvotest::leesAlles(map.map() / "a.csv");
  EXPECT_EQ(tekst.find('E'), std::string::npos) << tekst;
  ProfielStore terug;
  MeldingVerzamelaar sink;
  ASSERT_FALSE(leesOppervlaktelijnen(terug, (map.map() / "a.csv").string(), "", sink, '.'));
  ASSERT_EQ(terug.profielen.size(), 1u);
  ASSERT_EQ(terug.profielen[0].punten.size(), 2u);
  EXPECT_EQ(terug.profielen[0].punten[0].x, 1.2995333333333334e26);
  EXPECT_EQ(terug.profielen[0].punten[1].x, 129999.359);
}

namespace {

// The characteristic points of 'naam' in a written file, by column header
// ("Kruin buitentalud" -> "x;y;z"), absent ones left out.
std::map<std::string, std::string> krpVan(const std::string& tekst, const std::string& naam) {
  std::vector<std::vector<std::string>> regels;
  std::size_t begin = 0;
  while (begin < tekst.size()) {
    std::size_t eind = tekst.find("\r\n", begin);
    if (eind == std::string::npos) eind = tekst.size();
    std::vector<std::string>& velden = regels.emplace_back();
    std::string veld;
    for (std::size_t i = begin; i <= eind; ++i) {
      if (i == eind || tekst[i] == ';') {
        velden.push_back(veld);
        veld.clear();
      } else {
        veld += tekst[i];
      }
    }
    begin = eind + 2;
  }
  std::map<std::string, std::string> uit;
  for (std::size_t r = 1; r < regels.size(); ++r) {
    if (regels[r][0] != naam) continue;
    for (std::size_t k = 1; k + 2 < regels[r].size(); k += 3) {
      const std::string xyz = regels[r][k] + ";" + regels[r][k + 1] + ";" + regels[r][k + 2];
      if (xyz != "-1;-1;-1") uit[regels[0][k].substr(2)] = xyz;
    }
  }
  return uit;
}

}  // namespace

// Surface lines read with their characteristic points and written again:
// every point comes back where it was, whatever header form brought it,
// unless the built ditch replaced it; a vertical wall stays; a point off
// its line is left out with a warning. Written again after reading the
// result back, nothing changes.
TEST(Oppervlaktelijnen, EveryCharacteristicPointComesBack) {
  const std::string kop = "LOCATIONID;X1;Y1;Z1;.....;Xn;Yn;Zn;(Profiel)\n";
  const std::string lijn = "L;0;0;1;1;0;2;2;0;5;3;0;5;4;0;1;5;0;-1;5.5;0;-1.2;6;0;-1;7;0;1;8;0;1.5\n";
  // A ditch record that cannot build: its bottom lies above both edges.
  const std::string bouwtNiet = "kop\nL;5;1;1;;;\n";
  const std::string krpSloot =
      "LOCATIONID;X_Insteek sloot dijkzijde;Y_Insteek_sloot dijkzijde;Z_Insteek sloot dijkzijde;"
      "X_Slootbodem dijkzijde;Y_Slootbodem dijkzijde;Z_Slootbodem dijkzijde;"
      "X_Slootbodem polderzijde;Y_Slootbodem polderzijde;Z_Slootbodem polderzijde;"
      "X_Insteek sloot polderzijde;Y_Insteek sloot polderzijde;Z_Insteek sloot polderzijde;"
      "X_Teen dijk binnenwaarts;Y_Teen dijk binnenwaarts;Z_Teen dijk binnenwaarts;"
      "X_Maaiveld binnenwaarts;Y_Maaiveld binnenwaarts;Z_Maaiveld binnenwaarts\n"
      "L;4;0;1;5;0;-1;6;0;-1;7;0;1;4;0;1;8;0;1.5\n";
  using Punten = std::map<std::string, std::string>;
  struct Geval {
    std::string wat, lijnen, krp, sloot;
    Punten verwacht;
    std::string waarschuwing;  // part of the one warning the reading gives; empty: none
  };
  const std::vector<Geval> gevallen = {
      {"Profielnaam, niet vooraan, met Volgnummer en Dijktafelhoogte", kop + lijn,
       "Volgnummer;X_Kruin buitentalud;Y_Kruin buitentalud;Z_Kruin buitentalud;PROFIELNAAM;"
       "x_dijktafelhoogte;Y_Dijktafelhoogte;Z_Dijktafelhoogte\n1;2;0;5;L;3;0;5\n",
       bouwtNiet, {{"Kruin buitentalud", "2;0;5"}, {"Dijktafelhoogte", "3;0;5"}}, ""},
      {"andere kolommen voor X1, een berm", "Volgnummer;LocationID;Opmerking;X1;Y1;Z1\n7;L;iets;0;0;1;1;0;2;2;0;5;3;0;5\n",
       "locationid;X_Kruin binnenberm;Y_Kruin binnenberm;Z_Kruin binnenberm;X_Insteek binnenberm;Y_Insteek binnenberm;"
       "Z_Insteek binnenberm;X_Maaiveld buitenwaarts;Y_Maaiveld buitenwaarts;Z_Maaiveld buitenwaarts\nL;2;0;5;1;0;2;1;0;2\n",
       bouwtNiet, {{"Kruin binnenberm", "2;0;5"}, {"Insteek binnenberm", "1;0;2"}, {"Maaiveld buitenwaarts", "1;0;2"}}, ""},
      {"een verticale wand en een dubbel punt", kop + "L;0;0;1;1;0;2;1;0;-1;1;0;-1;2;0;-1\n",
       "LOCATIONID;X_Teen dijk binnenwaarts;Y_Teen dijk binnenwaarts;Z_Teen dijk binnenwaarts\nL;1;0;-1\n",
       bouwtNiet, {{"Teen dijk binnenwaarts", "1;0;-1"}}, "Profiel L bevat een dubbel punt"},
      {"een ingemeten sloot die niet gebouwd wordt", kop + lijn, krpSloot, bouwtNiet,
       {{"Insteek sloot dijkzijde", "4;0;1"}, {"Slootbodem dijkzijde", "5;0;-1"}, {"Slootbodem polderzijde", "6;0;-1"},
        {"Insteek sloot polderzijde", "7;0;1"}, {"Teen dijk binnenwaarts", "4;0;1"}, {"Maaiveld binnenwaarts", "8;0;1.5"}},
       ""},
      // Three surveyed points between the edges make way for two bottoms at
      // -0.2, 1.2 m in from either edge; the points after the ditch move up
      // by one.
      {"een gebouwde sloot vervangt de ingemeten bodem", kop + lijn, krpSloot, "kop\nL;-0.2;1;1;;;\n",
       {{"Insteek sloot dijkzijde", "4;0;1"}, {"Slootbodem dijkzijde", "5.2;0;-0.2"},
        {"Slootbodem polderzijde", "5.8;0;-0.2"}, {"Insteek sloot polderzijde", "7;0;1"},
        {"Teen dijk binnenwaarts", "4;0;1"}, {"Maaiveld binnenwaarts", "8;0;1.5"}},
       ""},
      {"een punt naast de lijn", kop + lijn,
       "LOCATIONID;X_Kruin buitentalud;Y_Kruin buitentalud;Z_Kruin buitentalud;X_Kruin binnentalud;"
       "Y_Kruin binnentalud;Z_Kruin binnentalud\n\nL;2;0;5.5;3;0;5\n",
       bouwtNiet, {{"Kruin binnentalud", "3;0;5"}},
       "k.csv, regel 3: het karakteristieke punt Kruin buitentalud van locatie L (2; 0; 5.5) ligt op geen enkel punt"},
  };
  for (const Geval& g : gevallen) {
    TestMap map;
    Taak taak;
    taak.zetBestanden(map.schrijf("l.csv", g.lijnen), map.schrijf("s.csv", g.sloot));
    taak.zetKarakteristiekePunten(map.schrijf("k.csv", g.krp));
    MeldingVerzamelaar lezen;
    ASSERT_FALSE(taak.leesIn(lezen, '.')) << g.wat;
    if (g.waarschuwing.empty()) {
      EXPECT_TRUE(lezen.meldingen.empty()) << g.wat << ": " << lezen.meldingen.front().tekst;
    } else {
      ASSERT_EQ(lezen.meldingen.size(), 1u) << g.wat;
      EXPECT_NE(lezen.meldingen[0].tekst.find(g.waarschuwing), std::string::npos)
          << lezen.meldingen[0].tekst;
    }
    MeldingVerzamelaar bouw;
    taak.bouwSloten(bouw);
    const Oppervlaktelijnen formaat = taak.oppervlaktelijnen();
    std::filesystem::create_directory(map.map() / "uit");
    ASSERT_FALSE(taak.slaOp((map.map() / "uit").string(), {"a.csv", "a.krp.csv"}, "weg.csv", '.', formaat)) << g.wat;
    const std::string krp = zarvotest::leesAlles(map.map() / "uit" / "a.krp.csv");
    EXPECT_EQ(krpVan(krp, "L"), g.verwacht) << g.wat;
    EXPECT_EQ(krp.find("Dijktafelhoogte") != std::string::npos, g.verwacht.contains("Dijktafelhoogte")) << g.wat;

    // Read back as they were written, nothing built: the same points again.
    Taak terug;
    terug.zetBestanden(map.pad("uit/a.csv"), map.pad("s.csv"));
    MeldingVerzamelaar stil;
    ASSERT_FALSE(terug.leesIn(stil, '.')) << g.wat;
    EXPECT_TRUE(stil.meldingen.empty()) << g.wat;
    EXPECT_EQ(terug.store().profiel(1).punten.size(), taak.store().profiel(1).punten.size()) << g.wat;
    std::filesystem::create_directory(map.map() / "terug");
    const std::vector<Bouwfeiten> geenBouw;
    ASSERT_FALSE(terug.slaOp((map.map() / "terug").string(), {"a.csv", "a.krp.csv"}, "weg.csv", '.',
                             Oppervlaktelijnen(geenBouw)));
    EXPECT_EQ(zarvotest::leesAlles(map.map() / "terug" / "a.csv"), zarvotest::leesAlles(map.map() / "uit" / "a.csv"))
        << g.wat;
    EXPECT_EQ(zarvotest::leesAlles(map.map() / "terug" / "a.krp.csv"), krp) << g.wat;
  }
}

// A profile-lines profile coded 18, 3, 4 and 5 gets all six points the
// macro-stability import needs; one that reclines, or lacks a point, is
// named in the warning before the files are written.
TEST(Oppervlaktelijnen, CodedProfileHasTheSixPointsAndTheRestIsNamed) {
  TestMap map;
  const std::string regels =
      "99,999,0,0,0.5,Goed\n99,3,1,0,1,Goed\n99,18,2,0,4,Goed\n99,4,3,0,4,Goed\n99,5,5,0,1,Goed\n"
      "99,2,8,0,1,Goed\n99,999,9,0,1.2,Goed\n"
      "99,999,0,0,0.5,Terug\n99,3,2,0,1,Terug\n99,18,1.5,0,4,Terug\n99,4,3,0,4,Terug\n99,5,5,0,1,Terug\n"
      "99,999,0,0,0.5,Zonder\n99,999,1,0,1,Zonder\n";
  Taak taak;
  ASSERT_FALSE(lees(taak, map.schrijf("p.txt", regels), map.schrijf("s.csv", "kop\nGoed;-1;0.5;0.5;;;\nTerug;;;;;;\nZonder;;;;;;\n")));
  MeldingVerzamelaar sink;
  ASSERT_EQ(taak.bouwSloten(sink)[0], SlootStatus::Sloot);
  const Oppervlaktelijnen formaat = taak.oppervlaktelijnen();
  const auto& tabel = karakteristiekePunten();
  const auto goed = formaat.karakteristiekePuntenVan(taak.store(), 0);
  for (std::size_t t = 0; t < tabel.size(); ++t) {
    if (isVerplichtKarakteristiekPunt(t)) {
      EXPECT_GE(goed[t], 0) << tabel[t].naam;
    }
  }
  // The toe is the ditch's dike-side edge: the point coded 5.
  EXPECT_EQ(goed[5], 4);
  EXPECT_EQ(tabel[5].naam, "Teen dijk binnenwaarts");

  const auto waarschuwing = formaat.waarschuwing(taak.store());
  ASSERT_TRUE(waarschuwing);
  const std::string& tekst = waarschuwing->tekst;
  EXPECT_EQ(tekst.find("Goed"), std::string::npos) << tekst;
  EXPECT_NE(tekst.find("1 met een teruglopende lijn (de afstand langs de lijn van eerste naar laatste punt neemt ergens af): Terug"),
            std::string::npos) << tekst;
  EXPECT_NE(tekst.find("Zonder (Teen dijk binnenwaarts, Kruin binnentalud, Kruin buitentalud, Teen dijk buitenwaarts)"),
            std::string::npos) << tekst;
  // The warning never stops the save.
  ASSERT_FALSE(taak.slaOp(map.map().string(), {"a.csv", "a.krp.csv"}, "weg.csv", '.', formaat));
  EXPECT_TRUE(std::filesystem::exists(map.map() / "a.krp.csv"));
}
