#include "output/oppervlaktelijnen.h"

#include <charconv>
#include <cmath>
#include <system_error>
#include <unordered_set>

#include "input/karakteristiekepunten.h"
#include "shell/getallen.h"

namespace zarvo {

namespace {

constexpr std::size_t kBlok = std::size_t{1} << 20;

Melding weigering(const std::string& wat) {
  return Melding{"Fout!",
                 "De oppervlaktelijnen kunnen niet worden geschreven: " + wat +
                     ". Er is niets opgeslagen.",
                 Icoon::Kritiek};
}

// Builds the text in blocks and hands each block on, so a million points
// never sit in memory twice.
class Blokken {
 public:
  explicit Blokken(Uitvoerstroom& uit) : uit_(uit) { puffer_.reserve(kBlok + 4096); }
  std::string& puffer() { return puffer_; }
  bool regelKlaar() {
    // CRLF, as the importers' example files have it.
    puffer_.append("\r\n");
    if (puffer_.size() < kBlok) return true;
    const bool goed = uit_.schrijf(puffer_);
    puffer_.clear();
    return goed;
  }
  bool sluit() { return uit_.schrijf(puffer_); }

 private:
  Uitvoerstroom& uit_;
  std::string puffer_;
};

// A coordinate as the importers read it: '.' and no thousands separator,
// and exactly the value the store holds. Nearly all have three decimals at
// most and take the fast road; any other (a huge value, a level from the
// ditch file with more decimals) is written with the fewest digits that
// read back as the same double, never in exponent form and never cut to
// fifteen digits as the profile-lines file's conversion would.
void voegExactToe(std::string& uit, double x) {
  if (std::fabs(x) < 1e12 && std::nearbyint(x * 1000.0) / 1000.0 == x) {
    voegGetalToe(uit, x, '.');
    return;
  }
  char tekst[400];
  const auto [eind, fout] = std::to_chars(tekst, tekst + sizeof tekst, x, std::chars_format::fixed);
  if (fout == std::errc()) {
    uit.append(tekst, eind);
  } else {
    voegGetalToe(uit, x, '.');
  }
}

void voegXyzToe(std::string& uit, const Punt& p) {
  uit.push_back(';');
  voegExactToe(uit, p.x);
  uit.push_back(';');
  voegExactToe(uit, p.y);
  uit.push_back(';');
  voegExactToe(uit, p.z);
}

}  // namespace

std::string Oppervlaktelijnen::standaardNaam(std::size_t i, const std::string& bestandsnaam) const {
  // The name without its extension; a name that starts with its only dot
  // (".profielen") keeps it, as a file system's idea of a stem does.
  const std::size_t punt = bestandsnaam.rfind('.');
  const std::string stam = punt == std::string::npos || punt == 0 ? bestandsnaam : bestandsnaam.substr(0, punt);
  return "output_oppervlaktelijnen_" + stam + (i == 0 ? ".csv" : ".krp.csv");
}

std::optional<Melding> Oppervlaktelijnen::controleer(const ProfielStore& store) const {
  std::unordered_set<std::string_view> namen;
  for (const Profiel& p : store.profielen) {
    if (p.naam.empty()) return weigering("een profiel heeft geen naam");
    if (p.naam.find(';') != std::string::npos) {
      return weigering("de naam van profiel " + p.naam + " bevat een ';'");
    }
    if (!namen.insert(p.naam).second) {
      return weigering("de naam " + p.naam + " komt bij meer dan één profiel voor");
    }
    if (p.punten.size() < 2) return weigering("profiel " + p.naam + " heeft minder dan twee punten");
    bool lengte = false;
    for (const Punt& q : p.punten) {
      if (q.x != p.punten.front().x || q.y != p.punten.front().y) {
        lengte = true;
        break;
      }
    }
    if (!lengte) return weigering("profiel " + p.naam + " heeft geen lengte: al zijn punten liggen op één plek");
  }
  return std::nullopt;
}

std::vector<std::ptrdiff_t> Oppervlaktelijnen::karakteristiekePuntenVan(const ProfielStore& store,
                                                                        std::size_t p) const {
  const auto& tabel = karakteristiekePunten();
  const std::vector<Punt>& punten = store.profielen[p].punten;
  static const Bouwfeiten geen;
  const Bouwfeiten& feiten = p < feiten_.size() ? feiten_[p] : geen;
  const auto n = static_cast<std::int32_t>(punten.size());
  // A ditch whose points are not all in the profile is no ditch to the
  // importers; all four go then.
  const bool sloot = feiten.heeftSloot() && feiten.insteekPolder <= n;
  auto bodem = [&](std::size_t i) {
    const auto nummer = static_cast<std::int32_t>(i + 1);
    return sloot && (nummer == feiten.bodemDijk || nummer == feiten.bodemPolder);
  };
  // The n-th point with 'code' that is no built bottom point; -1 if none.
  auto metCode = [&](int code, int keer) -> std::ptrdiff_t {
    for (std::size_t i = 0; i < punten.size(); ++i) {
      if (heeftCode(punten[i], code) && !bodem(i) && --keer == 0) return static_cast<std::ptrdiff_t>(i);
    }
    return -1;
  };

  std::vector<std::ptrdiff_t> uit(tabel.size(), -1);
  for (std::size_t t = 0; t < tabel.size(); ++t) {
    switch (tabel[t].herkomst) {
      case Herkomst::Geen: break;
      case Herkomst::EerstePunt: uit[t] = punten.empty() ? -1 : 0; break;
      case Herkomst::LaatstePunt: uit[t] = static_cast<std::ptrdiff_t>(punten.size()) - 1; break;
      case Herkomst::InsteekDijk: uit[t] = sloot ? feiten.insteekDijk - 1 : -1; break;
      case Herkomst::BodemDijk: uit[t] = sloot ? feiten.bodemDijk - 1 : -1; break;
      case Herkomst::BodemPolder: uit[t] = sloot ? feiten.bodemPolder - 1 : -1; break;
      case Herkomst::InsteekPolder: uit[t] = sloot ? feiten.insteekPolder - 1 : -1; break;
      case Herkomst::EersteCode: uit[t] = metCode(tabel[t].code, 1); break;
      case Herkomst::TweedeCode: uit[t] = metCode(tabel[t].code, 2); break;
    }
  }
  return uit;
}

bool Oppervlaktelijnen::schrijf(std::size_t i, const ProfielStore& store, Uitvoerstroom& uit, char) const {
  Blokken blokken(uit);
  std::string& puffer = blokken.puffer();
  if (i == 0) {
    puffer.append("LOCATIONID;X1;Y1;Z1;.....;Xn;Yn;Zn;(Profiel)");
    if (!blokken.regelKlaar()) return false;
    for (const Profiel& p : store.profielen) {
      puffer.append(p.naam);
      for (const Punt& q : p.punten) voegXyzToe(puffer, q);
      if (!blokken.regelKlaar()) return false;
    }
    return blokken.sluit();
  }
  puffer.append(kopKarakteristiekePunten());
  if (!blokken.regelKlaar()) return false;
  for (std::size_t p = 0; p < store.profielen.size(); ++p) {
    const Profiel& profiel = store.profielen[p];
    puffer.append(profiel.naam);
    // Every characteristic point written is one of the line's own points,
    // so the importers always find it on the line.
    for (const std::ptrdiff_t punt : karakteristiekePuntenVan(store, p)) {
      if (punt < 0) {
        puffer.append(";-1;-1;-1");
      } else {
        voegXyzToe(puffer, profiel.punten[static_cast<std::size_t>(punt)]);
      }
    }
    if (!blokken.regelKlaar()) return false;
  }
  return blokken.sluit();
}

}  // namespace zarvo
