// Surface lines and characteristic points: the mapping to our codes both
// ways, the export of the sample byte for byte and read back, the published
// files of the dike-assessment software, and the files both sides refuse.
#include <gtest/gtest.h>

#include <filesystem>
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
// (table name, "x;y;z"); all others -1;-1;-1.
std::string krpRegel(const std::string& naam, const std::vector<std::pair<std::string, std::string>>& punten) {
  std::string regel = naam;
  for (const KarakteristiekPunt& k : karakteristiekePunten()) {
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
// gives the codes, writing gives the same points back (the unmapped
// "Teen dijk binnenwaarts" is checked on reading but never written).
TEST(Oppervlaktelijnen, MappingTableBothWays) {
  TestMap map;
  const std::vector<std::string> xyz = {"0;0;1",  "1;0;2",   "2;0;5", "3;0;5", "4;0;1",
                                        "5;0;-1", "6;0;-1",  "7;0;1", "8;0;1.5"};
  std::string lijn = "L";
  for (const std::string& p : xyz) lijn += ";" + p;
  const std::vector<std::pair<std::string, std::string>> geschreven = {
      {"Maaiveld buitenwaarts", xyz[0]},  {"Teen dijk buitenwaarts", xyz[1]},
      {"Kruin buitentalud", xyz[2]},      {"Verkeersbelasting kant buitenwaarts", xyz[2]},
      {"Kruin binnentalud", xyz[3]},      {"Verkeersbelasting kant binnenwaarts", xyz[3]},
      {"Insteek sloot dijkzijde", xyz[4]}, {"Slootbodem dijkzijde", xyz[5]},
      {"Slootbodem polderzijde", xyz[6]}, {"Insteek sloot polderzijde", xyz[7]},
      {"Maaiveld binnenwaarts", xyz[8]}};
  auto gelezen = geschreven;
  gelezen.emplace_back("Teen dijk binnenwaarts", xyz[4]);
  const std::string opl = map.schrijf("lijnen.csv", "LOCATIONID;X1;Y1;Z1;.....;Xn;Yn;Zn;(Profiel)\r\n" + lijn + "\r\n");
  map.schrijf("lijnen.krp.csv", kopKarakteristiekePunten() + "\r\n" + krpRegel("L", gelezen) + "\r\n");

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
            kopKarakteristiekePunten() + "\r\n" + krpRegel("L", geschreven) + "\r\n");

  // Without a built ditch the four ditch points go, and a 4 or 3 is a
  // surveyed point: the first one of each.
  const std::vector<Bouwfeiten> zonder(1);
  const auto punten = Oppervlaktelijnen(zonder).karakteristiekePuntenVan(taak.store(), 0);
  const auto& tabel = karakteristiekePunten();
  for (std::size_t t = 0; t < tabel.size(); ++t) {
    const std::string_view n = tabel[t].naam;
    std::ptrdiff_t index = -1;
    if (n == "Kruin binnentalud") index = 3;
    if (n == "Teen dijk buitenwaarts") index = 1;
    if (n == "Maaiveld buitenwaarts") index = 0;
    if (n == "Maaiveld binnenwaarts") index = 8;
    if (n == "Kruin buitentalud" || n == "Verkeersbelasting kant buitenwaarts") index = 2;
    if (n == "Verkeersbelasting kant binnenwaarts") index = 3;
    EXPECT_EQ(punten[t], index) << n;
  }
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
      if (punten[t] >= 0 && tabel[t].code != 0) {
        EXPECT_TRUE(heeftCode(pb.punten[static_cast<std::size_t>(punten[t])], tabel[t].code)) << pa.naam << " " << tabel[t].naam;
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
      {kop + "A;0;0;0;1;0;1\n", krpKop + "A;1;0;1.001\n", "k.csv",
       "regel 2: het karakteristieke punt Kruin buitentalud van locatie A (1; 0; 1.001) ligt op geen enkel punt"},
      {kop + "A;0;0;0;1;0;1\n", krpKop + "A;1;0;1\nA;1;0;1\n", "k.csv", "regel 3: de LOCATIONID A staat ook al op regel 2"},
      {kop + "A;0;0;0;1;0;1\n", "LOCATIONID;X_Kruin;Y_Kruin;Z_Kruin\n", "k.csv", "regel 1: kolom 2 \"X_Kruin\" is geen X_"},
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
