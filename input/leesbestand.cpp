#include "input/leesbestand.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdio>
#include <cstring>
#include <deque>
#include <filesystem>
#include <iterator>
#include <limits>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "input/invoerbestand.h"
#include "basis/bestandspad.h"
#include "basis/getallen.h"
#include "basis/parallel.h"

// Field rules of a line: six comma-separated fields. A field whose first
// non-blank character is '"' is a quoted text and runs to the next '"'
// (commas inside it belong to the text; there is no escape for a quote).
// Unquoted fields lose their surrounding blanks, as the sequential-input
// rules of the files' origin did; all other bytes are kept as they are, in
// whatever encoding the file has.
//
// A first data line without a profile name is refused: there is no profile
// above it to continue, and a nameless profile could not be told apart in
// the review or in the result file.

namespace zarvo {

namespace {

// A read parses a block of several pieces per core: pieces of a quarter
// megabyte keep the cores evenly busy whichever of them reads the next block.
constexpr std::size_t standaardStuk = std::size_t{1} << 18;
constexpr std::size_t stukkenPerDraad = 4;
// Room for the points the construction adds (two bottom points, two
// foreland points), so that building a ditch never moves a profile to
// fresh memory: four points on a profile of dozens or hundreds. A profile
// of a few points gets less: for it, moving costs nothing, and a file of
// a million of them would otherwise carry the room several times over.
constexpr std::size_t ruimteVoorSloot = 4;
std::size_t ruimteVoor(std::size_t punten) { return std::min(ruimteVoorSloot, punten / 4); }
constexpr std::size_t maxRegel = std::size_t{1} << 20;     // longer lines are refused
constexpr std::size_t maxPunten = (std::numeric_limits<std::int32_t>::max() - 1) / 3;

bool isBlank(char c) { return c == ' ' || c == '\t'; }

struct Veld {
  std::string_view tekst;
  bool aangehaald = false;
};

// Short excerpt of a bad field for a message. Built by appending rather
// than as "\"" + std::string(...): g++ 12 at -O3 inlines that insert at the
// front into a copy it wrongly reports as overlapping (-Wrestrict).
std::string citaat(std::string_view t) {
  constexpr std::size_t max = 40;
  std::string uit;
  uit.reserve(std::min(t.size(), max) + 5);
  uit += '"';
  uit.append(t.substr(0, max));
  if (t.size() > max) uit += "...";
  uit += '"';
  return uit;
}

Cel codeCel(const Veld& v) {
  if (v.aangehaald) return Cel(v.tekst);
  if (v.tekst.empty()) return Cel();
  if (const auto getal = leesGetalPunt(v.tekst)) return Cel(*getal);
  return Cel(v.tekst);
}

// One piece of the file, parsed on its own. A piece does not know the
// profile that runs into it from the piece before, so its lines up to the
// end of its first named profile are kept as they are ('voorloop') and go
// through the profile rules when the pieces are joined in file order: an
// empty name or the name of the profile before continues that profile,
// and its first point may be a double of that profile's last point. Every
// later line starts or continues a profile that began inside the piece,
// which the piece can judge on its own.
struct Voorlooppunt {
  Punt punt;
  std::string_view naam;  // into the read buffer, which outlives the join
  std::size_t regel;
};

struct Fragment {
  std::string naam;
  std::vector<Punt> punten;  // empty when only counting
  std::size_t aantal = 0;
  double laatsteX = 0.0;
  double laatsteY = 0.0;
  std::size_t regel = 0;  // line of its first point, within the piece
};

// Pieces and readers sit side by side in vectors while different threads
// write to them line after line: each on cache lines of its own, or the
// threads would take the shared line from each other on every line.
struct alignas(64) Stuk {
  std::vector<Voorlooppunt> voorloop;
  std::vector<Fragment> fragmenten;
  // Double points of the fragments, with their lines, in file order.
  std::vector<std::pair<std::size_t, Melding>> meldingen;
  std::size_t regels = 0;
  std::size_t foutRegel = 0;  // 0: the piece had no error
  std::string fout;
};

class alignas(64) Stuklezer {
 public:
  // 'tellen': only the number of points of each profile is kept.
  Stuklezer(char decimaalteken, bool tellen) : decimaalteken_(decimaalteken), tellen_(tellen) {}

  // Parses the lines of 'data' (the last one may lack its line end) into
  // 'stuk'; stops at the first error.
  void lees(std::string_view data, Stuk& stuk) {
    stuk_ = &stuk;
    regelNummer_ = 0;
    inVoorloop_ = true;
    naamGezien_ = false;
    actief_ = false;
    huidige_.clear();
    std::size_t begin = 0;
    while (begin < data.size()) {
      Veld velden[6];
      std::size_t regelEind = 0;
      if (gewoneRegel(data, begin, velden, regelEind)) {
        ++regelNummer_;
        if (!verwerkVelden(velden, false)) break;
        begin = regelEind + 1;
        continue;
      }
      const void* nl = std::memchr(data.data() + begin, '\n', data.size() - begin);
      const std::size_t eind = nl ? static_cast<std::size_t>(static_cast<const char*>(nl) - data.data())
                                  : data.size();
      if (eind - begin > maxRegel) {
        ++regelNummer_;
        fout("de regel is langer dan " + std::to_string(maxRegel) + " tekens");
        break;
      }
      if (!verwerkRegel(data.substr(begin, eind - begin))) break;
      begin = eind + 1;
    }
    if (!huidige_.empty() && stuk.foutRegel == 0) sluitFragment();
    stuk.regels = regelNummer_;
    stuk_ = nullptr;
  }

 private:
  bool verwerkRegel(std::string_view regel) {
    ++regelNummer_;
    if (!regel.empty() && regel.back() == '\r') regel.remove_suffix(1);

    if (trimBlanks(regel).empty()) return true;
    Veld velden[6];
    if (!splits(regel, velden)) return false;
    // The result file separates its fields by TAB and its lines by CRLF: a
    // text holding either would shift every field after it for the tools
    // that read the result, so it is refused here, where the user can see
    // which line it is. Two fast scans of the whole line tell whether a
    // field needs a look.
    const bool tabOfCr = std::memchr(regel.data(), '\t', regel.size()) != nullptr ||
                         std::memchr(regel.data(), '\r', regel.size()) != nullptr;
    return verwerkVelden(velden, tabOfCr);
  }

  // The fields of one line; 'tabOfCr' when one of them may hold a TAB or CR.
  bool verwerkVelden(Veld (&velden)[6], bool tabOfCr) {
    for (int i = 0; tabOfCr && i < 6; ++i) {
      if (velden[i].tekst.find_first_of("\t\r") != std::string_view::npos) {
        return fout("veld " + std::to_string(i + 1) +
                    " bevat een tab of een losse regelterugloop; die kunnen niet in het "
                    "resultaatbestand staan");
      }
    }

    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
    if (!leesXyz(velden[2].tekst, 0, x) || !leesXyz(velden[3].tekst, 1, y) || !leesXyz(velden[4].tekst, 2, z)) {
      return false;
    }

    // Braces, not parentheses: clang before 16 cannot build an aggregate
    // from parentheses, and the fuzz build uses clang. A count needs no codes.
    Punt punt = tellen_ ? Punt{Cel(), Cel(), x, y, z} : Punt{codeCel(velden[0]), codeCel(velden[1]), x, y, z};
    const std::string_view naam = velden[5].tekst;
    const bool vervolg = actief_ && (naam.empty() || naam == huidigeNaam_);
    if (inVoorloop_) {
      if (!vervolg && naamGezien_) {
        inVoorloop_ = false;  // the first profile that began in this piece
      } else {
        if (!vervolg) {
          huidigeNaam_.assign(naam);
          actief_ = true;
        }
        naamGezien_ = naamGezien_ || !naam.empty();
        stuk_->voorloop.push_back(Voorlooppunt{std::move(punt), naam, regelNummer_});
        return true;
      }
    }
    if (vervolg) {
      if (x == vorigeX_ && y == vorigeY_) {
        stuk_->meldingen.emplace_back(
            regelNummer_, meldingDubbelPunt(huidigeNaam_, vorigeX_, vorigeY_, x, y, decimaalteken_));
        return true;
      }
      if (huidige_.size() >= maxPunten) {
        return fout("profiel " + huidigeNaam_ + " heeft te veel punten");
      }
    } else {
      if (actief_ && !huidige_.empty()) sluitFragment();
      huidigeNaam_.assign(naam);
      actief_ = true;
      eersteRegel_ = regelNummer_;
    }
    huidige_.push_back(std::move(punt));
    vorigeX_ = x;
    vorigeY_ = y;
    return true;
  }

  // Coordinate 'i' (0 = X) of a line from its field text.
  bool leesXyz(std::string_view t, int i, double& uit) {
    if (const auto getal = leesGetalAfgerond(t)) {
      uit = *getal;
      return true;
    }
    static constexpr const char* namen[3] = {"X", "Y", "Z"};
    if (t.empty()) return fout(std::string("de ") + namen[i] + "-waarde (veld " + std::to_string(3 + i) + ") ontbreekt");
    return fout(std::string("de ") + namen[i] + "-waarde (veld " + std::to_string(3 + i) + ") " + citaat(t) +
                " is geen getal; gebruik een punt als decimaalteken en geen scheiding van duizendtallen");
  }

  bool fout(std::string wat) {
    stuk_->foutRegel = regelNummer_;
    stuk_->fout = std::move(wat);
    return false;
  }

  // The common line in one pass from 'begin': its end and its five commas,
  // and nothing that needs the full rules of verwerkRegel (quotes, blanks,
  // tabs, a CR other than the one before the line end, a line too long).
  // True with the fields set and 'eind' at the '\n' (or the end of
  // 'data'); false sends the line to verwerkRegel.
  static bool gewoneRegel(std::string_view data, std::size_t begin, Veld (&velden)[6], std::size_t& eind) {
    std::size_t komma[5];
    std::size_t n = 0;
    std::size_t i = begin;
    const std::size_t grens = std::min(data.size(), begin + maxRegel);
    // A CR is plain only right before the line end (or the end of data).
    auto crVoorEinde = [&](std::size_t p) { return p + 1 == data.size() || data[p + 1] == '\n'; };
    eind = std::string_view::npos;
#if defined(__SSE2__)
    // Sixteen bytes at a time: a line is some fifty bytes, and this loop
    // is most of the reading.
    const __m128i kommas = _mm_set1_epi8(',');
    const __m128i regeleinden = _mm_set1_epi8('\n');
    const __m128i aanhalingen = _mm_set1_epi8('"');
    const __m128i spaties = _mm_set1_epi8(' ');
    const __m128i tabs = _mm_set1_epi8('\t');
    const __m128i crs = _mm_set1_epi8('\r');
    for (; i + 16 <= grens; i += 16) {
      const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data.data() + i));
      auto masker = [&](__m128i teken) { return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, teken))); };
      const unsigned nl = masker(regeleinden);
      // Only what comes before the line end counts.
      const unsigned voor = nl != 0 ? (nl & (0u - nl)) - 1 : 0xFFFFu;
      if ((masker(aanhalingen) | masker(spaties) | masker(tabs)) & voor) return false;
      if (const unsigned cr = masker(crs) & voor; cr != 0) {
        if ((cr & (cr - 1)) != 0 || !crVoorEinde(i + static_cast<std::size_t>(std::countr_zero(cr)))) return false;
      }
      for (unsigned k = masker(kommas) & voor; k != 0; k &= k - 1) {
        if (n == 5) return false;
        komma[n++] = i + static_cast<std::size_t>(std::countr_zero(k));
      }
      if (nl != 0) {
        eind = i + static_cast<std::size_t>(std::countr_zero(nl));
        break;
      }
    }
#endif
    if (eind == std::string_view::npos) {
      for (; i < grens; ++i) {
        const char c = data[i];
        if (c == '\n') break;
        if (c == ',') {
          if (n == 5) return false;
          komma[n++] = i;
        } else if (c == '"' || c == ' ' || c == '\t' || (c == '\r' && !crVoorEinde(i))) {
          return false;
        }
      }
      if (i == grens && grens < data.size() && data[i] != '\n') return false;  // too long
      eind = i;
    }
    if (n != 5) return false;
    const std::size_t inhoudEind = eind > begin && data[eind - 1] == '\r' ? eind - 1 : eind;
    std::size_t van = begin;
    for (std::size_t j = 0; j < 5; ++j) {
      velden[j] = Veld{data.substr(van, komma[j] - van), false};
      van = komma[j] + 1;
    }
    velden[5] = Veld{data.substr(van, inhoudEind - van), false};
    return true;
  }

  bool splits(std::string_view s, Veld (&velden)[6]) {
    std::size_t i = 0;
    int n = 0;
    while (true) {
      std::size_t j = i;
      while (j < s.size() && isBlank(s[j])) ++j;
      Veld v;
      if (j < s.size() && s[j] == '"') {
        const std::size_t sluit = s.find('"', j + 1);
        if (sluit == std::string_view::npos) {
          return fout("veld " + std::to_string(n + 1) + " heeft geen sluitend aanhalingsteken");
        }
        v = Veld{s.substr(j + 1, sluit - j - 1), true};
        std::size_t k = sluit + 1;
        while (k < s.size() && isBlank(s[k])) ++k;
        if (k < s.size() && s[k] != ',') {
          return fout("in veld " + std::to_string(n + 1) +
                      " staan tekens na het sluitende aanhalingsteken");
        }
        i = k;
      } else {
        // A plain loop: fields are a few bytes, too short for a library
        // search to pay for its call.
        std::size_t komma = i;
        while (komma < s.size() && s[komma] != ',') ++komma;
        v = Veld{trimBlanks(s.substr(i, komma - i)), false};
        i = komma;
      }
      if (n < 6) {
        velden[n] = v;
      } else if (!trimBlanks(v.tekst).empty()) {
        return fout("de regel heeft meer dan zes velden (veld " + std::to_string(n + 1) + " is " +
                    citaat(v.tekst) + ")");
      }
      ++n;
      if (i >= s.size()) break;
      ++i;  // the comma
    }
    if (n < 6) {
      return fout("de regel heeft " + std::to_string(n) + (n == 1 ? " veld" : " velden") +
                  ", er zijn er zes nodig (code, code, X, Y, Z, profielnaam)");
    }
    return true;
  }

  // Moves the points gathered for the current profile into a fragment of
  // their size and the construction's few: a growing vector per profile
  // would waste up to half its capacity, which counts with a million points.
  void sluitFragment() {
    Fragment& f = stuk_->fragmenten.emplace_back();
    f.naam = huidigeNaam_;
    f.regel = eersteRegel_;
    f.aantal = huidige_.size();
    f.laatsteX = huidige_.back().x;
    f.laatsteY = huidige_.back().y;
    if (!tellen_) {
      f.punten.reserve(huidige_.size() + ruimteVoor(huidige_.size()));
      for (Punt& pt : huidige_) f.punten.push_back(std::move(pt));
    }
    huidige_.clear();
  }

  char decimaalteken_;
  bool tellen_;
  Stuk* stuk_ = nullptr;
  std::vector<Punt> huidige_;  // kept between pieces: its memory is reused
  std::string huidigeNaam_;
  bool inVoorloop_ = true;
  bool naamGezien_ = false;
  bool actief_ = false;
  double vorigeX_ = 0.0;
  double vorigeY_ = 0.0;
  std::size_t eersteRegel_ = 0;
  std::size_t regelNummer_ = 0;
};

// Joins the pieces in file order into profiles, passes their messages on
// in that order, and reports the first error of the file.
class Samenvoeger {
 public:
  Samenvoeger(const std::string& pad, MeldingSink& sink, char decimaalteken, bool tellen)
      : pad_(pad), sink_(sink), decimaalteken_(decimaalteken), tellen_(tellen) {}

  // False on an error, which is then in foutMelding(); the messages of the
  // lines before it have been passed on.
  bool voegToe(Stuk& stuk) {
    for (Voorlooppunt& v : stuk.voorloop) {
      if (!voorlooppunt(v)) return false;
    }
    auto melding = stuk.meldingen.begin();
    auto meldTot = [&](std::size_t regel) {
      for (; melding != stuk.meldingen.end() && melding->first < regel; ++melding) sink_.meld(melding->second);
    };
    for (Fragment& f : stuk.fragmenten) {
      meldTot(f.regel);
      if (aantal() >= maxProfielen) return fout(f.regel, "het bestand bevat te veel profielen");
      nieuwProfiel(std::move(f.naam), std::move(f.punten), f.aantal);
      vorigeX_ = f.laatsteX;
      vorigeY_ = f.laatsteY;
    }
    if (stuk.foutRegel != 0) {
      meldTot(stuk.foutRegel);
      return fout(stuk.foutRegel, stuk.fout);
    }
    meldTot(std::numeric_limits<std::size_t>::max());
    regels_ += stuk.regels;
    return true;
  }

  // A line longer than allowed right after the lines joined so far.
  Melding regelTeLang() {
    fout(1, "de regel is langer dan " + std::to_string(maxRegel) + " tekens");
    return fout_;
  }

  // Called at the end of the file; false when it held no data line.
  bool sluitAf() {
    if (aantal() == 0) {
      fout_ = Melding{"Fout!",
                      "Het bestand " + pad_ +
                          " bevat geen profielen: er staat geen enkele regel met gegevens in.",
                      Icoon::Kritiek};
      return false;
    }
    return true;
  }

  // The profiles were gathered as the store keeps them, so they are handed
  // over whole: no second list of a million records is ever made.
  Profielen neemProfielen(std::size_t& meestePunten) {
    meestePunten = 0;
    for (const Profiel& p : profielen_) meestePunten = std::max(meestePunten, p.punten.size());
    return std::move(profielen_);
  }
  std::vector<ProfielTelling> neemTellingen() {
    std::vector<ProfielTelling> uit(std::make_move_iterator(tellingen_.begin()), std::make_move_iterator(tellingen_.end()));
    tellingen_.clear();
    return uit;
  }
  std::size_t regels() const { return regels_; }
  Melding& foutMelding() { return fout_; }

 private:
  static constexpr std::size_t maxProfielen = static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max());

  // Profiles gathered so far, and the name of the last.
  std::size_t aantal() const { return tellen_ ? tellingen_.size() : profielen_.size(); }
  const std::string& laatsteNaam() const { return tellen_ ? tellingen_.back().naam : profielen_.back().naam; }

  // Counting keeps a name and a number a profile, not a profile record.
  void nieuwProfiel(std::string naam, std::vector<Punt>&& punten, std::size_t aantalPunten) {
    if (tellen_) {
      tellingen_.push_back(ProfielTelling{std::move(naam), aantalPunten});
    } else {
      Profiel& profiel = profielen_.emplace_back();
      profiel.naam = std::move(naam);
      profiel.punten = std::move(punten);
    }
    aantalLaatste_ = aantalPunten;
  }

  // The profile rules for one line of a piece's lead.
  bool voorlooppunt(Voorlooppunt& v) {
    if (aantal() > 0 && (v.naam.empty() || v.naam == laatsteNaam())) {
      if (v.punt.x == vorigeX_ && v.punt.y == vorigeY_) {
        sink_.meld(meldingDubbelPunt(laatsteNaam(), vorigeX_, vorigeY_, v.punt.x, v.punt.y, decimaalteken_));
        return true;
      }
      if (aantalLaatste_ >= maxPunten) {
        return fout(v.regel, "profiel " + laatsteNaam() + " heeft te veel punten");
      }
    } else {
      if (v.naam.empty()) return fout(v.regel, "de eerste regel met gegevens heeft geen profielnaam (veld 6)");
      if (aantal() >= maxProfielen) return fout(v.regel, "het bestand bevat te veel profielen");
      nieuwProfiel(std::string(v.naam), {}, 0);
    }
    ++aantalLaatste_;
    vorigeX_ = v.punt.x;
    vorigeY_ = v.punt.y;
    if (tellen_) {
      ++tellingen_.back().punten;
    } else {
      // Only a profile across a border grows here, by an eighth at a time:
      // doubling would leave up to half of it empty.
      std::vector<Punt>& punten = profielen_.back().punten;
      if (punten.size() == punten.capacity()) punten.reserve(punten.size() + 1 + punten.size() / 8);
      punten.push_back(std::move(v.punt));
    }
    return true;
  }

  // 'regel' counts within the piece being joined.
  bool fout(std::size_t regel, const std::string& wat) {
    fout_ = Melding{"Fout!",
                    "Fout in bestand " + pad_ + ", regel " + std::to_string(regels_ + regel) + ": " + wat + ".",
                    Icoon::Kritiek};
    return false;
  }

  const std::string& pad_;
  MeldingSink& sink_;
  char decimaalteken_;
  bool tellen_;
  Profielen profielen_;
  std::deque<ProfielTelling> tellingen_;  // instead, when only counting
  std::size_t aantalLaatste_ = 0;       // the point count of the last profile
  double vorigeX_ = 0.0;
  double vorigeY_ = 0.0;
  std::size_t regels_ = 0;
  Melding fout_;
};

// Cuts 'data' at line ends into pieces of about 'grootte' bytes.
std::vector<std::string_view> snijStukken(std::string_view data, std::size_t grootte) {
  std::vector<std::string_view> stukken;
  std::size_t begin = 0;
  while (begin < data.size()) {
    std::size_t eind = data.size();
    if (data.size() - begin > grootte) {
      const std::size_t nl = data.find('\n', begin + grootte - 1);
      if (nl != std::string_view::npos) eind = nl + 1;
    }
    stukken.push_back(data.substr(begin, eind - begin));
    begin = eind;
  }
  return stukken;
}

Melding bestandsFout(const std::string& tekst) { return Melding{"Fout!", tekst, Icoon::Kritiek}; }

// The reading both leesBestand and telBestand do: every line through the
// same rules, the profiles gathered in 'samen'.
std::optional<Melding> leesIn(const std::string& pad, char decimaalteken, const Voortgang& voortgang, bool tellen,
                              Samenvoeger& samen) {
  if (pad.empty()) return bestandsFout("Er is geen profielbestand gekozen.");
  const std::filesystem::path bestandspad = padUitUtf8(pad);
  Invoerfout waarom;
  const Bestand bestand = openInvoer(pad, waarom);
  if (!bestand) {
    // Something other than a file was picked: the user should pick again.
    const bool geenBestand =
        waarom.soort == Invoerfout::Soort::Map || waarom.soort == Invoerfout::Soort::GeenGewoonBestand;
    return bestandsFout(geenBestand ? waarom.tekst + " Kies een profielbestand." : waarom.tekst);
  }
  std::error_code ec;
  std::setvbuf(bestand.get(), nullptr, _IONBF, 0);  // we read in large blocks ourselves
  const std::uintmax_t grootte = std::filesystem::file_size(bestandspad, ec);
  const std::uint64_t totaal = ec ? 0 : static_cast<std::uint64_t>(grootte);

  // The file is read a block at a time; the whole lines of a block are cut
  // into pieces, parsed side by side and joined in file order. A block is
  // small beside the file, so the memory stays that of the profiles.
  const std::size_t draden = aantalDraden();
  const std::size_t testGrootte = stukGrootteVoorTests();
  const std::size_t stukGrootte = testGrootte > 0 ? testGrootte : standaardStuk;
  std::vector<Stuklezer> lezers(draden, Stuklezer(decimaalteken, tellen));
  std::vector<Stuk> stukken;
  // A buffer holds an unfinished line carried over from the previous block
  // (at most maxRegel bytes) plus one new block. There are two: while the
  // pieces of one are parsed, the next block is read into the other, so
  // that no core waits for the reading.
  // They start no larger than the file needs: many small files (or a
  // fuzzer) should not pay for clearing megabytes each, and grow when a
  // file turns out longer than it said.
  // Tests get eight pieces a read whatever the machine, so that where their
  // borders fall does not depend on it.
  const std::size_t volBlok = testGrootte > 0 ? 8 * testGrootte : stukGrootte * stukkenPerDraad * draden;
  const std::size_t blok = totaal > 0 && totaal < volBlok ? static_cast<std::size_t>(totaal) + 1 : volBlok;
  struct Gelezen {
    std::size_t n = 0;
    bool fout = false;
  };
  auto maakRuimte = [&](std::vector<char>& buffer, std::size_t gevuld) {
    if (buffer.size() < gevuld + blok) {
      buffer.resize(std::max(gevuld + blok, std::min(2 * buffer.size(), maxRegel + volBlok)));
    }
  };
  auto leesBlok = [&](std::vector<char>& buffer, std::size_t gevuld) {
    maakRuimte(buffer, gevuld);
    Gelezen g;
    g.n = std::fread(buffer.data() + gevuld, 1, blok, bestand.get());
    g.fout = g.n == 0 && std::ferror(bestand.get());
    return g;
  };
  std::vector<char> buffers[2];
  std::size_t huidig = 0;
  std::size_t gevuld = 0;
  std::uint64_t gelezen = 0;
  Gelezen volgende = leesBlok(buffers[0], 0);
  bool eersteBlok = true;
  while (true) {
    if (volgende.fout) {
      return bestandsFout("Fout bij het lezen van bestand " + pad + " na regel " +
                          std::to_string(samen.regels()) + ".");
    }
    std::vector<char>& buffer = buffers[huidig];
    gelezen += volgende.n;
    gevuld += volgende.n;
    const bool einde = volgende.n == 0;
    std::size_t begin = 0;
    if (eersteBlok && gevuld >= 3 && std::memcmp(buffer.data(), "\xEF\xBB\xBF", 3) == 0) {
      begin = 3;  // UTF-8 byte-order mark
    }
    eersteBlok = false;  // a regular file fills the first read unless it is shorter

    // Whole lines only, but for the last line of the file.
    const std::string_view inhoud(buffer.data() + begin, gevuld - begin);
    const std::size_t heel = einde ? inhoud.size() : inhoud.rfind('\n') + 1;  // npos + 1 == 0
    const std::size_t rest = inhoud.size() - heel;
    std::vector<char>& ander = buffers[1 - huidig];
    const bool verder = !einde && rest <= maxRegel;
    if (verder) {
      maakRuimte(ander, rest);
      std::memcpy(ander.data(), inhoud.data() + heel, rest);
    }
    const std::vector<std::string_view> delen = snijStukken(inhoud.substr(0, heel), stukGrootte);
    stukken.clear();
    stukken.resize(delen.size());
    // Item 0 reads the next block, the others are the pieces of this one.
    const std::size_t extra = verder ? 1 : 0;
    verdeelOverDraden(delen.size() + extra, [&](std::size_t i, std::size_t draad) {
      if (i < extra) {
        volgende = leesBlok(ander, rest);
      } else {
        lezers[draad].lees(delen[i - extra], stukken[i - extra]);
      }
    });
    for (Stuk& stuk : stukken) {
      if (!samen.voegToe(stuk)) return samen.foutMelding();
    }
    if (rest > maxRegel) return samen.regelTeLang();
    if (voortgang) voortgang(gelezen, totaal);
    if (einde) break;
    gevuld = rest;
    huidig = 1 - huidig;
  }
  if (!samen.sluitAf()) return samen.foutMelding();
  return std::nullopt;
}

}  // namespace

std::optional<Melding> leesBestand(ProfielStore& store, const std::string& pad, MeldingSink& sink,
                                   char decimaalteken, const Voortgang& voortgang) {
  Samenvoeger samen(pad, sink, decimaalteken, false);
  if (auto fout = leesIn(pad, decimaalteken, voortgang, false, samen)) return fout;
  std::size_t meeste = 0;
  store.profielen = samen.neemProfielen(meeste);
  store.zetGrenzen(static_cast<std::int32_t>(1 + 3 * meeste), static_cast<std::int32_t>(1 + 2 * meeste));
  return std::nullopt;
}

std::optional<Melding> telBestand(const std::string& pad, MeldingSink& sink, char decimaalteken,
                                  std::vector<ProfielTelling>& profielen) {
  Samenvoeger samen(pad, sink, decimaalteken, true);
  if (auto fout = leesIn(pad, decimaalteken, {}, true, samen)) return fout;
  profielen = samen.neemTellingen();
  return std::nullopt;
}

}  // namespace zarvo
