#include "output/oppervlaktelijnen.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>
#include <unordered_set>

#include "input/karakteristiekepunten.h"
#include "output/stukken.h"
#include "basis/bestandspad.h"
#include "basis/getallen.h"
#include "basis/parallel.h"

namespace zarvo {

namespace {

Melding weigering(const std::string& wat) {
  return Melding{"Fout!",
                 "De oppervlaktelijnen kunnen niet worden geschreven: " + wat +
                     ". Er is niets opgeslagen.",
                 Icoon::Kritiek};
}

// What a point takes at most on the fast road: three numbers and their ';'.
constexpr std::size_t kPuntTekst = 3 * (kMaxGetalTekst + 1);
// What one takes on average, for cutting the pieces.
constexpr std::size_t kGewichtPunt = 36;

// A coordinate as the importers read it: '.' and no thousands separator,
// and exactly the value the store holds. Nearly all have three decimals at
// most and take the fast road; any other (a huge value, a level from the
// ditch file with more decimals) is written with the fewest digits that
// read back as the same double, never in exponent form and never cut to
// fifteen digits as the profile-lines file's conversion would.
void voegExactToe(stukken::Tekstpuffer& uit, double x) {
  char* p = uit.ruimte(kMaxGetalTekst + 1);
  *p++ = ';';
  if (char* eind = schrijfDuizendsten(p, x, '.')) {
    uit.klaar(eind);
    return;
  }
  uit.klaar(p);
  char tekst[400];
  const auto [eind, fout] = std::to_chars(tekst, tekst + sizeof tekst, x, std::chars_format::fixed);
  if (fout == std::errc()) {
    uit.voegToe(std::string_view(tekst, static_cast<std::size_t>(eind - tekst)));
  } else {
    uit.voegToe(getalNaarTekst(x, '.'));
  }
}

void voegXyzToe(stukken::Tekstpuffer& uit, const Punt& p) {
  // The three on the fast road in one go; else one by one.
  char* begin = uit.ruimte(kPuntTekst);
  char* q = begin;
  for (const double x : {p.x, p.y, p.z}) {
    *q++ = ';';
    q = schrijfDuizendsten(q, x, '.');
    if (!q) {
      uit.klaar(begin);
      voegExactToe(uit, p.x);
      voegExactToe(uit, p.y);
      voegExactToe(uit, p.z);
      return;
    }
  }
  uit.klaar(q);
}

void voegRegeleindeToe(stukken::Tekstpuffer& uit) {
  // CRLF, as the importers' example files have it.
  uit.voegToe("\r\n");
}

// Empties a piece's buffer; the first piece of a file starts with its header.
stukken::Tekstpuffer& begin(stukken::Tekstpuffer& puffer, std::size_t stuk, std::string_view kop) {
  puffer.wis();
  if (stuk == 0) {
    puffer.voegToe(kop);
    voegRegeleindeToe(puffer);
  }
  return puffer;
}

// The surface lines from 'van' up to 'tot'. A piece that starts inside a
// profile leaves the line's name to the piece before it, one that ends
// inside leaves the line end to the piece after it; a profile without
// points lies wholly in one piece, so its line of a name alone is kept.
void formatteerLijnen(const ProfielStore& store, stukken::Plek van, stukken::Plek tot, stukken::Tekstpuffer& uit) {
  for (std::size_t p = van.profiel; p < store.profielen.size() && (p < tot.profiel || tot.punt > 0); ++p) {
    const Profiel& profiel = store.profielen[p];
    const std::size_t begin = p == van.profiel ? van.punt : 0;
    const std::size_t eind = p == tot.profiel ? tot.punt : profiel.punten.size();
    if (begin == 0) uit.voegToe(profiel.naam);
    for (std::size_t k = begin; k < eind; ++k) voegXyzToe(uit, profiel.punten[k]);
    if (p < tot.profiel) voegRegeleindeToe(uit);
    if (p == tot.profiel) break;
  }
}

// The first profile of each piece of whole profiles, then the end: the
// characteristic points of a profile are looked up over all its points.
template <class Kosten>
std::vector<std::size_t> snijInProfielen(const ProfielStore& store, std::size_t budget, Kosten kosten) {
  std::vector<std::size_t> grenzen{0};
  std::size_t gebruikt = 0;
  for (std::size_t p = 0; p < store.profielen.size(); ++p) {
    if (gebruikt >= budget) {
      grenzen.push_back(p);
      gebruikt = 0;
    }
    gebruikt += kosten(p);
  }
  grenzen.push_back(store.profielen.size());
  return grenzen;
}

}  // namespace

std::string Oppervlaktelijnen::standaardNaam(std::size_t i, const std::string& bestandsnaam) const {
  return "output_oppervlaktelijnen_" + stamVan(bestandsnaam) + (i == 0 ? ".csv" : ".krp.csv");
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
  const Profiel& profiel = store.profielen[p];
  if (profiel.karakteristiekGelezen()) {
    // Read with its characteristic points: each goes back where it was,
    // codes or not, and a built ditch brings its own four.
    for (const KarakteristiekeVerwijzing& k : profiel.karakteristiek()) {
      if (k.soort < tabel.size() && k.punt >= 0 && k.punt < n) uit[k.soort] = k.punt;
    }
    if (sloot) {
      for (std::size_t t = 0; t < tabel.size(); ++t) {
        switch (tabel[t].herkomst) {
          case Herkomst::InsteekDijk: uit[t] = feiten.insteekDijk - 1; break;
          case Herkomst::BodemDijk: uit[t] = feiten.bodemDijk - 1; break;
          case Herkomst::BodemPolder: uit[t] = feiten.bodemPolder - 1; break;
          case Herkomst::InsteekPolder: uit[t] = feiten.insteekPolder - 1; break;
          default: break;
        }
      }
    }
    return uit;
  }
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

namespace {

// The importers round the distance of each point along the line from the
// first point to the last to centimetres; a line whose distances go back
// there is refused as one that reclines.
bool isTeruglopend(const std::vector<Punt>& punten) {
  if (punten.size() < 2) return false;
  const double dx = punten.back().x - punten.front().x;
  const double dy = punten.back().y - punten.front().y;
  const double lengte = std::hypot(dx, dy);
  if (!(lengte > 0)) return false;
  double vorige = -std::numeric_limits<double>::infinity();
  for (const Punt& p : punten) {
    const double l = std::nearbyint(((p.x - punten.front().x) * dx + (p.y - punten.front().y) * dy) / lengte * 100);
    if (l < vorige) return true;
    vorige = l;
  }
  return false;
}

// "A, B, C" with at most 'max' names, then how many more.
std::string namenLijst(const std::vector<std::string>& namen, std::size_t max = 20) {
  std::string tekst;
  for (std::size_t i = 0; i < namen.size() && i < max; ++i) {
    if (i > 0) tekst += ", ";
    tekst += namen[i];
  }
  if (namen.size() > max) tekst += " en " + std::to_string(namen.size() - max) + " andere";
  return tekst;
}

}  // namespace

std::optional<Melding> Oppervlaktelijnen::waarschuwing(const ProfielStore& store) const {
  if (controleer(store)) return std::nullopt;
  const auto& tabel = karakteristiekePunten();
  std::vector<std::string> teruglopend;
  std::vector<std::string> onvolledig;
  for (std::size_t p = 0; p < store.profielen.size(); ++p) {
    const Profiel& profiel = store.profielen[p];
    if (isTeruglopend(profiel.punten)) teruglopend.push_back(profiel.naam);
    const std::vector<std::ptrdiff_t> punten = karakteristiekePuntenVan(store, p);
    std::string mist;
    for (std::size_t t = 0; t < tabel.size(); ++t) {
      if (isVerplichtKarakteristiekPunt(t) && punten[t] < 0) {
        mist += mist.empty() ? "" : ", ";
        mist += tabel[t].naam;
      }
    }
    if (!mist.empty()) onvolledig.push_back(profiel.naam + " (" + mist + ")");
  }
  if (teruglopend.empty() && onvolledig.empty()) return std::nullopt;
  std::string tekst = "De oppervlaktelijnen worden geschreven, maar de toetssoftware slaat bij het importeren "
                      "deze profielen over:";
  if (!teruglopend.empty()) {
    tekst += "\n- " + std::to_string(teruglopend.size()) +
             " met een teruglopende lijn (de afstand langs de lijn van eerste naar laatste punt neemt ergens af): " +
             namenLijst(teruglopend);
  }
  if (!onvolledig.empty()) {
    tekst += "\n- " + std::to_string(onvolledig.size()) +
             " zonder alle zes karakteristieke punten die macrostabiliteit binnenwaarts nodig heeft: " +
             namenLijst(onvolledig, 10);
  }
  return Melding{"Let op!", tekst, Icoon::Informatie};
}

// Both files are made in pieces side by side and written in order, as the
// profile-lines file is; the bytes are those of one piece.
bool Oppervlaktelijnen::schrijf(std::size_t i, const ProfielStore& store, Uitvoerstroom& uit, char) const {
  const std::size_t test = stukGrootteVoorTests();
  std::vector<stukken::Tekstpuffer> puffers(2 * aantalDraden());
  auto geef = [&](std::size_t, std::size_t plek) { return uit.schrijf(puffers[plek].tekst()); };
  if (i == 0) {
    const std::vector<stukken::Plek> grenzen =
        test > 0 ? stukken::snijInStukken(store, test, [](std::size_t) { return 1; })
                 : stukken::snijInStukken(store, stukken::kStuk, [](std::size_t) { return kGewichtPunt; });
    return maakOpVolgorde(
        grenzen.size() - 1, puffers.size(),
        [&](std::size_t stuk, std::size_t plek) {
          stukken::Tekstpuffer& puffer = begin(puffers[plek], stuk, "LOCATIONID;X1;Y1;Z1;.....;Xn;Yn;Zn;(Profiel)");
          formatteerLijnen(store, grenzen[stuk], grenzen[stuk + 1], puffer);
        },
        geef);
  }
  const std::size_t perRegel = karakteristiekePunten().size() * kGewichtPunt;
  // The Dijktafelhoogte columns only when a profile has one: files without
  // it keep the columns they always had.
  const bool metDijktafelhoogte = std::any_of(store.profielen.begin(), store.profielen.end(), [](const Profiel& q) {
    return std::any_of(q.karakteristiek().begin(), q.karakteristiek().end(),
                       [](const KarakteristiekeVerwijzing& k) { return k.soort == indexDijktafelhoogte; });
  });
  const std::string kop = kopKarakteristiekePunten(metDijktafelhoogte);
  const std::vector<std::size_t> grenzen =
      test > 0 ? snijInProfielen(store, test, [](std::size_t) { return 1; })
               : snijInProfielen(store, stukken::kStuk, [&](std::size_t p) {
                   // The line, and the search for the coded points along the profile.
                   return perRegel + store.profielen[p].naam.size() + store.profielen[p].punten.size();
                 });
  return maakOpVolgorde(
      grenzen.size() - 1, puffers.size(),
      [&](std::size_t stuk, std::size_t plek) {
        stukken::Tekstpuffer& puffer = begin(puffers[plek], stuk, kop);
        for (std::size_t p = grenzen[stuk]; p < grenzen[stuk + 1]; ++p) {
          const Profiel& profiel = store.profielen[p];
          puffer.voegToe(profiel.naam);
          // Every characteristic point written is one of the line's own
          // points, so the importers always find it on the line.
          const std::vector<std::ptrdiff_t> punten = karakteristiekePuntenVan(store, p);
          for (std::size_t t = 0; t < punten.size(); ++t) {
            const std::ptrdiff_t punt = punten[t];
            if (t == indexDijktafelhoogte && !metDijktafelhoogte) continue;
            if (punt < 0) {
              puffer.voegToe(";-1;-1;-1");
            } else {
              voegXyzToe(puffer, profiel.punten[static_cast<std::size_t>(punt)]);
            }
          }
          voegRegeleindeToe(puffer);
        }
      },
      geef);
}

}  // namespace zarvo
