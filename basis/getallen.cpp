#include "basis/getallen.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace zarvo {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::string_view trimBlanks(std::string_view t) {
  while (!t.empty() && isBlank(t.front())) t.remove_prefix(1);
  while (!t.empty() && isBlank(t.back())) t.remove_suffix(1);
  return t;
}

double rondAf3(double x) {
  // Beyond 2^52 / 1000 the product below no longer has room for its
  // fraction; such values carry no more than about three decimals anyway.
  constexpr double grens = 4503599627370496.0 / 1000.0;
  if (!std::isfinite(x) || std::fabs(x) >= grens) return x;

  // x * 1000 is rarely exact. Only when the rounded product p lands exactly
  // on a half can the lost remainder decide the direction: the true value
  // then lies above or below the tie (2.0005 and 1.0005 are such doubles).
  // fma gives that remainder exactly; a real tie keeps nearbyint's even choice.
  const double p = x * 1000.0;
  double r = std::nearbyint(p);  // ties to even in the default rounding mode
  const double rest = p - r;     // exact: r is the integer next to p
  if (rest == 0.5 || rest == -0.5) {
    const double fout = std::fma(x, 1000.0, -p);
    // rest == 0.5 means nearbyint went down to the even neighbour, -0.5 up.
    if (rest == 0.5 && fout > 0.0) r += 1.0;
    if (rest == -0.5 && fout < 0.0) r -= 1.0;
  }
  return r / 1000.0 + 0.0;  // + 0.0 turns -0 into 0
}

std::string getalNaarTekst(double x, char decimaalteken) {
  if (std::isnan(x)) return "NaN";
  if (std::isinf(x)) return x < 0 ? "-Inf" : "Inf";
  if (x == 0.0) return "0";

  // Fifteen significant digits in scientific form: d.dddddddddddddde+XX.
  char buf[40];
  const auto res = std::to_chars(buf, buf + sizeof(buf), x, std::chars_format::scientific, 14);
  std::string_view s(buf, static_cast<std::size_t>(res.ptr - buf));
  std::string uit;
  uit.reserve(24);
  if (s.front() == '-') {
    uit.push_back('-');
    s.remove_prefix(1);
  }
  const std::size_t ePos = s.find('e');
  std::string cijfers;
  cijfers.reserve(15);
  for (char c : s.substr(0, ePos)) {
    if (c != '.') cijfers.push_back(c);
  }
  int exponent = 0;
  std::string_view expTekst = s.substr(ePos + 1);
  if (expTekst.front() == '+') expTekst.remove_prefix(1);
  std::from_chars(expTekst.data(), expTekst.data() + expTekst.size(), exponent);
  while (cijfers.size() > 1 && cijfers.back() == '0') cijfers.pop_back();

  // The exponent is judged after the rounding to 15 digits, so that
  // 999999999999999.9 becomes "1E+15" rather than a 16-digit integer.
  if (exponent >= 15 || exponent < -4) {
    uit.push_back(cijfers[0]);
    if (cijfers.size() > 1) {
      uit.push_back(decimaalteken);
      uit.append(cijfers, 1);
    }
    uit.push_back('E');
    uit.push_back(exponent < 0 ? '-' : '+');
    const int absExp = exponent < 0 ? -exponent : exponent;
    if (absExp < 10) uit.push_back('0');
    uit += std::to_string(absExp);
  } else if (exponent >= 0) {
    const auto heel = static_cast<std::size_t>(exponent) + 1;
    if (cijfers.size() <= heel) {
      uit += cijfers;
      uit.append(heel - cijfers.size(), '0');
    } else {
      uit.append(cijfers, 0, heel);
      uit.push_back(decimaalteken);
      uit.append(cijfers, heel);
    }
  } else {
    uit.push_back('0');
    uit.push_back(decimaalteken);
    uit.append(static_cast<std::size_t>(-exponent - 1), '0');
    uit += cijfers;
  }
  return uit;
}

std::string formaat00(double x, char decimaalteken) {
  if (!std::isfinite(x)) return getalNaarTekst(x, decimaalteken);
  // An exact binary tie at the second decimal (x.125, x.375, ...) goes away
  // from zero, as people round by hand; everything else rounds to nearest.
  // Such ties are exactly the odd multiples of 1/8.
  const double maal8 = x * 8.0;
  if (std::fabs(x) < 1e15 && maal8 == std::trunc(maal8) && std::fmod(maal8, 2.0) != 0.0) {
    x = std::nextafter(x, x < 0 ? -HUGE_VAL : HUGE_VAL);
  }
  char buf[400];
  const auto res = std::to_chars(buf, buf + sizeof(buf), x, std::chars_format::fixed, 2);
  std::string uit(buf, res.ptr);
  // "-0.00" says nothing the reader wants to know.
  if (uit.front() == '-' && uit.find_first_not_of("-0.") == std::string::npos) uit.erase(0, 1);
  const std::size_t punt = uit.find('.');
  if (punt != std::string::npos) uit[punt] = decimaalteken;
  return uit;
}

namespace {

// Whether the number written in [begin, eind) (a valid decimal number that
// the parser found out of range) is too small rather than too large: its
// first significant digit stands below the units.
bool isOnderloop(const char* begin, const char* eind) {
  const char* p = begin;
  if (p != eind && *p == '-') ++p;
  const char* mantisseEind = p;
  while (mantisseEind != eind && *mantisseEind != 'e' && *mantisseEind != 'E') ++mantisseEind;
  long long voorPunt = 0;
  while (p + voorPunt != mantisseEind && p[voorPunt] != '.') ++voorPunt;
  // The decimal place of the first significant digit (0 = units, -1 =
  // tenths).
  long long plaats = 0;
  bool gevonden = false;
  for (long long i = 0; p + i != mantisseEind && !gevonden; ++i) {
    if (i == voorPunt || p[i] == '0') continue;
    gevonden = true;
    plaats = i < voorPunt ? voorPunt - 1 - i : voorPunt - i;
  }
  if (!gevonden) return true;
  long long exponent = 0;
  p = mantisseEind;
  if (p != eind) {
    ++p;
    const bool negatief = p != eind && *p == '-';
    if (p != eind && (*p == '-' || *p == '+')) ++p;
    for (; p != eind; ++p) {
      // Saturates: an exponent this large decides alone.
      if (exponent < 1'000'000) exponent = exponent * 10 + (*p - '0');
    }
    if (negatief) exponent = -exponent;
  }
  return plaats + exponent < 0;
}

// What survey files are made of: [sign] digits [. digits] with at most 15
// digits. The digits then form an exact integer below 2^53, and the power
// of ten is exact too, so one division rounds correctly: the same double
// as the general parser gives.
struct EenvoudigGetal {
  std::uint64_t cijfers;  // all digits as one integer
  std::size_t decimalen;
  bool negatief;
};

std::optional<EenvoudigGetal> leesEenvoudig(std::string_view tekst) {
  const char* p = tekst.data();
  const char* eind = p + tekst.size();
  const bool negatief = p != eind && *p == '-';
  if (p != eind && (*p == '-' || *p == '+')) ++p;
  // More than nineteen digits wrap around (unsigned, so defined); such a
  // number has more than fifteen and is refused below anyway.
  std::uint64_t m = 0;
  const char* heel = p;
  while (p != eind && static_cast<unsigned char>(*p - '0') < 10) m = m * 10 + static_cast<unsigned>(*p++ - '0');
  std::size_t aantal = static_cast<std::size_t>(p - heel);
  std::size_t decimalen = 0;
  if (p != eind && *p == '.') {
    const char* breuk = ++p;
    while (p != eind && static_cast<unsigned char>(*p - '0') < 10) m = m * 10 + static_cast<unsigned>(*p++ - '0');
    decimalen = static_cast<std::size_t>(p - breuk);
    aantal += decimalen;
  }
  if (p != eind || aantal == 0 || aantal > 15) return std::nullopt;
  return EenvoudigGetal{m, decimalen, negatief};
}

constexpr double machtenVanTien[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                     1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

}  // namespace

std::optional<double> leesGetalPunt(std::string_view tekst) {
  if (const auto g = leesEenvoudig(tekst)) {
    const double waarde = static_cast<double>(g->cijfers) / machtenVanTien[g->decimalen];
    return g->negatief ? -waarde : waarde;
  }

  const char* begin = tekst.data();
  const char* eind = begin + tekst.size();
  // from_chars takes no '+' and would take "inf" and "nan": check the
  // first character ourselves.
  if (begin != eind && *begin == '+') ++begin;
  if (begin == eind) return std::nullopt;
  const char* eerste = (*begin == '-') ? begin + 1 : begin;
  if (eerste == eind || !((*eerste >= '0' && *eerste <= '9') || *eerste == '.')) {
    return std::nullopt;
  }
  if (begin != tekst.data() && *begin == '-') return std::nullopt;  // "+-1"
  double waarde = 0.0;
  const auto res = std::from_chars(begin, eind, waarde, std::chars_format::general);
  if (res.ec == std::errc::result_out_of_range && res.ptr == eind && isOnderloop(begin, eind)) {
    // Too small for a double (1e-400): it is 0 to every millimetre, as
    // 1e-320, which still fits, is.
    return *begin == '-' ? -0.0 : 0.0;
  }
  if (res.ec != std::errc() || res.ptr != eind || !std::isfinite(waarde)) return std::nullopt;
  return waarde;
}

// Survey files nearly always give at most three decimals, and such a
// number is already what rondAf3 makes of it: the division by a power of
// ten rounds the same real number that rondAf3 divides back, as long as
// the millimetres stay far enough below 2^52 for the product to land
// exactly on them (below 2^43 leaves room). So the fast case skips the
// rounding; -0 still becomes 0, as rondAf3 does.
std::optional<double> leesGetalAfgerond(std::string_view t) {
  static constexpr std::uint64_t naarMm[] = {1000, 100, 10, 1};
  const auto g = leesEenvoudig(t);
  if (g && g->decimalen <= 3 && g->cijfers * naarMm[g->decimalen] < (std::uint64_t{1} << 43)) {
    const double waarde = static_cast<double>(g->cijfers) / machtenVanTien[g->decimalen];
    return g->negatief && waarde != 0.0 ? -waarde : waarde;
  }
  const auto getal = leesGetalPunt(t);
  if (!getal) return std::nullopt;
  return rondAf3(*getal);
}

std::optional<double> leesGetalSloot(std::string_view tekst) {
  tekst = trimBlanks(tekst);
  if (tekst.size() > 64) return std::nullopt;
  const bool komma = tekst.find(',') != std::string_view::npos;
  if (!komma) return leesGetalPunt(tekst);
  // "1.234,5" would be a thousands separator: not accepted.
  if (tekst.find('.') != std::string_view::npos) return std::nullopt;
  char buf[64];
  std::memcpy(buf, tekst.data(), tekst.size());
  for (std::size_t i = 0; i < tekst.size(); ++i) {
    if (buf[i] == ',') buf[i] = '.';
  }
  return leesGetalPunt(std::string_view(buf, tekst.size()));
}

bool tekstIsCode(const Cel& cel, double code) {
  const auto waarde = leesGetalPunt(trimBlanks(cel.tekstWaarde()));
  return waarde && *waarde == code;
}

std::string celNaarTekst(const Cel& cel, char decimaalteken) {
  switch (cel.soort()) {
    case Cel::Soort::Getal: return getalNaarTekst(cel.getal(), decimaalteken);
    case Cel::Soort::Tekst: return std::string(cel.tekstWaarde());
    case Cel::Soort::Leeg: return {};
  }
  return {};
}

namespace {

// "00" "01" ... "99": two digits per step halves the divisions.
constexpr auto kCijferparen = [] {
  std::array<char, 200> t{};
  for (int i = 0; i < 100; ++i) {
    t[static_cast<std::size_t>(2 * i)] = static_cast<char>('0' + i / 10);
    t[static_cast<std::size_t>(2 * i + 1)] = static_cast<char>('0' + i % 10);
  }
  return t;
}();

int aantalCijfers(std::uint64_t v) {
  int n = 1;
  for (; v >= 10000; v /= 10000) n += 4;
  if (v >= 1000) return n + 3;
  if (v >= 100) return n + 2;
  if (v >= 10) return n + 1;
  return n;
}

char* schrijfGeheel(char* p, std::uint64_t v) {
  char* const eind = p + aantalCijfers(v);
  char* q = eind;
  while (v >= 100) {
    q -= 2;
    std::memcpy(q, &kCijferparen[2 * (v % 100)], 2);
    v /= 100;
  }
  if (v >= 10) {
    std::memcpy(q - 2, &kCijferparen[2 * v], 2);
  } else {
    q[-1] = static_cast<char>('0' + v);
  }
  return eind;
}

}  // namespace

// Numbers in the store are nearly all rounded to three decimals. Such a
// number is m/1000 for an integer m, and its default text is exactly m's
// digits with the separator put in and trailing zeros dropped; writing that
// directly is many times faster than the general conversion, which the
// millions of numbers of a result file would feel.
char* schrijfDuizendsten(char* p, double x, char decimaalteken) {
  if (!(std::fabs(x) < 1e12)) return nullptr;
  // Rounding halves away from zero instead of to even picks no wrong m: a
  // number that is some m / 1000 comes out of the product far nearer to m
  // than half way.
  const double geschaald = x * 1000.0;
  const auto m = static_cast<std::int64_t>(geschaald < 0.0 ? geschaald - 0.5 : geschaald + 0.5);
  if (static_cast<double>(m) / 1000.0 != x) return nullptr;
  // -0 and 0 alike become "0".
  if (m < 0) *p++ = '-';
  const std::uint64_t a = m < 0 ? static_cast<std::uint64_t>(-m) : static_cast<std::uint64_t>(m);
  p = schrijfGeheel(p, a / 1000);
  const auto breuk = static_cast<unsigned>(a % 1000);
  if (breuk != 0) {
    // All three decimals go down; the end then stops before trailing zeros.
    p[0] = decimaalteken;
    p[1] = static_cast<char>('0' + breuk / 100);
    std::memcpy(p + 2, &kCijferparen[2 * (breuk % 100)], 2);
    p += breuk % 10 != 0 ? 4 : breuk % 100 != 0 ? 3 : 2;
  }
  return p;
}

char* schrijfGetal(char* p, double x, char decimaalteken) {
  if (char* eind = schrijfDuizendsten(p, x, decimaalteken)) return eind;
  const std::string tekst = getalNaarTekst(x, decimaalteken);
  std::memcpy(p, tekst.data(), tekst.size());
  return p + tekst.size();
}

void voegGetalToe(std::string& uit, double x, char decimaalteken) {
  char tekst[kMaxGetalTekst];
  uit.append(tekst, schrijfGetal(tekst, x, decimaalteken));
}

}  // namespace zarvo
