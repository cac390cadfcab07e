#include "input/leesslootkanten.h"

#include <cerrno>
#include <cstdio>
#include <memory>
#include <string_view>

#include "basis/getallen.h"
#include "input/invoerbestand.h"

namespace zarvo {

const char* const slootkantenKop = "profielnaam;punt dijkzijde;X;Y;punt polderzijde;X;Y";

namespace {

// A choices file holds a line per profile; more than this is no choices
// file, and reading it whole would only cost memory.
constexpr std::size_t maxGrootte = std::size_t{64} << 20;

std::optional<std::int32_t> leesPuntnummer(std::string_view tekst) {
  if (tekst.empty() || tekst.size() > 9) return std::nullopt;
  std::int32_t n = 0;
  for (const char c : tekst) {
    if (c < '0' || c > '9') return std::nullopt;
    n = n * 10 + (c - '0');
  }
  if (n < 1) return std::nullopt;
  return n;
}

}  // namespace

std::optional<Melding> leesSlootkanten(const std::string& pad, std::vector<SlootkantRegel>& regels) {
  regels.clear();
  auto fout = [&](std::int64_t regel, const std::string& reden) {
    regels.clear();
    const std::string waar = regel > 0 ? ", regel " + std::to_string(regel) : std::string();
    return Melding{"Fout!", "Het slootkantenbestand " + pad + waar + ": " + reden, Icoon::Kritiek};
  };
  Invoerfout waarom;
  const Bestand bestand = openInvoer(pad, waarom);
  if (!bestand) return Melding{"Fout!", waarom.tekst, Icoon::Kritiek};
  std::string inhoud;
  char blok[1 << 16];
  std::size_t gelezen;
  while ((gelezen = std::fread(blok, 1, sizeof blok, bestand.get())) > 0) {
    inhoud.append(blok, gelezen);
    if (inhoud.size() > maxGrootte) return fout(0, "het bestand is te groot voor een slootkantenbestand.");
  }
  if (std::ferror(bestand.get())) return fout(0, "het bestand kan niet worden gelezen.");

  std::string_view rest(inhoud);
  if (rest.substr(0, 3) == "\xEF\xBB\xBF") rest.remove_prefix(3);
  std::int64_t nummer = 0;
  bool kopGezien = false;
  while (!rest.empty()) {
    const std::size_t eind = rest.find('\n');
    std::string_view regel = rest.substr(0, eind);
    rest = eind == std::string_view::npos ? std::string_view() : rest.substr(eind + 1);
    ++nummer;
    if (!regel.empty() && regel.back() == '\r') regel.remove_suffix(1);
    if (trimBlanks(regel).empty()) continue;
    if (!kopGezien) {
      if (trimBlanks(regel) != slootkantenKop) {
        return fout(nummer, std::string("de kopregel moet \"") + slootkantenKop + "\" zijn.");
      }
      kopGezien = true;
      continue;
    }
    // The name may hold ';' itself: the six fields are taken from the end.
    std::string_view velden[6];
    std::string_view links = regel;
    for (int v = 5; v >= 0; --v) {
      const std::size_t scheiding = links.rfind(';');
      if (scheiding == std::string_view::npos) return fout(nummer, "er zijn zeven velden nodig, gescheiden door ';'.");
      velden[v] = trimBlanks(links.substr(scheiding + 1));
      links = links.substr(0, scheiding);
    }
    SlootkantRegel r;
    r.naam = std::string(links);
    r.regel = nummer;
    if (r.naam.empty()) return fout(nummer, "de profielnaam ontbreekt.");
    bool leeg = true;
    for (const std::string_view v : velden) leeg = leeg && v.empty();
    if (!leeg) {
      const auto dijk = leesPuntnummer(velden[0]);
      const auto polder = leesPuntnummer(velden[3]);
      const auto xd = leesGetalPunt(velden[1]);
      const auto yd = leesGetalPunt(velden[2]);
      const auto xp = leesGetalPunt(velden[4]);
      const auto yp = leesGetalPunt(velden[5]);
      if (!dijk || !polder) return fout(nummer, "een punt is geen nummer van 1 of hoger.");
      if (!xd || !yd || !xp || !yp) return fout(nummer, "een X of Y is geen getal (met '.' als decimaalteken).");
      if (*polder <= *dijk) return fout(nummer, "de slootkant aan de polderzijde ligt niet na die aan de dijkzijde.");
      r.keuze = Slootkeuze{*dijk, *polder, *xd, *yd, *xp, *yp};
    }
    regels.push_back(std::move(r));
  }
  if (!kopGezien) return fout(0, std::string("het bestand is leeg; de kopregel \"") + slootkantenKop + "\" ontbreekt.");
  return std::nullopt;
}

}  // namespace zarvo
