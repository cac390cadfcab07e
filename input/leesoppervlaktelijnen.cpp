#include "input/leesoppervlaktelijnen.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <limits>
#include <memory>
#include <unordered_map>
#include <utility>
#include <vector>

#include "input/invoerbestand.h"
#include "input/karakteristiekepunten.h"
#include "basis/bestandspad.h"
#include "basis/getallen.h"

// What the importers' readers and ours accept differs here and there; we
// take what either takes: a UTF-8 byte-order mark, CRLF or LF, blank lines
// (also lines of nothing but ';'), blanks around fields and trailing empty
// fields (files padded to one width are common). Header names are compared
// without regard to case, and in the characteristic points '_' and ' ' count
// as the same, so the misspelt "Y_Insteek_sloot dijkzijde" that the
// importers expect and a correct spelling both read.

namespace zarvo {

namespace {

constexpr std::size_t geenPunt = std::numeric_limits<std::size_t>::max();

bool isBlank(char c) { return c == ' ' || c == '\t'; }


// Lower case, '_' as ' ', blanks collapsed: the form header names are
// compared in.
std::string normaliseer(std::string_view t) {
  std::string uit;
  for (char c : trimBlanks(t)) {
    if (c == '_' || isBlank(c)) {
      if (!uit.empty() && uit.back() != ' ') uit.push_back(' ');
    } else {
      uit.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
    }
  }
  return uit;
}

// Splits on ';' into 'velden' (reused between lines to spare allocations).
void splits(std::string_view regel, std::vector<std::string_view>& velden) {
  velden.clear();
  std::size_t begin = 0;
  while (true) {
    const std::size_t puntkomma = regel.find(';', begin);
    if (puntkomma == std::string_view::npos) {
      velden.push_back(regel.substr(begin));
      return;
    }
    velden.push_back(regel.substr(begin, puntkomma - begin));
    begin = puntkomma + 1;
  }
}

// The number of fields up to the last that is not blank.
std::size_t zonderLegeStaart(const std::vector<std::string_view>& velden) {
  std::size_t n = velden.size();
  while (n > 0 && trimBlanks(velden[n - 1]).empty()) --n;
  return n;
}

std::string citaat(std::string_view t) {
  constexpr std::size_t max = 40;
  std::string uit(1, '"');
  uit.append(t.substr(0, max));
  if (t.size() > max) uit += "...";
  uit += '"';
  return uit;
}

Melding fout(std::string tekst) { return Melding{"Fout!", std::move(tekst), Icoon::Kritiek}; }

// Reads the whole file into 'inhoud'. Surface lines hold a profile a line,
// so a line can be long, and both files are read whole: they are several
// times smaller than a profile-lines file of the same points.
std::optional<Melding> leesHeel(const std::string& pad, std::string& inhoud) {
  Invoerfout waarom;
  const Bestand bestand = openInvoer(pad, waarom);
  if (!bestand) return fout(waarom.tekst);
  std::error_code ec;
  const std::uintmax_t grootte = std::filesystem::file_size(padUitUtf8(pad), ec);
  if (!ec) inhoud.reserve(static_cast<std::size_t>(grootte) + 1);
  char blok[1 << 16];
  while (true) {
    const std::size_t n = std::fread(blok, 1, sizeof blok, bestand.get());
    inhoud.append(blok, n);
    if (n < sizeof blok) {
      if (std::ferror(bestand.get())) return fout("Fout bij het lezen van bestand " + pad + ".");
      break;
    }
  }
  if (inhoud.size() >= 3 && std::memcmp(inhoud.data(), "\xEF\xBB\xBF", 3) == 0) inhoud.erase(0, 3);
  return std::nullopt;
}

// Walks the lines of a file read whole; the line end ('\n', '\r\n') is
// not part of a line. Its errors name the file and the line walked last.
class Regels {
 public:
  Regels(std::string_view inhoud, const std::string& pad) : rest_(inhoud), pad_(pad) {}
  bool volgende(std::string_view& regel) {
    if (klaar_) return false;
    const std::size_t nl = rest_.find('\n');
    if (nl == std::string_view::npos) {
      regel = rest_;
      klaar_ = true;
      // A file ending in a line end has no line after it.
      if (regel.empty()) return false;
    } else {
      regel = rest_.substr(0, nl);
      rest_.remove_prefix(nl + 1);
    }
    if (!regel.empty() && regel.back() == '\r') regel.remove_suffix(1);
    ++nummer_;
    return true;
  }
  std::size_t nummer() const { return nummer_; }
  std::size_t gelezen(std::size_t totaal) const { return totaal - rest_.size(); }
  Melding foutOpRegel(const std::string& wat) const;

 private:
  std::string_view rest_;
  const std::string& pad_;
  std::size_t nummer_ = 0;
  bool klaar_ = false;
};

bool isLeeg(const std::vector<std::string_view>& velden) { return zonderLegeStaart(velden) == 0; }

std::string regelFout(const std::string& pad, std::size_t regel, const std::string& wat) {
  std::string tekst = "Fout in bestand ";
  tekst += pad;
  tekst += ", regel ";
  tekst += std::to_string(regel);
  tekst += ": ";
  tekst += wat;
  tekst += '.';
  return tekst;
}

Melding Regels::foutOpRegel(const std::string& wat) const { return fout(regelFout(pad_, nummer_, wat)); }

struct Xyz {
  double x, y, z;
};

// One row of the characteristic points: the line it stood on and its
// points, rounded as the surface lines are; absent points are empty.
struct KrpRij {
  std::size_t regel = 0;
  std::array<std::optional<Xyz>, aantalKarakteristiekePunten> punten;
};

std::optional<Melding> leesKrp(const std::string& pad, std::unordered_map<std::string, KrpRij>& rijen) {
  std::string inhoud;
  if (auto f = leesHeel(pad, inhoud)) return f;
  Regels regels(inhoud, pad);
  std::string_view regel;
  std::vector<std::string_view> velden;

  const auto& tabel = karakteristiekePunten();
  // Per column of the header: which point and which of X, Y, Z; the id
  // column and a "Volgnummer" column (which the importers ignore) are
  // marked apart.
  constexpr std::size_t kolomId = geenPunt - 1;
  std::vector<std::pair<std::size_t, int>> kolommen;
  std::size_t idKolom = 0;
  bool kopGelezen = false;
  while (regels.volgende(regel)) {
    splits(regel, velden);
    if (isLeeg(velden)) continue;
    if (!kopGelezen) {
      const std::size_t n = zonderLegeStaart(velden);
      std::array<int, aantalKarakteristiekePunten> gezien{};
      kolommen.assign(n, {geenPunt, 0});
      bool idGezien = false;
      for (std::size_t k = 0; k < n; ++k) {
        const std::string naam = normaliseer(velden[k]);
        if (naam == "locationid" || naam == "profielnaam") {
          if (idGezien) {
            return regels.foutOpRegel("kolom " + std::to_string(k + 1) + " " + citaat(trimBlanks(velden[k])) +
                                      " is de tweede kolom met de naam van de locatie");
          }
          idGezien = true;
          idKolom = k;
          kolommen[k] = {kolomId, 0};
          continue;
        }
        if (naam == "volgnummer") continue;
        std::size_t gevonden = geenPunt;
        int as = -1;
        if (naam.size() > 2 && naam[1] == ' ' && (naam[0] == 'x' || naam[0] == 'y' || naam[0] == 'z')) {
          as = naam[0] - 'x';
          for (std::size_t t = 0; t < tabel.size(); ++t) {
            if (normaliseer(tabel[t].naam) == naam.substr(2)) gevonden = t;
          }
        }
        if (gevonden == geenPunt) {
          return regels.foutOpRegel("kolom " + std::to_string(k + 1) + " " + citaat(trimBlanks(velden[k])) +
                           " is geen LOCATIONID, Volgnummer of X_, Y_ of Z_ van een bekend karakteristiek punt");
        }
        if (gezien[gevonden] & (1 << as)) {
          return regels.foutOpRegel("kolom " + std::to_string(k + 1) + " " + citaat(trimBlanks(velden[k])) + " staat twee keer in de kop");
        }
        gezien[gevonden] |= 1 << as;
        kolommen[k] = {gevonden, as};
      }
      if (!idGezien) {
        return regels.foutOpRegel("de kop heeft geen kolom LOCATIONID (of Profielnaam) voor de naam van de locatie");
      }
      for (std::size_t t = 0; t < tabel.size(); ++t) {
        if (gezien[t] != 0 && gezien[t] != 7) {
          return regels.foutOpRegel("van het karakteristieke punt " + std::string(tabel[t].naam) +
                           " staan niet alle drie de kolommen X_, Y_ en Z_ in de kop");
        }
      }
      kopGelezen = true;
      continue;
    }

    const std::string_view naam = idKolom < velden.size() ? trimBlanks(velden[idKolom]) : std::string_view();
    if (naam.empty()) return regels.foutOpRegel("de LOCATIONID (veld " + std::to_string(idKolom + 1) + ") ontbreekt");
    const std::size_t n = zonderLegeStaart(velden);
    if (n > kolommen.size()) {
      return regels.foutOpRegel("veld " + std::to_string(n) + " valt buiten de kolommen van de kop");
    }
    KrpRij rij;
    rij.regel = regels.nummer();
    std::array<std::array<std::optional<double>, 3>, aantalKarakteristiekePunten> waarden{};
    for (std::size_t k = 0; k < n; ++k) {
      if (kolommen[k].first >= kolomId) continue;  // the id, or a column read past
      const std::string_view t = trimBlanks(velden[k]);
      if (t.empty()) continue;
      const auto getal = leesGetalPunt(t);
      if (!getal) {
        return regels.foutOpRegel("veld " + std::to_string(k + 1) + " " + citaat(t) +
                         " is geen getal; gebruik een punt als decimaalteken en geen scheiding van duizendtallen");
      }
      waarden[kolommen[k].first][static_cast<std::size_t>(kolommen[k].second)] = *getal;
    }
    for (std::size_t t = 0; t < tabel.size(); ++t) {
      const auto& w = waarden[t];
      const int aantal = (w[0] ? 1 : 0) + (w[1] ? 1 : 0) + (w[2] ? 1 : 0);
      if (aantal == 0) continue;  // the row stops short of it, or its fields are empty
      if (aantal < 3) {
        return regels.foutOpRegel("van het karakteristieke punt " + std::string(tabel[t].naam) +
                         " ontbreekt een van X, Y en Z");
      }
      if (*w[0] == -1 && *w[1] == -1 && *w[2] == -1) continue;  // absent
      rij.punten[t] = Xyz{rondAf3(*w[0]), rondAf3(*w[1]), rondAf3(*w[2])};
    }
    const auto [plek, nieuw] = rijen.try_emplace(std::string(naam), std::move(rij));
    if (!nieuw) {
      return regels.foutOpRegel("de LOCATIONID " + std::string(naam) + " staat ook al op regel " +
                       std::to_string(plek->second.regel));
    }
  }
  if (!kopGelezen) return fout("Het bestand " + pad + " is leeg: er staat geen kop in.");
  return std::nullopt;
}

// A point dropped as a double, kept to find characteristic points on it.
struct Vervallen {
  std::size_t profiel;
  std::size_t opPunt;  // the kept point it doubles (0-based)
  Xyz xyz;
};

// Gives the points of 'profiel' the codes of the characteristic points in
// 'rij' and keeps each as a reference to its point. One that lies on no
// point of the line is left out with a warning: the importers skip such a
// point too, and the rest of the file is good.
void zetCodes(Profiel& profiel, std::size_t index, const KrpRij& rij, const std::vector<Vervallen>& vervallen,
              const std::string& krpPad, MeldingSink& sink) {
  const auto& tabel = karakteristiekePunten();
  profiel.karakteristiekGelezen = true;
  // Per point, the characteristic points on it in order of precedence;
  // few per profile, so a short list of (point, table row) does.
  std::vector<std::pair<std::size_t, std::size_t>> opPunt;
  for (std::size_t t = 0; t < tabel.size(); ++t) {
    if (!rij.punten[t]) continue;
    const Xyz& k = *rij.punten[t];
    std::size_t gevonden = geenPunt;
    for (std::size_t i = 0; i < profiel.punten.size(); ++i) {
      const Punt& p = profiel.punten[i];
      if (p.x == k.x && p.y == k.y && p.z == k.z) {
        gevonden = i;
        break;
      }
    }
    if (gevonden == geenPunt) {
      for (const Vervallen& v : vervallen) {
        if (v.profiel == index && v.xyz.x == k.x && v.xyz.y == k.y && v.xyz.z == k.z) gevonden = v.opPunt;
      }
    }
    if (gevonden == geenPunt) {
      sink.meld(Melding{"Let op!",
                        "In bestand " + krpPad + ", regel " + std::to_string(rij.regel) +
                            ": het karakteristieke punt " + std::string(tabel[t].naam) + " van locatie " +
                            profiel.naam + " (" + getalNaarTekst(k.x) + "; " + getalNaarTekst(k.y) + "; " +
                            getalNaarTekst(k.z) + ") ligt op geen enkel punt van de oppervlaktelijn en is weggelaten.",
                        Icoon::Informatie});
      continue;
    }
    profiel.karakteristiek.push_back({static_cast<std::uint8_t>(t), static_cast<std::int32_t>(gevonden)});
    if (tabel[t].leesCode != 0) opPunt.emplace_back(gevonden, t);
  }
  std::sort(opPunt.begin(), opPunt.end(), [&](const auto& a, const auto& b) {
    return a.first != b.first ? a.first < b.first : tabel[a.second].voorrang < tabel[b.second].voorrang;
  });
  for (std::size_t i = 0; i < opPunt.size();) {
    Punt& p = profiel.punten[opPunt[i].first];
    const int eerste = tabel[opPunt[i].second].leesCode;
    int tweede = eerste;
    std::size_t j = i + 1;
    for (; j < opPunt.size() && opPunt[j].first == opPunt[i].first; ++j) {
      if (tweede == eerste) tweede = tabel[opPunt[j].second].leesCode;
    }
    p.veld1 = Cel(static_cast<double>(eerste));
    p.veld2 = Cel(static_cast<double>(tweede));
    i = j;
  }
}

// Where a surface-lines header has its id column and its X1: the id column
// is LOCATIONID or PROFIELNAAM and stands before X1;Y1;Z1; other columns
// before X1 (a sequence number, say) are skipped, as the importers do.
struct KopLijnen {
  std::size_t id;
  std::size_t x1;
};

std::optional<KopLijnen> leesKopLijnen(const std::vector<std::string_view>& velden) {
  std::size_t x1 = 0;
  while (x1 < velden.size() && normaliseer(velden[x1]) != "x1") ++x1;
  if (x1 + 2 >= velden.size() || normaliseer(velden[x1 + 1]) != "y1" || normaliseer(velden[x1 + 2]) != "z1") {
    return std::nullopt;
  }
  std::optional<std::size_t> id;
  for (std::size_t k = 0; k < x1; ++k) {
    const std::string naam = normaliseer(velden[k]);
    if (naam == "locationid" || naam == "profielnaam") {
      if (id) return std::nullopt;  // which of the two would be the name?
      id = k;
    }
  }
  if (!id) return std::nullopt;
  return KopLijnen{*id, x1};
}

}  // namespace

bool isKopOppervlaktelijnen(std::string_view regel) {
  if (regel.size() >= 3 && std::memcmp(regel.data(), "\xEF\xBB\xBF", 3) == 0) regel.remove_prefix(3);
  std::vector<std::string_view> velden;
  splits(regel.substr(0, std::min<std::size_t>(regel.size(), 256)), velden);
  return leesKopLijnen(velden).has_value();
}

bool isOppervlaktelijnenBestand(const std::string& pad) {
  Invoerfout waarom;
  const Bestand bestand = openInvoer(pad, waarom);
  if (!bestand) return false;
  char begin[4096];
  const std::size_t n = std::fread(begin, 1, sizeof begin, bestand.get());
  std::string_view regel(begin, n);
  regel = regel.substr(0, regel.find('\n'));
  if (isKopOppervlaktelijnen(regel)) return true;
  return regel.find(';') != std::string_view::npos && regel.find(',') == std::string_view::npos;
}

std::string standaardKarakteristiekePunten(const std::string& pad) {
  std::string stam = pad;
  if (stam.size() >= 4 && normaliseer(std::string_view(stam).substr(stam.size() - 4)) == ".csv") {
    stam.resize(stam.size() - 4);
  }
  return stam + ".krp.csv";
}

std::string gevondenKarakteristiekePunten(const std::string& pad) {
  std::error_code ec;
  std::string standaard = standaardKarakteristiekePunten(pad);
  // Not only a regular file: a folder or a pipe under that name is read as
  // well, so that the reader says what it is instead of the codes going
  // missing unsaid.
  if (std::filesystem::exists(padUitUtf8(standaard), ec)) return standaard;
  return {};
}

std::optional<Melding> leesOppervlaktelijnen(ProfielStore& store, const std::string& pad,
                                             const std::string& krpPad, MeldingSink& sink,
                                             char decimaalteken, const Voortgang& voortgang) {
  if (pad.empty()) return fout("Er is geen profielbestand gekozen.");
  std::unordered_map<std::string, KrpRij> krp;
  if (!krpPad.empty()) {
    if (auto f = leesKrp(krpPad, krp)) return f;
  }

  std::string inhoud;
  if (auto f = leesHeel(pad, inhoud)) return f;
  Regels regels(inhoud, pad);
  std::string_view regel;
  std::vector<std::string_view> velden;

  std::vector<Profiel> profielen;
  std::unordered_map<std::string_view, std::size_t> regelVanNaam;
  std::vector<Vervallen> vervallen;
  std::size_t meeste = 0;
  bool kopGelezen = false;
  KopLijnen kop{0, 1};
  std::size_t volgendeVoortgang = 0;
  while (regels.volgende(regel)) {
    if (voortgang && regels.nummer() >= volgendeVoortgang) {
      voortgang(regels.gelezen(inhoud.size()), inhoud.size());
      volgendeVoortgang = regels.nummer() + 1000;
    }
    splits(regel, velden);
    if (isLeeg(velden)) continue;
    if (!kopGelezen) {
      const auto gevonden = leesKopLijnen(velden);
      if (!gevonden) {
        return regels.foutOpRegel("dit is geen kop van oppervlaktelijnen; die begint met LOCATIONID;X1;Y1;Z1 (of "
                         "PROFIELNAAM;X1;Y1;Z1, eventueel met andere kolommen voor X1)");
      }
      kop = *gevonden;
      kopGelezen = true;
      continue;
    }
    if (velden.size() < 2) return regels.foutOpRegel("de regel bevat geen ';'");
    const std::string_view naam = kop.id < velden.size() ? trimBlanks(velden[kop.id]) : std::string_view();
    if (naam.empty()) return regels.foutOpRegel("de LOCATIONID (veld " + std::to_string(kop.id + 1) + ") ontbreekt");
    // As in the profile-lines reader: the result file separates by TAB and CRLF.
    if (naam.find_first_of("\t\r") != std::string_view::npos) {
      return regels.foutOpRegel("de LOCATIONID bevat een tab of een losse regelterugloop; die kunnen niet in het "
                       "resultaatbestand staan");
    }
    const std::size_t n = zonderLegeStaart(velden);
    const std::size_t aantalWaarden = n > kop.x1 ? n - kop.x1 : 0;
    if (aantalWaarden == 0) return regels.foutOpRegel("de oppervlaktelijn van " + std::string(naam) + " heeft geen punten");
    if (aantalWaarden % 3 != 0) {
      return regels.foutOpRegel("de regel heeft " + std::to_string(aantalWaarden) +
                       " getallen na de LOCATIONID; dat is geen veelvoud van drie (X, Y, Z per punt)");
    }
    const auto [plek, nieuw] = regelVanNaam.try_emplace(naam, regels.nummer());
    if (!nieuw) {
      return regels.foutOpRegel("de LOCATIONID " + std::string(naam) + " staat ook al op regel " + std::to_string(plek->second));
    }
    Profiel& profiel = profielen.emplace_back();
    profiel.naam.assign(naam);
    profiel.punten.reserve(aantalWaarden / 3);
    for (std::size_t k = kop.x1; k < n; k += 3) {
      double xyz[3];
      for (std::size_t a = 0; a < 3; ++a) {
        const std::string_view t = trimBlanks(velden[k + a]);
        const auto getal = leesGetalAfgerond(t);
        if (!getal) {
          if (t.empty()) return regels.foutOpRegel("veld " + std::to_string(k + a + 1) + " is leeg");
          return regels.foutOpRegel("veld " + std::to_string(k + a + 1) + " " + citaat(t) +
                           " is geen getal; gebruik een punt als decimaalteken en geen scheiding van duizendtallen");
        }
        xyz[a] = *getal;
      }
      // Another Z on the same X,Y is a vertical segment (a ditch wall of
      // slope factor 0), which the importers take; only a full repeat is
      // a double point.
      if (!profiel.punten.empty() && profiel.punten.back().x == xyz[0] && profiel.punten.back().y == xyz[1] &&
          profiel.punten.back().z == xyz[2]) {
        const Punt& vorig = profiel.punten.back();
        sink.meld(meldingDubbelPunt(profiel.naam, vorig.x, vorig.y, xyz[0], xyz[1], decimaalteken));
        vervallen.push_back({profielen.size() - 1, profiel.punten.size() - 1, {xyz[0], xyz[1], xyz[2]}});
        continue;
      }
      profiel.punten.push_back(Punt{Cel(99.0), Cel(999.0), xyz[0], xyz[1], xyz[2]});
    }
    meeste = std::max(meeste, profiel.punten.size());
  }
  if (!kopGelezen) return fout("Het bestand " + pad + " is leeg: er staat geen kop in.");
  if (profielen.empty()) return fout("Het bestand " + pad + " bevat geen profielen: er staat geen oppervlaktelijn in.");
  if (profielen.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()) ||
      meeste > static_cast<std::size_t>((std::numeric_limits<std::int32_t>::max() - 1) / 3)) {
    return fout("Het bestand " + pad + " bevat te veel profielen of punten.");
  }

  // Rows of the characteristic points without a surface line are normal:
  // those files often cover a whole trajectory.
  for (std::size_t i = 0; i < profielen.size(); ++i) {
    const auto rij = krp.find(profielen[i].naam);
    if (rij == krp.end()) continue;
    zetCodes(profielen[i], i, rij->second, vervallen, krpPad, sink);
  }
  if (voortgang) voortgang(inhoud.size(), inhoud.size());

  store.profielen = std::move(profielen);
  store.zetGrenzen(static_cast<std::int32_t>(1 + 3 * meeste), static_cast<std::int32_t>(1 + 2 * meeste));
  return std::nullopt;
}

}  // namespace zarvo
