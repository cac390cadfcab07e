#include "basis/profielstore.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>
#include <stdexcept>

namespace zarvo {

SlootRecord::SlootRecord(const std::array<std::string_view, 7>& velden) {
  opslag_.fill('\0');
  std::size_t lengte = 0;
  for (std::string_view v : velden) {
    if (v.find(';') != std::string_view::npos) throw std::invalid_argument("slootrecord met ';' in een veld");
    lengte += v.size() + 1;
  }
  // Straight into place: a million records must not each pass through a
  // string of their own first.
  char* uit = ruimte(lengte);
  for (std::string_view v : velden) {
    uit = std::copy(v.begin(), v.end(), uit);
    *uit++ = ';';
  }
}

SlootRecord::SlootRecord(const SlootRecord& ander) {
  opslag_.fill('\0');
  const std::string_view t = ander.tekst();
  std::copy(t.begin(), t.end(), ruimte(t.size()));
}

SlootRecord& SlootRecord::operator=(const SlootRecord& ander) {
  if (this != &ander) *this = SlootRecord(ander);
  return *this;
}

SlootRecord& SlootRecord::operator=(SlootRecord&& ander) noexcept {
  if (this != &ander) {
    wis();
    opslag_ = ander.opslag_;
    ander.opslag_.fill('\0');
  }
  return *this;
}

std::string_view SlootRecord::tekst() const noexcept {
  if (opslag_[laatste] != opDeHeap) {
    return std::string_view(opslag_.data(), static_cast<unsigned char>(opslag_[laatste]));
  }
  const char* blok = nullptr;
  std::size_t lengte = 0;
  std::memcpy(&blok, opslag_.data(), sizeof blok);
  std::memcpy(&lengte, opslag_.data() + 8, sizeof lengte);
  return std::string_view(blok, lengte);
}

char* SlootRecord::ruimte(std::size_t lengte) {
  if (lengte < laatste) {
    opslag_[laatste] = static_cast<char>(lengte);
    return opslag_.data();
  }
  char* blok = new char[lengte];
  std::memcpy(opslag_.data(), &blok, sizeof blok);
  std::memcpy(opslag_.data() + 8, &lengte, sizeof lengte);
  opslag_[laatste] = opDeHeap;
  return blok;
}

void SlootRecord::wis() noexcept {
  if (opslag_[laatste] == opDeHeap) {
    char* blok = nullptr;
    std::memcpy(&blok, opslag_.data(), sizeof blok);
    delete[] blok;
  }
  opslag_.fill('\0');
}

const Profielbijlage& Profiel::geenBijlage() {
  static const Profielbijlage geen;
  return geen;
}

std::string_view SlootRecord::kolom(int c) const noexcept {
  const std::string_view t = tekst();
  std::size_t begin = 0;
  for (int k = 1; k < c && begin < t.size(); ++k) begin = t.find(';', begin) + 1;
  if (begin >= t.size()) return {};
  return t.substr(begin, t.find(';', begin) - begin);
}

Cel::Cel(std::string_view tekst) : bits_(merkLeeg << 48) {
  if (tekst.size() <= maxKort) {
    bits_ = (merkKort + tekst.size()) << 48;
    if (!tekst.empty()) std::memcpy(&bits_, tekst.data(), tekst.size());
    return;
  }
  if (tekst.size() > std::numeric_limits<std::uint32_t>::max()) {
    throw std::length_error("tekst te lang voor een cel");
  }
  const auto lengte = static_cast<std::uint32_t>(tekst.size());
  char* blok = new char[sizeof lengte + lengte];
  const auto adres = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(blok));
  if ((adres & ~laag48) != 0) {
    // No system this runs on hands out such addresses; should one ever do,
    // the cell cannot hold the text, which is a failure to get memory.
    delete[] blok;
    throw std::bad_alloc();
  }
  std::memcpy(blok, &lengte, sizeof lengte);
  std::memcpy(blok + sizeof lengte, tekst.data(), lengte);
  bits_ = (merkLang << 48) | adres;
}

Cel::Cel(const Cel& ander) : bits_(merkLeeg << 48) { kopieer(ander); }

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
    bits_ = ander.bits_;
    ander.bits_ = merkLeeg << 48;
  }
  return *this;
}

void Cel::kopieer(const Cel& ander) {
  if (ander.merk() == merkLang) {
    *this = Cel(ander.tekstWaarde());
  } else {
    bits_ = ander.bits_;
  }
}

std::string_view Cel::tekstWaarde() const noexcept {
  if (merk() == merkLang) {
    std::uint32_t lengte = 0;
    std::memcpy(&lengte, blok(), sizeof lengte);
    return {blok() + sizeof lengte, lengte};
  }
  if (merk() >= merkKort) return {reinterpret_cast<const char*>(&bits_), static_cast<std::size_t>(merk() - merkKort)};
  return {};
}

bool Cel::operator==(const Cel& ander) const noexcept {
  const Soort s = soort();
  if (s != ander.soort()) return false;
  switch (s) {
    case Soort::Leeg: return true;
    case Soort::Getal: return getal() == ander.getal();
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
    ProfielInfo& info = p.profielInfo();
    info[0] = Cel();
    info[1] = Cel(p.naam);
    for (std::size_t i = 2; i < info.size(); ++i) info[i] = Cel(-1.0);
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
