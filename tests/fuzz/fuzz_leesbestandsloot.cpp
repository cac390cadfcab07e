// The ditch-profile reader on arbitrary bytes. The store it reads into
// gets as many profiles as the file has records, so most inputs pass the
// count check and reach the record parsing; the first byte sometimes
// asks for a different count to keep the mismatch path covered. The same
// bytes are then matched by name to profiles named after the lines'
// first fields, so that names match, repeat and go missing.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

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

  // Matched by name: the profiles take the first field of every other
  // line (the header's too), so some records find no profile and some
  // profiles no record.
  ProfielStore opNaam;
  const std::string_view inhoud(reinterpret_cast<const char*>(data), n);
  std::size_t begin = 0;
  for (std::size_t r = 0; begin < n; ++r) {
    std::size_t eind = inhoud.find('\n', begin);
    if (eind == std::string_view::npos) eind = n;
    if (r % 2 == 0) {
      const std::size_t veldEind = std::min(eind, inhoud.find(';', begin));
      opNaam.profielen.emplace_back().naam = std::string(inhoud.substr(begin, veldEind - begin));
    }
    begin = eind + 1;
  }
  // As the reader compares them: blanks around, ASCII case.
  auto vergelijk = [](std::string_view naam) {
    const std::size_t b = naam.find_first_not_of(" \t");
    if (b == std::string_view::npos) return std::string();
    std::string uit(naam.substr(b, naam.find_last_not_of(" \t") - b + 1));
    for (char& c : uit) c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    return uit;
  };
  std::optional<Melding> ongekoppeld;
  const auto foutOpNaam = leesBestandSloot(opNaam, pad, Slootkoppeling::OpNaam, &ongekoppeld);
  if (foutOpNaam) {
    ZARVO_EIS(foutOpNaam->titel == "Fout!");
    ZARVO_EIS(!ongekoppeld);
    for (const Profiel& p : opNaam.profielen) ZARVO_EIS(!p.sloot.aanwezig());
  } else {
    bool zonderRecord = false;
    for (const Profiel& p : opNaam.profielen) {
      zonderRecord = zonderRecord || !p.sloot.aanwezig();
      ZARVO_EIS(!p.sloot.aanwezig() || vergelijk(p.sloot.kolom(1)) == vergelijk(p.naam));
    }
    if (zonderRecord) ZARVO_EIS(ongekoppeld && ongekoppeld->titel == "Let op!");
  }
  return 0;
}
