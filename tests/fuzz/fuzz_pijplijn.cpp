// The whole headless job on one input: the bytes before the first line
// "#SLOOT#" are the profile-lines file, the bytes after it the ditch file.
// Without that line a ditch file is made with one workable record per
// profile, so that the construction is reached from the start.
//
// After the construction every profile must still hold its surveyed points
// in order: a built ditch replaces only the points between the edges by two
// bottom points, the foreland step only puts two points in front, and a
// refused step changes nothing. The result file read back must give the
// same cells.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ditch/slootprofiel.h"
#include "fuzzhulp.h"
#include "input/leesbestand.h"
#include "input/leesbestandsloot.h"
#include "output/opslag.h"
#include "output/resultaatschrijver.h"
#include "basis/getallen.h"
#include "basis/profielgeometrie.h"

using namespace zarvo;
using namespace zarvofuzz;

namespace {

constexpr std::string_view scheiding = "\n#SLOOT#\n";

bool zelfdePunt(const Punt& a, const Punt& b) {
  return a.veld1 == b.veld1 && a.veld2 == b.veld2 && a.x == b.x && a.y == b.y && a.z == b.z;
}

// Checks one profile after the ditch step against its points before it.
void controleerSloot(const std::vector<Punt>& voor, const std::vector<Punt>& na, SlootStatus status,
                     const SlootVariabelen& var) {
  if (status != SlootStatus::Sloot) {
    ZARVO_EIS(na.size() == voor.size());
    for (std::size_t k = 0; k < na.size(); ++k) ZARVO_EIS(zelfdePunt(na[k], voor[k]));
    return;
  }
  const auto links = static_cast<std::size_t>((var.tellerSlootkantLinks + 1) / 3);
  const auto rechts = static_cast<std::size_t>((var.tellerSlootkantRechts + 1) / 3);
  ZARVO_EIS(links >= 1 && rechts > links && rechts <= voor.size());
  ZARVO_EIS(na.size() == voor.size() - (rechts - links - 1) + 2);
  for (std::size_t k = 0; k < links; ++k) ZARVO_EIS(zelfdePunt(na[k], voor[k]));
  for (std::size_t k = rechts - 1; k < voor.size(); ++k) ZARVO_EIS(zelfdePunt(na[k - rechts + links + 3], voor[k]));
  for (std::size_t k = links; k < links + 2; ++k) {
    ZARVO_EIS(na[k].z == na[links].z);
    ZARVO_EIS(na[k].z < voor[links - 1].z && na[k].z < voor[rechts - 1].z);
  }
}

// The result file, split back into lines and fields. Only when no text
// holds a TAB or CR, which the format cannot tell apart from its own.
void controleerTeruggelezen(const ProfielStore& store, const std::string& inhoud) {
  std::size_t regels = 0;
  for (char c : inhoud) regels += c == '\n';
  std::size_t punten = 0;
  bool eenduidig = true;
  auto schoon = [](std::string_view t) { return t.find_first_of("\t\r") == std::string_view::npos; };
  for (const Profiel& p : store.profielen) {
    punten += p.punten.size();
    eenduidig = eenduidig && schoon(p.naam);
    for (const Punt& pt : p.punten) eenduidig = eenduidig && schoon(pt.veld1.tekstWaarde()) && schoon(pt.veld2.tekstWaarde());
  }
  ZARVO_EIS(regels == punten);
  if (!eenduidig) return;

  auto zelfdeGetal = [](std::string_view tekst, double waarde) {
    const auto gelezen = leesGetalPunt(tekst);
    // Fifteen digits of a value next to the largest double round up past
    // it; such a text cannot be read back as a finite number.
    if (!gelezen) return std::fabs(waarde) > 1.79769313486231e308;
    // The default conversion keeps 15 significant digits.
    return std::fabs(*gelezen - waarde) <= 1e-14 * std::fabs(waarde);
  };
  auto zelfdeCel = [&](std::string_view tekst, const Cel& cel) {
    switch (cel.soort()) {
      case Cel::Soort::Leeg: return tekst.empty();
      case Cel::Soort::Tekst: return tekst == cel.tekstWaarde();
      case Cel::Soort::Getal: return zelfdeGetal(tekst, cel.getal());
    }
    return false;
  };

  std::size_t pos = 0;
  for (const Profiel& p : store.profielen) {
    for (const Punt& pt : p.punten) {
      const std::size_t eind = inhoud.find("\r\n", pos);
      ZARVO_EIS(eind != std::string::npos);
      const std::string_view regel(inhoud.data() + pos, eind - pos);
      pos = eind + 2;
      std::vector<std::string_view> velden;
      std::size_t begin = 0;
      while (true) {
        const std::size_t tab = regel.find('\t', begin);
        velden.push_back(regel.substr(begin, tab == std::string_view::npos ? std::string_view::npos : tab - begin));
        if (tab == std::string_view::npos) break;
        begin = tab + 1;
      }
      ZARVO_EIS(velden.size() == 6);
      ZARVO_EIS(zelfdeCel(velden[0], pt.veld1));
      ZARVO_EIS(zelfdeCel(velden[1], pt.veld2));
      ZARVO_EIS(zelfdeGetal(velden[2], pt.x));
      ZARVO_EIS(zelfdeGetal(velden[3], pt.y));
      ZARVO_EIS(zelfdeGetal(velden[4], pt.z));
      ZARVO_EIS(velden[5] == p.naam);
    }
  }
  ZARVO_EIS(pos == inhoud.size());
}

std::string leesHeel(const std::string& pad) {
  std::string inhoud;
  std::FILE* f = std::fopen(pad.c_str(), "rb");
  ZARVO_EIS(f != nullptr);
  char blok[1 << 14];
  std::size_t n;
  while ((n = std::fread(blok, 1, sizeof blok, f)) > 0) inhoud.append(blok, n);
  std::fclose(f);
  return inhoud;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t n) {
  const std::string_view invoer(reinterpret_cast<const char*>(data), n);
  const std::size_t knip = invoer.find(scheiding);
  const std::string_view profielDeel = invoer.substr(0, knip);

  const std::string padProfielen =
      schrijfBestand("profielen.txt", reinterpret_cast<const std::uint8_t*>(profielDeel.data()), profielDeel.size());
  ProfielStore store;
  TelSink sink;
  if (leesBestand(store, padProfielen, sink, '.')) return 0;

  std::string slootDeel;
  if (knip != std::string_view::npos) {
    slootDeel = invoer.substr(knip + scheiding.size());
  } else {
    slootDeel = "naam;bodem;talud dijk;talud polder;a;opmerking;b\n";
    for (const Profiel& p : store.profielen) slootDeel += p.naam + ";-2,5;1,5;2;4;;1,5\n";
    slootDeel.pop_back();
  }
  const std::string padSloot =
      schrijfBestand("sloot.csv", reinterpret_cast<const std::uint8_t*>(slootDeel.data()), slootDeel.size());
  if (leesBestandSloot(store, padSloot)) return 0;

  SlootVariabelen var;
  for (std::int32_t p = 1; p <= store.aantalProfielen(); ++p) {
    const std::vector<Punt> voor = store.profiel(p).punten;
    const SlootStatus sloot = berekenSlootprofiel(store, p, var, sink);
    controleerSloot(voor, store.profiel(p).punten, sloot, var);

    const std::vector<Punt> tussen = store.profiel(p).punten;
    const SlootStatus voorland = berekenVoorland(store, p, var, sink);
    const std::vector<Punt>& na = store.profiel(p).punten;
    const std::size_t ervoor = voorland == SlootStatus::Sloot ? 2 : 0;
    ZARVO_EIS(na.size() == tussen.size() + ervoor);
    for (std::size_t k = 0; k < tussen.size(); ++k) ZARVO_EIS(zelfdePunt(na[k + ervoor], tussen[k]));

    for (const Punt& pt : na) {
      ZARVO_EIS(std::isfinite(pt.x) && std::isfinite(pt.y) && std::isfinite(pt.z));
    }
    // What the drawings are made from: one L per point, never going back.
    const ProfielGeometrie g = berekenGeometrie(store.profiel(p));
    ZARVO_EIS(g.lz.size() == na.size());
    for (std::size_t k = 1; k < g.lz.size(); ++k) ZARVO_EIS(g.lz[k].l >= g.lz[k - 1].l);
    ZARVO_EIS(na.empty() || g.lengte == g.lz.back().l);
    ZARVO_EIS(store.aantalKolommen() >= static_cast<std::int32_t>(1 + 3 * na.size()));
    ZARVO_EIS(store.aantalRijenInfo() >= static_cast<std::int32_t>(1 + 2 * na.size()));
  }

  if (store.aantalProfielen() > 1 && n > 0 && data[0] % 2 == 1) store.verwijderProfiel(1);
  const auto fout = schrijfResultaat(store, werkmap(), "resultaat.txt", "verwijderd.txt", '.');
  ZARVO_EIS(!fout);
  controleerTeruggelezen(store, leesHeel(werkmap() + "/resultaat.txt"));
  return 0;
}
