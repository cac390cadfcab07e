// The save's naming on arbitrary names: the journal must read back what it
// wrote and refuse what it did not, and a real save under the names (into a
// folder that may already hold files of those names) must either put
// exactly its files in place or leave the folder as it was, with no
// temporary file, link, lock or journal of ours left in either case.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "fuzzhulp.h"
#include "output/opslag.h"
#include "output/resultaatschrijver.h"
#include "basis/bestandspad.h"

using namespace zarvo;
using namespace zarvofuzz;
namespace fs = std::filesystem;

namespace {

std::map<std::string, std::string> inhoud(const fs::path& map) {
  std::map<std::string, std::string> uit;
  for (const auto& e : fs::directory_iterator(map)) {
    std::string bytes;
    if (std::FILE* f = openBestand(e.path(), "rb")) {
      char blok[4096];
      std::size_t n;
      while ((n = std::fread(blok, 1, sizeof blok, f)) > 0) bytes.append(blok, n);
      std::fclose(f);
    }
    uit[e.path().filename().string()] = bytes;
  }
  return uit;
}

// A name the folder can hold: no '/', not "." or "..", at most 255 bytes.
std::string alsNaam(std::string naam) {
  naam.erase(std::remove(naam.begin(), naam.end(), '/'), naam.end());
  if (naam.size() > 255) naam.resize(255);
  if (naam.empty() || naam == "." || naam == "..") naam = "leeg";
  return naam;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t n) {
  const std::string bytes(reinterpret_cast<const char*>(data), n);

  // The journal reader on anything: what it accepts, it writes back alike.
  opslag::Staat staat{};
  std::vector<opslag::Stap> stappen;
  if (opslag::leesJournaal(bytes, staat, stappen)) {
    const std::string opnieuw = opslag::journaalTekst(staat, stappen);
    opslag::Staat staat2{};
    std::vector<opslag::Stap> stappen2;
    ZARVO_EIS(opslag::leesJournaal(opnieuw, staat2, stappen2));
    ZARVO_EIS(staat2 == staat && stappen2.size() == stappen.size());
    ZARVO_EIS(opslag::journaalTekst(staat2, stappen2) == opnieuw);
  }

  // Names: result, list, and a name that exists beforehand; NUL separates.
  std::vector<std::string> delen;
  std::size_t begin = 0;
  while (delen.size() < 3) {
    const std::size_t eind = std::min(bytes.find('\0', begin), bytes.size());
    delen.push_back(alsNaam(bytes.substr(begin, eind - begin)));
    if (eind >= bytes.size()) break;
    begin = eind + 1;
  }
  while (delen.size() < 3) delen.push_back("x");
  // A file under the name of our own journal or lock, or in the form the
  // temporary files of earlier versions had (".<name>.zarvo-<hex>.tmp"),
  // would be taken for the trace of an interrupted save (and dealt with);
  // such names are only tried as targets.
  if (delen[2].front() == '.' && delen[2].find(".zarvo-") != std::string::npos) delen[2].insert(0, "a");
  const bool metLijst = n > 0 && data[0] % 2 == 1;

  const fs::path map = fs::path(werkmap()) / "opslag";
  std::error_code ec;
  fs::remove_all(map, ec);
  fs::create_directory(map);
  if (std::FILE* f = openBestand(map / padUitUtf8(delen[2]), "wb")) {
    std::fputs("er stond al iets", f);
    std::fclose(f);
  }
  const auto voor = inhoud(map);

  ProfielStore store;
  Profiel p;
  p.naam = "P";
  p.punten = {Punt{Cel(5.0), Cel(), 1.0, 2.0, 3.0}};
  store.profielen = {p, p};
  store.profielen[1].naam = "Q";
  store.dekGrenzen();
  if (metLijst) store.verwijderProfiel(2);

  Opslagverslag verslag;
  const auto fout = slaOp(store, map.string(), profielregels(), {delen[0]}, delen[1], '.', &verslag);
  const auto na = inhoud(map);
  for (const auto& [naam, _] : na) ZARVO_EIS(voor.count(naam) == 1 || naam.rfind(".zarvo-", 0) != 0);
  ZARVO_EIS(verslag.hersteld.empty());
  if (fout) {
    ZARVO_EIS(na == voor);
  } else {
    const std::string resultaat = metLijst ? "5\t\t1\t2\t3\tP\r\n" : "5\t\t1\t2\t3\tP\r\n5\t\t1\t2\t3\tQ\r\n";
    ZARVO_EIS(na.count(delen[0]) == 1 && na.at(delen[0]) == resultaat);
    if (metLijst) {
      ZARVO_EIS(na.count(delen[1]) == 1 && na.at(delen[1]) == "Overzicht verwijderde profielen\r\nQ\r\n");
    } else {
      ZARVO_EIS(na.count(delen[1]) == 0 || delen[1] == delen[0]);
      ZARVO_EIS(verslag.oudeLijstVerwijderd.empty() == (voor.count(delen[1]) == 0 || delen[1] == delen[0]));
    }
    for (const auto& [naam, bytes] : voor) {
      if (naam != delen[0] && naam != delen[1]) ZARVO_EIS(na.count(naam) == 1 && na.at(naam) == bytes);
    }
  }
  return 0;
}
