#include "output/opslag.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstdint>
#include <memory>
#include <new>
#include <random>
#include <set>
#include <system_error>

#ifndef _WIN32
#include <climits>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "output/veiligschrijven.h"
#include "basis/bestandspad.h"
#include "basis/onderbreking.h"

namespace zarvo::opslag {

namespace fs = std::filesystem;

namespace {

const char* const kJournaalTijdelijk = ".zarvo-opslag.journaal.tmp";
const char* const kKop = "zarvo-opslag 2 ";
// Earlier versions: the same steps with the paths as the save was given them.
const char* const kKopVersie1 = "zarvo-opslag 1 ";

bool bestaat(const fs::path& p) {
  std::error_code ec;
  return fs::exists(fs::symlink_status(p, ec));
}

// Removes 'p' when it is there; false when it is there and stays.
bool weg(const fs::path& p) {
  std::error_code ec;
  if (p.empty()) return true;
  fs::remove(p, ec);
  return !ec || !bestaat(p);
}

struct SluitBestand {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

std::string leesBestand(const fs::path& pad) {
  std::unique_ptr<std::FILE, SluitBestand> f(openBestand(pad, "rb"));
  std::string inhoud;
  if (!f) return inhoud;
  char blok[4096];
  std::size_t n;
  // A journal is a few hundred bytes; one that is not is not ours.
  while ((n = std::fread(blok, 1, sizeof blok, f.get())) > 0 && inhoud.size() < (1u << 20)) inhoud.append(blok, n);
  return inhoud;
}

void voegVeldToe(std::string& uit, const fs::path& pad) {
  const std::string tekst = pad.empty() ? std::string() : utf8UitPad(pad);
  uit += std::to_string(tekst.size());
  uit += ':';
  uit += tekst;
}

bool leesVeld(std::string_view& tekst, fs::path& pad) {
  const std::size_t dubbelepunt = tekst.find(':');
  if (dubbelepunt == std::string_view::npos) return false;
  std::size_t lengte = 0;
  const auto [eind, ec] = std::from_chars(tekst.data(), tekst.data() + dubbelepunt, lengte);
  if (ec != std::errc() || eind != tekst.data() + dubbelepunt || lengte > tekst.size() - dubbelepunt - 1) {
    return false;
  }
  const std::string_view naam = tekst.substr(dubbelepunt + 1, lengte);
  pad = naam.empty() ? fs::path() : padUitUtf8(naam);
  tekst.remove_prefix(dubbelepunt + 1 + lengte);
  return naam.empty() || !pad.empty();
}

// The folders whose entries a save changed.
std::set<fs::path> mappenVan(const fs::path& map, const std::vector<Uitvoerstap>& stappen) {
  std::set<fs::path> mappen{map};
  for (const Uitvoerstap& s : stappen) mappen.insert(s.doel.parent_path());
  return mappen;
}

void schrijfMappenNaarSchijf(const std::set<fs::path>& mappen) {
  for (const fs::path& m : mappen) schrijfMapNaarSchijf(m);
}

// The three below return whether every step succeeded; a journal stays
// until one of them has.

// Committed: every new file goes in place, every stale list goes.
bool maakAf(const std::vector<Uitvoerstap>& stappen) {
  bool goed = true;
  for (const Uitvoerstap& s : stappen) {
    if (s.soort == Stap::Soort::Plaats) {
      std::error_code ec;
      if (bestaat(s.tijdelijk)) {
        fs::rename(s.tijdelijk, s.doel, ec);
        if (ec) goed = false;
      } else if (!bestaat(s.doel)) {
        goed = false;  // neither the new file nor its temporary: lost
      }
      // A temporary file that is gone beside its target was renamed already.
    } else if (!weg(s.doel)) {
      goed = false;
    }
  }
  if (!goed) return false;
  for (const Uitvoerstap& s : stappen) goed = weg(s.reserve) && goed;
  return goed;
}

// Prepared: nothing was put in place, so only our own files go.
bool laatVallen(const std::vector<Uitvoerstap>& stappen) {
  bool goed = true;
  for (const Uitvoerstap& s : stappen) goed = weg(s.tijdelijk) && weg(s.reserve) && goed;
  return goed;
}

// Undoing a save whose renames had begun: what was put in place goes, the
// file it replaced comes back.
bool zetTerug(const std::vector<Uitvoerstap>& stappen) {
  bool goed = true;
  for (const Uitvoerstap& s : stappen) {
    std::error_code ec;
    if (s.soort == Stap::Soort::Plaats && bestaat(s.tijdelijk)) {
      goed = weg(s.tijdelijk) && goed;  // never placed
      goed = weg(s.reserve) && goed;
    } else if (!s.reserve.empty()) {
      if (bestaat(s.reserve)) fs::rename(s.reserve, s.doel, ec);
      if (ec) goed = false;
    } else if (s.soort == Stap::Soort::Plaats) {
      goed = weg(s.doel) && goed;  // a new file that had no predecessor
    }
  }
  return goed;
}

std::string namenVan(const std::vector<Stap>& stappen) {
  std::string uit;
  for (const Stap& s : stappen) {
    if (!uit.empty()) uit += ", ";
    uit += utf8UitPad(s.doel.filename());
  }
  return uit;
}

// Whether 'p' (not followed when it is a link) is a plain file of the user
// running, or nothing at all; otherwise why not, for the message. A link
// is allowed where 'koppelingMag': the name is removed, not what it names.
std::optional<std::string> nietVanOns(const fs::path& p, bool koppelingMag = false) {
#ifdef _WIN32
  std::error_code ec;
  const fs::file_status st = fs::symlink_status(p, ec);
  if (!fs::exists(st)) return std::nullopt;
  if (fs::is_regular_file(st) || (koppelingMag && fs::is_symlink(st))) return std::nullopt;
  return utf8UitPad(p.filename()) + " is geen gewoon bestand";
#else
  struct stat st {};
  if (::lstat(p.c_str(), &st) != 0) {
    if (errno == ENOENT) return std::nullopt;
    return utf8UitPad(p) + " is niet te bekijken";
  }
  if (!S_ISREG(st.st_mode) && !(koppelingMag && S_ISLNK(st.st_mode))) {
    return utf8UitPad(p) + " is geen gewoon bestand";
  }
  if (st.st_uid != ::geteuid()) return utf8UitPad(p) + " is van een andere gebruiker";
  return std::nullopt;
#endif
}

// Our temporary and second names: ".zarvo-" with 8 hex digits, then
// 'staart' (".tmp" or ".oud"), and nothing before it.
bool isEigenNaam(const fs::path& naam, std::string_view staart) {
  const std::string tekst = utf8UitPad(naam);
  if (tekst.size() != 7 + 8 + staart.size() || !tekst.starts_with(".zarvo-") || !tekst.ends_with(staart)) {
    return false;
  }
  return std::all_of(tekst.begin() + 7, tekst.begin() + 15,
                     [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

// The paths of a step read from the journal in 'map', or why it is not
// followed. Only names of that folder (and, through the user's own link,
// our temporary names beside the file it names) are ever touched.
std::optional<std::string> losOp(const fs::path& map, const Stap& s, Uitvoerstap& uit) {
  const std::string doelNaam = utf8UitPad(s.doel);
  if (controleerBestandsnaam(doelNaam) != Naamfout::Geen || s.doel.has_parent_path()) {
    return "het journaal noemt '" + doelNaam + "', geen bestand in deze map";
  }
  const bool metTijdelijk = s.soort == Stap::Soort::Plaats;
  if (metTijdelijk ? !isEigenNaam(s.tijdelijk, ".tmp") : !s.tijdelijk.empty()) {
    return "het journaal noemt '" + utf8UitPad(s.tijdelijk) + "' als tijdelijk bestand";
  }
  if (!s.reserve.empty() && !isEigenNaam(s.reserve, ".oud")) {
    return "het journaal noemt '" + utf8UitPad(s.reserve) + "' als reserve";
  }
  uit.soort = s.soort;
  uit.doel = map / s.doel;
  fs::path bij = map;
  if (s.viaKoppeling) {
    if (s.soort != Stap::Soort::Plaats) return std::string("het journaal is beschadigd");
    if (auto waarom = nietVanOns(uit.doel, true)) return waarom;
    std::error_code ec;
    if (!fs::is_symlink(fs::symlink_status(uit.doel, ec))) return doelNaam + " is geen koppeling meer";
    const fs::path echt = fs::canonical(uit.doel, ec);
    if (ec) return "de koppeling " + doelNaam + " wijst naar niets";
    uit.doel = echt;
    bij = echt.parent_path();
  }
  uit.tijdelijk = s.tijdelijk.empty() ? fs::path() : bij / s.tijdelijk;
  uit.reserve = s.reserve.empty() ? fs::path() : bij / s.reserve;
  for (const fs::path* p : {&uit.tijdelijk, &uit.reserve, &uit.doel}) {
    if (p->empty()) continue;
    if (auto waarom = nietVanOns(*p, p == &uit.doel && s.soort == Stap::Soort::Weg)) return waarom;
  }
  return std::nullopt;
}

// A journal of an earlier version holds the paths as its save was given
// them: relative ones against the working folder of that run. Its own
// folder was the save's folder under that same name, so the relative
// paths, which all start with that name, stand for names in this folder
// whichever working folder that run had. Absolute paths count when they
// lie in this folder. Anything else (a link written through into another
// folder, mixed prefixes) cannot be placed for sure and is refused.
bool maakKaal(const fs::path& map, std::vector<Stap>& stappen) {
  std::optional<fs::path> relatief;
  auto kaal = [&](fs::path& p) {
    if (p.empty()) return true;
    const fs::path ouder = p.parent_path();
    if (p.is_absolute()) {
      std::error_code ec;
      if (!fs::equivalent(ouder, map, ec)) return false;
    } else {
      if (relatief && *relatief != ouder) return false;
      relatief = ouder;
    }
    p = p.filename();
    return !p.empty();
  };
  for (Stap& s : stappen) {
    if (!kaal(s.tijdelijk) || !kaal(s.reserve) || !kaal(s.doel)) return false;
  }
  return true;
}

// The folder as the user can find it, whatever the working folder.
std::string mapVoorMensen(const fs::path& map) {
  std::error_code ec;
  fs::path pad = fs::absolute(map, ec).lexically_normal();
  if (ec) pad = map;
  if (pad.filename().empty() && pad.has_parent_path() && pad.parent_path() != pad) pad = pad.parent_path();
  return utf8UitPad(pad);
}

// Traces of the saves of earlier versions: ".<name>.zarvo-<hex>.tmp" and
// ".oud" beside their target. Nothing of ours uses that form any more.
bool isOudSpoor(const std::string& naam) {
  if (naam.size() < 4 || naam[0] != '.') return false;
  const std::string_view staart = std::string_view(naam).substr(naam.size() - 4);
  if (staart != ".tmp" && staart != ".oud") return false;
  const std::size_t zarvo = naam.rfind(".zarvo-");
  if (zarvo == std::string::npos || zarvo < 2) return false;
  const std::size_t begin = zarvo + 7, eind = naam.size() - 4;
  if (eind <= begin || eind - begin > 16) return false;
  return std::all_of(naam.begin() + static_cast<std::ptrdiff_t>(begin), naam.begin() + static_cast<std::ptrdiff_t>(eind),
                     [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

std::string willekeurigeStam(std::mt19937_64& bron) {
  char hex[17];
  const auto [eind, ec] = std::to_chars(hex, hex + 16, bron() & 0xffffffffu, 16);
  (void)ec;
  std::string stam = ".zarvo-";
  stam.append(8 - static_cast<std::size_t>(eind - hex), '0');
  stam.append(hex, eind);
  return stam;
}

}  // namespace

const char* journaalNaam() { return ".zarvo-opslag.journaal"; }

std::optional<std::string> bepaalDoel(const fs::path& gekozen, Doel& doel) {
  doel = Doel{};
  doel.gekozen = gekozen;
  doel.pad = gekozen;
  if (gekozen.filename().empty()) return std::string("geen geldige bestandsnaam");
  // Our own lock, journal and temporary files go by these names.
  // The same rule as every caller's and as recovery's: a name the journal
  // could not be trusted with later is not written now either (".zarvo-x\"
  // is a separator before it is ours, and was let through).
  if (const Naamfout fout = controleerBestandsnaam(utf8UitPad(gekozen.filename())); fout != Naamfout::Geen) {
    return "geen geldige bestandsnaam (" + std::string(naamfoutTekst(fout)) + ")";
  }
#ifndef _WIN32
  // Told before anything is read: the system would only refuse the name
  // when the result is written, minutes later.
  {
    const fs::path map = gekozen.has_parent_path() ? gekozen.parent_path() : fs::path(".");
    long naamMax = ::pathconf(map.c_str(), _PC_NAME_MAX);
    if (naamMax <= 0) naamMax = NAME_MAX;
    const std::size_t lengte = gekozen.filename().native().size();
    if (lengte > static_cast<std::size_t>(naamMax)) {
      return "de naam is te lang (" + std::to_string(lengte) + " tekens; deze map neemt er hoogstens " +
             std::to_string(naamMax) + ")";
    }
    long padMax = ::pathconf(map.c_str(), _PC_PATH_MAX);
    if (padMax <= 0) padMax = PATH_MAX;
    std::error_code ec;
    const std::size_t padLengte = fs::absolute(gekozen, ec).native().size();
    if (!ec && padLengte >= static_cast<std::size_t>(padMax)) {
      return "het pad is te lang (" + std::to_string(padLengte) + " tekens; het systeem neemt er hoogstens " +
             std::to_string(padMax - 1) + ")";
    }
  }
#endif
  std::error_code ec;
  if (fs::is_symlink(fs::symlink_status(gekozen, ec))) {
    // The link stays and the file it points at gets the new content, as
    // any editor does.
    const fs::path echt = fs::canonical(gekozen, ec);
    if (ec) {
      const fs::path wijstNaar = fs::read_symlink(gekozen, ec);
      return "een koppeling naar " + utf8UitPad(wijstNaar) + ", dat niet bestaat";
    }
    doel.pad = echt;
  }
  const fs::file_status st = fs::status(doel.pad, ec);
  if (!fs::exists(st)) return std::nullopt;
  if (fs::is_directory(st)) return std::string("er staat een map met die naam");
  if (!fs::is_regular_file(st)) return std::string("geen gewoon bestand (een pijp, apparaat of socket)");
  doel.bestaat = true;
  doel.modus = st.permissions();
  // Protecting a file against writing is how a user keeps it as it is;
  // the save would otherwise replace it through the folder's permission.
  bool beveiligd = (st.permissions() & (fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write)) ==
                   fs::perms::none;
#ifndef _WIN32
  beveiligd = beveiligd || (::access(doel.pad.c_str(), W_OK) != 0 && errno == EACCES);
#endif
  if (beveiligd) {
    doel.beveiligd = true;
    return std::string("het bestand is beveiligd tegen schrijven en wordt niet vervangen; "
                       "kies een andere naam of haal de beveiliging eraf");
  }
  return std::nullopt;
}

std::string journaalTekst(Staat staat, const std::vector<Stap>& stappen) {
  std::string uit = kKop;
  uit += static_cast<char>(staat);
  uit += '\n';
  for (const Stap& s : stappen) {
    uit += s.viaKoppeling ? 'L' : static_cast<char>(s.soort);
    uit += ' ';
    voegVeldToe(uit, s.tijdelijk);
    voegVeldToe(uit, s.reserve);
    voegVeldToe(uit, s.doel);
    uit += '\n';
  }
  return uit;
}

bool leesJournaal(std::string_view tekst, Staat& staat, std::vector<Stap>& stappen, int* versie) {
  std::string_view kop = kKop;
  int gelezen = 2;
  if (tekst.substr(0, kop.size()) != kop) {
    kop = kKopVersie1;
    gelezen = 1;
  }
  if (tekst.substr(0, kop.size()) != kop || tekst.size() < kop.size() + 2 || tekst[kop.size() + 1] != '\n') {
    return false;
  }
  const char s = tekst[kop.size()];
  if (s != 'V' && s != 'K' && s != 'T') return false;
  staat = static_cast<Staat>(s);
  tekst.remove_prefix(kop.size() + 2);
  stappen.clear();
  while (!tekst.empty()) {
    const bool koppeling = gelezen == 2 && tekst[0] == 'L';
    if (tekst.size() < 2 || (tekst[0] != 'P' && tekst[0] != 'W' && !koppeling) || tekst[1] != ' ') return false;
    Stap stap;
    stap.soort = koppeling ? Stap::Soort::Plaats : static_cast<Stap::Soort>(tekst[0]);
    stap.viaKoppeling = koppeling;
    tekst.remove_prefix(2);
    if (!leesVeld(tekst, stap.tijdelijk) || !leesVeld(tekst, stap.reserve) || !leesVeld(tekst, stap.doel)) return false;
    if (tekst.empty() || tekst[0] != '\n' || stap.doel.empty()) return false;
    if (stap.soort == Stap::Soort::Plaats && stap.tijdelijk.empty()) return false;
    tekst.remove_prefix(1);
    stappen.push_back(std::move(stap));
  }
  if (versie) *versie = gelezen;
  return true;
}

bool heeftSporen(const fs::path& map) {
  if (bestaat(map / journaalNaam()) || bestaat(map / kJournaalTijdelijk) || bestaat(map / Mapslot::bestandsnaam())) {
    return true;
  }
  std::error_code ec;
  for (fs::directory_iterator it(map, ec), eind; !ec && it != eind; it.increment(ec)) {
    if (isOudSpoor(utf8UitPad(it->path().filename()))) return true;
  }
  return false;
}

Herstel herstel(const fs::path& map) {
  Herstel uit;
  const std::string mapNaam = mapVoorMensen(map);
  // Half a journal of our own never counts: the journal is only ever
  // renamed into place whole. Another user's is left alone.
  if (!nietVanOns(map / kJournaalTijdelijk)) weg(map / kJournaalTijdelijk);
  const fs::path journaal = map / journaalNaam();
  if (bestaat(journaal)) {
    Staat staat{};
    std::vector<Stap> stappen;
    int versie = 0;
    // What to remove, when it comes to that: the journal and whichever of
    // its temporary names are there.
    auto weiger = [&](const std::string& waarom) {
      std::string wat = "het journaal " + std::string(journaalNaam());
      std::vector<std::string> sporen;
      for (const Stap& s : stappen) {
        for (const fs::path* p : {&s.tijdelijk, &s.reserve}) {
          if (!p->empty() && !p->has_parent_path() && bestaat(map / *p)) sporen.push_back(utf8UitPad(*p));
        }
      }
      for (std::size_t i = 0; i < sporen.size(); ++i) {
        wat += i == 0 ? " en de tijdelijke bestanden " : ", ";
        wat += sporen[i];
      }
      uit.onveilig = "In " + mapNaam + " staat een onderbroken opslag die niet veilig kan worden hersteld (" + waarom +
                     "); er is niets aan veranderd. Kijk de bestanden in die map na en verwijder daar " + wat +
                     "; tot dan wordt er in die map niet opgeslagen.";
    };
    if (auto waarom = nietVanOns(journaal)) {
      weiger("het journaal: " + *waarom);
      return uit;
    }
    if (!leesJournaal(leesBestand(journaal), staat, stappen, &versie)) {
      // Never removed unread: it may be a later version's.
      weiger("het journaal is onleesbaar");
      return uit;
    }
    if (versie == 1 && !maakKaal(map, stappen)) {
      weiger("het journaal is van een eerdere versie en noemt bestanden buiten deze map");
      return uit;
    }
    std::vector<Uitvoerstap> paden(stappen.size());
    for (std::size_t i = 0; i < stappen.size(); ++i) {
      if (auto waarom = losOp(map, stappen[i], paden[i])) {
        weiger(*waarom);
        return uit;
      }
    }
    bool goed;
    std::string gedaan;
    if (staat == Staat::Vastgelegd) {
      goed = maakAf(paden);
      gedaan = goed ? "die is nu afgemaakt (" + namenVan(stappen) + ")." : std::string();
    } else {
      goed = staat == Staat::Terug ? zetTerug(paden) : laatVallen(paden);
      gedaan = "die is ongedaan gemaakt, de bestanden van daarvoor (" + namenVan(stappen) + ") zijn ongewijzigd.";
    }
    schrijfMappenNaarSchijf(mappenVan(map, paden));
    if (!goed) {
      weiger(staat == Staat::Vastgelegd ? "het afmaken is mislukt" : "het ongedaan maken is mislukt");
      return uit;
    }
    weg(journaal);
    schrijfMapNaarSchijf(map);
    uit.gedaan.push_back("In " + mapNaam + " was een opslag onderbroken; " + gedaan);
  }

  std::error_code ec;
  int oudeSporen = 0;
  for (fs::directory_iterator it(map, ec), eind; !ec && it != eind; it.increment(ec)) {
    if (!isOudSpoor(utf8UitPad(it->path().filename())) || nietVanOns(it->path())) continue;
    std::error_code wegEc;
    if (fs::remove(it->path(), wegEc)) ++oudeSporen;
  }
  if (oudeSporen > 0) {
    uit.gedaan.push_back("In " + mapNaam + (oudeSporen == 1 ? " is 1 achtergebleven tijdelijk bestand"
                                                           : " zijn " + std::to_string(oudeSporen) +
                                                                 " achtergebleven tijdelijke bestanden") +
                         " van een eerdere opslag verwijderd.");
  }
  return uit;
}

Transactie::~Transactie() {
  for (std::FILE*& f : open_) {
    if (f) std::fclose(f);
    f = nullptr;
  }
  if (klaar_) return;
  // Committed: carrying it out is the way to a consistent pair now.
  const bool goed = vastgelegd_ ? maakAf(paden_) : laatVallen(paden_);
  if (begonnen_) {
    schrijfMappenNaarSchijf(mappenVan(map_, paden_));
    // What did not go as it should is left to the next save's recovery.
    if (goed) weg(map_ / journaalNaam());
  }
}

namespace {

// Short names: the target's name may be as long as the file system allows,
// so the temporary name must not grow with it. Bare names, in 'map'.
void geefNamen(const fs::path& map, Stap& stap, bool metReserve) {
  // One generator per thread: saves from two threads at once (the desktop
  // program and a test of the folder lock) must not share its state.
  thread_local std::mt19937_64 bron{std::random_device{}() ^ static_cast<std::uint64_t>(
                                        std::chrono::steady_clock::now().time_since_epoch().count())};
  for (int poging = 0; poging < 100; ++poging) {
    const std::string stam = willekeurigeStam(bron);
    const fs::path tijdelijk = padUitUtf8(stam + ".tmp");
    const fs::path reserve = padUitUtf8(stam + ".oud");
    if (bestaat(map / tijdelijk) || bestaat(map / reserve)) continue;
    if (stap.soort == Stap::Soort::Plaats) stap.tijdelijk = tijdelijk;
    if (metReserve) stap.reserve = reserve;
    return;
  }
}

Uitvoerstap padenVan(const fs::path& map, const fs::path& doel, const Stap& stap) {
  Uitvoerstap uit;
  uit.soort = stap.soort;
  uit.doel = doel;
  if (!stap.tijdelijk.empty()) uit.tijdelijk = map / stap.tijdelijk;
  if (!stap.reserve.empty()) uit.reserve = map / stap.reserve;
  return uit;
}

}  // namespace

std::size_t Transactie::plaats(const Doel& doel) {
  Stap stap;
  stap.soort = Stap::Soort::Plaats;
  // A link is written through: the temporary file goes beside the file it
  // names, and the journal names the link.
  stap.viaKoppeling = doel.pad != doel.gekozen;
  stap.doel = doel.gekozen.filename();
  const fs::path bij = stap.viaKoppeling ? doel.pad.parent_path() : map_;
  geefNamen(bij, stap, doel.bestaat);
  paden_.push_back(padenVan(bij, stap.viaKoppeling ? doel.pad : map_ / stap.doel, stap));
  stappen_.push_back(std::move(stap));
  modi_.push_back(doel.modus);
  open_.push_back(nullptr);
  return stappen_.size() - 1;
}

void Transactie::verwijder(const Doel& doel) {
  Stap stap;
  stap.soort = Stap::Soort::Weg;
  // The name in the folder goes, also when it is a link: what it points at
  // is not ours to remove.
  stap.doel = doel.gekozen.filename();
  geefNamen(map_, stap, true);
  paden_.push_back(padenVan(map_, map_ / stap.doel, stap));
  stappen_.push_back(std::move(stap));
  modi_.push_back(std::nullopt);
  open_.push_back(nullptr);
}

bool Transactie::schrijfJournaal(Staat staat, Fout& fout) {
  const fs::path tijdelijk = map_ / kJournaalTijdelijk;
  weg(tijdelijk);
  const std::string tekst = journaalTekst(staat, stappen_);
  errno = 0;
  std::unique_ptr<std::FILE, SluitBestand> f(maakNieuwBestand(tijdelijk, std::nullopt));
  bool goed = f && std::fwrite(tekst.data(), 1, tekst.size(), f.get()) == tekst.size() && schrijfNaarSchijf(f.get());
  int code = errno;
  if (f && std::fclose(f.release()) != 0 && goed) {
    goed = false;
    code = errno;
  }
  std::error_code ec;
  if (goed) {
    fs::rename(tijdelijk, map_ / journaalNaam(), ec);
    if (ec) {
      goed = false;
      code = ec.value();
    }
  }
  if (goed) schrijfMapNaarSchijf(map_);
  if (!goed) {
    weg(tijdelijk);
    fout = Fout{map_, redenVan(code)};
  }
  return goed;
}

bool Transactie::begin(Fout& fout) {
  for (std::size_t i = 0; i < stappen_.size(); ++i) {
    const Stap& s = stappen_[i];
    if ((s.soort == Stap::Soort::Plaats && s.tijdelijk.empty()) || (s.reserve.empty() && s.soort == Stap::Soort::Weg)) {
      fout = Fout{paden_[i].doel, "geen tijdelijk bestand te maken"};
      return false;
    }
  }
  if (!schrijfJournaal(Staat::Voorbereid, fout)) return false;
  begonnen_ = true;
  return true;
}

std::FILE* Transactie::open(std::size_t i, Fout& fout) {
  errno = 0;
  std::FILE* f = maakNieuwBestand(paden_[i].tijdelijk, modi_[i]);
  if (!f) {
    const int code = errno;
    std::error_code ec;
    // A folder that is there but takes no new files (a system folder)
    // also answers "no such file".
    if (code == ENOENT && fs::is_directory(paden_[i].doel.parent_path(), ec)) {
      fout = Fout{paden_[i].doel, "in deze map kan geen bestand worden gemaakt"};
    } else {
      fout = Fout{paden_[i].doel, redenVan(code)};
    }
    return nullptr;
  }
  open_[i] = f;
  return f;
}

bool Transactie::sluit(std::size_t i, Fout& fout) {
  std::FILE* f = open_[i];
  open_[i] = nullptr;
  errno = 0;
  bool goed = schrijfNaarSchijf(f);
  int code = errno;
  if (std::fclose(f) != 0 && goed) {
    goed = false;
    code = errno;
  }
  if (!goed) fout = Fout{paden_[i].doel, redenVan(code)};
  return goed;
}

bool Transactie::legVast(Fout& fout) {
  for (std::size_t i = 0; i < stappen_.size(); ++i) {
    Uitvoerstap& s = paden_[i];
    if (s.reserve.empty()) continue;
    std::error_code ec;
    if (!bestaat(s.doel)) {
      s.reserve.clear();  // gone meanwhile: nothing to keep
      stappen_[i].reserve.clear();
      continue;
    }
    fs::create_hard_link(s.doel, s.reserve, ec);
    if (ec) {
      // File systems without hard links: a copy does as well.
      ec.clear();
      fs::copy_file(s.doel, s.reserve, ec);
      if (ec) {
        fout = Fout{s.doel, redenVan(ec.value())};
        return false;
      }
    }
  }
  if (!schrijfJournaal(Staat::Vastgelegd, fout)) return false;
  vastgelegd_ = true;
  return true;
}

bool Transactie::voerUit(Fout& fout) {
  for (const Uitvoerstap& s : paden_) {
    std::error_code ec;
    if (s.soort == Stap::Soort::Plaats) {
      fs::rename(s.tijdelijk, s.doel, ec);
    } else {
      fs::remove(s.doel, ec);
    }
    if (ec) {
      // A file in use (on Windows) or a folder that changed under us. The
      // journal says "undo" first, so that a kill while undoing ends in
      // the old files as well.
      fout = Fout{s.doel, redenVan(ec.value())};
      Fout genegeerd;
      schrijfJournaal(Staat::Terug, genegeerd);
      const bool terug = zetTerug(paden_);
      schrijfMappenNaarSchijf(mappenVan(map_, paden_));
      // An undo that failed too is left to the next save's recovery.
      if (terug) {
        weg(map_ / journaalNaam());
        schrijfMapNaarSchijf(map_);
      }
      klaar_ = true;
      return false;
    }
  }
  schrijfMappenNaarSchijf(mappenVan(map_, paden_));
  bool goed = true;
  for (const Uitvoerstap& s : paden_) goed = weg(s.reserve) && goed;
  // A second name that stays is removed by the next save, as the journal
  // still names it.
  if (goed) weg(map_ / journaalNaam());
  schrijfMapNaarSchijf(map_);
  klaar_ = true;
  return true;
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
    case EFBIG: return "bestand te groot (groter dan dit systeem of deze gebruiker toestaat)";
    case ENAMETOOLONG:
    case EINVAL:
    case EILSEQ: return "geen geldige bestandsnaam";
    case EISDIR: return "er staat een map met die naam";
#ifdef ETXTBSY
    case ETXTBSY:
#endif
    case EBUSY: return "het bestand is in gebruik";
    default: return fout == 0 ? std::string("onbekende oorzaak") : "fout " + std::to_string(fout);
  }
}

}  // namespace zarvo::opslag

// The save itself, around the transaction above.
namespace zarvo {

namespace fs = std::filesystem;

namespace {

const char* const kFoutTekst = "Fout bij het opslaan, controleer bestandsnaam";

Melding foutMelding() { return Melding{"Fout!", kFoutTekst, Icoon::Kritiek}; }

// The second line: which file, and why, in words the user can act on.
Melding foutMelding(const fs::path& pad, const std::string& reden) {
  Melding m = foutMelding();
  m.tekst.append("\n").append(utf8UitPad(pad)).append(": ").append(reden);
  return m;
}

// The stream a format writes into: the temporary file of one target. A
// signal to stop ends the writing here, where undoing is still free.
class UitvoerNaarBestand : public Uitvoerstroom {
 public:
  explicit UitvoerNaarBestand(std::FILE* bestand) : bestand_(bestand) {}
  bool schrijf(std::string_view bytes) override {
    if (!goed_) return false;
    if (onderbrekingSignaal() != 0) {
      onderbroken_ = true;
      goed_ = false;
      return false;
    }
    errno = 0;
    if (std::fwrite(bytes.data(), 1, bytes.size(), bestand_) != bytes.size()) {
      fout_ = errno;
      goed_ = false;
    }
    return goed_;
  }
  bool onderbroken() const { return onderbroken_; }
  int fout() const { return fout_; }

 private:
  std::FILE* bestand_;
  bool goed_ = true;
  bool onderbroken_ = false;
  int fout_ = 0;
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

namespace {

std::chrono::milliseconds wachttijdSlot{5000};

struct Slot {
  std::unique_ptr<Mapslot> slot;
  std::vector<std::string> hersteld;
};

// The folder's lock, and whatever an interrupted save left there dealt
// with first.
std::optional<Opslagfout> neemMap(const fs::path& map, const std::string& mapNaam, Slot& uit) {
  std::error_code ec;
  const fs::file_status st = fs::status(map, ec);
  if (!fs::exists(st)) return Opslagfout{mapNaam, "de map bestaat niet"};
  if (!fs::is_directory(st)) return Opslagfout{mapNaam, "dit is geen map"};
  errno = 0;
  switch (Mapslot::neem(map, wachttijdSlot, uit.slot)) {
    case Mapslot::Uitkomst::Genomen: break;
    case Mapslot::Uitkomst::Bezet:
      return Opslagfout{mapNaam,
                        "er wordt al in deze map opgeslagen (door een ander venster of programma); "
                        "probeer het zo opnieuw",
                        "De map is bezet"};
    case Mapslot::Uitkomst::Fout: {
      const int fout = errno;
      // A folder that is there but takes no new files (a system folder)
      // also answers "no such file".
      if (fout == ENOENT) return Opslagfout{mapNaam, "in deze map kan geen bestand worden gemaakt"};
      return Opslagfout{mapNaam, opslag::redenVan(fout)};
    }
  }
  opslag::Herstel herstel = opslag::herstel(map);
  uit.hersteld = std::move(herstel.gedaan);
  if (herstel.onveilig) {
    // Its journal must stay until the user has looked: a save now would
    // write its own journal over it.
    return Opslagfout{mapNaam, *herstel.onveilig, "Opslaan in deze map kan niet"};
  }
  return std::nullopt;
}

// A result name that is one of the input files would replace what the
// result was made from.
std::optional<Melding> controleerTegenInvoer(const opslag::Doel& doel, const std::vector<std::string>& invoer) {
  if (!doel.bestaat) return std::nullopt;
  for (const std::string& pad : invoer) {
    std::error_code ec;
    if (!pad.empty() && fs::equivalent(doel.pad, padUitUtf8(pad), ec)) {
      return foutMelding(doel.gekozen, "dit is een invoerbestand; kies een andere naam");
    }
  }
  return std::nullopt;
}

fs::path mapPad(const std::string& map) { return map.empty() ? fs::path(".") : padUitUtf8(map); }

}  // namespace

namespace {

std::optional<Melding> slaOpZonderVangnet(const ProfielStore& store, const std::string& map,
                                          const Resultaatformaat& formaat, const std::vector<std::string>& namen,
                                          const std::string& naamVerwijderd, char decimaalteken,
                                          Opslagverslag* verslag, const std::vector<std::string>& ookInvoer) {
  const std::size_t aantal = formaat.aantalBestanden();
  if (namen.size() != aantal) return foutMelding();
  if (auto weigering = formaat.controleer(store)) return weigering;
  const bool metLijst = store.aantalVerwijderd() > 0;

  const fs::path doelmap = padUitUtf8(map);
  if (doelmap.empty() && !map.empty()) return foutMelding(map, "geen geldige mapnaam");
  std::vector<std::string> invoer = ookInvoer;
  invoer.push_back(store.inputbestand);
  invoer.push_back(store.bestandSloot);

  // The lock first: what is there (an old list, a file to replace) is only
  // known for sure once no other save can change it.
  Slot slot;
  // Messages name the result file, as those of the writing do.
  const std::string eerste = namen.empty() ? map : utf8UitPad(doelmap / padUitUtf8(namen.front()));
  if (auto fout = neemMap(mapPad(map), eerste, slot)) return fout->melding();
  if (verslag) {
    for (std::string& tekst : slot.hersteld) verslag->hersteld.push_back(Melding{"Let op!", std::move(tekst), Icoon::Informatie});
  }

  // Every file of the save, the list last.
  std::vector<opslag::Doel> doelen;
  std::vector<std::string> gekozen = namen;
  gekozen.push_back(naamVerwijderd);
  for (std::size_t i = 0; i < gekozen.size(); ++i) {
    opslag::Doel doel;
    const auto reden = opslag::bepaalDoel(doelmap / padUitUtf8(gekozen[i]), doel);
    const bool isLijst = i == aantal;
    if (isLijst && !metLijst) {
      // No list this time: one from an earlier save would claim deletions
      // this result does not have, so it goes with this save. Only a
      // plain file or a link; anything else under that name is not ours.
      std::error_code ec;
      const fs::file_status st = fs::symlink_status(doel.gekozen, ec);
      const bool isResultaat = std::any_of(doelen.begin(), doelen.end(),
                                           [&](const opslag::Doel& d) { return zelfdeDoel(d.gekozen, doel.gekozen); });
      if ((fs::is_regular_file(st) || fs::is_symlink(st)) && !isResultaat) {
        if (doel.beveiligd && reden) return foutMelding(doel.gekozen, *reden);
        if (auto fout = controleerTegenInvoer(doel, invoer)) return fout;
        doelen.push_back(doel);
      }
      break;
    }
    if (reden) return foutMelding(doel.gekozen, *reden);
    if (auto fout = controleerTegenInvoer(doel, invoer)) return fout;
    doelen.push_back(doel);
  }
  const bool lijstWeg = !metLijst && doelen.size() > aantal;
  // Two names on one file would leave only the last one written; refuse
  // before touching anything.
  for (std::size_t a = 0; a < doelen.size(); ++a) {
    for (std::size_t b = a + 1; b < doelen.size(); ++b) {
      if (zelfdeDoel(doelen[a].pad, doelen[b].pad)) {
        return foutMelding(doelen[b].gekozen, "twee bestanden met dezelfde naam");
      }
    }
  }


  opslag::Transactie transactie(mapPad(map));
  for (std::size_t i = 0; i < doelen.size(); ++i) {
    if (lijstWeg && i == aantal) {
      transactie.verwijder(doelen[i]);
    } else {
      transactie.plaats(doelen[i]);
    }
  }
  opslag::Fout fout;
  auto melding = [&fout]() { return foutMelding(fout.pad, fout.reden); };
  auto onderbroken = []() {
    return Melding{"Fout!",
                   "Opslaan onderbroken door " + signaalNaam(onderbrekingSignaal()) +
                       "; de bestaande bestanden zijn ongewijzigd.",
                   Icoon::Kritiek};
  };
  if (!transactie.begin(fout)) return melding();

  // All files are written completely and on the disk before any is put in
  // place, so a failure or a kill never leaves half a save behind.
  const std::string lijst = metLijst ? lijstVerwijderd(store) : std::string();
  const std::size_t teSchrijven = metLijst ? aantal + 1 : aantal;
  for (std::size_t i = 0; i < teSchrijven; ++i) {
    std::FILE* bestand = transactie.open(i, fout);
    if (!bestand) return melding();
    UitvoerNaarBestand stroom(bestand);
    const bool goed = i < aantal ? formaat.schrijf(i, store, stroom, decimaalteken) : stroom.schrijf(lijst);
    if (stroom.onderbroken()) return onderbroken();
    if (!goed) return foutMelding(doelen[i].gekozen, opslag::redenVan(stroom.fout()));
    if (!transactie.sluit(i, fout)) return melding();
  }
  if (onderbrekingSignaal() != 0) return onderbroken();
  if (!transactie.legVast(fout)) return melding();
  // From here on the save is carried out whatever comes: undoing it would
  // take as long as finishing it.
  if (!transactie.voerUit(fout)) return melding();
  if (verslag && lijstWeg) verslag->oudeLijstVerwijderd = utf8UitPad(doelen[aantal].gekozen);
  return std::nullopt;
}

std::optional<Melding> slaBestandOpZonderVangnet(const ProfielStore& store, const std::string& map,
                                                const std::string& naam, const Resultaatformaat& formaat,
                                                const std::vector<std::string>& invoer, Opslagverslag* verslag) {
  if (formaat.aantalBestanden() != 1) return foutMelding();
  if (const Naamfout waarom = controleerBestandsnaam(naam); waarom != Naamfout::Geen) {
    return foutMelding(padUitUtf8(naam), std::string(naamfoutTekst(waarom)));
  }
  const fs::path doelmap = mapPad(map);
  Slot slot;
  if (auto fout = neemMap(doelmap, utf8UitPad(doelmap / padUitUtf8(naam)), slot)) return fout->melding();
  if (verslag) {
    for (std::string& tekst : slot.hersteld) verslag->hersteld.push_back(Melding{"Let op!", std::move(tekst), Icoon::Informatie});
  }
  opslag::Doel doel;
  if (const auto reden = opslag::bepaalDoel(doelmap / padUitUtf8(naam), doel)) return foutMelding(doel.gekozen, *reden);
  std::vector<std::string> alleInvoer = invoer;
  alleInvoer.push_back(store.inputbestand);
  alleInvoer.push_back(store.bestandSloot);
  if (auto fout = controleerTegenInvoer(doel, alleInvoer)) return fout;

  opslag::Transactie transactie(doelmap);
  transactie.plaats(doel);
  opslag::Fout fout;
  if (!transactie.begin(fout)) return foutMelding(fout.pad, fout.reden);
  std::FILE* bestand = transactie.open(0, fout);
  if (!bestand) return foutMelding(fout.pad, fout.reden);
  UitvoerNaarBestand stroom(bestand);
  const bool goed = formaat.schrijf(0, store, stroom, '.');
  if (stroom.onderbroken()) {
    return Melding{"Fout!", "Opslaan onderbroken door " + signaalNaam(onderbrekingSignaal()) + "; er is niets veranderd.",
                   Icoon::Kritiek};
  }
  if (!goed) {
    return foutMelding(doel.gekozen, stroom.fout() != 0 ? opslag::redenVan(stroom.fout()) : "het bestand kon niet worden gemaakt");
  }
  if (!transactie.sluit(0, fout) || !transactie.legVast(fout) || !transactie.voerUit(fout)) {
    return foutMelding(fout.pad, fout.reden);
  }
  return std::nullopt;
}

}  // namespace

std::optional<Melding> slaBestandOp(const ProfielStore& store, const std::string& map, const std::string& naam,
                                    const Resultaatformaat& formaat, const std::vector<std::string>& ookInvoer,
                                    Opslagverslag* verslag) {
  try {
    return slaBestandOpZonderVangnet(store, map, naam, formaat, ookInvoer, verslag);
  } catch (const std::bad_alloc&) {
    return meldingTeWeinigGeheugen(utf8UitPad(mapPad(map) / padUitUtf8(naam)));
  }
}

Naamfout controleerBestandsnaam(std::string_view naam) {
  if (naam.find_first_not_of(" \t\r\n\v\f") == std::string_view::npos) return Naamfout::Leeg;
  if (naam == "." || naam == "..") return Naamfout::PuntOfPuntPunt;
  // Both separators on every system: a name made on Linux may be opened on
  // Windows, where '\\' is one.
  if (naam.find_first_of("/\\") != std::string_view::npos) return Naamfout::Scheidingsteken;
  if (naam.starts_with(".zarvo-")) return Naamfout::Gereserveerd;
  return Naamfout::Geen;
}

std::string_view naamfoutTekst(Naamfout fout) {
  switch (fout) {
    case Naamfout::Geen: return {};
    case Naamfout::Leeg: return "de naam is leeg";
    case Naamfout::PuntOfPuntPunt: return "'.' en '..' zijn geen bestandsnamen";
    case Naamfout::Scheidingsteken: return "de naam bevat een '/' of '\\'";
    case Naamfout::Gereserveerd: return "namen die met .zarvo- beginnen gebruikt het programma zelf";
  }
  return {};
}

Melding Opslagfout::melding() const {
  Melding m = foutMelding();
  if (!kop.empty()) m.tekst = kop;
  m.tekst.append("\n").append(pad).append(": ").append(reden);
  return m;
}

void zetWachttijdMapslot(std::chrono::milliseconds wacht) { wachttijdSlot = wacht; }

Melding meldingOpgeslagen(const Opslagverslag& verslag) {
  Melding m{"Bestand opgeslagen", "Bestanden zijn opgeslagen.", Icoon::Geen};
  if (!verslag.oudeLijstVerwijderd.empty()) {
    m.tekst += "\nHet oude overzicht " + verslag.oudeLijstVerwijderd +
               " is verwijderd: er zijn deze keer geen profielen verwijderd.";
  }
  return m;
}

std::optional<Opslagfout> controleerDoelmap(const std::string& map, std::vector<Melding>* hersteld, bool licht) {
  const fs::path pad = mapPad(map);
  const std::string mapNaam = map.empty() ? std::string(".") : map;
  if (pad.empty()) return Opslagfout{map, "geen geldige mapnaam"};
  if (licht && !opslag::heeftSporen(pad)) {
    std::error_code ec;
    const fs::file_status st = fs::status(pad, ec);
    if (!fs::exists(st)) return Opslagfout{mapNaam, "de map bestaat niet"};
    if (!fs::is_directory(st)) return Opslagfout{mapNaam, "dit is geen map"};
    if (!isSchrijfbareMap(pad)) return Opslagfout{mapNaam, "geen schrijfrechten"};
    return std::nullopt;
  }
  // Taking the lock creates a file: the surest test that a save can.
  Slot slot;
  if (auto fout = neemMap(pad, mapNaam, slot)) return fout;
  if (hersteld) {
    for (std::string& tekst : slot.hersteld) hersteld->push_back(Melding{"Let op!", std::move(tekst), Icoon::Informatie});
  }
  return std::nullopt;
}

std::optional<Melding> controleerDoelnamen(const std::string& map, const std::vector<std::string>& namen,
                                           const std::string& naamVerwijderd, const std::vector<std::string>& invoer) {
  const fs::path pad = padUitUtf8(map);
  std::vector<std::string> alle = namen;
  alle.push_back(naamVerwijderd);
  for (std::size_t i = 0; i < alle.size(); ++i) {
    opslag::Doel doel;
    const auto reden = opslag::bepaalDoel(pad / padUitUtf8(alle[i]), doel);
    // Whether there will be a list is not known yet; only an input file
    // under its name matters now.
    if (reden && (i < namen.size() || doel.beveiligd)) return foutMelding(doel.gekozen, *reden);
    if (auto fout = controleerTegenInvoer(doel, invoer)) return fout;
  }
  return std::nullopt;
}

std::optional<Melding> slaOp(const ProfielStore& store, const std::string& map, const Resultaatformaat& formaat,
                             const std::vector<std::string>& namen, const std::string& naamVerwijderd,
                             char decimaalteken, Opslagverslag* verslag, const std::vector<std::string>& ookInvoer) {
  try {
    return slaOpZonderVangnet(store, map, formaat, namen, naamVerwijderd, decimaalteken, verslag, ookInvoer);
  } catch (const std::bad_alloc&) {
    // Everything of this save is undone by then (the transaction's
    // destructor); the old files are as they were.
    const std::string naam = namen.empty() ? map : utf8UitPad(mapPad(map) / padUitUtf8(namen.front()));
    return meldingTeWeinigGeheugen(naam);
  }
}

std::optional<Melding> schrijfResultaat(const ProfielStore& store, const std::string& map,
                                        const std::string& naamResultaat,
                                        const std::string& naamVerwijderd, char decimaalteken) {
  return slaOp(store, map, profielregels(), {naamResultaat}, naamVerwijderd, decimaalteken);
}

}  // namespace zarvo
