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
#include <bit>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zarvo {

// An untyped cell: Empty, a number or a text, in 8 bytes. A point carries
// two of them, so with a million points every byte counts. A number is kept
// as its double; Empty and texts are kept in bit patterns no number uses
// (negative NaNs with a payload: every NaN is stored as the one positive
// quiet NaN). Texts of up to six bytes are kept inline, as point codes
// nearly always are; longer ones on the heap.
class Cel {
 public:
  enum class Soort : std::uint8_t { Leeg, Getal, Tekst };

  Cel() noexcept : bits_(merkLeeg << 48) {}
  explicit Cel(double getal) noexcept
      : bits_(getal != getal ? stilleNaN : std::bit_cast<std::uint64_t>(getal)) {}
  explicit Cel(std::string_view tekst);
  Cel(const Cel& ander);
  Cel(Cel&& ander) noexcept : bits_(ander.bits_) { ander.bits_ = merkLeeg << 48; }
  Cel& operator=(const Cel& ander);
  Cel& operator=(Cel&& ander) noexcept;
  ~Cel() { wis(); }

  static Cel leeg() { return Cel(); }
  static Cel tekst(std::string_view t) { return Cel(t); }

  Soort soort() const noexcept {
    if (isLeeg()) return Soort::Leeg;
    return isTekst() ? Soort::Tekst : Soort::Getal;
  }
  bool isLeeg() const noexcept { return merk() == merkLeeg; }
  bool isGetal() const noexcept { return !isLeeg() && !isTekst(); }
  bool isTekst() const noexcept { return merk() == merkLang || merk() >= merkKort; }
  // True for Empty and for the empty text: both end a profile's points.
  bool isLeegOfLegeTekst() const noexcept { return merk() == merkLeeg || merk() == merkKort; }

  double getal() const noexcept { return isGetal() ? std::bit_cast<double>(bits_) : 0.0; }
  std::string_view tekstWaarde() const noexcept;

  bool operator==(const Cel& ander) const noexcept;

 private:
  static_assert(std::endian::native == std::endian::little, "inline texts are the low bytes of the cell");

  // The top 16 bits tell what the cell holds. 0xFFF0 is -infinity and
  // 0xFFF8 the negative quiet NaN (never stored), so those stay numbers.
  static constexpr std::uint64_t merkLeeg = 0xFFF1;
  static constexpr std::uint64_t merkLang = 0xFFF2;  // heap text; the low 48 bits point at it
  static constexpr std::uint64_t merkKort = 0xFFF9;  // + length 0..6: inline text
  static constexpr std::uint64_t stilleNaN = 0x7FF8000000000000;
  static constexpr std::size_t maxKort = 6;
  static constexpr std::uint64_t laag48 = (std::uint64_t{1} << 48) - 1;

  std::uint64_t merk() const noexcept { return bits_ >> 48; }
  // A heap text: its length (4 bytes) followed by its bytes.
  const char* blok() const noexcept { return reinterpret_cast<const char*>(static_cast<std::uintptr_t>(bits_ & laag48)); }
  void wis() noexcept {
    if (merk() == merkLang) delete[] blok();
    bits_ = merkLeeg << 48;
  }
  void kopieer(const Cel& ander);

  std::uint64_t bits_;
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
// unconverted; field 1 is the name. Kept as one text, each field followed
// by ';', instead of seven strings: a file of a million tiny profiles would
// otherwise carry 200 bytes of empty strings for each. A record of up to 27
// bytes ("DP12;-1.60;2.0;2.2;;;") lies inside the record itself, a longer
// one on the heap. The default record is absent: the ditch file
// held none for the profile.
class SlootRecord {
 public:
  SlootRecord() noexcept { opslag_.fill('\0'); }
  // A record of these fields; a field holding ';' is refused
  // (std::invalid_argument), as the ditch file cannot hold one either.
  explicit SlootRecord(const std::array<std::string_view, 7>& velden);
  SlootRecord(const SlootRecord& ander);
  SlootRecord(SlootRecord&& ander) noexcept : opslag_(ander.opslag_) { ander.opslag_.fill('\0'); }
  SlootRecord& operator=(const SlootRecord& ander);
  SlootRecord& operator=(SlootRecord&& ander) noexcept;
  ~SlootRecord() { wis(); }

  bool aanwezig() const noexcept { return opslag_[laatste] != '\0'; }
  // Column c (1..7), numbered as the fields of the ditch file; empty for an
  // absent record.
  std::string_view kolom(int c) const noexcept;

  friend bool operator==(const SlootRecord& a, const SlootRecord& b) noexcept { return a.tekst() == b.tekst(); }

 private:
  // Byte 27 holds the length of an inside text (bytes 0..26), or
  // 'opDeHeap' with the heap text's address in bytes 0..7 and its length in
  // bytes 8..15. Every record ends in ';', so a length of 0 means absent.
  // 28 bytes, not 32: with it a profile record fits five to a block of the
  // store.
  static constexpr std::size_t laatste = 27;
  static constexpr char opDeHeap = '\xFF';

  std::string_view tekst() const noexcept;
  // Room for a text of 'lengte' bytes, inside or on the heap; the caller
  // writes it.
  char* ruimte(std::size_t lengte);
  void wis() noexcept;

  std::array<char, 28> opslag_;
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

// A characteristic point a surface-lines file gave a profile: which one (its
// row in the table of input/karakteristiekepunten.h) and the point (0-based)
// it lies on.
struct KarakteristiekeVerwijzing {
  std::uint8_t soort = 0;
  std::int32_t punt = 0;
};

// Ditch edges the engineer chose, instead of the points coded 5 and 2:
// point numbers (1-based) in the profile as read, before any point was
// built in. Both 0: this profile gets no ditch, whatever its codes say.
struct Slootkeuze {
  std::int32_t puntDijk = 0;
  std::int32_t puntPolder = 0;
  // Where the two points lie in plan, written beside the numbers so that a
  // choice applied to another survey is noticed.
  double xDijk = 0, yDijk = 0, xPolder = 0, yPolder = 0;
  bool geenSloot() const { return puntDijk == 0 && puntPolder == 0; }
  friend bool operator==(const Slootkeuze&, const Slootkeuze&) = default;
};

// A value kept on the heap and made on first use: eight bytes where it is
// absent, as it is in nearly every profile. Copies copy the value.
template <class T>
class Apart {
 public:
  Apart() = default;
  Apart(const Apart& ander) : waarde_(ander.waarde_ ? std::make_unique<T>(*ander.waarde_) : nullptr) {}
  Apart(Apart&&) noexcept = default;
  Apart& operator=(const Apart& ander) {
    if (this != &ander) *this = Apart(ander);
    return *this;
  }
  Apart& operator=(Apart&&) noexcept = default;

  explicit operator bool() const noexcept { return waarde_ != nullptr; }
  // The value, made (default) when absent.
  T& maak() {
    if (!waarde_) waarde_ = std::make_unique<T>();
    return *waarde_;
  }
  const T* operator->() const noexcept { return waarde_.get(); }

 private:
  std::unique_ptr<T> waarde_;
};

// What few profiles carry, kept apart from the record: the ditch screen's
// selection record, the edges the engineer chose and the characteristic
// points a surface-lines file gave.
struct Profielbijlage {
  ProfielInfo profielInfo;
  // Unset: the codes decide where the ditch goes.
  std::optional<Slootkeuze> slootkeuze;
  // Every characteristic point the file gave this profile, kept to be
  // written back where it was; the construction moves them with the points
  // and drops those whose point it replaced. Meaningful only with
  // 'karakteristiekGelezen', which says the characteristic-points file had
  // a row for the profile (without one the points follow from the codes).
  std::vector<KarakteristiekeVerwijzing> karakteristiek;
  bool karakteristiekGelezen = false;
};

// One profile. Its record is kept to under 103 bytes, five to a block of
// the store's deque: a file of a million one-point profiles is mostly
// records.
struct Profiel {
  std::string naam;
  std::vector<Punt> punten;
  SlootRecord sloot;
  // 1-based position in the profile-lines file; a deleted profile is put
  // back before the first remaining profile that came after it there.
  std::int32_t volgnummer = 0;

  // Empty until the construction starts.
  ProfielInfo& profielInfo() { return bijlage_.maak().profielInfo; }
  const ProfielInfo& profielInfo() const { return bijlage_ ? bijlage_->profielInfo : geenBijlage().profielInfo; }
  const std::optional<Slootkeuze>& slootkeuze() const {
    return bijlage_ ? bijlage_->slootkeuze : geenBijlage().slootkeuze;
  }
  void zetSlootkeuze(const std::optional<Slootkeuze>& keuze) {
    if (keuze || bijlage_) bijlage_.maak().slootkeuze = keuze;
  }
  const std::vector<KarakteristiekeVerwijzing>& karakteristiek() const {
    return bijlage_ ? bijlage_->karakteristiek : geenBijlage().karakteristiek;
  }
  std::vector<KarakteristiekeVerwijzing>& karakteristiekBewerken() { return bijlage_.maak().karakteristiek; }
  bool karakteristiekGelezen() const { return bijlage_ && bijlage_->karakteristiekGelezen; }
  void zetKarakteristiekGelezen() { bijlage_.maak().karakteristiekGelezen = true; }

 private:
  static const Profielbijlage& geenBijlage();
  Apart<Profielbijlage> bijlage_;
};

// A deque rather than a vector: a reader can hand over the profiles it
// gathered without a second list of them, and a million small profiles
// never wait in a vector's spare half.
using Profielen = std::deque<Profiel>;

class ProfielStore {
 public:
  // Full paths of the two input files.
  std::string inputbestand;
  std::string bestandSloot;

  // Profiles in file order; profile p (1-based) is profielen[p - 1].
  Profielen profielen;

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
