#include "input/leesoppervlaktelijnen.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <deque>
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

std::string citaat(std::string_view t) {
  constexpr std::size_t max = 40;
  std::string uit(1, '"');
  uit.append(t.substr(0, max));
  if (t.size() > max) uit += "...";
  uit += '"';
  return uit;
}

Melding fout(std::string tekst) { return Melding{"Fout!", std::move(tekst), Icoon::Kritiek}; }

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

// Gives a ';'-separated file field by field, reading it in blocks. A
// surface line holds a whole profile, so one line can be nearly the whole
// file; only the field at hand is kept, and an error on the third line is
// found without reading the rest. A byte-order mark at the start and a '\r'
// before a line end are not part of any field.
class Veldstroom {
 public:
  // Fields are numbers and names: a longer one is no surface-lines file.
  static constexpr std::size_t maxVeld = std::size_t{1} << 20;

  Veldstroom(std::FILE* bestand, const std::string& pad) : bestand_(bestand), pad_(pad), blok_(1 << 16) {}

  // The next field; false at the end of the file or on an error (fout()).
  // 'laatste' is true when the field ends its line.
  bool volgende(std::string_view& veld, bool& laatste) {
    if (regelKlaar_) {
      ++regel_;
      veld_ = 0;
      regelKlaar_ = false;
    }
    deel_.clear();
    bool inDeel = false;
    while (true) {
      if (pos_ == eind_ && !vul()) {
        if (fout_ || !begonnen_) return false;
        // The last line has no line end.
        veld = zonderCr(deel_);
        laatste = true;
        regelKlaar_ = true;
        begonnen_ = false;
        ++veld_;
        return true;
      }
      const char* begin = blok_.data() + pos_;
      const char* eind = blok_.data() + eind_;
      const char* p = begin;
      while (p != eind && *p != ';' && *p != '\n') ++p;
      begonnen_ = true;
      if (p == eind) {
        deel_.append(begin, eind);
        inDeel = true;
        pos_ = eind_;
        if (deel_.size() > maxVeld) {
          fout_ = zarvo::fout(regelFout(pad_, regel_, "veld " + std::to_string(veld_ + 1) + " is langer dan " +
                                                   std::to_string(maxVeld) + " tekens"));
          return false;
        }
        continue;
      }
      pos_ = static_cast<std::size_t>(p - blok_.data()) + 1;
      const std::string_view stuk(begin, static_cast<std::size_t>(p - begin));
      if (inDeel) {
        deel_.append(stuk);
        veld = deel_;
      } else {
        veld = stuk;
      }
      laatste = *p == '\n';
      if (laatste) {
        veld = zonderCr(veld);
        regelKlaar_ = true;
        begonnen_ = false;
      }
      ++veld_;
      return true;
    }
  }
  // The line of the field given last (1-based), and that field (1-based).
  std::size_t regel() const { return regel_; }
  std::size_t veld() const { return veld_; }
  std::uint64_t gelezen() const { return gelezen_ - (eind_ - pos_); }
  std::optional<Melding>& fout() { return fout_; }
  Melding foutOpRegel(const std::string& wat) const { return zarvo::fout(regelFout(pad_, regel_, wat)); }

 private:
  static std::string_view zonderCr(std::string_view t) {
    if (!t.empty() && t.back() == '\r') t.remove_suffix(1);
    return t;
  }
  bool vul() {
    const std::size_t n = std::fread(blok_.data(), 1, blok_.size(), bestand_);
    if (n == 0 && std::ferror(bestand_)) fout_ = zarvo::fout("Fout bij het lezen van bestand " + pad_ + ".");
    pos_ = 0;
    eind_ = n;
    if (gelezen_ == 0 && n >= 3 && std::memcmp(blok_.data(), "\xEF\xBB\xBF", 3) == 0) pos_ = 3;
    gelezen_ += n;
    return n > 0;
  }

  std::FILE* bestand_;
  const std::string& pad_;
  std::vector<char> blok_;
  std::size_t pos_ = 0, eind_ = 0;
  std::uint64_t gelezen_ = 0;
  std::string deel_;  // a field that runs across blocks
  std::size_t regel_ = 1, veld_ = 0;
  bool regelKlaar_ = false, begonnen_ = false;
  std::optional<Melding> fout_;
};

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
  Invoerfout waarom;
  const Bestand bestand = openInvoer(pad, waarom);
  if (!bestand) return fout(waarom.tekst);
  Veldstroom stroom(bestand.get(), pad);

  const auto& tabel = karakteristiekePunten();
  // Per column of the header: which point and which of X, Y, Z; the id
  // column and a "Volgnummer" column (which the importers ignore) are
  // marked apart.
  constexpr std::size_t kolomId = geenPunt - 1;
  constexpr std::size_t kolomVolgnummer = geenPunt - 2;
  std::vector<std::pair<std::size_t, int>> kolommen;
  std::array<int, aantalKarakteristiekePunten> gezien{};
  std::size_t idKolom = 0;
  bool idGezien = false;
  bool kopGelezen = false;

  // The line at hand. Blank fields are held back until a field that is not
  // blank follows: trailing empty fields are allowed, and a line of blank
  // fields is skipped.
  std::size_t k = 0;
  std::size_t leegVanaf = 0, leeg = 0;
  std::string naam;
  std::array<std::array<std::optional<double>, 3>, aantalKarakteristiekePunten> waarden{};

  // One header field that is not blank, at column 'kolom'.
  auto kopVeld = [&](std::size_t kolom, std::string_view t) -> std::optional<Melding> {
    const std::string genormaliseerd = normaliseer(t);
    kolommen.resize(kolom + 1, {kolomVolgnummer, 0});
    if (genormaliseerd == "locationid" || genormaliseerd == "profielnaam") {
      if (idGezien) {
        return stroom.foutOpRegel("kolom " + std::to_string(kolom + 1) + " " + citaat(trimBlanks(t)) +
                                  " is de tweede kolom met de naam van de locatie");
      }
      idGezien = true;
      idKolom = kolom;
      kolommen[kolom] = {kolomId, 0};
      return std::nullopt;
    }
    if (genormaliseerd == "volgnummer") return std::nullopt;
    std::size_t gevonden = geenPunt;
    int as = -1;
    if (genormaliseerd.size() > 2 && genormaliseerd[1] == ' ' &&
        (genormaliseerd[0] == 'x' || genormaliseerd[0] == 'y' || genormaliseerd[0] == 'z')) {
      as = genormaliseerd[0] - 'x';
      for (std::size_t r = 0; r < tabel.size(); ++r) {
        if (normaliseer(tabel[r].naam) == genormaliseerd.substr(2)) gevonden = r;
      }
    }
    if (gevonden == geenPunt) {
      return stroom.foutOpRegel("kolom " + std::to_string(kolom + 1) + " " + citaat(trimBlanks(t)) +
                                " is geen LOCATIONID, Volgnummer of X_, Y_ of Z_ van een bekend karakteristiek punt");
    }
    if (gezien[gevonden] & (1 << as)) {
      return stroom.foutOpRegel("kolom " + std::to_string(kolom + 1) + " " + citaat(trimBlanks(t)) +
                                " staat twee keer in de kop");
    }
    gezien[gevonden] |= 1 << as;
    kolommen[kolom] = {gevonden, as};
    return std::nullopt;
  };
  // One field of a row that is not blank.
  auto rijVeld = [&](std::size_t kolom, std::string_view t) -> std::optional<Melding> {
    if (kolom >= kolommen.size()) {
      return stroom.foutOpRegel("veld " + std::to_string(kolom + 1) + " valt buiten de kolommen van de kop");
    }
    if (kolommen[kolom].first == kolomId) {
      naam.assign(t);
      return std::nullopt;
    }
    if (kolommen[kolom].first == kolomVolgnummer) return std::nullopt;
    const auto getal = leesGetalPunt(t);
    if (!getal) {
      return stroom.foutOpRegel("veld " + std::to_string(kolom + 1) + " " + citaat(t) +
                                " is geen getal; gebruik een punt als decimaalteken en geen scheiding van duizendtallen");
    }
    waarden[kolommen[kolom].first][static_cast<std::size_t>(kolommen[kolom].second)] = *getal;
    return std::nullopt;
  };
  // The end of a line that had a field that is not blank.
  auto regelKlaar = [&]() -> std::optional<Melding> {
    if (!kopGelezen) {
      if (!idGezien) {
        return stroom.foutOpRegel("de kop heeft geen kolom LOCATIONID (of Profielnaam) voor de naam van de locatie");
      }
      for (std::size_t r = 0; r < tabel.size(); ++r) {
        if (gezien[r] != 0 && gezien[r] != 7) {
          return stroom.foutOpRegel("van het karakteristieke punt " + std::string(tabel[r].naam) +
                                    " staan niet alle drie de kolommen X_, Y_ en Z_ in de kop");
        }
      }
      kopGelezen = true;
      return std::nullopt;
    }
    if (naam.empty()) return stroom.foutOpRegel("de LOCATIONID (veld " + std::to_string(idKolom + 1) + ") ontbreekt");
    KrpRij rij;
    rij.regel = stroom.regel();
    for (std::size_t r = 0; r < tabel.size(); ++r) {
      const auto& w = waarden[r];
      const int aantal = (w[0] ? 1 : 0) + (w[1] ? 1 : 0) + (w[2] ? 1 : 0);
      if (aantal == 0) continue;  // the row stops short of it, or its fields are empty
      if (aantal < 3) {
        return stroom.foutOpRegel("van het karakteristieke punt " + std::string(tabel[r].naam) +
                                  " ontbreekt een van X, Y en Z");
      }
      if (*w[0] == -1 && *w[1] == -1 && *w[2] == -1) continue;  // absent
      rij.punten[r] = Xyz{rondAf3(*w[0]), rondAf3(*w[1]), rondAf3(*w[2])};
    }
    const auto [plek, nieuw] = rijen.try_emplace(naam, std::move(rij));
    if (!nieuw) {
      return stroom.foutOpRegel("de LOCATIONID " + naam + " staat ook al op regel " + std::to_string(plek->second.regel));
    }
    return std::nullopt;
  };

  std::string_view veld;
  bool laatste = false;
  bool inhoud = false;  // the line has a field that is not blank
  while (stroom.volgende(veld, laatste)) {
    const std::string_view t = trimBlanks(veld);
    if (t.empty()) {
      if (leeg++ == 0) leegVanaf = k;
    } else {
      // Blank fields before this one are empty columns: in the header
      // they are refused, in a row they are values left out.
      if (!kopGelezen && leeg > 0) {
        if (auto f = kopVeld(leegVanaf, std::string_view())) return f;
      }
      leeg = 0;
      inhoud = true;
      if (auto f = kopGelezen ? rijVeld(k, t) : kopVeld(k, veld)) return f;
    }
    ++k;
    if (!laatste) continue;
    if (inhoud) {
      if (auto f = regelKlaar()) return f;
    }
    k = leeg = 0;
    inhoud = false;
    naam.clear();
    waarden = {};
  }
  if (stroom.fout()) return std::move(*stroom.fout());
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
  profiel.zetKarakteristiekGelezen();
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
    profiel.karakteristiekBewerken().push_back({static_cast<std::uint8_t>(t), static_cast<std::int32_t>(gevonden)});
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

template <class Velden>
std::optional<KopLijnen> leesKopLijnen(const Velden& velden) {
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

// Which profile read so far has a name, in a few bytes a profile: the
// profiles' positions hashed by their names, looked up by linear probing.
// A map from names would keep a second copy of every name and a node for
// each, which a file of a million tiny profiles would feel.
class Namenindex {
 public:
  static constexpr std::size_t geen = std::numeric_limits<std::size_t>::max();

  explicit Namenindex(const Profielen& profielen) : profielen_(profielen), vakken_(16, leeg) {}

  std::size_t zoek(std::string_view naam) const {
    for (std::size_t i = std::hash<std::string_view>{}(naam) & (vakken_.size() - 1);; i = (i + 1) & (vakken_.size() - 1)) {
      if (vakken_[i] == leeg) return geen;
      if (profielen_[vakken_[i]].naam == naam) return vakken_[i];
    }
  }
  // 'index' is the position of a profile whose name is not in yet.
  void voegToe(std::size_t index) {
    if (2 * (aantal_ + 1) > vakken_.size()) {
      std::vector<std::uint32_t> oud(2 * vakken_.size(), leeg);
      oud.swap(vakken_);
      for (std::uint32_t v : oud) {
        if (v != leeg) plaats(v);
      }
    }
    plaats(static_cast<std::uint32_t>(index));
    ++aantal_;
  }
  void wis() { vakken_ = {}; }

 private:
  static constexpr std::uint32_t leeg = std::numeric_limits<std::uint32_t>::max();
  void plaats(std::uint32_t v) {
    std::size_t i = std::hash<std::string_view>{}(profielen_[v].naam) & (vakken_.size() - 1);
    while (vakken_[i] != leeg) i = (i + 1) & (vakken_.size() - 1);
    vakken_[i] = v;
  }

  const Profielen& profielen_;
  std::vector<std::uint32_t> vakken_;
  std::size_t aantal_ = 0;
};

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

  Invoerfout waarom;
  const Bestand bestand = openInvoer(pad, waarom);
  if (!bestand) return fout(waarom.tekst);
  std::error_code ec;
  const std::uintmax_t grootte = std::filesystem::file_size(padUitUtf8(pad), ec);
  Veldstroom stroom(bestand.get(), pad);

  // Lines are gathered in a deque: it grows without moving them (the name
  // index points into their names) and without the spare half a growing
  // vector keeps, which a file of tiny profiles would feel.
  Profielen profielen;
  Namenindex namen(profielen);
  std::vector<std::size_t> regelVan;  // the line of each profile, for the message on a name twice
  std::vector<Vervallen> vervallen;
  std::size_t meeste = 0;
  bool kopGelezen = false;
  KopLijnen kop{0, 1};
  std::vector<std::string> kopVelden;  // the header's fields up to Z1
  std::uint64_t volgendeVoortgang = 0;

  // The line at hand. Blank fields are held back until a field that is not
  // blank follows: trailing empty fields are allowed, a line of blank
  // fields is skipped, an empty value between others is refused.
  std::size_t k = 0;
  std::size_t leegVanaf = 0, leeg = 0;
  bool inhoud = false;
  std::string naam;
  Profiel* profiel = nullptr;
  // The points of the line at hand. Its memory is reused from line to line;
  // a long line takes it along as it is, without a copy (its unused room
  // was never touched, so it costs address space, not memory).
  std::vector<Punt> punten;
  double xyz[3];
  std::size_t inDrie = 0;

  // The name is known and a value follows: the profile begins.
  auto beginProfiel = [&]() -> std::optional<Melding> {
    if (naam.empty()) return stroom.foutOpRegel("de LOCATIONID (veld " + std::to_string(kop.id + 1) + ") ontbreekt");
    // As in the profile-lines reader: the result file separates by TAB and CRLF.
    if (naam.find_first_of("\t\r") != std::string::npos) {
      return stroom.foutOpRegel("de LOCATIONID bevat een tab of een losse regelterugloop; die kunnen niet in het "
                                "resultaatbestand staan");
    }
    if (profielen.size() >= static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
      return fout("Het bestand " + pad + " bevat te veel profielen of punten.");
    }
    if (const std::size_t eerder = namen.zoek(naam); eerder != Namenindex::geen) {
      return stroom.foutOpRegel("de LOCATIONID " + naam + " staat ook al op regel " + std::to_string(regelVan[eerder]));
    }
    profiel = &profielen.emplace_back();
    profiel->naam = naam;
    namen.voegToe(profielen.size() - 1);
    regelVan.push_back(stroom.regel());
    return std::nullopt;
  };
  // One value (X, Y or Z) of the line, at field 'kolom'.
  auto waarde = [&](std::size_t kolom, std::string_view t) -> std::optional<Melding> {
    if (!profiel) {
      if (auto f = beginProfiel()) return f;
    }
    const auto getal = leesGetalAfgerond(t);
    if (!getal) {
      if (t.empty()) return stroom.foutOpRegel("veld " + std::to_string(kolom + 1) + " is leeg");
      return stroom.foutOpRegel("veld " + std::to_string(kolom + 1) + " " + citaat(t) +
                                " is geen getal; gebruik een punt als decimaalteken en geen scheiding van duizendtallen");
    }
    xyz[inDrie++] = *getal;
    if (inDrie < 3) return std::nullopt;
    inDrie = 0;
    // Another Z on the same X,Y is a vertical segment (a ditch wall of
    // slope factor 0), which the importers take; only a full repeat is
    // a double point.
    if (!punten.empty() && punten.back().x == xyz[0] && punten.back().y == xyz[1] && punten.back().z == xyz[2]) {
      const Punt& vorig = punten.back();
      sink.meld(meldingDubbelPunt(profiel->naam, vorig.x, vorig.y, xyz[0], xyz[1], decimaalteken));
      vervallen.push_back({profielen.size() - 1, punten.size() - 1, {xyz[0], xyz[1], xyz[2]}});
      return std::nullopt;
    }
    if (punten.size() >= static_cast<std::size_t>((std::numeric_limits<std::int32_t>::max() - 1) / 3)) {
      return fout("Het bestand " + pad + " bevat te veel profielen of punten.");
    }
    punten.push_back(Punt{Cel(99.0), Cel(999.0), xyz[0], xyz[1], xyz[2]});
    return std::nullopt;
  };
  // The end of a line that had a field that is not blank ('aantal' fields
  // up to the last of them).
  auto regelKlaar = [&](std::size_t aantal) -> std::optional<Melding> {
    if (!kopGelezen) {
      const auto gevonden = leesKopLijnen(kopVelden);
      if (!gevonden) {
        return stroom.foutOpRegel("dit is geen kop van oppervlaktelijnen; die begint met LOCATIONID;X1;Y1;Z1 (of "
                                  "PROFIELNAAM;X1;Y1;Z1, eventueel met andere kolommen voor X1)");
      }
      kop = *gevonden;
      kopGelezen = true;
      kopVelden = {};
      return std::nullopt;
    }
    if (k < 2) return stroom.foutOpRegel("de regel bevat geen ';'");
    const std::size_t aantalWaarden = aantal > kop.x1 ? aantal - kop.x1 : 0;
    if (aantalWaarden == 0) {
      if (auto f = beginProfiel()) return f;
      return stroom.foutOpRegel("de oppervlaktelijn van " + naam + " heeft geen punten");
    }
    if (aantalWaarden % 3 != 0) {
      return stroom.foutOpRegel("de regel heeft " + std::to_string(aantalWaarden) +
                                " getallen na de LOCATIONID; dat is geen veelvoud van drie (X, Y, Z per punt)");
    }
    if (punten.size() * sizeof(Punt) >= (std::size_t{1} << 20)) {
      profiel->punten = std::move(punten);
      punten = {};
    } else {
      profiel->punten.reserve(punten.size());
      profiel->punten.assign(std::make_move_iterator(punten.begin()), std::make_move_iterator(punten.end()));
      punten.clear();
    }
    meeste = std::max(meeste, profiel->punten.size());
    return std::nullopt;
  };

  std::string_view veld;
  bool laatste = false;
  while (stroom.volgende(veld, laatste)) {
    if (voortgang && stroom.gelezen() >= volgendeVoortgang) {
      voortgang(stroom.gelezen(), grootte);
      volgendeVoortgang = stroom.gelezen() + (std::uint64_t{1} << 20);
    }
    const std::string_view t = trimBlanks(veld);
    if (!kopGelezen) {
      // Only the columns up to Z1 say what the header is; the rest of a
      // header as long as its longest line is not kept.
      if (kopVelden.size() < 1024) kopVelden.emplace_back(veld);
      if (!t.empty()) inhoud = true;
    } else if (t.empty()) {
      if (leeg++ == 0) leegVanaf = k;
    } else {
      if (k >= kop.x1) {
        // Blank values before this one are empty values between others.
        for (std::size_t l = leegVanaf; leeg > 0 && l < k; ++l) {
          if (l < kop.x1) continue;
          if (auto f = waarde(l, std::string_view())) return f;
        }
        if (auto f = waarde(k, t)) return f;
      } else if (k == kop.id) {
        naam.assign(t);
      }
      leeg = 0;
      inhoud = true;
    }
    ++k;
    if (!laatste) continue;
    if (inhoud) {
      if (auto f = regelKlaar(k - (kopGelezen ? leeg : 0))) return f;
    }
    k = leeg = 0;
    inhoud = false;
    naam.clear();
    profiel = nullptr;
    inDrie = 0;
    if (!kopGelezen) kopVelden.clear();
  }
  if (stroom.fout()) return std::move(*stroom.fout());
  if (!kopGelezen) return fout("Het bestand " + pad + " is leeg: er staat geen kop in.");
  if (profielen.empty()) return fout("Het bestand " + pad + " bevat geen profielen: er staat geen oppervlaktelijn in.");
  namen.wis();
  regelVan = {};

  // Rows of the characteristic points without a surface line are normal:
  // those files often cover a whole trajectory.
  // Read straight into profile records, so the list is handed over whole.
  store.profielen = std::move(profielen);
  for (std::size_t i = 0; i < store.profielen.size(); ++i) {
    const auto rij = krp.find(store.profielen[i].naam);
    if (rij == krp.end()) continue;
    zetCodes(store.profielen[i], i, rij->second, vervallen, krpPad, sink);
  }
  if (voortgang) voortgang(stroom.gelezen(), stroom.gelezen());
  store.zetGrenzen(static_cast<std::int32_t>(1 + 3 * meeste), static_cast<std::int32_t>(1 + 2 * meeste));
  return std::nullopt;
}

}  // namespace zarvo
