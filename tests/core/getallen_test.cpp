// Rounding, number texts and number parsing.
#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "basis/getallen.h"

using namespace zarvo;

namespace {

// Independent reference: write the double's exact decimal expansion and
// round that digit string half to even at the third decimal.
double rondAf3Referentie(double x) {
  char buf[200];
  const auto res = std::to_chars(buf, buf + sizeof(buf), x, std::chars_format::fixed, 80);
  std::string s(buf, res.ptr);
  const bool negatief = s[0] == '-';
  if (negatief) s.erase(0, 1);
  const std::size_t punt = s.find('.');
  std::string heel = s.substr(0, punt) + s.substr(punt + 1, 3);
  const std::string rest = s.substr(punt + 4);
  const bool boven = rest[0] > '5' || (rest[0] == '5' && rest.find_first_not_of('0', 1) != std::string::npos);
  const bool gelijk = rest[0] == '5' && rest.find_first_not_of('0', 1) == std::string::npos;
  long long n = std::stoll(heel);
  if (boven || (gelijk && n % 2 == 1)) ++n;
  const double r = static_cast<double>(n) / 1000.0;
  return negatief ? -r : r;
}

}  // namespace

TEST(Getallen, RondAf3TiesGoToEvenOnTheExactDoubleValue) {
  EXPECT_EQ(rondAf3(0.0625), 0.062);
  EXPECT_EQ(rondAf3(1.0625), 1.062);
  EXPECT_EQ(rondAf3(0.1875), 0.188);
  EXPECT_EQ(rondAf3(2.0005), 2.001);  // the double lies just above the tie
  EXPECT_EQ(rondAf3(1.0005), 1.0);    // and this one just below
  EXPECT_EQ(rondAf3(-0.0625), -0.062);
  EXPECT_EQ(rondAf3(-2.0005), -2.001);
  EXPECT_EQ(rondAf3(130000.1234), 130000.123);
  EXPECT_EQ(rondAf3(550000.9999), 550001.0);
  EXPECT_EQ(rondAf3(-0.0004), 0.0);
  EXPECT_FALSE(std::signbit(rondAf3(-0.0004)));
  EXPECT_EQ(rondAf3(1e300), 1e300);
  EXPECT_TRUE(std::isnan(rondAf3(NAN)));
}

TEST(Getallen, RondAf3AgreesWithExactDecimalRounding) {
  std::mt19937_64 gen(20240611);
  std::uniform_real_distribution<double> verdeling(-700000.0, 700000.0);
  std::uniform_int_distribution<long long> helft(-700000000LL, 700000000LL);
  for (int i = 0; i < 20000; ++i) {
    const double x = verdeling(gen);
    ASSERT_EQ(rondAf3(x), rondAf3Referentie(x)) << x;
    // Doubles at and right next to a decimal half-way point are the hard ones.
    const double tie = (static_cast<double>(helft(gen)) + 0.5) / 1000.0;
    for (double y : {tie, std::nextafter(tie, 1e9), std::nextafter(tie, -1e9)}) {
      ASSERT_EQ(rondAf3(y), rondAf3Referentie(y)) << y;
    }
  }
}

TEST(Getallen, DefaultNumberText) {
  EXPECT_EQ(getalNaarTekst(0.0), "0");
  EXPECT_EQ(getalNaarTekst(-0.0), "0");
  EXPECT_EQ(getalNaarTekst(100.0), "100");
  EXPECT_EQ(getalNaarTekst(1.5), "1.5");
  EXPECT_EQ(getalNaarTekst(1.5, ','), "1,5");
  EXPECT_EQ(getalNaarTekst(-2.25, ','), "-2,25");
  EXPECT_EQ(getalNaarTekst(130000.125), "130000.125");
  EXPECT_EQ(getalNaarTekst(0.1 + 0.2), "0.3");  // 15 significant digits
  EXPECT_EQ(getalNaarTekst(0.0001), "0.0001");
  EXPECT_EQ(getalNaarTekst(0.00012345), "0.00012345");
  EXPECT_EQ(getalNaarTekst(0.000099999), "9.9999E-05");
  EXPECT_EQ(getalNaarTekst(1.5e-5), "1.5E-05");
  EXPECT_EQ(getalNaarTekst(1e15), "1E+15");
  EXPECT_EQ(getalNaarTekst(-1e15), "-1E+15");
  EXPECT_EQ(getalNaarTekst(999999999999999.0), "999999999999999");
  EXPECT_EQ(getalNaarTekst(999999999999999.9), "1E+15");
  EXPECT_EQ(getalNaarTekst(123456789012345678.0), "1.23456789012346E+17");
  EXPECT_EQ(getalNaarTekst(2.5e-300, ','), "2,5E-300");
  EXPECT_EQ(getalNaarTekst(1e100), "1E+100");
}

// The writers' fast road must give the default text exactly, and must be
// taken for every number the store holds after rounding.
TEST(Getallen, FastNumberTextIsTheDefaultText) {
  std::vector<double> getallen = {0.0,    -0.0,   0.001,  -0.001, 0.01,   0.1,   0.5,   -2.5,  1.0,
                                  10.0,   100.0,  -0.25,  7.125,  1e11,   -1e11, 999999999999.999,
                                  -999999999999.999,  999999999999.99, 1e12, -1e12, 999999999999.9995,
                                  0.0005, 1.0 / 3, 0.1 + 0.2, 1e-5, 1.5e-4, 1e15, -1e15, 123456789012345678.0,
                                  1e300,  -1e-300, 5e-324, 1.7976931348623157e308,
                                  std::nan(""), HUGE_VAL, -HUGE_VAL};
  std::mt19937_64 gen(7);
  for (int cijfers = 1; cijfers <= 15; ++cijfers) {
    const auto boven = static_cast<std::int64_t>(std::pow(10.0, cijfers));
    std::uniform_int_distribution<std::int64_t> m(boven / 10, boven - 1);
    for (int i = 0; i < 200; ++i) {
      const auto v = m(gen);
      getallen.push_back(static_cast<double>(v) / 1000.0);
      getallen.push_back(static_cast<double>(-v) / 1000.0);
      getallen.push_back(static_cast<double>(v) / 1000.0 + 1e-7);  // no multiple of 1/1000
    }
  }
  for (const char teken : {'.', ','}) {
    for (const double x : getallen) {
      const std::string verwacht = getalNaarTekst(x, teken);
      char buf[2 * kMaxGetalTekst];
      std::fill(std::begin(buf), std::end(buf), '#');
      char* eind = schrijfGetal(buf, x, teken);
      EXPECT_EQ(std::string(buf, eind), verwacht);
      EXPECT_TRUE(std::all_of(buf + kMaxGetalTekst, std::end(buf), [](char c) { return c == '#'; })) << verwacht;

      const bool duizendste = std::fabs(x) < 1e12 && std::nearbyint(x * 1000.0) / 1000.0 == x;
      char* snel = schrijfDuizendsten(buf, x, teken);
      EXPECT_EQ(snel != nullptr, duizendste) << verwacht;
      if (snel) {
        EXPECT_EQ(std::string(buf, snel), verwacht);
      }

      std::string uit = "a";
      voegGetalToe(uit, x, teken);
      EXPECT_EQ(uit, "a" + verwacht);
    }
  }
}

TEST(Getallen, Format00) {
  EXPECT_EQ(formaat00(0.0), "0.00");
  EXPECT_EQ(formaat00(3.14159), "3.14");
  EXPECT_EQ(formaat00(1234.5), "1234.50");
  EXPECT_EQ(formaat00(1234.5, ','), "1234,50");
  EXPECT_EQ(formaat00(-7.999), "-8.00");
  EXPECT_EQ(formaat00(-0.001), "0.00");
  EXPECT_EQ(formaat00(0.125), "0.13");    // exact tie: away from zero
  EXPECT_EQ(formaat00(-0.375), "-0.38");
  EXPECT_EQ(formaat00(2.675), "2.67");    // the double lies below 2.675
  EXPECT_EQ(formaat00(123456.0), "123456.00");
}

TEST(Getallen, StrictPointNumbers) {
  EXPECT_EQ(leesGetalPunt("1.5"), 1.5);
  EXPECT_EQ(leesGetalPunt("-2e3"), -2000.0);
  EXPECT_EQ(leesGetalPunt("+4"), 4.0);
  EXPECT_EQ(leesGetalPunt(".5"), 0.5);
  EXPECT_EQ(leesGetalPunt("130000.0625"), 130000.0625);
  // Too small for a double is 0, as a denormal is after rounding; too
  // large stays refused.
  EXPECT_GT(leesGetalPunt("1e-320").value_or(0), 0.0);
  for (const char* nul : {"1e-400", "-1e-400", "0.0001e-330", "123456e-999999999999", "0.000e-400"}) {
    EXPECT_EQ(leesGetalPunt(nul), 0.0) << nul;
  }
  for (const char* fout : {"", "-", "+", ".", "1,5", " 1", "1 ", "inf", "-inf", "nan", "1e400",
                           "0.001e312", "+-1", "--1", "0x1A", "1.2.3", "1e", "12a", "1 000"}) {
    EXPECT_FALSE(leesGetalPunt(fout).has_value()) << fout;
  }
}

TEST(Getallen, DitchFieldNumbers) {
  EXPECT_EQ(leesGetalSloot(" 1,5 "), 1.5);
  EXPECT_EQ(leesGetalSloot("-2.25"), -2.25);
  EXPECT_EQ(leesGetalSloot("\t-0,75"), -0.75);
  for (const char* fout : {"", "  ", "abc", "1.234,5", "1,2,3", "nan", "1;5"}) {
    EXPECT_FALSE(leesGetalSloot(fout).has_value()) << fout;
  }
}

TEST(Getallen, CodeTestAndCellText) {
  EXPECT_TRUE(celIsCode(Cel(5.0), 5));
  EXPECT_FALSE(celIsCode(Cel(5.5), 5));
  EXPECT_TRUE(celIsCode(Cel(std::string_view(" 5 ")), 5));
  EXPECT_TRUE(celIsCode(Cel(std::string_view("05.0")), 5));
  EXPECT_FALSE(celIsCode(Cel(std::string_view("5a")), 5));
  EXPECT_FALSE(celIsCode(Cel(std::string_view("")), 0));
  EXPECT_FALSE(celIsCode(Cel(), 0));
  Punt p{Cel(std::string_view("P12")), Cel(std::string_view("72")), 0, 0, 0};
  EXPECT_TRUE(heeftCode(p, 72));
  EXPECT_FALSE(heeftCode(p, 12));

  EXPECT_EQ(celNaarTekst(Cel(2.5), ','), "2,5");
  EXPECT_EQ(celNaarTekst(Cel(std::string_view("2.5 a"))), "2.5 a");
  EXPECT_EQ(celNaarTekst(Cel()), "");
}

TEST(Getallen, PointNumbersAgreeWithTheGeneralParser) {
  // Short plain decimals take a fast path; it must give the very same
  // doubles as the general parser, for every digit count around its limit.
  std::mt19937_64 gen(7);
  std::uniform_int_distribution<int> cijfer(0, 9);
  for (int i = 0; i < 50000; ++i) {
    const int heel = 1 + i % 9;
    const int decimalen = (i / 9) % 10;
    std::string t = (i % 3 == 0) ? "-" : "";
    for (int k = 0; k < heel; ++k) t += static_cast<char>('0' + cijfer(gen));
    if (decimalen > 0 || i % 7 == 0) t += '.';
    for (int k = 0; k < decimalen; ++k) t += static_cast<char>('0' + cijfer(gen));
    double verwacht = 0;
    std::from_chars(t.data(), t.data() + t.size(), verwacht);
    const auto gelezen = leesGetalPunt(t);
    ASSERT_TRUE(gelezen.has_value()) << t;
    ASSERT_EQ(*gelezen, verwacht) << t;
    ASSERT_EQ(std::signbit(*gelezen), std::signbit(verwacht)) << t;
  }
}
