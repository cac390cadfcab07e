// The reader cuts a file into pieces and parses them side by side. Wherever
// the borders fall, the store, the messages and the error must be those of
// reading the file as one piece. Seeded random files, read with tiny pieces
// (down to one line each) and with one; a failure prints the seed.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "input/leesbestand.h"
#include "basis/parallel.h"
#include "testmap.h"

using namespace zarvo;
using zarvotest::TestMap;

namespace {

struct Uitkomst {
  ProfielStore store;
  std::optional<Melding> fout;
  std::vector<Melding> meldingen;
};

Uitkomst leesMetStukken(const std::string& pad, std::size_t stukGrootte) {
  zetStukGrootteVoorTests(stukGrootte);
  Uitkomst u;
  MeldingVerzamelaar sink;
  u.fout = leesBestand(u.store, pad, sink, ',');
  zetStukGrootteVoorTests(0);
  u.meldingen = std::move(sink.meldingen);
  return u;
}

// Bit for bit, so that -0 and 0 differ as they do in a written result.
bool zelfdeGetal(double a, double b) { return a == b && std::signbit(a) == std::signbit(b); }

void vergelijk(const Uitkomst& een, const Uitkomst& stukken) {
  ASSERT_EQ(een.fout.has_value(), stukken.fout.has_value());
  if (een.fout) {
    EXPECT_EQ(een.fout->tekst, stukken.fout->tekst);
  }
  ASSERT_EQ(een.meldingen.size(), stukken.meldingen.size());
  for (std::size_t i = 0; i < een.meldingen.size(); ++i) {
    EXPECT_EQ(een.meldingen[i].titel, stukken.meldingen[i].titel);
    EXPECT_EQ(een.meldingen[i].tekst, stukken.meldingen[i].tekst);
  }
  EXPECT_EQ(een.store.aantalKolommen(), stukken.store.aantalKolommen());
  EXPECT_EQ(een.store.aantalRijenInfo(), stukken.store.aantalRijenInfo());
  ASSERT_EQ(een.store.profielen.size(), stukken.store.profielen.size());
  for (std::size_t p = 0; p < een.store.profielen.size(); ++p) {
    const Profiel& a = een.store.profielen[p];
    const Profiel& b = stukken.store.profielen[p];
    EXPECT_EQ(a.naam, b.naam) << "profiel " << p + 1;
    ASSERT_EQ(a.punten.size(), b.punten.size()) << "profiel " << p + 1;
    for (std::size_t k = 0; k < a.punten.size(); ++k) {
      const Punt& s = a.punten[k];
      const Punt& t = b.punten[k];
      EXPECT_TRUE(s.veld1 == t.veld1 && s.veld2 == t.veld2 && zelfdeGetal(s.x, t.x) &&
                  zelfdeGetal(s.y, t.y) && zelfdeGetal(s.z, t.z))
          << "profiel " << p + 1 << ", punt " << k + 1;
    }
  }
}

// A file with what makes borders hard: profiles of one to a dozen points,
// names that continue (empty, or the same name again), a name that comes
// back after another profile, double points (also after rounding, also as
// -0 and 0), blank lines, CRLF, quoted and long codes, a byte-order mark and
// a last line without its line end.
std::vector<std::string> willekeurigeRegels(std::mt19937& gen) {
  auto geheel = [&](int van, int tot) { return std::uniform_int_distribution<int>(van, tot)(gen); };
  static const char* codes[] = {"99", "5", "2", "\"5\"", "  ", "een lange code", "\"a,b\""};
  std::vector<std::string> regels;
  const int profielen = geheel(1, 12);
  for (int p = 0; p < profielen; ++p) {
    const std::string naam = "P" + std::to_string(geheel(0, 3));  // repeats on purpose
    const int punten = geheel(1, 12);
    int x = geheel(-2, 2);
    for (int k = 0; k < punten; ++k) {
      if (geheel(0, 3) > 0) x += geheel(0, 1);  // same X and Y again: a double point
      const int kantje = geheel(0, 5);
      std::string xTekst = std::to_string(x) + (kantje == 0 ? ".0004" : kantje == 1 ? ".0001" : "");
      if (x == 0 && kantje == 2) xTekst = "-0.0002";  // rounds to -0, a double of 0
      std::string regel = std::string(codes[geheel(0, 6)]) + "," + codes[geheel(0, 6)] + "," + xTekst +
                          ",7," + std::to_string(geheel(-3, 3)) + ".25," +
                          (k > 0 && geheel(0, 2) == 0 ? "" : naam);
      if (geheel(0, 4) == 0) regel += "\r";
      regels.push_back(regel);
      if (geheel(0, 9) == 0) regels.push_back(geheel(0, 1) ? "" : " \t");
    }
  }
  return regels;
}

std::string alsBestand(const std::vector<std::string>& regels, std::mt19937& gen) {
  std::string inhoud = gen() % 5 == 0 ? "\xEF\xBB\xBF" : "";
  for (const std::string& r : regels) inhoud += r + "\n";
  if (gen() % 3 == 0) inhoud.pop_back();
  return inhoud;
}

void vergelijkBijAlleStukgroottes(const TestMap& map, const std::string& inhoud, unsigned zaad) {
  const std::string pad = map.schrijf("profielen.txt", inhoud);
  const Uitkomst een = leesMetStukken(pad, 0);
  std::mt19937 gen(zaad);
  for (const std::size_t grootte : {std::size_t{1}, std::size_t{2 + gen() % 8}, std::size_t{10 + gen() % 90}}) {
    SCOPED_TRACE("zaad " + std::to_string(zaad) + ", stukken van " + std::to_string(grootte));
    vergelijk(een, leesMetStukken(pad, grootte));
  }
  // Counting takes the same road: the same names, counts, messages, error.
  zetStukGrootteVoorTests(1 + gen() % 8);
  MeldingVerzamelaar sink;
  std::vector<ProfielTelling> telling;
  const auto fout = telBestand(pad, sink, ',', telling);
  zetStukGrootteVoorTests(0);
  SCOPED_TRACE("zaad " + std::to_string(zaad) + ", tellen");
  ASSERT_EQ(fout.has_value(), een.fout.has_value());
  if (fout) {
    EXPECT_EQ(fout->tekst, een.fout->tekst);
  }
  ASSERT_EQ(sink.meldingen.size(), een.meldingen.size());
  for (std::size_t i = 0; i < sink.meldingen.size(); ++i) EXPECT_EQ(sink.meldingen[i].tekst, een.meldingen[i].tekst);
  ASSERT_EQ(telling.size(), een.store.profielen.size());
  for (std::size_t p = 0; p < telling.size(); ++p) {
    EXPECT_EQ(telling[p].naam, een.store.profielen[p].naam);
    EXPECT_EQ(telling[p].punten, een.store.profielen[p].punten.size());
  }
}

}  // namespace

TEST(LeesStukken, PiecesGiveTheStoreAndMessagesOfOneRead) {
  TestMap map;
  int metMeldingen = 0;
  for (unsigned zaad = 1; zaad <= 60; ++zaad) {
    std::mt19937 gen(zaad);
    const std::string inhoud = alsBestand(willekeurigeRegels(gen), gen);
    vergelijkBijAlleStukgroottes(map, inhoud, zaad);
    if (HasFailure()) return;
    MeldingVerzamelaar sink;
    ProfielStore store;
    (void)leesBestand(store, map.schrijf("controle.txt", inhoud), sink);
    metMeldingen += sink.meldingen.empty() ? 0 : 1;
  }
  EXPECT_GT(metMeldingen, 20);  // the files do hold double points to report
}

// An error anywhere, the very first line and a line on a border included:
// the first one in the file is reported with its line, after the messages
// of the lines before it, and nothing is loaded.
TEST(LeesStukken, FirstErrorOfTheFileWinsWhereverTheBordersFall) {
  static const char* fouten[] = {"1,2,3", "1,2,x,4,5,P", "\"1,2,3,4,5,P", "1,2,3,4,5,P,7", "1,2,3,4,5,P\tQ"};
  TestMap map;
  for (unsigned zaad = 1; zaad <= 40; ++zaad) {
    std::mt19937 gen(zaad);
    std::vector<std::string> regels = willekeurigeRegels(gen);
    std::size_t eerste = gen() % regels.size();
    regels[eerste] = fouten[gen() % 5];
    regels[eerste + (gen() % (regels.size() - eerste))] = fouten[gen() % 5];
    if (zaad % 8 == 0) {
      regels.insert(regels.begin(), {"", "1,2,3,4,5,"});  // the first data line has no name
      eerste = 1;
    }
    const std::string inhoud = alsBestand(regels, gen);
    vergelijkBijAlleStukgroottes(map, inhoud, zaad);
    if (HasFailure()) return;
    const Uitkomst u = leesMetStukken(map.schrijf("profielen.txt", inhoud), 1);
    EXPECT_TRUE(u.store.profielen.empty());
    ASSERT_TRUE(u.fout.has_value()) << "zaad " << zaad;
    EXPECT_NE(u.fout->tekst.find(", regel " + std::to_string(eerste + 1) + ":"), std::string::npos)
        << "zaad " << zaad << ": " << u.fout->tekst;
  }
}
