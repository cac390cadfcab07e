#include "output/resultaatschrijver.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "output/stukken.h"
#include "basis/getallen.h"
#include "basis/parallel.h"

namespace zarvo {

namespace {

// Today's result file: the points as they were read, with the ditch and
// foreland points in place, one TAB-separated line each.
class Profielregels : public Resultaatformaat {
 public:
  std::size_t aantalBestanden() const override { return 1; }
  std::string standaardNaam(std::size_t, const std::string& bestandsnaam) const override {
    return standaardNaamResultaat(bestandsnaam);
  }
  // The lines are formatted side by side in pieces of a few thousand points
  // (a piece may start and end inside a profile, so one long profile is
  // shared out too) and written in order while the next pieces are being
  // formatted: the same bytes as one piece, with memory for a few pieces.
  bool schrijf(std::size_t, const ProfielStore& store, Uitvoerstroom& uit, char decimaalteken) const override {
    const std::size_t test = stukGrootteVoorTests();
    const std::vector<stukken::Plek> grenzen =
        test > 0 ? stukken::snijInStukken(store, test, [](std::size_t) { return 1; })
                 : stukken::snijInStukken(store, stukken::kStuk, [&](std::size_t p) {
                     return kGewichtRegel + store.profielen[p].naam.size();
                   });
    std::vector<stukken::Tekstpuffer> puffers(2 * aantalDraden());
    return maakOpVolgorde(
        grenzen.size() - 1, puffers.size(),
        [&](std::size_t i, std::size_t plek) {
          formatteer(store, grenzen[i], grenzen[i + 1], decimaalteken, puffers[plek]);
        },
        [&](std::size_t, std::size_t plek) { return uit.schrijf(puffers[plek].tekst()); });
  }

 private:
  // What a line takes at most besides its name and its code texts: the
  // numbers and the separators.
  static constexpr std::size_t kVasteRegel = 5 * kMaxGetalTekst + 7;
  // And what it takes on average, for cutting the pieces.
  static constexpr std::size_t kGewichtRegel = 40;

  static std::size_t tekstLengte(const Cel& cel) { return cel.isTekst() ? cel.tekstWaarde().size() : 0; }

  static char* schrijfCel(char* p, const Cel& cel, char decimaalteken) {
    switch (cel.soort()) {
      case Cel::Soort::Leeg: return p;
      case Cel::Soort::Getal: return schrijfGetal(p, cel.getal(), decimaalteken);
      case Cel::Soort::Tekst: {
        const std::string_view tekst = cel.tekstWaarde();
        return std::copy(tekst.begin(), tekst.end(), p);
      }
    }
    return p;
  }

  static void formatteer(const ProfielStore& store, stukken::Plek van, stukken::Plek tot, char decimaalteken,
                         stukken::Tekstpuffer& puffer) {
    puffer.wis();
    for (std::size_t p = van.profiel; p < store.profielen.size() && p <= tot.profiel; ++p) {
      const Profiel& prof = store.profielen[p];
      const std::size_t eind = p == tot.profiel ? tot.punt : prof.punten.size();
      const std::size_t vast = kVasteRegel + prof.naam.size();
      for (std::size_t k = p == van.profiel ? van.punt : 0; k < eind; ++k) {
        const Punt& pt = prof.punten[k];
        char* q = puffer.ruimte(vast + tekstLengte(pt.veld1) + tekstLengte(pt.veld2));
        q = schrijfCel(q, pt.veld1, decimaalteken);
        *q++ = '\t';
        q = schrijfCel(q, pt.veld2, decimaalteken);
        *q++ = '\t';
        q = schrijfGetal(q, pt.x, decimaalteken);
        *q++ = '\t';
        q = schrijfGetal(q, pt.y, decimaalteken);
        *q++ = '\t';
        q = schrijfGetal(q, pt.z, decimaalteken);
        *q++ = '\t';
        std::memcpy(q, prof.naam.data(), prof.naam.size());
        q += prof.naam.size();
        // CRLF everywhere: the files go on to Windows tools.
        *q++ = '\r';
        *q++ = '\n';
        puffer.klaar(q);
      }
    }
  }
};

}  // namespace

std::string standaardNaamResultaat(const std::string& bestandsnaam) {
  return "output_profiel_" + bestandsnaam;
}

std::string standaardNaamVerwijderd(const std::string& bestandsnaam) {
  return "output_verwijderde_profielen_" + bestandsnaam;
}

const Resultaatformaat& profielregels() {
  static const Profielregels formaat;
  return formaat;
}

}  // namespace zarvo
