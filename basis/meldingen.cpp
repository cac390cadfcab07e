#include "basis/meldingen.h"

#include "basis/getallen.h"

namespace zarvo {

namespace {

// The length of the valid UTF-8 sequence at the start of 't', 0 when the
// first byte does not begin one (overlong forms and surrogates included).
std::size_t utf8Lengte(std::string_view t) {
  const auto b = [&](std::size_t i) { return static_cast<unsigned char>(t[i]); };
  const unsigned char c = b(0);
  if (c < 0x80) return 1;
  std::size_t n;
  unsigned char laag = 0x80, hoog = 0xBF;
  if (c >= 0xC2 && c <= 0xDF) {
    n = 2;
  } else if (c >= 0xE0 && c <= 0xEF) {
    n = 3;
    if (c == 0xE0) laag = 0xA0;
    if (c == 0xED) hoog = 0x9F;
  } else if (c >= 0xF0 && c <= 0xF4) {
    n = 4;
    if (c == 0xF0) laag = 0x90;
    if (c == 0xF4) hoog = 0x8F;
  } else {
    return 0;
  }
  if (t.size() < n) return 0;
  if (b(1) < laag || b(1) > hoog) return 0;
  for (std::size_t i = 2; i < n; ++i) {
    if (b(i) < 0x80 || b(i) > 0xBF) return 0;
  }
  return n;
}

}  // namespace

std::string toonbareTekst(std::string_view tekst, bool ookOngeldigeUtf8) {
  static constexpr char hex[] = "0123456789ABCDEF";
  std::string uit;
  uit.reserve(tekst.size());
  std::size_t i = 0;
  while (i < tekst.size()) {
    const auto c = static_cast<unsigned char>(tekst[i]);
    std::size_t n = 1;
    bool escape = (c < 0x20 && c != '\n' && c != '\t') || c == 0x7F;
    if (!escape && c >= 0x80 && ookOngeldigeUtf8) {
      n = utf8Lengte(tekst.substr(i));
      escape = n == 0;
      if (escape) n = 1;
    }
    if (escape) {
      uit += "\\x";
      uit += hex[c >> 4];
      uit += hex[c & 0xF];
    } else {
      uit.append(tekst.substr(i, n));
    }
    i += n;
  }
  return uit;
}

Melding meldingTeWeinigGeheugen(const std::string& bestand) {
  return Melding{"Fout!", "te weinig geheugen om " + bestand + " te verwerken", Icoon::Kritiek};
}

Melding meldingDubbelPunt(const std::string& naam, double vorigeX, double vorigeY, double x, double y,
                          char decimaalteken) {
  std::string tekst = "Profiel " + naam + " bevat een dubbel punt.\n";
  tekst += "xOld = " + getalNaarTekst(vorigeX, decimaalteken) + " = xNew " + getalNaarTekst(x, decimaalteken) + "\n";
  tekst += "yOld = " + getalNaarTekst(vorigeY, decimaalteken) + " = yNew = " + getalNaarTekst(y, decimaalteken) + "\n";
  tekst += "Het punt wordt niet meegenomen in de database";
  return Melding{"Melding", std::move(tekst), Icoon::Kritiek};
}

}  // namespace zarvo
