#include "input/leesbestandsloot.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
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

// The lines of a ditch file read block by block, without their line ends;
// a last line without one counts. Only the block at hand and one unfinished
// line are held: a ditch file of a million records costs no more memory
// than one of ten, while the profiles it belongs to fill the memory.
class Regellezer {
 public:
  explicit Regellezer(const std::string& pad) : pad_(pad) {}

  // False at the end of the file and on an error; then fout() tells which.
  bool volgende(std::string_view& regel) {
    if (!bestand_ && !open()) return false;
    while (true) {
      const std::size_t nl = buffer_.find('\n', pos_);
      if (nl != std::string::npos) return geef(regel, nl, nl + 1);
      if (buffer_.size() - pos_ > maxRegel) {
        fout_ = slootFout("Het slootbestand " + pad_ + ", regel " + std::to_string(nummer_ + 1) +
                          ": de regel is langer dan " + std::to_string(maxRegel) + " tekens.");
        return false;
      }
      if (einde_) return pos_ < buffer_.size() && geef(regel, buffer_.size(), buffer_.size());
      buffer_.erase(0, pos_);
      pos_ = 0;
      char blok[1 << 16];
      const std::size_t n = std::fread(blok, 1, sizeof(blok), bestand_.get());
      if (n < sizeof(blok)) {
        einde_ = true;
        if (std::ferror(bestand_.get())) {
          fout_ = slootFout("Fout bij het lezen van bestand " + pad_ + ".");
          return false;
        }
      }
      if (std::memchr(blok, '\0', n)) nulGezien_ = true;
      gelezen_ += n;
      buffer_.append(blok, n);
    }
  }

  // The number of the line last given (1-based).
  std::size_t regelnummer() const { return nummer_; }
  std::size_t gelezen() const { return gelezen_; }
  // A NUL byte among the bytes read so far: a binary file, not a text.
  bool nulGezien() const { return nulGezien_; }
  const std::optional<Melding>& fout() const { return fout_; }

 private:
  bool open() {
    if (pad_.empty()) {
      fout_ = slootFout("Er is geen slootbestand gekozen.");
      return false;
    }
    Invoerfout waarom;
    bestand_ = openInvoer(pad_, waarom);
    if (!bestand_) fout_ = slootFout(waarom.tekst);
    return static_cast<bool>(bestand_);
  }
  bool geef(std::string_view& regel, std::size_t eind, std::size_t verder) {
    regel = std::string_view(buffer_).substr(pos_, eind - pos_);
    if (!regel.empty() && regel.back() == '\r') regel.remove_suffix(1);
    pos_ = verder;
    ++nummer_;
    return true;
  }

  const std::string& pad_;
  Bestand bestand_;
  std::string buffer_;
  std::size_t pos_ = 0;
  std::size_t nummer_ = 0;
  std::size_t gelezen_ = 0;
  bool einde_ = false;
  bool nulGezien_ = false;
  std::optional<Melding> fout_;
};

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
std::optional<Melding> koppelOpNaam(ProfielStore& store, const std::string& pad, Regellezer& regels,
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

  // Each profile's record and its line in the file (0: no record yet).
  struct Gevonden {
    SlootRecord record;
    std::size_t regelnummer = 0;
  };
  std::vector<Gevonden> gevonden(aantal);
  Opsomming zonderProfiel;
  std::string_view regel;
  std::array<std::string_view, 7> velden;
  while (regels.volgende(regel)) {
    const std::size_t regelnummer = regels.regelnummer();
    const std::size_t aantalVelden = splitsVelden(regel, velden);
    if (aantalVelden < 7) {
      // Without the count to go by, a binary file shows in its first
      // "record" that has no seven fields.
      if (regels.nulGezien()) return slootFout("Het slootbestand " + pad + " is geen tekst.");
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
    record = {SlootRecord(velden), regelnummer};
  }
  if (regels.fout()) return regels.fout();

  Opsomming zonderRecord;
  for (std::size_t i = 0; i < aantal; ++i) {
    Profiel& profiel = store.profielen[i];
    if (gevonden[i].regelnummer == 0) {
      profiel.sloot = SlootRecord();
      zonderRecord.voegToe([&] { return "profiel " + std::to_string(i + 1) + " '" + profiel.naam + "'"; });
      continue;
    }
    profiel.sloot = std::move(gevonden[i].record);
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
  if (koppeling == Slootkoppeling::OpNaam) {
    Regellezer regels(pad);
    std::string_view kop;
    if (!regels.volgende(kop)) return regels.fout() ? *regels.fout() : slootFout("Het slootbestand " + pad + " is leeg.");
    return koppelOpNaam(store, pad, regels, ongekoppeld);
  }

  // First the count, without keeping the lines. The header, a record per
  // profile and an empty last line are the most a file can hold that may
  // still be right: a huge or endless file chosen by mistake ends in a
  // message soon after (a small one is counted to its end, for the exact
  // count in the message).
  const auto maxRegels = static_cast<std::size_t>(store.aantalProfielen()) + 2;
  std::size_t aantalRegels = 0;
  bool nul = false;
  {
    Regellezer teller(pad);
    std::string_view regel;
    while (teller.volgende(regel)) {
      if (teller.regelnummer() > maxRegels && teller.gelezen() > maxRegel) {
        if (teller.nulGezien()) return slootFout("Het slootbestand " + pad + " is geen tekst.");
        return slootFout("Het slootbestand " + pad + " heeft meer records na de kopregel dan het profielbestand profielen (" +
                         std::to_string(store.aantalProfielen()) + ").");
      }
    }
    if (teller.fout()) return *teller.fout();
    aantalRegels = teller.regelnummer();
    nul = teller.nulGezien();
  }
  if (aantalRegels == 0) return slootFout("Het slootbestand " + pad + " is leeg.");
  const auto aantalRecords = static_cast<std::int64_t>(aantalRegels) - 1;
  if (aantalRecords != store.aantalProfielen()) {
    // A binary file chosen by mistake: its "records" mean nothing. A stray
    // NUL byte in a file that does match is kept, as every other byte is.
    if (nul) return slootFout("Het slootbestand " + pad + " is geen tekst.");
    return slootFout("Het slootbestand " + pad + " heeft " + std::to_string(aantalRecords) +
                     (aantalRecords == 1 ? " record" : " records") + " na de kopregel, het profielbestand " +
                     std::to_string(store.aantalProfielen()) +
                     (store.aantalProfielen() == 1 ? " profiel." : " profielen."));
  }

  // Then the records, straight into the profiles; on an error the records
  // given so far are taken back, so that nothing of the file is loaded.
  Regellezer regels(pad);
  std::string_view regel;
  std::array<std::string_view, 7> velden;
  std::size_t r = 0;
  auto mislukt = [&](Melding melding) {
    for (std::size_t q = 0; q < r; ++q) store.profielen[q].sloot = SlootRecord();
    return melding;
  };
  // The file may have changed since it was counted.
  const Melding veranderd = slootFout("Het slootbestand " + pad + " veranderde tijdens het lezen.");
  regels.volgende(regel);  // the header
  while (regels.volgende(regel)) {
    const std::size_t aantalVelden = splitsVelden(regel, velden);
    if (aantalVelden < 7) return mislukt(korteRegel(pad, r + 2, regel, aantalVelden));
    if (r == store.profielen.size()) return mislukt(veranderd);
    store.profielen[r++].sloot = SlootRecord(velden);
  }
  if (regels.fout()) return mislukt(*regels.fout());
  if (r != store.profielen.size()) return mislukt(veranderd);
  return std::nullopt;
}

std::optional<Melding> waarschuwingSlootNamen(const ProfielStore& store) {
  Opsomming paren;
  for (std::int32_t p = 1; p <= store.aantalProfielen(); ++p) {
    const Profiel& profiel = store.profiel(p);
    if (!slootrecordVanAnderProfiel(profiel)) continue;
    paren.voegToe([&] {
      return "profiel " + std::to_string(p) + " '" + profiel.naam + "' heeft slootrecord '" +
             std::string(profiel.sloot.kolom(1)) + "'";
    });
  }
  if (paren.aantal() == 0) return std::nullopt;
  std::string tekst = "Bij " + std::to_string(paren.aantal()) + (paren.aantal() == 1 ? " profiel" : " profielen") +
                      " hoort het slootrecord bij een ander profiel:" + paren.tekst() +
                      "\nDe records worden op volgorde aan de profielen gegeven.";
  return Melding{"Let op!", std::move(tekst), Icoon::Informatie};
}

bool slootrecordVanAnderProfiel(const Profiel& profiel) {
  return profiel.sloot.aanwezig() && vergelijkNaam(profiel.naam) != vergelijkNaam(profiel.sloot.kolom(1));
}

}  // namespace zarvo
