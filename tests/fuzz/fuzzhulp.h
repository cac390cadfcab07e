// Shared pieces of the fuzz targets: a private folder for the files the
// readers need, and checks that abort (so libFuzzer records the input)
// when a read or built store breaks a rule the rest of the program
// relies on.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "basis/meldingen.h"
#include "basis/profielstore.h"

namespace zarvofuzz {

// Folder of this process, made on first use and removed at exit. It lies
// in /dev/shm when there is one: the targets write a file per run.
const std::string& werkmap();

// Writes 'n' bytes to werkmap()/naam and returns the path.
std::string schrijfBestand(const std::string& naam, const std::uint8_t* data, std::size_t n);

[[noreturn]] void faal(const char* bestand, int regel, const char* wat);
#define ZARVO_EIS(voorwaarde) \
  ((voorwaarde) ? (void)0 : ::zarvofuzz::faal(__FILE__, __LINE__, #voorwaarde))

// Messages are counted, not shown: the fuzzer only cares that they come
// without a crash.
class TelSink : public zarvo::MeldingSink {
 public:
  void meld(const zarvo::Melding& melding) override;
  std::size_t aantal = 0;
};

// What a successful read of the profile-lines file must give: at least one
// profile, no empty profile or name, neighbouring profiles with different
// names, finite coordinates with at most three decimals, no double point,
// and the bounds of the largest profile.
// 'verticaal': surface lines keep a point on the same X,Y as the one before
// when its Z differs (a vertical segment); profile lines never do.
void controleerGelezen(const zarvo::ProfielStore& store, bool verticaal = false);

}  // namespace zarvofuzz
