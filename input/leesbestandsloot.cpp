#include "input/leesbestandsloot.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <vector>

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

struct SluitBestand {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

// Reads the whole file; ditch files hold one short line per profile.
std::optional<Melding> leesAlles(const std::string& pad, std::string& inhoud) {
  if (pad.empty()) return slootFout("Er is geen slootbestand gekozen.");
  std::error_code ec;
  if (std::filesystem::is_directory(pad, ec)) {
    return slootFout(pad + " is een map, geen bestand.");
  }
  errno = 0;
  std::unique_ptr<std::FILE, SluitBestand> bestand(std::fopen(pad.c_str(), "rb"));
  if (!bestand) {
    if (errno == ENOENT) return slootFout("Het bestand " + pad + " bestaat niet.");
    return slootFout("Het bestand " + pad + " kan niet worden geopend.");
  }
  char blok[1 << 16];
  while (true) {
    const std::size_t n = std::fread(blok, 1, sizeof(blok), bestand.get());
    inhoud.append(blok, n);
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
  if (auto fout = leesAlles(pad, inhoud)) return fout;

  std::vector<std::string_view> regels;
  std::size_t begin = 0;
  while (begin < inhoud.size()) {
    std::size_t eind = inhoud.find('\n', begin);
    const bool laatste = eind == std::string::npos;
    if (laatste) eind = inhoud.size();
    std::string_view regel(inhoud.data() + begin, eind - begin);
    if (!regel.empty() && regel.back() == '\r') regel.remove_suffix(1);
    regels.push_back(regel);
    begin = eind + 1;
  }

  const auto aantalRecords = static_cast<std::int64_t>(regels.size()) - 1;
  if (aantalRecords != store.aantalProfielen()) return slootFout("");

  std::vector<SlootRecord> records(regels.size() > 0 ? regels.size() - 1 : 0);
  for (std::size_t r = 0; r < records.size(); ++r) {
    const std::string_view regel = regels[r + 1];
    std::size_t pos = 0;
    std::size_t veld = 0;
    for (; veld < 7; ++veld) {
      const std::size_t puntkomma = regel.find(';', pos);
      const std::size_t eind = puntkomma == std::string_view::npos ? regel.size() : puntkomma;
      records[r].velden[veld].assign(regel.substr(pos, eind - pos));
      if (puntkomma == std::string_view::npos) {
        ++veld;
        break;
      }
      pos = puntkomma + 1;
    }
    if (veld < 7) {
      return slootFout("Bestand " + pad + ", regel " + std::to_string(r + 2) + ": " +
                       (regel.empty() ? std::string("de regel is leeg")
                                      : "de regel heeft " + std::to_string(veld) +
                                            (veld == 1 ? " veld" : " velden")) +
                       ", er zijn er zeven nodig (gescheiden door ;).");
    }
    records[r].aanwezig = true;
  }

  for (std::size_t r = 0; r < records.size(); ++r) {
    store.profielen[r].sloot = std::move(records[r]);
  }
  return std::nullopt;
}

}  // namespace zarvo
