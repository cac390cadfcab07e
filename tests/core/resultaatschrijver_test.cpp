// The result file and the deleted-profile list: format, and what a failed
// save leaves behind.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <unistd.h>
#endif

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "output/oppervlaktelijnen.h"
#include "output/opslag.h"
#include "output/resultaatschrijver.h"
#include "basis/parallel.h"
#include "basis/getallen.h"
#include "testmap.h"

using namespace zarvo;
namespace fs = std::filesystem;

namespace {

std::string lees(const fs::path& pad) { return zarvotest::leesAlles(pad); }

std::vector<std::string> bestanden(const fs::path& map) {
  std::vector<std::string> namen;
  for (const auto& e : fs::directory_iterator(map)) namen.push_back(e.path().filename().string());
  std::sort(namen.begin(), namen.end());
  return namen;
}

ProfielStore voorbeeldStore() {
  ProfielStore store;
  Profiel a;
  a.naam = "Dp 12,5 \"oost\"";
  a.punten = {Punt{Cel(99.0), Cel(std::string_view("  ab;c ")), 100.5, -0.25, 1.0},
              Punt{Cel(5.0), Cel(), 1234567.891, 7.0, -2.125}};
  Profiel b;
  b.naam = "b\xc3\xa9";
  b.punten = {Punt{Cel(std::string_view("")), Cel(0.5), 1e15, 0.00001, 0.0}};
  Profiel leeg;
  leeg.naam = "leeg";
  store.profielen = {a, leeg, b};
  store.dekGrenzen();
  return store;
}

}  // namespace

TEST(Resultaatschrijver, DefaultNames) {
  EXPECT_EQ(standaardNaamResultaat("dijk.txt"), "output_profiel_dijk.txt");
  EXPECT_EQ(standaardNaamVerwijderd("dijk.txt"), "output_verwijderde_profielen_dijk.txt");
}

TEST(Resultaatschrijver, TabSeparatedCrlfLinesWithoutHeader) {
  zarvotest::TestMap map;
  const ProfielStore store = voorbeeldStore();
  for (char teken : {'.', ','}) {
    ASSERT_FALSE(schrijfResultaat(store, map.map().string(), "uit.csv", "weg.csv", teken));
    const std::string d(1, teken);
    EXPECT_EQ(lees(map.map() / "uit.csv"),
              "99\t  ab;c \t100" + d + "5\t-0" + d + "25\t1\tDp 12,5 \"oost\"\r\n"
              "5\t\t1234567" + d + "891\t7\t-2" + d + "125\tDp 12,5 \"oost\"\r\n"
              "\t0" + d + "5\t1E+15\t1E-05\t0\tb\xc3\xa9\r\n");
    // Nothing deleted: no list, and no temporary file left behind.
    EXPECT_EQ(bestanden(map.map()), std::vector<std::string>{"uit.csv"});
  }
}

TEST(Resultaatschrijver, NumbersMatchTheDefaultConversion) {
  // The writer has its own fast path for three-decimal numbers; it must
  // agree with the general conversion everywhere.
  ProfielStore store;
  Profiel p;
  p.naam = "p";
  std::mt19937_64 gen(12345);
  std::uniform_real_distribution<double> groot(-2e6, 2e6);
  std::uniform_int_distribution<int> exponent(-6, 13);
  for (int i = 0; i < 20000; ++i) {
    const double x = rondAf3(groot(gen));
    const double y = rondAf3(groot(gen) * std::pow(10.0, exponent(gen) - 6));
    const double z = groot(gen) * 1e-3;  // not rounded, like a bottom level
    p.punten.push_back(Punt{Cel(static_cast<double>(i % 100)), Cel(x), x, y, z});
  }
  p.punten.push_back(Punt{Cel(-0.0), Cel(0.001), -0.0, 999999999999.999, -0.0005});
  store.profielen.push_back(p);
  zarvotest::TestMap map;
  ASSERT_FALSE(schrijfResultaat(store, map.map().string(), "uit.csv", "weg.csv", ','));
  std::istringstream in(lees(map.map() / "uit.csv"));
  std::string regel;
  std::size_t i = 0;
  while (std::getline(in, regel)) {
    ASSERT_LT(i, p.punten.size());
    const Punt& pt = p.punten[i++];
    const std::string verwacht = celNaarTekst(pt.veld1, ',') + "\t" + celNaarTekst(pt.veld2, ',') +
                                 "\t" + getalNaarTekst(pt.x, ',') + "\t" + getalNaarTekst(pt.y, ',') +
                                 "\t" + getalNaarTekst(pt.z, ',') + "\tp\r";
    ASSERT_EQ(regel, verwacht) << "punt " << i;
  }
  EXPECT_EQ(i, p.punten.size());
}

// The text is made ahead while it is written; a write that fails must
// still be the last one, in either format.
TEST(Resultaatschrijver, AFailedWriteIsTheLastOne) {
  struct Falend : Uitvoerstroom {
    bool schrijf(std::string_view) override { return ++keren < 3; }
    int keren = 0;
  };
  ProfielStore store;
  for (int p = 0; p < 10; ++p) {
    Profiel profiel;
    profiel.naam = "p" + std::to_string(p);
    for (int k = 0; k < 30; ++k) profiel.punten.push_back(Punt{Cel(99.0), Cel(), k * 1.5, 2.0, 0.25});
    store.profielen.push_back(std::move(profiel));
  }
  const std::vector<Bouwfeiten> geenFeiten;
  const Oppervlaktelijnen oppervlak(geenFeiten);
  zetStukGrootteVoorTests(1);
  for (const auto& [formaat, bestand] : {std::pair<const Resultaatformaat*, std::size_t>{&profielregels(), 0},
                                         {&oppervlak, 0}, {&oppervlak, 1}}) {
    Falend uit;
    EXPECT_FALSE(formaat->schrijf(bestand, store, uit, '.')) << "bestand " << bestand;
    EXPECT_EQ(uit.keren, 3) << "bestand " << bestand;
  }
  zetStukGrootteVoorTests(0);
}

TEST(Resultaatschrijver, DeletedListOnlyWhenSomethingWasDeleted) {
  zarvotest::TestMap map;
  ProfielStore store = voorbeeldStore();
  store.verwijderProfiel(2);
  store.verwijderProfiel(1);
  // An old list of that name is replaced, not appended to.
  map.schrijf("weg.csv", "oud\r\n");
  ASSERT_FALSE(schrijfResultaat(store, map.map().string(), "uit.csv", "weg.csv", '.'));
  EXPECT_EQ(lees(map.map() / "weg.csv"),
            "Overzicht verwijderde profielen\r\nleeg\r\nDp 12,5 \"oost\"\r\n");
  EXPECT_EQ(lees(map.map() / "uit.csv"), "\t0.5\t1E+15\t1E-05\t0\tb\xc3\xa9\r\n");
  EXPECT_EQ(bestanden(map.map()), (std::vector<std::string>{"uit.csv", "weg.csv"}));
}

TEST(Resultaatschrijver, WritesThroughALinkToTheFileItNames) {
  zarvotest::TestMap map;
  fs::create_directory(map.map() / "echt");
  map.schrijf("echt/uit.csv", "oud");
  std::error_code ec;
  fs::create_symlink(map.map() / "echt" / "uit.csv", map.map() / "uit.csv", ec);
  // The Windows build's library has no symbolic links.
  if (ec) GTEST_SKIP() << "geen symbolische koppelingen op dit systeem: " << ec.message();
  ASSERT_FALSE(schrijfResultaat(voorbeeldStore(), map.map().string(), "uit.csv", "weg.csv", '.'));
  EXPECT_TRUE(fs::is_symlink(map.map() / "uit.csv"));
  EXPECT_EQ(lees(map.map() / "echt" / "uit.csv").substr(0, 3), "99\t");
  EXPECT_EQ(bestanden(map.map() / "echt"), std::vector<std::string>{"uit.csv"});
}

namespace {

// The message, with the file and the reason on its second line.
void verwachtFout(const std::optional<Melding>& m, const std::string& reden) {
  ASSERT_TRUE(m.has_value());
  EXPECT_EQ(m->titel, "Fout!");
  EXPECT_EQ(m->tekst.rfind("Fout bij het opslaan, controleer bestandsnaam\n", 0), 0u) << m->tekst;
  // The file by its full path: from the root on Linux, from the drive on Windows.
  const std::size_t regel2 = m->tekst.find('\n') + 1;
  EXPECT_TRUE(zarvo::padUitUtf8(m->tekst.substr(regel2, m->tekst.rfind(": ") - regel2)).is_absolute()) << m->tekst;
  EXPECT_TRUE(m->tekst.size() > reden.size() && m->tekst.substr(m->tekst.size() - reden.size() - 2) == ": " + reden)
      << m->tekst;
  EXPECT_EQ(m->icoon, Icoon::Kritiek);
}

}  // namespace

TEST(Resultaatschrijver, FailuresLeaveNoFileAndExistingFilesIntact) {
  zarvotest::TestMap map;
  ProfielStore store = voorbeeldStore();
  store.verwijderProfiel(2);
  map.schrijf("uit.csv", "oud resultaat");
  map.schrijf("gewoon", "x");

  // A folder that does not exist, one whose parent is a file, no name.
  verwachtFout(schrijfResultaat(store, (map.map() / "nergens").string(), "uit.csv", "weg.csv", '.'),
               "de map bestaat niet");
  verwachtFout(schrijfResultaat(store, (map.map() / "gewoon" / "sub").string(), "uit.csv",
                                "weg.csv", '.'),
               "de map bestaat niet");
  verwachtFout(schrijfResultaat(store, map.map().string(), "", "weg.csv", '.'), "geen geldige bestandsnaam");
  // The name of a folder.
  fs::create_directory(map.map() / "map.csv");
  verwachtFout(schrijfResultaat(store, map.map().string(), "map.csv", "weg.csv", '.'),
               "er staat een map met die naam");
  // Both files under one name would leave only the list.
  verwachtFout(schrijfResultaat(store, map.map().string(), "uit.csv", "./uit.csv", '.'),
               "twee bestanden met dezelfde naam");

#ifdef __linux__
  // A device as the result or as the list (through a link): it cannot be
  // replaced as one with the other file, so it is refused before writing.
  fs::create_symlink("/dev/full", map.map() / "vol.csv");
  const std::string geenBestand = "geen gewoon bestand (een pijp, apparaat of socket)";
  verwachtFout(schrijfResultaat(store, map.map().string(), "vol.csv", "weg.csv", '.'), geenBestand);
  EXPECT_FALSE(fs::exists(map.map() / "weg.csv"));
  verwachtFout(schrijfResultaat(store, map.map().string(), "uit.csv", "vol.csv", '.'), geenBestand);
  EXPECT_EQ(lees(map.map() / "uit.csv"), "oud resultaat");

  EXPECT_EQ(bestanden(map.map()),
            (std::vector<std::string>{"gewoon", "map.csv", "uit.csv", "vol.csv"}));
#else
  EXPECT_EQ(lees(map.map() / "uit.csv"), "oud resultaat");
  EXPECT_EQ(bestanden(map.map()), (std::vector<std::string>{"gewoon", "map.csv", "uit.csv"}));
#endif
}

TEST(Resultaatschrijver, ReadOnlyFolderKeepsItsFile) {
#ifdef _WIN32
  GTEST_SKIP() << "een alleen-lezen kenmerk op een map houdt op Windows het schrijven niet tegen";
#else
  if (geteuid() == 0) {
    // Permission bits do not stop root; the other failure cases above
    // cover the same code path.
    GTEST_SKIP() << "als root houden rechten het schrijven niet tegen";
  }
  zarvotest::TestMap map;
  fs::create_directory(map.map() / "alleenlezen");
  map.schrijf("alleenlezen/uit.csv", "oud");
  fs::permissions(map.map() / "alleenlezen", fs::perms::owner_read | fs::perms::owner_exec);
  verwachtFout(schrijfResultaat(voorbeeldStore(), (map.map() / "alleenlezen").string(), "uit.csv",
                                "weg.csv", '.'),
               "geen schrijfrechten");
  EXPECT_EQ(lees(map.map() / "alleenlezen" / "uit.csv"), "oud");
  EXPECT_EQ(bestanden(map.map() / "alleenlezen"), std::vector<std::string>{"uit.csv"});
  fs::permissions(map.map() / "alleenlezen", fs::perms::owner_all);
#endif
}
