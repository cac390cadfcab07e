// Writer of the result file (one TAB-separated line per point) and of the
// list of deleted profiles.
#pragma once

#include <optional>
#include <string>

#include "shell/meldingen.h"
#include "shell/profielstore.h"

namespace zarvo {

std::string standaardNaamResultaat(const std::string& bestandsnaam);       // "output_profiel_" + naam
std::string standaardNaamVerwijderd(const std::string& bestandsnaam);      // "output_verwijderde_profielen_" + naam

// Writes the result file 'map'/'naamResultaat' and, when profiles were
// deleted, the list 'map'/'naamVerwijderd'. Each file is written to a
// temporary file in the same folder and renamed over the target only when
// complete, so a failed save leaves existing files as they were.
// Returns nullopt on success, else the "Fout!" message to show. The success
// message is the caller's to show.
std::optional<Melding> schrijfResultaat(const ProfielStore& store, const std::string& map,
                                        const std::string& naamResultaat,
                                        const std::string& naamVerwijderd, char decimaalteken);

}  // namespace zarvo
