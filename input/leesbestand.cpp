#include "input/leesbestand.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <limits>
#include <memory>
#include <utility>
#include <vector>

#include "shell/bestandspad.h"
#include "shell/getallen.h"

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

constexpr std::size_t blokGrootte = std::size_t{1} << 20;  // one read, and one progress step
constexpr std::size_t maxRegel = std::size_t{1} << 20;     // longer lines are refused
constexpr std::size_t maxPunten = (std::numeric_limits<std::int32_t>::max() - 1) / 3;

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimBlanks(std::string_view t) {
  while (!t.empty() && isBlank(t.front())) t.remove_prefix(1);
  while (!t.empty() && isBlank(t.back())) t.remove_suffix(1);
  return t;
}

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

class Lezer {
 public:
  Lezer(const std::string& pad, MeldingSink& sink, char decimaalteken)
      : pad_(pad), sink_(sink), decimaalteken_(decimaalteken) {}

  // Handles one line (without its line end). Returns false on an error,
  // which is then in fout_.
  bool verwerkRegel(std::string_view regel) {
    ++regelNummer_;
    if (!regel.empty() && regel.back() == '\r') regel.remove_suffix(1);
    if (trimBlanks(regel).empty()) return true;

    Veld velden[6];
    if (!splits(regel, velden)) return false;
    // The result file separates its fields by TAB and its lines by CRLF: a
    // text holding either would shift every field after it for the tools
    // that read the result, so it is refused here, where the user can see
    // which line it is.
    for (int i = 0; i < 6; ++i) {
      if (velden[i].tekst.find_first_of("\t\r") != std::string_view::npos) {
        return fout("veld " + std::to_string(i + 1) +
                    " bevat een tab of een losse regelterugloop; die kunnen niet in het "
                    "resultaatbestand staan");
      }
    }

    double xyz[3];
    static constexpr const char* namen[3] = {"X", "Y", "Z"};
    for (int i = 0; i < 3; ++i) {
      const std::string_view t = velden[2 + i].tekst;
      const auto getal = leesGetalPunt(t);
      if (!getal) {
        if (t.empty()) return fout(std::string("de ") + namen[i] + "-waarde (veld " +
                                   std::to_string(3 + i) + ") ontbreekt");
        return fout(std::string("de ") + namen[i] + "-waarde (veld " + std::to_string(3 + i) +
                    ") " + citaat(t) +
                    " is geen getal; gebruik een punt als decimaalteken en geen scheiding "
                    "van duizendtallen");
      }
      xyz[i] = rondAf3(*getal);
    }

    const std::string_view naam = velden[5].tekst;
    if (actief_ && (naam.empty() || naam == huidigeNaam_)) {
      if (xyz[0] == vorigeX_ && xyz[1] == vorigeY_) {
        meldDubbelPunt(xyz[0], xyz[1]);
        return true;
      }
      if (huidige_.size() >= maxPunten) {
        return fout("profiel " + huidigeNaam_ + " heeft te veel punten");
      }
    } else {
      if (naam.empty()) return fout("de eerste regel met gegevens heeft geen profielnaam (veld 6)");
      if (actief_) sluitProfiel();
      if (profielen_.size() >= static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
        return fout("het bestand bevat te veel profielen");
      }
      huidigeNaam_.assign(naam);
      actief_ = true;
    }
    // Braces, not emplace_back: clang before 16 cannot build an aggregate
    // from parentheses, and the fuzz build uses clang.
    huidige_.push_back(Punt{codeCel(velden[0]), codeCel(velden[1]), xyz[0], xyz[1], xyz[2]});
    vorigeX_ = xyz[0];
    vorigeY_ = xyz[1];
    return true;
  }

  // Called at the end of the file; false when it held no data line.
  bool sluitAf() {
    if (!actief_) {
      fout_ = Melding{"Fout!",
                      "Het bestand " + pad_ +
                          " bevat geen profielen: er staat geen enkele regel met gegevens in.",
                      Icoon::Kritiek};
      return false;
    }
    sluitProfiel();
    return true;
  }

  Melding regelTeLang() {
    ++regelNummer_;
    fout("de regel is langer dan " + std::to_string(maxRegel) + " tekens");
    return fout_;
  }

  // The profile records, made at the end: a Profiel carries far more than
  // its name and points, and growing a list of them while reading would
  // touch up to three times their final size in fresh memory.
  std::vector<Profiel> neemProfielen() {
    std::vector<Profiel> uit(profielen_.size());
    for (std::size_t i = 0; i < uit.size(); ++i) {
      uit[i].naam = std::move(profielen_[i].naam);
      uit[i].punten = std::move(profielen_[i].punten);
    }
    profielen_.clear();
    return uit;
  }
  std::size_t meestePunten() const { return meestePunten_; }
  std::size_t regelNummer() const { return regelNummer_; }
  Melding& foutMelding() { return fout_; }

 private:
  bool fout(const std::string& wat) {
    fout_ = Melding{"Fout!",
                    "Fout in bestand " + pad_ + ", regel " + std::to_string(regelNummer_) + ": " +
                        wat + ".",
                    Icoon::Kritiek};
    return false;
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
        const std::size_t komma = std::min(s.find(',', i), s.size());
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

  void meldDubbelPunt(double x, double y) {
    sink_.meld(meldingDubbelPunt(huidigeNaam_, vorigeX_, vorigeY_, x, y, decimaalteken_));
  }

  // Moves the points gathered for the current profile into a new profile of
  // exactly their size: a growing vector per profile would waste up to half
  // its capacity, which counts with a million points.
  void sluitProfiel() {
    GelezenProfiel& p = profielen_.emplace_back();
    p.naam = huidigeNaam_;
    p.punten.reserve(huidige_.size());
    for (Punt& pt : huidige_) p.punten.push_back(std::move(pt));
    meestePunten_ = std::max(meestePunten_, huidige_.size());
    huidige_.clear();
  }

  const std::string& pad_;
  MeldingSink& sink_;
  char decimaalteken_;

  struct GelezenProfiel {
    std::string naam;
    std::vector<Punt> punten;
  };
  std::vector<GelezenProfiel> profielen_;
  std::vector<Punt> huidige_;
  std::string huidigeNaam_;
  bool actief_ = false;
  double vorigeX_ = 0.0;
  double vorigeY_ = 0.0;
  std::size_t meestePunten_ = 0;
  std::size_t regelNummer_ = 0;
  Melding fout_;
};

struct SluitBestand {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

Melding bestandsFout(const std::string& tekst) { return Melding{"Fout!", tekst, Icoon::Kritiek}; }

}  // namespace

Melding meldingDubbelPunt(const std::string& naam, double vorigeX, double vorigeY, double x, double y,
                          char decimaalteken) {
  std::string tekst = "Profiel " + naam + " bevat een dubbel punt.\n";
  tekst += "xOld = " + getalNaarTekst(vorigeX, decimaalteken) + " = xNew " + getalNaarTekst(x, decimaalteken) + "\n";
  tekst += "yOld = " + getalNaarTekst(vorigeY, decimaalteken) + " = yNew = " + getalNaarTekst(y, decimaalteken) + "\n";
  tekst += "Het punt wordt niet meegenomen in de database";
  return Melding{"Melding", std::move(tekst), Icoon::Kritiek};
}

std::optional<Melding> leesBestand(ProfielStore& store, const std::string& pad, MeldingSink& sink,
                                   char decimaalteken, const Voortgang& voortgang) {
  if (pad.empty()) return bestandsFout("Er is geen profielbestand gekozen.");
  const std::filesystem::path bestandspad = padUitUtf8(pad);
  std::error_code ec;
  if (std::filesystem::is_directory(bestandspad, ec)) {
    return bestandsFout(pad + " is een map, geen bestand. Kies een profielbestand.");
  }
  if (const auto soort = geenGewoonBestand(bestandspad)) {
    return bestandsFout("Het bestand " + pad + " is " + *soort + ", geen gewoon bestand. Kies een profielbestand.");
  }
  errno = 0;
  std::unique_ptr<std::FILE, SluitBestand> bestand(openBestand(bestandspad, "rb"));
  if (!bestand) {
    if (errno == ENOENT) return bestandsFout("Het bestand " + pad + " bestaat niet.");
    if (errno == EACCES) {
      return bestandsFout("Het bestand " + pad + " kan niet worden geopend: geen leesrechten.");
    }
    return bestandsFout("Het bestand " + pad + " kan niet worden geopend.");
  }
  std::setvbuf(bestand.get(), nullptr, _IONBF, 0);  // we read in large blocks ourselves
  const std::uintmax_t grootte = std::filesystem::file_size(bestandspad, ec);
  const std::uint64_t totaal = ec ? 0 : static_cast<std::uint64_t>(grootte);

  Lezer lezer(pad, sink, decimaalteken);
  // The buffer holds an unfinished line carried over from the previous block
  // (at most maxRegel bytes) plus one new block.
  // It starts no larger than the file needs: many small files (or a fuzzer)
  // should not pay for clearing two megabytes each, and grows when a file
  // turns out longer than it said.
  const std::size_t blok =
      totaal > 0 && totaal < blokGrootte ? static_cast<std::size_t>(totaal) + 1 : blokGrootte;
  std::vector<char> buffer(blok);
  std::size_t gevuld = 0;
  std::uint64_t gelezen = 0;
  bool eersteBlok = true;
  while (true) {
    if (buffer.size() < gevuld + blok) {
      buffer.resize(std::max(gevuld + blok, std::min(2 * buffer.size(), maxRegel + blokGrootte)));
    }
    const std::size_t n = std::fread(buffer.data() + gevuld, 1, blok, bestand.get());
    if (n == 0 && std::ferror(bestand.get())) {
      return bestandsFout("Fout bij het lezen van bestand " + pad + " na regel " +
                          std::to_string(lezer.regelNummer()) + ".");
    }
    gelezen += n;
    gevuld += n;
    const bool einde = n == 0;
    std::size_t begin = 0;
    if (eersteBlok && gevuld >= 3 && std::memcmp(buffer.data(), "\xEF\xBB\xBF", 3) == 0) {
      begin = 3;  // UTF-8 byte-order mark
    }
    eersteBlok = false;  // a regular file fills the first read unless it is shorter

    const char* data = buffer.data();
    while (begin < gevuld) {
      const void* nl = std::memchr(data + begin, '\n', gevuld - begin);
      if (!nl) break;
      const auto eind = static_cast<std::size_t>(static_cast<const char*>(nl) - data);
      if (eind - begin > maxRegel) return lezer.regelTeLang();
      if (!lezer.verwerkRegel(std::string_view(data + begin, eind - begin))) {
        return lezer.foutMelding();
      }
      begin = eind + 1;
    }
    const std::size_t rest = gevuld - begin;
    if (einde) {
      if (rest > maxRegel) return lezer.regelTeLang();
      if (rest > 0 && !lezer.verwerkRegel(std::string_view(data + begin, rest))) {
        return lezer.foutMelding();
      }
      if (voortgang) voortgang(gelezen, totaal);
      break;
    }
    if (rest > maxRegel) return lezer.regelTeLang();
    std::memmove(buffer.data(), data + begin, rest);
    gevuld = rest;
    if (voortgang) voortgang(gelezen, totaal);
  }
  if (!lezer.sluitAf()) return lezer.foutMelding();

  const std::size_t meeste = lezer.meestePunten();
  store.profielen = lezer.neemProfielen();
  store.zetGrenzen(static_cast<std::int32_t>(1 + 3 * meeste), static_cast<std::int32_t>(1 + 2 * meeste));
  return std::nullopt;
}

}  // namespace zarvo
