#include "input/leesbestandsloot.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>
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

}  // namespace

std::optional<Melding> leesBestandSloot(ProfielStore& store, const std::string& pad) {
  std::string inhoud;
  bool afgekapt = false;
  // The header, a record per profile and an empty last line are the most
  // a file can hold that may still be right.
  const std::size_t maxRegels = static_cast<std::size_t>(store.aantalProfielen()) + 2;
  if (auto fout = leesAlles(pad, inhoud, maxRegels, afgekapt)) return fout;
  if (afgekapt) {
    if (inhoud.find('\0') != std::string::npos) return slootFout("Het slootbestand " + pad + " is geen tekst.");
    return slootFout("Het slootbestand " + pad + " heeft meer records na de kopregel dan het profielbestand profielen (" +
                     std::to_string(store.aantalProfielen()) + ").");
  }

  // The lines, without their line ends; a last line without one counts.
  std::size_t begin = 0;
  auto volgendeRegel = [&](std::string_view& regel) {
    if (begin >= inhoud.size()) return false;
    std::size_t eind = inhoud.find('\n', begin);
    if (eind == std::string::npos) eind = inhoud.size();
    regel = std::string_view(inhoud.data() + begin, eind - begin);
    if (!regel.empty() && regel.back() == '\r') regel.remove_suffix(1);
    begin = eind + 1;
    return true;
  };

  if (inhoud.empty()) return slootFout("Het slootbestand " + pad + " is leeg.");
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
  std::string_view regel;
  volgendeRegel(regel);  // the header
  for (std::size_t r = 0; volgendeRegel(regel); ++r) {
    std::array<std::string_view, 7> velden;
    std::size_t pos = 0;
    std::size_t veld = 0;
    for (; veld < 7; ++veld) {
      const std::size_t puntkomma = regel.find(';', pos);
      const std::size_t eind = puntkomma == std::string_view::npos ? regel.size() : puntkomma;
      velden[veld] = regel.substr(pos, eind - pos);
      if (puntkomma == std::string_view::npos) {
        ++veld;
        break;
      }
      pos = puntkomma + 1;
    }
    if (veld < 7) {
      for (std::size_t q = 0; q < r; ++q) store.profielen[q].sloot = SlootRecord();
      return slootFout("Het slootbestand " + pad + ", regel " + std::to_string(r + 2) + ": " +
                       (regel.empty() ? std::string("de regel is leeg")
                                      : "de regel heeft " + std::to_string(veld) +
                                            (veld == 1 ? " veld" : " velden")) +
                       ", er zijn er 7 nodig (gescheiden door ;).");
    }
    store.profielen[r].sloot = SlootRecord(velden);
  }
  return std::nullopt;
}

namespace {

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

}  // namespace

std::optional<Melding> waarschuwingSlootNamen(const ProfielStore& store) {
  constexpr int getoond = 5;
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
