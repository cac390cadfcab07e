#include "fuzzhulp.h"

#include <stdlib.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <stdexcept>

#include "basis/getallen.h"

namespace zarvofuzz {

namespace fs = std::filesystem;

namespace {

std::string maakWerkmap() {
  std::error_code ec;
  const fs::path basis = fs::is_directory("/dev/shm", ec) ? fs::path("/dev/shm") : fs::temp_directory_path();
  std::string sjabloon = (basis / "zarvo-fuzz-XXXXXX").string();
  if (!mkdtemp(sjabloon.data())) {
    std::perror("mkdtemp");
    std::abort();
  }
  return sjabloon;
}

std::string* map = nullptr;

void ruimWerkmapOp() {
  std::error_code ec;
  if (map) fs::remove_all(*map, ec);
}

}  // namespace

const std::string& werkmap() {
  if (!map) {
    map = new std::string(maakWerkmap());
    std::atexit(ruimWerkmapOp);
  }
  return *map;
}

std::string schrijfBestand(const std::string& naam, const std::uint8_t* data, std::size_t n) {
  const std::string pad = werkmap() + "/" + naam;
  std::FILE* f = std::fopen(pad.c_str(), "wb");
  if (!f || (n > 0 && std::fwrite(data, 1, n, f) != n) || std::fclose(f) != 0) {
    std::perror(pad.c_str());
    std::abort();
  }
  return pad;
}

void faal(const char* bestand, int regel, const char* wat) {
  std::fprintf(stderr, "%s:%d: regel geschonden: %s\n", bestand, regel, wat);
  std::abort();
}

void TelSink::meld(const zarvo::Melding& melding) {
  ZARVO_EIS(!melding.titel.empty() && !melding.tekst.empty());
  ++aantal;
}

void controleerGelezen(const zarvo::ProfielStore& store, bool verticaal) {
  ZARVO_EIS(store.aantalProfielen() >= 1);
  std::size_t meeste = 0;
  for (std::size_t i = 0; i < store.profielen.size(); ++i) {
    const zarvo::Profiel& p = store.profielen[i];
    ZARVO_EIS(!p.naam.empty());
    ZARVO_EIS(!p.punten.empty());
    if (i > 0) ZARVO_EIS(p.naam != store.profielen[i - 1].naam);
    for (std::size_t k = 0; k < p.punten.size(); ++k) {
      const zarvo::Punt& pt = p.punten[k];
      for (double v : {pt.x, pt.y, pt.z}) {
        ZARVO_EIS(std::isfinite(v));
        ZARVO_EIS(zarvo::rondAf3(v) == v);
      }
      if (k > 0) {
        const zarvo::Punt& vorig = p.punten[k - 1];
        ZARVO_EIS(pt.x != vorig.x || pt.y != vorig.y || (verticaal && pt.z != vorig.z));
      }
    }
    meeste = std::max(meeste, p.punten.size());
  }
  ZARVO_EIS(store.aantalKolommen() == static_cast<std::int32_t>(1 + 3 * meeste));
  ZARVO_EIS(store.aantalRijenInfo() == static_cast<std::int32_t>(1 + 2 * meeste));
}

}  // namespace zarvofuzz
