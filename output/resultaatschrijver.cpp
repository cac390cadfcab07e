#include "output/resultaatschrijver.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <fstream>
#include <random>
#include <system_error>

#include "shell/bestandspad.h"
#include "shell/getallen.h"

namespace zarvo {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kBlok = std::size_t{1} << 20;

const char* const kFoutTekst = "Fout bij het opslaan, controleer bestandsnaam";

Melding foutMelding() { return Melding{"Fout!", kFoutTekst, Icoon::Kritiek}; }

// The second line: which file, and why, in words the user can act on.
Melding foutMelding(const fs::path& pad, const std::string& reden) {
  Melding m = foutMelding();
  m.tekst.append("\n").append(utf8UitPad(pad)).append(": ").append(reden);
  return m;
}

std::string redenVan(int fout) {
  switch (fout) {
    case EACCES:
    case EPERM:
    case EROFS: return "geen schrijfrechten";
    case ENOENT:
    case ENOTDIR: return "de map bestaat niet";
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
      return "de schijf is vol";
    case ENAMETOOLONG:
    case EINVAL:
    case EILSEQ: return "geen geldige bestandsnaam";
    case EISDIR: return "er staat een map met die naam";
    default: return fout == 0 ? std::string("onbekende oorzaak") : "fout " + std::to_string(fout);
  }
}

// One output file on its way to its target. Regular files are written to a
// temporary file in the same folder (so the rename cannot cross a file
// system) and only put in place once everything is written; an existing
// file of that name is kept aside until the whole save has succeeded.
// A target that exists but is no regular file (a device, a pipe) cannot be
// replaced by renaming; it is written directly.
class Uitvoer {
 public:
  explicit Uitvoer(fs::path doel) : doel_(std::move(doel)) {}
  Uitvoer(const Uitvoer&) = delete;
  Uitvoer& operator=(const Uitvoer&) = delete;
  ~Uitvoer() {
    ruimOp();
    zetTerug();  // a save abandoned halfway leaves the old file in place
  }

  const fs::path& doel() const { return doel_; }
  // Why the last step failed, for the message.
  const std::string& reden() const { return reden_; }

  bool open() {
    std::error_code ec;
    if (doel_.filename().empty()) return mislukt("geen geldige bestandsnaam");
    // Write through a link to the file it points at, so the link survives.
    if (fs::is_symlink(fs::symlink_status(doel_, ec))) {
      const fs::path echt = fs::canonical(doel_, ec);
      if (!ec) doel_ = echt;
    }
    const fs::file_status st = fs::status(doel_, ec);
    if (fs::exists(st)) {
      if (fs::is_directory(st)) return mislukt("er staat een map met die naam");
      direct_ = !fs::is_regular_file(st);
    }
    if (direct_) {
      errno = 0;
      stroom_.open(doel_, std::ios::binary | std::ios::trunc);
      return stroom_.is_open() || mislukt(redenVan(errno));
    }
    std::random_device bron;
    for (int poging = 0; poging < 8; ++poging) {
      const std::uint64_t getal = (std::uint64_t{bron()} << 32) ^ bron();
      char hex[17];
      const auto [eind, fout] = std::to_chars(hex, hex + 16, getal, 16);
      (void)fout;
      fs::path kandidaat = doel_;
      // Built by appending: GCC 12 at -O3 warns wrongly about "." + string.
      std::string naam(1, '.');
      naam += utf8UitPad(doel_.filename());
      naam += ".zarvo-";
      naam.append(hex, eind);
      naam += ".tmp";
      kandidaat.replace_filename(padUitUtf8(naam));
      if (fs::exists(kandidaat, ec) || ec) continue;
      errno = 0;
      stroom_.open(kandidaat, std::ios::binary | std::ios::trunc);
      if (!stroom_.is_open()) {
        const int fout = errno;
        // A folder that is there but takes no new files (a system folder)
        // also answers "no such file".
        if (fout == ENOENT && fs::is_directory(doel_.parent_path(), ec)) {
          return mislukt("in deze map kan geen bestand worden gemaakt");
        }
        return mislukt(redenVan(fout));
      }
      tijdelijk_ = kandidaat;
      return true;
    }
    return mislukt("geen tijdelijk bestand te maken");
  }

  bool schrijf(std::string_view puffer) {
    errno = 0;
    stroom_.write(puffer.data(), static_cast<std::streamsize>(puffer.size()));
    return static_cast<bool>(stroom_) || mislukt(redenVan(errno));
  }

  // Flushes and closes; the data must have reached the file system.
  bool sluit() {
    errno = 0;
    stroom_.flush();
    const bool goed = static_cast<bool>(stroom_);
    stroom_.close();
    return (goed && !stroom_.fail()) || mislukt(redenVan(errno));
  }

  // Puts the finished file in place with one rename, so the target name
  // never stands empty. With 'bewaarOud' a file it replaces stays reachable
  // under a second name until bevestig(), for zetTerug() to bring back.
  bool plaats(bool bewaarOud) {
    if (direct_) return true;
    std::error_code ec;
    if (bewaarOud && fs::exists(fs::symlink_status(doel_, ec))) {
      fs::path reserve = tijdelijk_;
      reserve.replace_extension(".oud");
      fs::create_hard_link(doel_, reserve, ec);
      if (ec) {
        // File systems without hard links: a copy does as well.
        ec.clear();
        fs::copy_file(doel_, reserve, ec);
        if (ec) {
          const int fout = ec.value();
          fs::remove(reserve, ec);
          return mislukt(redenVan(fout));
        }
      }
      reserve_ = reserve;
    }
    fs::rename(tijdelijk_, doel_, ec);
    if (ec) {
      zetTerug();
      return mislukt(redenVan(ec.value()));
    }
    tijdelijk_.clear();
    geplaatst_ = true;
    return true;
  }

  // Undoes plaats(): the old file comes back, or the new one goes when
  // there was none.
  void zetTerug() {
    std::error_code ec;
    if (!reserve_.empty()) {
      if (geplaatst_) fs::rename(reserve_, doel_, ec);
      fs::remove(reserve_, ec);
      reserve_.clear();
    } else if (geplaatst_) {
      fs::remove(doel_, ec);
    }
    geplaatst_ = false;
  }

  // The save as a whole succeeded: the old file is no longer needed.
  void bevestig() {
    std::error_code ec;
    if (!reserve_.empty()) fs::remove(reserve_, ec);
    reserve_.clear();
    geplaatst_ = false;
  }

 private:
  void ruimOp() {
    std::error_code ec;
    if (stroom_.is_open()) stroom_.close();
    if (!tijdelijk_.empty()) fs::remove(tijdelijk_, ec);
  }

  bool mislukt(std::string reden) {
    reden_ = std::move(reden);
    return false;
  }

  fs::path doel_;
  std::string reden_;
  fs::path tijdelijk_;
  fs::path reserve_;
  std::ofstream stroom_;
  bool direct_ = false;
  bool geplaatst_ = false;
};

void voegCelToe(std::string& uit, const Cel& cel, char decimaalteken) {
  switch (cel.soort()) {
    case Cel::Soort::Leeg: return;
    case Cel::Soort::Getal: voegGetalToe(uit, cel.getal(), decimaalteken); return;
    case Cel::Soort::Tekst: uit.append(cel.tekstWaarde()); return;
  }
}

// The stream a format writes into: the temporary file of one Uitvoer.
class UitvoerNaarBestand : public Uitvoerstroom {
 public:
  explicit UitvoerNaarBestand(Uitvoer& uit) : uit_(uit) {}
  bool schrijf(std::string_view bytes) override {
    goed_ = goed_ && uit_.schrijf(bytes);
    return goed_;
  }

 private:
  Uitvoer& uit_;
  bool goed_ = true;
};

// Today's result file: the points as they were read, with the ditch and
// foreland points in place, one TAB-separated line each.
class Profielregels : public Resultaatformaat {
 public:
  std::size_t aantalBestanden() const override { return 1; }
  std::string standaardNaam(std::size_t, const std::string& bestandsnaam) const override {
    return standaardNaamResultaat(bestandsnaam);
  }
  bool schrijf(std::size_t, const ProfielStore& store, Uitvoerstroom& uit, char decimaalteken) const override {
    std::string puffer;
    puffer.reserve(kBlok + 4096);
    for (const Profiel& prof : store.profielen) {
      for (const Punt& pt : prof.punten) {
        voegCelToe(puffer, pt.veld1, decimaalteken);
        puffer.push_back('\t');
        voegCelToe(puffer, pt.veld2, decimaalteken);
        puffer.push_back('\t');
        voegGetalToe(puffer, pt.x, decimaalteken);
        puffer.push_back('\t');
        voegGetalToe(puffer, pt.y, decimaalteken);
        puffer.push_back('\t');
        voegGetalToe(puffer, pt.z, decimaalteken);
        puffer.push_back('\t');
        puffer.append(prof.naam);
        // CRLF everywhere: the files go on to Windows tools.
        puffer.append("\r\n");
        if (puffer.size() >= kBlok) {
          if (!uit.schrijf(puffer)) return false;
          puffer.clear();
        }
      }
    }
    return uit.schrijf(puffer);
  }
};

std::string lijstVerwijderd(const ProfielStore& store) {
  std::string puffer = "Overzicht verwijderde profielen\r\n";
  for (const std::string& naam : store.verwijderdeProfielen) {
    puffer.append(naam);
    puffer.append("\r\n");
  }
  return puffer;
}

bool zelfdeDoel(const fs::path& a, const fs::path& b) {
  std::error_code ecA, ecB;
  if (fs::equivalent(a, b, ecA)) return true;
  const fs::path normA = fs::weakly_canonical(a, ecA);
  const fs::path normB = fs::weakly_canonical(b, ecB);
  if (ecA || ecB) return a.lexically_normal() == b.lexically_normal();
  return normA == normB;
}

}  // namespace

std::string standaardNaamResultaat(const std::string& bestandsnaam) {
  return "output_profiel_" + bestandsnaam;
}

std::string standaardNaamVerwijderd(const std::string& bestandsnaam) {
  return "output_verwijderde_profielen_" + bestandsnaam;
}

const Resultaatformaat& profielregels() {
  static const Profielregels formaat;
  return formaat;
}

std::optional<Melding> slaOp(const ProfielStore& store, const std::string& map, const Resultaatformaat& formaat,
                             const std::vector<std::string>& namen, const std::string& naamVerwijderd,
                             char decimaalteken) {
  const std::size_t aantal = formaat.aantalBestanden();
  if (namen.size() != aantal) return foutMelding();
  if (auto weigering = formaat.controleer(store)) return weigering;
  const bool metLijst = store.aantalVerwijderd() > 0;

  // Every file of the save, the list last; a deque keeps them in place.
  std::deque<Uitvoer> uitvoer;
  const fs::path doelmap = padUitUtf8(map);
  if (doelmap.empty() && !map.empty()) return foutMelding(map, "geen geldige mapnaam");
  for (const std::string& naam : namen) uitvoer.emplace_back(doelmap / padUitUtf8(naam));
  if (metLijst) uitvoer.emplace_back(doelmap / padUitUtf8(naamVerwijderd));
  // Two names on one file would leave only the last one written; refuse
  // before touching anything.
  for (std::size_t a = 0; a < uitvoer.size(); ++a) {
    for (std::size_t b = a + 1; b < uitvoer.size(); ++b) {
      if (zelfdeDoel(uitvoer[a].doel(), uitvoer[b].doel())) {
        return foutMelding(uitvoer[b].doel(), "twee bestanden met dezelfde naam");
      }
    }
  }

  // All files are written completely before any is put in place, so a
  // failure never leaves half a save behind.
  auto fout = [](const Uitvoer& u) { return foutMelding(u.doel(), u.reden()); };
  for (std::size_t i = 0; i < aantal; ++i) {
    if (!uitvoer[i].open()) return fout(uitvoer[i]);
    UitvoerNaarBestand stroom(uitvoer[i]);
    if (!formaat.schrijf(i, store, stroom, decimaalteken) || !uitvoer[i].sluit()) return fout(uitvoer[i]);
  }
  if (metLijst) {
    Uitvoer& lijst = uitvoer.back();
    if (!lijst.open() || !lijst.schrijf(lijstVerwijderd(store)) || !lijst.sluit()) return fout(lijst);
  }

  // Every file but the last keeps the one it replaces until all are in
  // place, so a failed rename puts the earlier ones back.
  for (std::size_t i = 0; i < uitvoer.size(); ++i) {
    if (!uitvoer[i].plaats(i + 1 < uitvoer.size())) {
      for (std::size_t terug = i; terug-- > 0;) uitvoer[terug].zetTerug();
      return fout(uitvoer[i]);
    }
  }
  for (Uitvoer& u : uitvoer) u.bevestig();
  return std::nullopt;
}

std::optional<Melding> schrijfResultaat(const ProfielStore& store, const std::string& map,
                                        const std::string& naamResultaat,
                                        const std::string& naamVerwijderd, char decimaalteken) {
  return slaOp(store, map, profielregels(), {naamResultaat}, naamVerwijderd, decimaalteken);
}

}  // namespace zarvo
