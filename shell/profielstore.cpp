#include "shell/profielstore.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <stdexcept>

namespace zarvo {

Cel::Cel(std::string_view tekst) : soort_(Soort::Tekst), getal_(0.0) {
  if (tekst.size() > std::numeric_limits<std::uint32_t>::max()) {
    throw std::length_error("tekst te lang voor een cel");
  }
  lengte_ = static_cast<std::uint32_t>(tekst.size());
  if (lengte_ <= sizeof(kort_)) {
    std::memcpy(kort_, tekst.data(), lengte_);
  } else {
    lang_ = new char[lengte_];
    std::memcpy(lang_, tekst.data(), lengte_);
  }
}

Cel::Cel(const Cel& ander) : getal_(0.0) { kopieer(ander); }

Cel::Cel(Cel&& ander) noexcept : soort_(ander.soort_), lengte_(ander.lengte_), getal_(0.0) {
  std::memcpy(kort_, ander.kort_, sizeof(kort_));  // takes over a heap pointer too
  ander.soort_ = Soort::Leeg;
  ander.lengte_ = 0;
}

Cel& Cel::operator=(const Cel& ander) {
  if (this != &ander) {
    wis();
    kopieer(ander);
  }
  return *this;
}

Cel& Cel::operator=(Cel&& ander) noexcept {
  if (this != &ander) {
    wis();
    soort_ = ander.soort_;
    lengte_ = ander.lengte_;
    std::memcpy(kort_, ander.kort_, sizeof(kort_));
    ander.soort_ = Soort::Leeg;
    ander.lengte_ = 0;
  }
  return *this;
}

Cel::~Cel() { wis(); }

void Cel::wis() noexcept {
  if (soort_ == Soort::Tekst && lengte_ > sizeof(kort_)) delete[] lang_;
  soort_ = Soort::Leeg;
  lengte_ = 0;
  getal_ = 0.0;
}

void Cel::kopieer(const Cel& ander) {
  if (ander.soort_ == Soort::Tekst && ander.lengte_ > sizeof(kort_)) {
    lang_ = new char[ander.lengte_];
    std::memcpy(lang_, ander.lang_, ander.lengte_);
  } else {
    std::memcpy(kort_, ander.kort_, sizeof(kort_));
  }
  soort_ = ander.soort_;
  lengte_ = ander.lengte_;
}

std::string_view Cel::tekstWaarde() const noexcept {
  if (soort_ != Soort::Tekst) return {};
  return {lengte_ <= sizeof(kort_) ? kort_ : lang_, lengte_};
}

bool Cel::operator==(const Cel& ander) const noexcept {
  if (soort_ != ander.soort_) return false;
  switch (soort_) {
    case Soort::Leeg: return true;
    case Soort::Getal: return getal_ == ander.getal_;
    case Soort::Tekst: return tekstWaarde() == ander.tekstWaarde();
  }
  return false;
}

void ProfielStore::zetGrenzen(std::int32_t aantalKolommen, std::int32_t aantalRijenInfo) noexcept {
  aantalKolommen_ = aantalKolommen;
  aantalRijenInfo_ = aantalRijenInfo;
}

void ProfielStore::dekGrenzen() noexcept {
  std::size_t meeste = 0;
  for (const Profiel& p : profielen) meeste = std::max(meeste, p.punten.size());
  const auto n = static_cast<std::int64_t>(meeste);
  const std::int64_t grens = std::numeric_limits<std::int32_t>::max();
  aantalKolommen_ = std::max<std::int32_t>(aantalKolommen_,
                                           static_cast<std::int32_t>(std::min(grens, 1 + 3 * n)));
  aantalRijenInfo_ = std::max<std::int32_t>(aantalRijenInfo_,
                                            static_cast<std::int32_t>(std::min(grens, 1 + 2 * n)));
}

Profiel ProfielStore::verwijderProfiel(std::int32_t p) {
  if (p < 1 || p > aantalProfielen()) throw std::out_of_range("profielnummer buiten bereik");
  verwijderdeProfielen.push_back(profiel(p).naam);
  Profiel weg = std::move(profiel(p));
  profielen.erase(profielen.begin() + (p - 1));
  return weg;
}

void ProfielStore::initialiseerProfielInfo() {
  for (Profiel& p : profielen) {
    p.profielInfo[0] = Cel();
    p.profielInfo[1] = Cel(p.naam);
    for (std::size_t i = 2; i < p.profielInfo.size(); ++i) p.profielInfo[i] = Cel(-1.0);
  }
}

void ProfielStore::wisAlles() { *this = ProfielStore(); }

Cel ProfielStore::profielDataCel(std::int32_t p, std::int32_t kolom) const {
  if (p < 1 || p > aantalProfielen() || kolom < 1 || kolom > aantalKolommen_) return Cel();
  const Profiel& prof = profiel(p);
  if (kolom == 1) return Cel(prof.naam);
  const auto k = static_cast<std::size_t>((kolom + 1) / 3);  // point number, 1-based
  if (k > prof.punten.size()) return Cel();
  const Punt& pt = prof.punten[k - 1];
  switch ((kolom + 1) % 3) {
    case 0: return Cel(pt.x);
    case 1: return Cel(pt.y);
    default: return Cel(pt.z);
  }
}

Cel ProfielStore::puntInfoCel(std::int32_t p, std::int32_t index) const {
  if (p < 1 || p > aantalProfielen() || index < 1 || index > aantalRijenInfo_) return Cel();
  const Profiel& prof = profiel(p);
  if (index == 1) return Cel(prof.naam);
  const auto k = static_cast<std::size_t>(index / 2);
  if (k > prof.punten.size()) return Cel();
  const Punt& pt = prof.punten[k - 1];
  return index % 2 == 0 ? pt.veld1 : pt.veld2;
}

}  // namespace zarvo
