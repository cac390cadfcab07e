#include "output/resultaatschrijver.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <new>
#include <system_error>

#include "output/opslag.h"
#include "output/stukken.h"
#include "output/veiligschrijven.h"
#include "basis/bestandspad.h"
#include "basis/getallen.h"
#include "basis/onderbreking.h"
#include "basis/parallel.h"

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

// Today's result file: the points as they were read, with the ditch and
// foreland points in place, one TAB-separated line each.
class Profielregels : public Resultaatformaat {
 public:
  std::size_t aantalBestanden() const override { return 1; }
  std::string standaardNaam(std::size_t, const std::string& bestandsnaam) const override {
    return standaardNaamResultaat(bestandsnaam);
  }
  // The lines are formatted side by side in pieces of a few thousand points
  // (a piece may start and end inside a profile, so one long profile is
  // shared out too) and written in order while the next pieces are being
  // formatted: the same bytes as one piece, with memory for a few pieces.
  bool schrijf(std::size_t, const ProfielStore& store, Uitvoerstroom& uit, char decimaalteken) const override {
    const std::size_t test = stukGrootteVoorTests();
    const std::vector<stukken::Plek> grenzen =
        test > 0 ? stukken::snijInStukken(store, test, [](std::size_t) { return 1; })
                 : stukken::snijInStukken(store, stukken::kStuk, [&](std::size_t p) {
                     return kGewichtRegel + store.profielen[p].naam.size();
                   });
    std::vector<stukken::Tekstpuffer> puffers(2 * aantalDraden());
    return maakOpVolgorde(
        grenzen.size() - 1, puffers.size(),
        [&](std::size_t i, std::size_t plek) {
          formatteer(store, grenzen[i], grenzen[i + 1], decimaalteken, puffers[plek]);
        },
        [&](std::size_t, std::size_t plek) { return uit.schrijf(puffers[plek].tekst()); });
  }

 private:
  // What a line takes at most besides its name and its code texts: the
  // numbers and the separators.
  static constexpr std::size_t kVasteRegel = 5 * kMaxGetalTekst + 7;
  // And what it takes on average, for cutting the pieces.
  static constexpr std::size_t kGewichtRegel = 40;

  static std::size_t tekstLengte(const Cel& cel) { return cel.isTekst() ? cel.tekstWaarde().size() : 0; }

  static char* schrijfCel(char* p, const Cel& cel, char decimaalteken) {
    switch (cel.soort()) {
      case Cel::Soort::Leeg: return p;
      case Cel::Soort::Getal: return schrijfGetal(p, cel.getal(), decimaalteken);
      case Cel::Soort::Tekst: {
        const std::string_view tekst = cel.tekstWaarde();
        return std::copy(tekst.begin(), tekst.end(), p);
      }
    }
    return p;
  }

  static void formatteer(const ProfielStore& store, stukken::Plek van, stukken::Plek tot, char decimaalteken,
                         stukken::Tekstpuffer& puffer) {
    puffer.wis();
    for (std::size_t p = van.profiel; p < store.profielen.size() && p <= tot.profiel; ++p) {
      const Profiel& prof = store.profielen[p];
      const std::size_t eind = p == tot.profiel ? tot.punt : prof.punten.size();
      const std::size_t vast = kVasteRegel + prof.naam.size();
      for (std::size_t k = p == van.profiel ? van.punt : 0; k < eind; ++k) {
        const Punt& pt = prof.punten[k];
        char* q = puffer.ruimte(vast + tekstLengte(pt.veld1) + tekstLengte(pt.veld2));
        q = schrijfCel(q, pt.veld1, decimaalteken);
        *q++ = '\t';
        q = schrijfCel(q, pt.veld2, decimaalteken);
        *q++ = '\t';
        q = schrijfGetal(q, pt.x, decimaalteken);
        *q++ = '\t';
        q = schrijfGetal(q, pt.y, decimaalteken);
        *q++ = '\t';
        q = schrijfGetal(q, pt.z, decimaalteken);
        *q++ = '\t';
        std::memcpy(q, prof.naam.data(), prof.naam.size());
        q += prof.naam.size();
        // CRLF everywhere: the files go on to Windows tools.
        *q++ = '\r';
        *q++ = '\n';
        puffer.klaar(q);
      }
    }
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

namespace {

std::chrono::milliseconds wachttijdSlot{5000};

struct Slot {
  std::unique_ptr<Mapslot> slot;
  std::vector<std::string> hersteld;
};

// The folder's lock, and whatever an interrupted save left there dealt
// with first.
std::optional<Melding> neemMap(const fs::path& map, const std::string& mapNaam, Slot& uit) {
  std::error_code ec;
  const fs::file_status st = fs::status(map, ec);
  if (!fs::exists(st)) return foutMelding(mapNaam, "de map bestaat niet");
  if (!fs::is_directory(st)) return foutMelding(mapNaam, "dit is geen map");
  errno = 0;
  switch (Mapslot::neem(map, wachttijdSlot, uit.slot)) {
    case Mapslot::Uitkomst::Genomen: break;
    case Mapslot::Uitkomst::Bezet:
      return foutMelding(mapNaam, "er wordt al in deze map opgeslagen (door een ander venster of programma); "
                                  "probeer het zo opnieuw");
    case Mapslot::Uitkomst::Fout: {
      const int fout = errno;
      // A folder that is there but takes no new files (a system folder)
      // also answers "no such file".
      if (fout == ENOENT) return foutMelding(mapNaam, "in deze map kan geen bestand worden gemaakt");
      return foutMelding(mapNaam, opslag::redenVan(fout));
    }
  }
  uit.hersteld = opslag::herstel(map);
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
  if (auto fout = neemMap(mapPad(map), eerste, slot)) return fout;
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

}  // namespace

void zetWachttijdMapslot(std::chrono::milliseconds wacht) { wachttijdSlot = wacht; }

Melding meldingOpgeslagen(const Opslagverslag& verslag) {
  Melding m{"Bestand opgeslagen", "Bestanden zijn opgeslagen.", Icoon::Geen};
  if (!verslag.oudeLijstVerwijderd.empty()) {
    m.tekst += "\nHet oude overzicht " + verslag.oudeLijstVerwijderd +
               " is verwijderd: er zijn deze keer geen profielen verwijderd.";
  }
  return m;
}

std::optional<Melding> controleerDoelmap(const std::string& map, std::vector<Melding>* hersteld, bool licht) {
  const fs::path pad = mapPad(map);
  const std::string mapNaam = map.empty() ? std::string(".") : map;
  if (pad.empty()) return foutMelding(map, "geen geldige mapnaam");
  if (licht && !opslag::heeftSporen(pad)) {
    std::error_code ec;
    const fs::file_status st = fs::status(pad, ec);
    if (!fs::exists(st)) return foutMelding(mapNaam, "de map bestaat niet");
    if (!fs::is_directory(st)) return foutMelding(mapNaam, "dit is geen map");
    if (!isSchrijfbareMap(pad)) return foutMelding(mapNaam, "geen schrijfrechten");
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
    if (reden && i < namen.size()) return foutMelding(doel.gekozen, *reden);
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
