// The ditch-profile reader on arbitrary bytes. The store it reads into
// gets as many profiles as the file has records, so most inputs pass the
// count check and reach the record parsing; the first byte sometimes
// asks for a different count to keep the mismatch path covered.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzzhulp.h"
#include "input/leesbestandsloot.h"

using namespace zarvo;
using namespace zarvofuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t n) {
  const std::string pad = schrijfBestand("sloot.csv", data, n);

  // Lines as the reader counts them: every '\n' ends one, and bytes after
  // the last '\n' make one more.
  std::size_t regels = static_cast<std::size_t>(std::count(data, data + n, '\n'));
  if (n > 0 && data[n - 1] != '\n') ++regels;
  std::size_t profielen = regels > 0 ? regels - 1 : 0;
  if (n > 0 && data[0] % 16 == 15) profielen += 1;

  ProfielStore store;
  store.profielen.resize(profielen);
  for (std::size_t i = 0; i < profielen; ++i) store.profielen[i].naam = "P" + std::to_string(i + 1);

  const auto fout = leesBestandSloot(store, pad);
  if (fout) {
    ZARVO_EIS(fout->titel == "Fout!");
    ZARVO_EIS(fout->tekst.rfind("fout in het invoerbestand, restart het programma", 0) == 0);
    for (const Profiel& p : store.profielen) ZARVO_EIS(!p.sloot.aanwezig());
  } else {
    ZARVO_EIS(regels == profielen + 1);
    for (const Profiel& p : store.profielen) {
      ZARVO_EIS(p.sloot.aanwezig());
      for (int c = 1; c <= 7; ++c) {
        const std::string_view veld = p.sloot.kolom(c);
        ZARVO_EIS(veld.find(';') == std::string::npos);
        ZARVO_EIS(veld.find('\n') == std::string::npos);
      }
    }
  }
  return 0;
}
