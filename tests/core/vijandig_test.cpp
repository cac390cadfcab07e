// Hostile input: files no survey tool writes but a user can still pick
// (binary files, huge lines, broken encodings, extreme numbers, absurd
// sizes). Each must end in a message that names the line, or in a correct
// result; never in a crash. The cases at the end came out of fuzzing.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "ditch/slootprofiel.h"
#include "input/leesbestand.h"
#include "input/leesbestandsloot.h"
#include "output/opslag.h"
#include "output/resultaatschrijver.h"
#include "basis/getallen.h"
#include "taak/taak.h"
#include "testmap.h"

using namespace zarvo;
using zarvotest::TestMap;
using namespace std::string_literals;

namespace {

struct Gelezen {
  std::optional<Melding> fout;
  std::vector<Melding> meldingen;
};

Gelezen leesProfielen(ProfielStore& store, const TestMap& map, const std::string& inhoud) {
  MeldingVerzamelaar sink;
  Gelezen g;
  g.fout = leesBestand(store, map.schrijf("profielen.txt", inhoud), sink);
  g.meldingen = sink.meldingen;
  return g;
}

// The refusal must name the file and the line, and leave nothing loaded.
void verwachtFoutOpRegel(const std::string& inhoud, int regel, const std::string& deel) {
  SCOPED_TRACE(inhoud.substr(0, 60));
  TestMap map;
  ProfielStore store;
  const Gelezen g = leesProfielen(store, map, inhoud);
  ASSERT_TRUE(g.fout);
  EXPECT_EQ(g.fout->titel, "Fout!");
  EXPECT_NE(g.fout->tekst.find(map.pad("profielen.txt")), std::string::npos) << g.fout->tekst;
  EXPECT_NE(g.fout->tekst.find("regel " + std::to_string(regel) + ":"), std::string::npos)
      << g.fout->tekst;
  EXPECT_NE(g.fout->tekst.find(deel), std::string::npos) << g.fout->tekst;
  // A message quotes at most a short piece of the bad field.
  EXPECT_LT(g.fout->tekst.size(), 400u);
  EXPECT_EQ(store.aantalProfielen(), 0);
}

std::string schrijfEnLees(const ProfielStore& store, const TestMap& map) {
  EXPECT_FALSE(schrijfResultaat(store, map.map().string(), "uit.txt", "weg.txt", '.'));
  return zarvotest::leesAlles(map.pad("uit.txt"));
}

}  // namespace

TEST(Vijandig, HugeLinesAndBinaryFilesAreRefusedAtTheirLine) {
  const std::string tienMB(10u << 20, 'x');
  verwachtFoutOpRegel(tienMB, 1, "langer dan");
  verwachtFoutOpRegel("1,99,1,1,1,P\n" + tienMB + "\n2,99,2,2,2,P\n", 2, "langer dan");
  verwachtFoutOpRegel("1,99,1,1,1," + std::string(2u << 20, 'n') + "\n", 1, "langer dan");
  // Ten megabytes of commas: a line of empty fields, refused by length
  // before anything counts them.
  verwachtFoutOpRegel(std::string(10u << 20, ','), 1, "langer dan");

  // A binary file picked by mistake: NUL bytes and no line ends at all.
  verwachtFoutOpRegel(std::string(4096, '\0'), 1, "1 veld");
  verwachtFoutOpRegel("1,99,1,1,1,P\n2,99,2,2,2,P\n3,99,3,3,\0,P\n"s, 3, "Z-waarde");
  verwachtFoutOpRegel("1,99,1,1,1,P\n\x89PNG\r\n\x1a\n\0\0\0\rIHDR"s, 2, "zes nodig");
}

TEST(Vijandig, NulBytesAndBrokenEncodingsInTextsAreKeptByteForByte) {
  TestMap map;
  ProfielStore store;
  const std::vector<std::string> namen = {"A\0B"s, "\xC3\x28", "\xFF\xFE\xFD", "\xC0\xAF", "\xED\xA0\x80"};
  std::string inhoud;
  double x = 0;
  for (const std::string& naam : namen) {
    inhoud += "c\0de,\xE9,"s + std::to_string(++x) + ",0,1," + naam + "\n";
    inhoud += "99,999," + std::to_string(++x) + ",0,1," + naam + "\n";
  }
  const Gelezen g = leesProfielen(store, map, inhoud);
  ASSERT_FALSE(g.fout) << g.fout->tekst;
  ASSERT_EQ(store.aantalProfielen(), static_cast<std::int32_t>(namen.size()));
  for (std::size_t i = 0; i < namen.size(); ++i) {
    EXPECT_EQ(store.profielen[i].naam, namen[i]);
    EXPECT_EQ(store.profielen[i].punten.size(), 2u);
    EXPECT_EQ(store.profielen[i].punten[0].veld1, Cel("c\0de"s));
    EXPECT_EQ(store.profielen[i].punten[0].veld2, Cel("\xE9"));
  }
  const std::string uit = schrijfEnLees(store, map);
  EXPECT_NE(uit.find("c\0de\t\xE9\t1\t0\t1\tA\0B\r\n"s), std::string::npos);
  EXPECT_NE(uit.find("99\t999\t10\t0\t1\t\xED\xA0\x80\r\n"), std::string::npos);
}

TEST(Vijandig, MessagesShowNulAndBrokenBytesEscaped) {
  TestMap map;
  Taak taak;
  taak.zetBestanden(map.schrijf("p.txt", "1,99,1,1,1,A\0B\n1,99,1,1,1,\n1,99,x\0\x1B[2J,1,1,A\n"s),
                    map.schrijf("s.csv", "kop\n"));
  MeldingVerzamelaar sink;
  const auto fout = taak.leesIn(sink, '.');
  ASSERT_TRUE(fout);
  ASSERT_EQ(sink.meldingen.size(), 1u);  // the double point of A\0B
  EXPECT_NE(sink.meldingen[0].tekst.find("Profiel A\\x00B bevat"), std::string::npos) << sink.meldingen[0].tekst;
  EXPECT_NE(fout->tekst.find("\"x\\x00\\x1B[2J\""), std::string::npos) << fout->tekst;
  // Where the output must be UTF-8 (stderr), broken sequences too.
  EXPECT_EQ(toonbareTekst("\xC3\x28 \xC3\xAB\n\xE2\x80\x93\xED\xA0\x80\t\r"s, true),
            "\\xC3( \xC3\xAB\n\xE2\x80\x93\\xED\\xA0\\x80\t\\x0D");
}

TEST(Vijandig, VeryLongNamesAreKeptAndWrittenWhole) {
  TestMap map;
  ProfielStore store;
  const std::string naam(500000, 'N');
  const Gelezen g = leesProfielen(store, map,
                                  "5,999,0,0,2," + naam + "\n2,999,10,0,2,\n1,1,1,1,1,kort\n");
  ASSERT_FALSE(g.fout) << g.fout->tekst;
  ASSERT_EQ(store.aantalProfielen(), 2);
  EXPECT_EQ(store.profiel(1).naam, naam);

  // The ditch message ends with the name as the ditch file has it.
  store.profiel(1).sloot = SlootRecord({naam + "!", "5", "1", "1", "", "", ""});
  MeldingVerzamelaar sink;
  SlootVariabelen var;
  EXPECT_EQ(berekenSlootprofiel(store, 1, var, sink), SlootStatus::Fout);
  ASSERT_EQ(sink.meldingen.size(), 1u);
  EXPECT_EQ(sink.meldingen[0].tekst.substr(sink.meldingen[0].tekst.size() - naam.size() - 1), naam + "!");

  const std::string uit = schrijfEnLees(store, map);
  EXPECT_EQ(uit.size(), 2 * (naam.size() + std::string("5\t999\t0\t0\t2\t\r\n").size()) + 1 +
                            std::string("1\t1\t1\t1\t1\tkort\r\n").size());
}

TEST(Vijandig, ExtremeNumbersAreReadRoundedAndWrittenBack) {
  TestMap map;
  ProfielStore store;
  const std::string mantisse40 = "1234567890123456789012345678901234567890";
  const Gelezen g = leesProfielen(store, map,
                                  "1,99,1e308,-1e308,-0,P\n"
                                  "1,99,4.9e-324,2.2250738585072014e-308,-0.0,P\n"
                                  "1,99," + mantisse40 + ",0." + mantisse40 + ",-" + mantisse40 + "e-39,P\n"
                                  "1,99,1.5e300,0,1E-5,P\n"
                                  "-0,+0,2,2,2,P\n");
  ASSERT_FALSE(g.fout) << g.fout->tekst;
  const auto& p = store.profiel(1).punten;
  ASSERT_EQ(p.size(), 5u);
  EXPECT_EQ(p[0].x, 1e308);
  EXPECT_EQ(p[0].y, -1e308);
  EXPECT_FALSE(std::signbit(p[0].z));  // -0 is stored as 0
  EXPECT_EQ(p[1].x, 0.0);              // denormals round away
  EXPECT_EQ(p[1].y, 0.0);
  EXPECT_EQ(p[2].x, std::strtod(mantisse40.c_str(), nullptr));
  EXPECT_EQ(p[2].y, 0.123);
  EXPECT_EQ(p[2].z, -1.235);
  EXPECT_EQ(p[3].x, 1.5e300);
  EXPECT_EQ(p[3].z, 0.0);
  ASSERT_TRUE(p[4].veld1.isGetal() && p[4].veld2.isGetal());
  EXPECT_EQ(p[4].veld1.getal(), 0.0);

  const std::string uit = schrijfEnLees(store, map);
  EXPECT_EQ(uit,
            "1\t99\t1E+308\t-1E+308\t0\tP\r\n"
            "1\t99\t0\t0\t0\tP\r\n"
            "1\t99\t1.23456789012346E+39\t0.123\t-1.235\tP\r\n"
            "1\t99\t1.5E+300\t0\t0\tP\r\n"
            "0\t0\t2\t2\t2\tP\r\n");

  // Past the range of a double, or no number at all: refused at the line.
  verwachtFoutOpRegel("1,99,1,1,1,P\n1,99,1e309,1,1,P\n", 2, "X-waarde");
  verwachtFoutOpRegel("1,99,1,-" + mantisse40 + "e300,1,P\n", 1, "Y-waarde");
  verwachtFoutOpRegel("1,99,1,1,0x1p3,P\n", 1, "Z-waarde");
  verwachtFoutOpRegel("1,99,1,1,inf,P\n", 1, "Z-waarde");
  verwachtFoutOpRegel("1,99,1,1,1e,P\n", 1, "Z-waarde");
}

TEST(Vijandig, AMillionOnePointProfiles) {
  TestMap map;
  ProfielStore store;
  constexpr int aantal = 1000000;
  std::string inhoud;
  inhoud.reserve(aantal * 16);
  for (int i = 0; i < aantal; ++i) {
    inhoud += "9,9,";
    inhoud += std::to_string(i % 1000);
    inhoud += ",0,0,";
    inhoud += std::to_string(i);
    inhoud += '\n';
  }
  const Gelezen g = leesProfielen(store, map, inhoud);
  inhoud = std::string();
  ASSERT_FALSE(g.fout) << g.fout->tekst;
  ASSERT_EQ(store.aantalProfielen(), aantal);
  EXPECT_EQ(store.aantalKolommen(), 4);
  EXPECT_EQ(store.aantalRijenInfo(), 3);
  EXPECT_EQ(store.profiel(aantal).naam, std::to_string(aantal - 1));
  EXPECT_EQ(store.profiel(aantal).punten.size(), 1u);
  EXPECT_EQ(store.profiel(aantal).punten[0].x, 999.0);
  EXPECT_TRUE(g.meldingen.empty());
}

TEST(Vijandig, OneProfileOfAHundredThousandPoints) {
  TestMap map;
  ProfielStore store;
  constexpr int aantal = 100000;
  std::string inhoud;
  for (int i = 0; i < aantal; ++i) {
    const char* code = i == 10 ? "5" : i == aantal - 10 ? "2" : "99";
    inhoud += std::string(code) + ",999," + std::to_string(i) + ".5,0," + (i == 10 || i == aantal - 10 ? "1" : "-5") +
              ",LANG\n";
  }
  ASSERT_FALSE(leesProfielen(store, map, inhoud).fout);
  ASSERT_EQ(store.aantalProfielen(), 1);
  EXPECT_EQ(store.aantalKolommen(), 1 + 3 * aantal);
  EXPECT_EQ(store.aantalRijenInfo(), 1 + 2 * aantal);

  // The ditch replaces all but the outer 20 points by its two bottom points.
  store.profiel(1).sloot = SlootRecord({"LANG", "-1", "1", "1", "", "", ""});
  MeldingVerzamelaar sink;
  SlootVariabelen var;
  ASSERT_EQ(berekenSlootprofiel(store, 1, var, sink), SlootStatus::Sloot);
  const auto& p = store.profiel(1).punten;
  ASSERT_EQ(p.size(), 11u + 2u + 10u);
  EXPECT_EQ(p[11].x, 12.5);
  EXPECT_EQ(p[12].x, aantal - 10 - 2 + 0.5);
  EXPECT_EQ(p[13].x, aantal - 10 + 0.5);
  EXPECT_EQ(p.back().x, aantal - 1 + 0.5);
  // The bounds keep the longest profile the store ever held.
  EXPECT_EQ(store.aantalKolommen(), 1 + 3 * aantal);
}

TEST(Vijandig, DitchFilesWithManyFieldsHugeLinesAndBrokenBytes) {
  TestMap map;
  ProfielStore store;
  store.profielen.resize(3);
  std::string veel = "P1;-1;2;2;4;x;1";
  for (int i = 0; i < 100000; ++i) veel.append(";").append(std::to_string(i));
  const std::string pad = map.schrijf("sloot.csv", "kop\n" + veel + "\n" + "P\0\xFF;-1,5\0;2;2;;;\n"s +
                                                       std::string((1u << 20) - 12, 'y') + ";1;1;1;1;1;1");
  ASSERT_FALSE(leesBestandSloot(store, pad));
  EXPECT_EQ(store.profiel(1).sloot, SlootRecord({"P1", "-1", "2", "2", "4", "x", "1"}));
  EXPECT_EQ(store.profiel(2).sloot.kolom(1), "P\0\xFF"s);
  EXPECT_EQ(store.profiel(3).sloot.kolom(1).size(), (1u << 20) - 12);

  // A bottom level with a NUL byte in it is no number: the construction
  // says so and names the profile as the ditch file has it.
  store.profiel(2).punten = {Punt{Cel(5.0), Cel(), 0, 0, 1}, Punt{Cel(2.0), Cel(), 9, 0, 1}};
  store.dekGrenzen();
  MeldingVerzamelaar sink;
  SlootVariabelen var;
  EXPECT_EQ(berekenSlootprofiel(store, 2, var, sink), SlootStatus::Fout);
  ASSERT_EQ(sink.meldingen.size(), 1u);
  EXPECT_EQ(sink.meldingen[0].tekst, "de slootbodem is geen getal in profiel P\0\xFF"s);

  // A megabyte without a single ';': a short record, named by its line.
  ProfielStore een;
  een.profielen.resize(1);
  auto fout = leesBestandSloot(een, map.schrijf("lang.csv", "kop\n" + std::string(1u << 20, 'z')));
  ASSERT_TRUE(fout);
  EXPECT_NE(fout->tekst.find("regel 2: de regel heeft 1 veld"), std::string::npos);
  EXPECT_FALSE(een.profiel(1).sloot.aanwezig());

  // Past the profile file's line limit, and far more lines than profiles
  // (an endless file): refused, without reading it all.
  fout = leesBestandSloot(een, map.schrijf("langer.csv", "kop\n" + std::string((1u << 20) + 1, 'z')));
  ASSERT_TRUE(fout);
  EXPECT_NE(fout->tekst.find("regel 2: de regel is langer dan 1048576 tekens"), std::string::npos) << fout->tekst;
  std::string regels;
  for (int i = 0; i < 300000; ++i) regels += "P;1;1;1;;;\n";
  fout = leesBestandSloot(een, map.schrijf("veel.csv", "kop\n" + regels));
  ASSERT_TRUE(fout);
  EXPECT_NE(fout->tekst.find("heeft meer records na de kopregel dan het profielbestand profielen (1)"),
            std::string::npos)
      << fout->tekst;
}

// Found by fuzzing the whole job: ditch values and coordinates near the
// limit of a double overflowed to Inf or NaN in the constructed points, and
// the result file then held "Inf" and "NaN" where numbers belong.
TEST(Vijandig, OverflowInTheConstructionIsRefusedNotWritten) {
  struct Geval {
    std::vector<Punt> punten;
    std::array<std::string, 7> sloot;
    SlootStatus statusSloot, statusVoorland;
    std::vector<std::string> meldingen;
  };
  const std::vector<Geval> gevallen = {
      // Edges at 1e308, bottom at -1e308 and zero slopes: an infinite
      // depth times zero is NaN, which slipped past every comparison.
      {{Punt{Cel(5.0), Cel(), 0, 0, 1e308}, Punt{Cel(2.0), Cel(), 10, 0, 1e308}},
       {"P", "-1e308", "0", "0", "", "", ""},
       SlootStatus::Fout,
       SlootStatus::GeenSloot,
       {"de sloot past niet tussen de insteken in profiel P"}},
      // Edges 2e308 apart: the width is infinite.
      {{Punt{Cel(5.0), Cel(), -1e308, 0, 1}, Punt{Cel(2.0), Cel(), 1e308, 0, 1}},
       {"P", "-1", "1", "1", "", "", ""},
       SlootStatus::Fout,
       SlootStatus::GeenSloot,
       {"de slootmaten zijn te groot in profiel P"}},
      // Foreland widths whose sum overflows.
      {{Punt{Cel(51.0), Cel(), 0, 0, 0}, Punt{Cel(5.0), Cel(), 1, 0, 1}, Punt{Cel(2.0), Cel(), 10, 0, 1}},
       {"P", "-1", "1", "1", "1e308", "", "1e308"},
       SlootStatus::Sloot,
       SlootStatus::Fout,
       {"de voorlandmaten zijn ongeldig in profiel P"}},
  };
  for (const Geval& g : gevallen) {
    SCOPED_TRACE(g.meldingen[0]);
    ProfielStore store;
    Profiel p;
    p.naam = "P";
    p.punten = g.punten;
    p.sloot = SlootRecord({g.sloot[0], g.sloot[1], g.sloot[2], g.sloot[3], g.sloot[4], g.sloot[5], g.sloot[6]});
    store.profielen.push_back(std::move(p));
    store.dekGrenzen();
    MeldingVerzamelaar sink;
    SlootVariabelen var;
    EXPECT_EQ(berekenSlootprofiel(store, 1, var, sink), g.statusSloot);
    EXPECT_EQ(berekenVoorland(store, 1, var, sink), g.statusVoorland);
    ASSERT_EQ(sink.meldingen.size(), g.meldingen.size());
    for (std::size_t i = 0; i < g.meldingen.size(); ++i) EXPECT_EQ(sink.meldingen[i].tekst, g.meldingen[i]);
    for (const Punt& pt : store.profiel(1).punten) {
      EXPECT_TRUE(std::isfinite(pt.x) && std::isfinite(pt.y) && std::isfinite(pt.z));
    }
    TestMap map;
    const std::string uit = schrijfEnLees(store, map);
    EXPECT_EQ(uit.find("Inf"), std::string::npos);
    EXPECT_EQ(uit.find("NaN"), std::string::npos);
  }
}
