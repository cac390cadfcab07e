// Test files for the benchmarks, made once by the sample script and kept in
// the temporary folder between runs.
#pragma once

#include <string>

namespace zarvobench {

// Path of a profile-lines file of 'profielen' × 'punten' points; its ditch
// file lies next to it (same name, "_sloot.csv"). Made on first use.
// Throws when the script fails.
std::string profielBestand(int profielen, int punten);

}  // namespace zarvobench
