#include "benchbestanden.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace zarvobench {

std::string profielBestand(int profielen, int punten) {
  namespace fs = std::filesystem;
  const fs::path map = fs::temp_directory_path() / "zarvo-bench";
  fs::create_directories(map);
  const std::string stam = "profielen-" + std::to_string(profielen) + "x" + std::to_string(punten);
  const fs::path pad = map / (stam + ".txt");
  if (fs::exists(pad)) return pad.string();
  // Written under a temporary name first, so an interrupted run leaves no half file behind.
  const fs::path tijdelijk = map / (stam + ".tmp");
  const std::string opdracht = "python3 '" ZARVO_BRON "/scripts/maakvoorbeeld.py' --profielen " +
                               std::to_string(profielen) + " --punten " + std::to_string(punten) +
                               " --uit '" + tijdelijk.string() + "' --sloot '" +
                               (map / (stam + "_sloot.csv")).string() + "'";
  if (std::system(opdracht.c_str()) != 0) throw std::runtime_error("mislukt: " + opdracht);
  fs::rename(tijdelijk, pad);
  return pad.string();
}

}  // namespace zarvobench
