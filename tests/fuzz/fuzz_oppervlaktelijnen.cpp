// The surface-lines reader on arbitrary bytes (the lines, then after a
// separator their characteristic points): it refuses the file with a
// message that names it and loads nothing, or gives a store that keeps the
// rules of a read store; what it read, written as surface lines again and
// read back, gives the same profiles and points.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzzhulp.h"
#include "input/leesoppervlaktelijnen.h"
#include "output/oppervlaktelijnen.h"
#include "output/opslag.h"
#include "output/resultaatschrijver.h"

using namespace zarvo;
using namespace zarvofuzz;

namespace {
constexpr std::string_view scheiding = "\n#KRP#\n";
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t n) {
  const std::string_view invoer(reinterpret_cast<const char*>(data), n);
  const std::size_t knip = invoer.find(scheiding);
  const std::string_view lijnen = invoer.substr(0, knip);
  const std::string pad = schrijfBestand("lijnen.csv", reinterpret_cast<const std::uint8_t*>(lijnen.data()), lijnen.size());
  std::string krp;
  if (knip != std::string_view::npos) {
    const std::string_view punten = invoer.substr(knip + scheiding.size());
    krp = schrijfBestand("lijnen.krp.csv", reinterpret_cast<const std::uint8_t*>(punten.data()), punten.size());
  }

  ProfielStore store;
  TelSink sink;
  if (const auto fout = leesOppervlaktelijnen(store, pad, krp, sink, '.')) {
    ZARVO_EIS(fout->titel == "Fout!");
    ZARVO_EIS(store.profielen.empty());
    return 0;
  }
  controleerGelezen(store, true);

  // Written back, as far as the importers' rules allow, and read again.
  const std::vector<Bouwfeiten> geenSloten;
  const Oppervlaktelijnen formaat(geenSloten);
  if (formaat.controleer(store)) return 0;
  ZARVO_EIS(!slaOp(store, werkmap(), formaat, {"terug.csv", "terug.krp.csv"}, "weg.csv", '.'));
  ProfielStore terug;
  ZARVO_EIS(!leesOppervlaktelijnen(terug, werkmap() + "/terug.csv", werkmap() + "/terug.krp.csv", sink, '.'));
  ZARVO_EIS(terug.profielen.size() == store.profielen.size());
  for (std::size_t p = 0; p < store.profielen.size(); ++p) {
    const auto& a = store.profielen[p];
    const auto& b = terug.profielen[p];
    ZARVO_EIS(a.naam == b.naam);
    ZARVO_EIS(a.punten.size() == b.punten.size());
    for (std::size_t k = 0; k < a.punten.size(); ++k) {
      ZARVO_EIS(a.punten[k].x == b.punten[k].x && a.punten[k].y == b.punten[k].y && a.punten[k].z == b.punten[k].z);
    }
  }
  return 0;
}
