// The ditch edges chosen by hand on the ditch screen, as saved beside the
// result ("output_slootkanten_<naam>.csv"), read back for zarvo-batch:
//
//   profielnaam;punt dijkzijde;X;Y;punt polderzijde;X;Y
//   DP112+050;14;129976.358;502133.1;19;129981.2;502129.87
//   DP113+000;;;;;;
//
// A point is its number (1-based) in the profile as read, X and Y a check
// that it is the same point. A line without points: that profile gets no
// ditch.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "basis/meldingen.h"
#include "basis/profielstore.h"

namespace zarvo {

struct SlootkantRegel {
  std::string naam;
  Slootkeuze keuze;
  std::int64_t regel = 0;  // line number in the file, for messages
};

// The header the file starts with.
extern const char* const slootkantenKop;

// Reads 'pad' into 'regels'; on an error the message names the file and
// the line, and 'regels' is left empty.
std::optional<Melding> leesSlootkanten(const std::string& pad, std::vector<SlootkantRegel>& regels);

}  // namespace zarvo
