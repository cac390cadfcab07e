#include "input/leesbestandsloot.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <memory>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "input/invoerbestand.h"

// Line counting: every '\n' ends a line, and bytes after the last '\n' form
// one more line. So "H\nA\n" has 2 lines and "H\nA\n\n" has 3: an empty
// line at the end counts, which is how a stray blank line after the last
// record makes the record count differ from the profile count. A '\r'
// before the '\n' (files saved on Windows) is not part of the line.

namespace zarvo {

namespace {

const char* const foutTekst = "fout in het invoerbestand, restart het programma";

Melding slootFout(const std::string& tweedeRegel) {
  std::string tekst = foutTekst;
  if (!tweedeRegel.empty()) tekst += "\n" + tweedeRegel;
  return Melding{"Fout!", std::move(tekst), Icoon::Kritiek};
}

// The same sanity limit on a line as the profile-lines file has.
constexpr std::size_t maxRegel = std::size_t{1} << 20;

// Reads the whole file; ditch files hold one short line per profile. A
// file cannot be right once it has more than 'maxRegels' lines, so
// reading stops soon after ('afgekapt'): a huge or endless file chosen by
// mistake must end in a message, not in running out of memory.
std::optional<Melding> leesAlles(const std::string& pad, std::string& inhoud, std::size_t maxRegels, bool& afgekapt) {
  afgekapt = false;
  if (pad.empty()) return slootFout("Er is geen slootbestand gekozen.");
  Invoerfout waarom;
  const Bestand bestand = openInvoer(pad, waarom);
  if (!bestand) return slootFout(waarom.tekst);
  std::size_t regels = 0;
  std::size_t regelBegin = 0;
  char blok[1 << 16];
  while (true) {
    const std::size_t n = std::fread(blok, 1, sizeof(blok), bestand.get());
    const std::size_t oud = inhoud.size();
    inhoud.append(blok, n);
    for (std::size_t i = oud; i < inhoud.size(); ++i) {
      if (inhoud[i] != '\n') continue;
      ++regels;
      regelBegin = i + 1;
    }
    if (inhoud.size() - regelBegin > maxRegel) {
      return slootFout("Het slootbestand " + pad + ", regel " + std::to_string(regels + 1) + ": de regel is langer dan " +
                       std::to_string(maxRegel) + " tekens.");
    }
    // A small file is read to its end, for the exact count in the message.
    if (regels > maxRegels && inhoud.size() > maxRegel) {
      afgekapt = true;
      break;
    }
    if (n < sizeof(blok)) {
      if (std::ferror(bestand.get())) {
        return slootFout("Fout bij het lezen van bestand " + pad + ".");
      }
      break;
    }
  }
  return std::nullopt;
}

// The fields of one record; returns how many were found, 7 at most. Fewer
// than 7: the record is short.
std::size_t splitsVelden(std::string_view regel, std::array<std::string_view, 7>& velden) {
  std::size_t pos = 0;
  for (std::size_t veld = 0; veld < 7; ++veld) {
    const std::size_t puntkomma = regel.find(';', pos);
    const std::size_t eind = puntkomma == std::string_view::npos ? regel.size() : puntkomma;
    velden[veld] = regel.substr(pos, eind - pos);
    if (puntkomma == std::string_view::npos) return veld + 1;
    pos = puntkomma + 1;
  }
  return 7;
}

Melding korteRegel(const std::string& pad, std::size_t regelnummer, std::string_view regel, std::size_t velden) {
  return slootFout("Het slootbestand " + pad + ", regel " + std::to_string(regelnummer) + ": " +
                   (regel.empty() ? std::string("de regel is leeg")
                                  : "de regel heeft " + std::to_string(velden) + (velden == 1 ? " veld" : " velden")) +
                   ", er zijn er 7 nodig (gescheiden door ;).");
}

// A name as compared: without blanks around it, in lower case (ASCII; the
// names are survey codes).
std::string vergelijkNaam(std::string_view naam) {
  const std::size_t begin = naam.find_first_not_of(" \t");
  if (begin == std::string_view::npos) return {};
  naam = naam.substr(begin, naam.find_last_not_of(" \t") - begin + 1);
  std::string uit(naam);
  for (char& c : uit) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return uit;
}

// The lines of a file read whole, without their line ends; a last line
// without one counts.
class Regels {
 public:
  explicit Regels(const std::string& inhoud) : inhoud_(inhoud) {}
  bool volgende(std::string_view& regel) {
    if (begin_ >= inhoud_.size()) return false;
    std::size_t eind = inhoud_.find('\n', begin_);
    if (eind == std::string::npos) eind = inhoud_.size();
    regel = std::string_view(inhoud_.data() + begin_, eind - begin_);
    if (!regel.empty() && regel.back() == '\r') regel.remove_suffix(1);
    begin_ = eind + 1;
    return true;
  }

 private:
  const std::string& inhoud_;
  std::size_t begin_ = 0;
};

constexpr int getoondeNamen = 5;

// Appends "\n<regel>" for the first few of a list, and counts them all;
// the lines not shown are never made, there may be a million.
class Opsomming {
 public:
  template <class MaakRegel>
  void voegToe(MaakRegel maakRegel) {
    if (++aantal_ <= getoondeNamen) tekst_.append("\n").append(maakRegel());
  }
  std::size_t aantal() const { return aantal_; }
  std::string tekst() const {
    if (aantal_ <= getoondeNamen) return tekst_;
    return tekst_ + "\n... en nog " + std::to_string(aantal_ - getoondeNamen);
  }

 private:
  std::size_t aantal_ = 0;
  std::string tekst_;
};

// The records after the header matched to the profiles by name. Nothing
// in the store changes until every record has been checked, so that an
// error leaves the records as they were.
std::optional<Melding> koppelOpNaam(ProfielStore& store, const std::string& pad, const std::string& inhoud,
                                    std::optional<Melding>* ongekoppeld) {
  const auto aantal = static_cast<std::size_t>(store.aantalProfielen());
  // Each compared name to its profile (0-based); a second profile of that
  // name is remembered so that a record of the name can be refused.
  struct Plek {
    std::size_t profiel;
    std::size_t tweede;
  };
  constexpr std::size_t geen = static_cast<std::size_t>(-1);
  std::unordered_map<std::string, Plek> profielVanNaam;
  profielVanNaam.reserve(aantal);
  for (std::size_t i = 0; i < aantal; ++i) {
    const auto [plek, nieuw] = profielVanNaam.try_emplace(vergelijkNaam(store.profielen[i].naam), Plek{i, geen});
    if (!nieuw && plek->second.tweede == geen) plek->second.tweede = i;
  }

  // The line of each profile's record and its number in the file (0: no
  // record yet).
  struct Gevonden {
    std::string_view regel;
    std::size_t regelnummer = 0;
  };
  std::vector<Gevonden> gevonden(aantal);
  Opsomming zonderProfiel;
  Regels regels(inhoud);
  std::string_view regel;
  regels.volgende(regel);  // the header
  std::array<std::string_view, 7> velden;
  for (std::size_t regelnummer = 2; regels.volgende(regel); ++regelnummer) {
    const std::size_t aantalVelden = splitsVelden(regel, velden);
    if (aantalVelden < 7) {
      // Without the count to go by, a binary file shows in its first
      // "record" that has no seven fields.
      if (inhoud.find('\0') != std::string::npos) return slootFout("Het slootbestand " + pad + " is geen tekst.");
      return korteRegel(pad, regelnummer, regel, aantalVelden);
    }
    const std::string_view naam = velden[0];
    const auto plek = profielVanNaam.find(vergelijkNaam(naam));
    if (plek == profielVanNaam.end()) {
      zonderProfiel.voegToe([&] { return "regel " + std::to_string(regelnummer) + " '" + std::string(naam) + "'"; });
      continue;
    }
    if (plek->second.tweede != geen) {
      return slootFout("Het slootbestand " + pad + ", regel " + std::to_string(regelnummer) + ": het record '" +
                       std::string(naam) + "' past bij profiel " + std::to_string(plek->second.profiel + 1) + " en profiel " +
                       std::to_string(plek->second.tweede + 1) + " van " + store.inputbestand +
                       ", die dezelfde naam hebben; op naam koppelen kan alleen als elk profiel een eigen naam heeft.");
    }
    Gevonden& record = gevonden[plek->second.profiel];
    if (record.regelnummer != 0) {
      return slootFout("Het slootbestand " + pad + ", regel " + std::to_string(regelnummer) + ": het record '" +
                       std::string(naam) + "' staat ook op regel " + std::to_string(record.regelnummer) +
                       "; op naam koppelen kan alleen met één record per profiel.");
    }
    record = {regel, regelnummer};
  }

  Opsomming zonderRecord;
  for (std::size_t i = 0; i < aantal; ++i) {
    Profiel& profiel = store.profielen[i];
    if (gevonden[i].regelnummer == 0) {
      profiel.sloot = SlootRecord();
      zonderRecord.voegToe([&] { return "profiel " + std::to_string(i + 1) + " '" + profiel.naam + "'"; });
      continue;
    }
    splitsVelden(gevonden[i].regel, velden);
    profiel.sloot = SlootRecord(velden);
  }

  if (ongekoppeld && (zonderRecord.aantal() > 0 || zonderProfiel.aantal() > 0)) {
    std::string tekst = "De records van het slootbestand " + pad + " zijn op naam aan de profielen gegeven.";
    if (zonderRecord.aantal() > 0) {
      tekst += "\nGeen slootrecord voor " + std::to_string(zonderRecord.aantal()) +
               (zonderRecord.aantal() == 1 ? " profiel:" : " profielen:") + zonderRecord.tekst();
    }
    if (zonderProfiel.aantal() > 0) {
      tekst += "\n" + std::to_string(zonderProfiel.aantal()) +
               (zonderProfiel.aantal() == 1 ? " slootrecord hoort" : " slootrecords horen") + " bij geen profiel:" +
               zonderProfiel.tekst();
    }
    if (zonderRecord.aantal() > 0) tekst += "\nProfielen zonder slootrecord krijgen geen sloot.";
    *ongekoppeld = Melding{"Let op!", std::move(tekst), Icoon::Informatie};
  }
  return std::nullopt;
}

}  // namespace

std::optional<Melding> leesBestandSloot(ProfielStore& store, const std::string& pad, Slootkoppeling koppeling,
                                        std::optional<Melding>* ongekoppeld) {
  if (ongekoppeld) ongekoppeld->reset();
  const bool opNaam = koppeling == Slootkoppeling::OpNaam;
  std::string inhoud;
  bool afgekapt = false;
  // The header, a record per profile and an empty last line are the most
  // a file can hold that may still be right. Matched by name, a file may
  // hold records of far more profiles than were surveyed.
  const std::size_t maxRegels =
      opNaam ? std::numeric_limits<std::size_t>::max() : static_cast<std::size_t>(store.aantalProfielen()) + 2;
  if (auto fout = leesAlles(pad, inhoud, maxRegels, afgekapt)) return fout;
  if (afgekapt) {
    if (inhoud.find('\0') != std::string::npos) return slootFout("Het slootbestand " + pad + " is geen tekst.");
    return slootFout("Het slootbestand " + pad + " heeft meer records na de kopregel dan het profielbestand profielen (" +
                     std::to_string(store.aantalProfielen()) + ").");
  }

  if (inhoud.empty()) return slootFout("Het slootbestand " + pad + " is leeg.");
  if (opNaam) return koppelOpNaam(store, pad, inhoud, ongekoppeld);
  const auto aantalRecords = static_cast<std::int64_t>(std::count(inhoud.begin(), inhoud.end(), '\n')) +
                             (inhoud.back() == '\n' ? 0 : 1) - 1;
  if (aantalRecords != store.aantalProfielen()) {
    // A binary file chosen by mistake: its "records" mean nothing. A stray
    // NUL byte in a file that does match is kept, as every other byte is.
    if (inhoud.find('\0') != std::string::npos) {
      return slootFout("Het slootbestand " + pad + " is geen tekst.");
    }
    return slootFout("Het slootbestand " + pad + " heeft " + std::to_string(aantalRecords) +
                     (aantalRecords == 1 ? " record" : " records") + " na de kopregel, het profielbestand " +
                     std::to_string(store.aantalProfielen()) +
                     (store.aantalProfielen() == 1 ? " profiel." : " profielen."));
  }

  // Straight into the profiles; on an error the records given so far are
  // taken back, so that nothing of the file is loaded.
  Regels regels(inhoud);
  std::string_view regel;
  regels.volgende(regel);  // the header
  std::array<std::string_view, 7> velden;
  for (std::size_t r = 0; regels.volgende(regel); ++r) {
    const std::size_t aantalVelden = splitsVelden(regel, velden);
    if (aantalVelden < 7) {
      for (std::size_t q = 0; q < r; ++q) store.profielen[q].sloot = SlootRecord();
      return korteRegel(pad, r + 2, regel, aantalVelden);
    }
    store.profielen[r].sloot = SlootRecord(velden);
  }
  return std::nullopt;
}

std::optional<Melding> waarschuwingSlootNamen(const ProfielStore& store) {
  constexpr int getoond = getoondeNamen;
  int aantal = 0;
  std::string paren;
  for (std::int32_t p = 1; p <= store.aantalProfielen(); ++p) {
    const Profiel& profiel = store.profiel(p);
    if (!profiel.sloot.aanwezig() || vergelijkNaam(profiel.naam) == vergelijkNaam(profiel.sloot.kolom(1))) continue;
    if (++aantal <= getoond) {
      paren.append("\nprofiel ").append(std::to_string(p)).append(" '").append(profiel.naam);
      paren.append("' heeft slootrecord '").append(profiel.sloot.kolom(1)).append("'");
    }
  }
  if (aantal == 0) return std::nullopt;
  std::string tekst("Bij ");
  tekst.append(std::to_string(aantal)).append(aantal == 1 ? " profiel" : " profielen");
  tekst.append(" hoort het slootrecord bij een ander profiel:").append(paren);
  if (aantal > getoond) tekst.append("\n... en nog ").append(std::to_string(aantal - getoond));
  tekst += "\nDe records worden op volgorde aan de profielen gegeven.";
  return Melding{"Let op!", std::move(tekst), Icoon::Informatie};
}

bool slootrecordVanAnderProfiel(const Profiel& profiel) {
  return profiel.sloot.aanwezig() && vergelijkNaam(profiel.naam) != vergelijkNaam(profiel.sloot.kolom(1));
}

}  // namespace zarvo
