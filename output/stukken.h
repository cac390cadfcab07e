// What the result formats share to write a large store fast: the text is
// made in pieces side by side (maakOpVolgorde) and written in order, with
// memory for a few pieces only.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

#include "basis/profielstore.h"

namespace zarvo::stukken {

// About 200 kB of text a piece: a few thousand lines, written in one call.
inline constexpr std::size_t kStuk = std::size_t{200} << 10;

// A place between two points of the store: before point 'punt' of profile
// 'profiel'; {profielen.size(), 0} is the end.
struct Plek {
  std::size_t profiel = 0;
  std::size_t punt = 0;
};

// Where each piece starts, then the end: pieces [grenzen[i], grenzen[i+1]).
// A piece holds points worth about 'budget', each point of profile p
// costing kosten(p) (a piece holds at least one point). Borders fall before
// a point, also inside a profile, so a long profile is shared out too and
// no piece grows with the file; the first piece starts at {0, 0}, so that
// profiles without points belong to a piece as well.
template <class Kosten>
std::vector<Plek> snijInStukken(const ProfielStore& store, std::size_t budget, Kosten kosten) {
  std::vector<Plek> grenzen{Plek{}};
  std::size_t gebruikt = 0;
  for (std::size_t p = 0; p < store.profielen.size(); ++p) {
    const std::size_t aantal = store.profielen[p].punten.size();
    const std::size_t perPunt = std::max<std::size_t>(kosten(p), 1);
    for (std::size_t k = 0; k < aantal;) {
      std::size_t past = (budget > gebruikt ? budget - gebruikt : 0) / perPunt;
      if (past == 0 && gebruikt > 0) {
        grenzen.push_back(Plek{p, k});
        gebruikt = 0;
        continue;
      }
      past = std::min(std::max<std::size_t>(past, 1), aantal - k);
      k += past;
      gebruikt += past * perPunt;
    }
  }
  grenzen.push_back(Plek{store.profielen.size(), 0});
  return grenzen;
}

// A growing byte buffer that formatting writes into directly: ask room for
// what a line can take at most, write it through the pointer, then say
// where it ended. No check per byte, no zero-filling. Each on a cache line
// of its own: threads filling buffers side by side in one vector would
// otherwise fight over the line that holds their lengths.
class alignas(64) Tekstpuffer {
 public:
  char* ruimte(std::size_t n) {
    if (capaciteit_ - lengte_ < n) groei(n);
    return data_.get() + lengte_;
  }
  void klaar(char* eind) { lengte_ = static_cast<std::size_t>(eind - data_.get()); }
  void voegToe(std::string_view tekst) {
    klaar(std::copy(tekst.begin(), tekst.end(), ruimte(tekst.size())));
  }
  void wis() { lengte_ = 0; }
  std::string_view tekst() const { return {data_.get(), lengte_}; }

 private:
  void groei(std::size_t n) {
    const std::size_t nieuw = std::max(2 * capaciteit_, lengte_ + n);
    auto data = std::make_unique_for_overwrite<char[]>(nieuw);
    if (lengte_ > 0) std::memcpy(data.get(), data_.get(), lengte_);
    data_ = std::move(data);
    capaciteit_ = nieuw;
  }

  std::unique_ptr<char[]> data_;
  std::size_t lengte_ = 0;
  std::size_t capaciteit_ = 0;
};

}  // namespace zarvo::stukken
