// The store's cells and its row bookkeeping.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <utility>

#include "basis/profielstore.h"

using zarvo::Cel;
using zarvo::ProfielStore;
using zarvo::Profiel;
using zarvo::Punt;

TEST(Cel, EmptyNumberAndTextStayDistinguishable) {
  EXPECT_TRUE(Cel().isLeeg());
  EXPECT_TRUE(Cel(0.0).isGetal());
  EXPECT_TRUE(Cel(std::string_view("")).isTekst());
  EXPECT_TRUE(Cel(std::string_view("")).isLeegOfLegeTekst());
  EXPECT_FALSE(Cel(0.0).isLeegOfLegeTekst());
  EXPECT_NE(Cel(), Cel(0.0));
  EXPECT_NE(Cel(5.0), Cel(std::string_view("5")));
  // Numbers whose bits lie next to the patterns that mark Empty and texts.
  const double inf = std::numeric_limits<double>::infinity();
  for (double x : {-inf, inf, -0.0, std::nextafter(-inf, 0.0), -std::numeric_limits<double>::quiet_NaN(),
                   std::bit_cast<double>(std::uint64_t{0xFFF1000000000001}),
                   std::bit_cast<double>(std::uint64_t{0xFFFF000000000000})}) {
    const Cel c(x);
    EXPECT_TRUE(c.isGetal()) << x;
    EXPECT_TRUE(std::isnan(x) ? std::isnan(c.getal()) : std::bit_cast<std::uint64_t>(c.getal()) == std::bit_cast<std::uint64_t>(x));
  }
}

TEST(Cel, ShortAndLongTextsSurviveCopyAndMove) {
  for (std::string t : {std::string("kort"), std::string("123456"), std::string("1234567"), std::string("12345678"), std::string("123456789"),
                        std::string(1000, 'x') + std::string("\0y", 2)}) {
    Cel a(t);
    Cel b = a;
    EXPECT_EQ(b.tekstWaarde(), t);
    Cel c = std::move(a);
    EXPECT_EQ(c.tekstWaarde(), t);
    EXPECT_TRUE(a.isLeeg());
    a = c;
    b = std::move(c);
    EXPECT_EQ(a.tekstWaarde(), t);
    EXPECT_EQ(b.tekstWaarde(), t);
    b = b;  // self-assignment keeps the text
    EXPECT_EQ(b.tekstWaarde(), t);
  }
  EXPECT_EQ(sizeof(Cel), 8u);
}

namespace {
Profiel maakProfiel(const std::string& naam, int punten) {
  Profiel p;
  p.naam = naam;
  for (int i = 0; i < punten; ++i) {
    p.punten.push_back(Punt{Cel(99.0), Cel(std::string_view("A")), 1.0 * i, 2.0 * i, 0.5 * i});
  }
  p.sloot = zarvo::SlootRecord({naam, "", "", "", "", "", ""});
  return p;
}
}  // namespace

TEST(ProfielStore, OldCellViewMatchesTheColumnLayout) {
  ProfielStore s;
  s.profielen.push_back(maakProfiel("P1", 2));
  s.profielen.push_back(maakProfiel("P2", 3));
  s.dekGrenzen();
  EXPECT_EQ(s.aantalKolommen(), 10);
  EXPECT_EQ(s.aantalRijenInfo(), 7);
  EXPECT_EQ(s.profielDataCel(1, 1).tekstWaarde(), "P1");
  EXPECT_EQ(s.profielDataCel(2, 8).getal(), 2.0);   // X of point 3
  EXPECT_EQ(s.profielDataCel(2, 9).getal(), 4.0);   // Y of point 3
  EXPECT_EQ(s.profielDataCel(2, 10).getal(), 1.0);  // Z of point 3
  EXPECT_TRUE(s.profielDataCel(1, 8).isLeeg());     // beyond profile 1's last point
  EXPECT_TRUE(s.profielDataCel(2, 11).isLeeg());    // beyond the bound
  EXPECT_EQ(s.puntInfoCel(2, 6).getal(), 99.0);
  EXPECT_EQ(s.puntInfoCel(2, 7).tekstWaarde(), "A");
  EXPECT_TRUE(s.puntInfoCel(1, 6).isLeeg());
}

TEST(ProfielStore, DeletingTakesTheDitchRecordAlongAndKeepsTheBounds) {
  ProfielStore s;
  for (const char* n : {"A", "B", "C"}) s.profielen.push_back(maakProfiel(n, std::string(n) == "C" ? 5 : 2));
  s.dekGrenzen();
  s.verwijderProfiel(3);
  s.verwijderProfiel(1);
  ASSERT_EQ(s.aantalProfielen(), 1);
  EXPECT_EQ(s.profiel(1).naam, "B");
  EXPECT_EQ(s.profiel(1).sloot.kolom(1), "B");
  ASSERT_EQ(s.aantalVerwijderd(), 2);
  EXPECT_EQ(s.verwijderdeProfielen[0], "C");
  EXPECT_EQ(s.verwijderdeProfielen[1], "A");
  EXPECT_EQ(s.aantalKolommen(), 16);  // the long profile is gone, the bound is not
  EXPECT_THROW(s.verwijderProfiel(2), std::out_of_range);
}

TEST(ProfielStore, ProfielInfoIsInitialisedWithNameAndMinusOne) {
  ProfielStore s;
  s.profielen.push_back(maakProfiel("X", 1));
  s.initialiseerProfielInfo();
  EXPECT_EQ(s.profiel(1).profielInfo()[1].tekstWaarde(), "X");
  for (int i = 2; i <= 37; ++i) EXPECT_EQ(s.profiel(1).profielInfo()[static_cast<size_t>(i)], Cel(-1.0));
}

TEST(ProfielStore, SelectionRecordIsEmptyUntilWrittenAndCopiesDeeply) {
  Profiel a = maakProfiel("A", 1);
  EXPECT_TRUE(std::as_const(a).profielInfo()[5].isLeeg());
  a.profielInfo()[5] = Cel(12.5);
  Profiel b = a;  // copy: its own cells
  b.profielInfo()[5] = Cel(-1.0);
  EXPECT_EQ(a.profielInfo()[5], Cel(12.5));
  EXPECT_EQ(b.profielInfo()[5], Cel(-1.0));
  a = b;
  EXPECT_EQ(a.profielInfo()[5], Cel(-1.0));
  Profiel c = std::move(a);
  EXPECT_EQ(c.profielInfo()[5], Cel(-1.0));
  // A fresh profile record stays small: the selection cells are made on
  // first write only.
  EXPECT_LT(sizeof(Profiel), 400u);
}
