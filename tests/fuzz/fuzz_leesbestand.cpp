// The profile-lines reader on arbitrary bytes: it either refuses the file
// with a message that names it, leaving the store untouched, or gives a
// store that keeps every rule the screens and the writer rely on.
#include <cstddef>
#include <cstdint>

#include "fuzzhulp.h"
#include "input/leesbestand.h"

using namespace zarvo;
using namespace zarvofuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t n) {
  const std::string pad = schrijfBestand("profielen.txt", data, n);
  ProfielStore store;
  TelSink sink;
  const auto fout = leesBestand(store, pad, sink, ',');
  if (fout) {
    ZARVO_EIS(fout->titel == "Fout!");
    ZARVO_EIS(fout->tekst.find(pad) != std::string::npos);
    ZARVO_EIS(store.profielen.empty());
    ZARVO_EIS(store.aantalKolommen() == 0 && store.aantalRijenInfo() == 0);
  } else {
    controleerGelezen(store);
  }
  return 0;
}
