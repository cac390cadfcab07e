// The profile store: the profiles of one job with everything each carries.
//
// Each profile is one record holding its points, its ditch-file record and
// its selection record together, so deleting or inserting a profile can
// never leave one part behind, and a short profile does not pay for the
// longest one. The column bounds (aantalKolommen, aantalRijenInfo) are
// counters with the meaning the row-and-column view gives them; that view
// is available through profielDataCel()/puntInfoCel() for code and tests
// that think in columns.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace zarvo {

// An untyped cell: Empty, a number or a text. 16 bytes: texts of up to
// eight bytes are kept inline, longer ones on the heap. Point codes are
// nearly always small numbers, so a million points stay compact.
class Cel {
 public:
  enum class Soort : std::uint8_t { Leeg, Getal, Tekst };

  Cel() noexcept : getal_(0.0) {}
  explicit Cel(double getal) noexcept : soort_(Soort::Getal), getal_(getal) {}
  explicit Cel(std::string_view tekst);
  Cel(const Cel& ander);
  Cel(Cel&& ander) noexcept;
  Cel& operator=(const Cel& ander);
  Cel& operator=(Cel&& ander) noexcept;
  ~Cel();

  static Cel leeg() { return Cel(); }
  static Cel tekst(std::string_view t) { return Cel(t); }

  Soort soort() const noexcept { return soort_; }
  bool isLeeg() const noexcept { return soort_ == Soort::Leeg; }
  bool isGetal() const noexcept { return soort_ == Soort::Getal; }
  bool isTekst() const noexcept { return soort_ == Soort::Tekst; }
  // True for Empty and for the empty text: both end a profile's points.
  bool isLeegOfLegeTekst() const noexcept {
    return soort_ == Soort::Leeg || (soort_ == Soort::Tekst && lengte_ == 0);
  }

  double getal() const noexcept { return soort_ == Soort::Getal ? getal_ : 0.0; }
  std::string_view tekstWaarde() const noexcept;

  bool operator==(const Cel& ander) const noexcept;

 private:
  void wis() noexcept;
  void kopieer(const Cel& ander);

  Soort soort_ = Soort::Leeg;
  std::uint32_t lengte_ = 0;  // text length in bytes
  union {
    double getal_;
    char kort_[8];
    char* lang_;
  };
};

// One surveyed (or constructed) point: its two code fields kept as read,
// and X, Y, Z in metres, already rounded to 3 decimals.
struct Punt {
  Cel veld1;  // first point attribute (point number / code)
  Cel veld2;  // second point attribute (code)
  double x = 0.0;
  double y = 0.0;
  double z = 0.0;
};

// The ditch-profile file's record of one profile: fields 1..7 as text,
// unconverted. velden[0] is field 1 (the name). 'aanwezig' is false when the
// ditch file held no record for the profile.
struct SlootRecord {
  std::array<std::string, 7> velden;
  bool aanwezig = false;
  // Column c (1..7), numbered as the fields of the ditch file.
  const std::string& kolom(int c) const { return velden[static_cast<std::size_t>(c - 1)]; }
};

// A profile's selection record: columns 0..37, column 1 the name, 2..37
// twelve point slots (X, Y, Z at 3s-1, 3s, 3s+1), -1 meaning "not set".
// Only the ditch screen fills it, so its cells are made on first write: a
// file of a million tiny profiles must not pay 600 bytes each for it.
class ProfielInfo {
 public:
  static constexpr std::size_t aantal = 38;

  ProfielInfo() = default;
  ProfielInfo(const ProfielInfo& ander)
      : cellen_(ander.cellen_ ? std::make_unique<std::array<Cel, aantal>>(*ander.cellen_) : nullptr) {}
  ProfielInfo(ProfielInfo&&) noexcept = default;
  ProfielInfo& operator=(const ProfielInfo& ander) {
    if (this != &ander) *this = ProfielInfo(ander);
    return *this;
  }
  ProfielInfo& operator=(ProfielInfo&&) noexcept = default;

  // Index 0..37; reading an unwritten record gives Empty cells.
  Cel& operator[](std::size_t i) {
    if (!cellen_) cellen_ = std::make_unique<std::array<Cel, aantal>>();
    return (*cellen_)[i];
  }
  const Cel& operator[](std::size_t i) const {
    static const Cel leeg;
    return cellen_ ? (*cellen_)[i] : leeg;
  }
  static constexpr std::size_t size() { return aantal; }

 private:
  std::unique_ptr<std::array<Cel, aantal>> cellen_;
};

struct Profiel {
  std::string naam;
  std::vector<Punt> punten;
  SlootRecord sloot;
  // Empty until the construction starts.
  ProfielInfo profielInfo;
  // 1-based position in the profile-lines file; a deleted profile is put
  // back before the first remaining profile that came after it there.
  std::int32_t volgnummer = 0;
};

class ProfielStore {
 public:
  // Full paths of the two input files.
  std::string inputbestand;
  std::string bestandSloot;

  // Profiles in file order; profile p (1-based) is profielen[p - 1].
  std::vector<Profiel> profielen;

  // Names of deleted profiles in order of deletion.
  std::vector<std::string> verwijderdeProfielen;

  std::int32_t aantalProfielen() const noexcept {
    return static_cast<std::int32_t>(profielen.size());
  }
  std::int32_t aantalVerwijderd() const noexcept {
    return static_cast<std::int32_t>(verwijderdeProfielen.size());
  }

  // Highest coordinate column (1 + 3 × the largest point count seen) and
  // highest code column (1 + 2 × that count) of the column view. They only
  // ever grow: deleting a long profile leaves them as they were.
  std::int32_t aantalKolommen() const noexcept { return aantalKolommen_; }
  std::int32_t aantalRijenInfo() const noexcept { return aantalRijenInfo_; }
  // Sets both bounds for a largest point count (the readers do this).
  void zetGrenzen(std::int32_t aantalKolommen, std::int32_t aantalRijenInfo) noexcept;
  // Raises the bounds so that they cover every profile's points.
  void dekGrenzen() noexcept;

  // 1-based access.
  Profiel& profiel(std::int32_t p) { return profielen[static_cast<std::size_t>(p - 1)]; }
  const Profiel& profiel(std::int32_t p) const {
    return profielen[static_cast<std::size_t>(p - 1)];
  }

  // Removes profile p (1-based) with everything it carries, records its
  // name in verwijderdeProfielen and returns it. The bounds stay as they are.
  Profiel verwijderProfiel(std::int32_t p);

  // Fills profielInfo of every profile: column 1 the name, 2..37 -1.
  void initialiseerProfielInfo();

  // Back to the start state (nothing loaded, nothing chosen).
  void wisAlles();

  // The column view, for code that thinks in columns.
  // profielData(p, 1) = name; (p, 3k-1 / 3k / 3k+1) = X / Y / Z of point k;
  // Empty beyond the last point or beyond aantalKolommen.
  Cel profielDataCel(std::int32_t p, std::int32_t kolom) const;
  // puntInfo(p, 1) = name; (p, 2k / 2k+1) = field 1 / field 2 of point k.
  Cel puntInfoCel(std::int32_t p, std::int32_t index) const;

 private:
  std::int32_t aantalKolommen_ = 0;
  std::int32_t aantalRijenInfo_ = 0;
};

}  // namespace zarvo
