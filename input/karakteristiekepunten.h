// The characteristic points of the dike-assessment software's import files
// and how they relate to our point codes. Both the surface-lines reader and
// the surface-lines writer work from this one table.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace zarvo {

// Where a characteristic point comes from when we write one.
enum class Herkomst {
  Geen,           // never written (absent, -1;-1;-1)
  EerstePunt,     // the profile's first point
  LaatstePunt,    // the profile's last point
  InsteekDijk,    // the built ditch's dike-side edge (the point taken as code 5)
  BodemDijk,      // the built ditch's bottom point B1
  BodemPolder,    // the built ditch's bottom point B2
  InsteekPolder,  // the built ditch's polder-side edge (code 2)
  EersteCode,     // the first point with 'code' (3 and 4: not a built bottom point)
  TweedeCode,     // the second point with 'code'
};

struct KarakteristiekPunt {
  std::string_view naam;       // as in the column names after "X_"
  std::string_view kolomY;     // the Y column's name: the importers expect one misspelt
  Herkomst herkomst;
  int code;                    // the code 'herkomst' looks for in profile lines; 0 = none
  int leesCode;                // the code a point on which it lies gets when read; 0 = none
  int voorrang;                // when several lie on one point, the lowest number's code comes first
};

inline constexpr std::size_t aantalKarakteristiekePunten = 19;

// The six points without which the macro-stability import skips a profile.
bool isVerplichtKarakteristiekPunt(std::size_t tabelIndex);

// The row of "Dijktafelhoogte": written only when a profile has one, so
// that files without it keep the 18 points they always had.
inline constexpr std::size_t indexDijktafelhoogte = aantalKarakteristiekePunten - 1;

// In the column order of the import files (Dijktafelhoogte last).
const std::array<KarakteristiekPunt, aantalKarakteristiekePunten>& karakteristiekePunten();

// The header line of a characteristic-points file, without a line end.
std::string kopKarakteristiekePunten(bool metDijktafelhoogte = false);

// The table as a Dutch text for --help: one line per characteristic point.
std::string uitlegKarakteristiekePunten();

}  // namespace zarvo
