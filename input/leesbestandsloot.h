// Reader of the ditch-profile file: a header line, then one ';'-separated
// record of at least seven fields per profile, in profile order.
#pragma once

#include <optional>
#include <string>

#include "shell/meldingen.h"
#include "shell/profielstore.h"

namespace zarvo {

// Reads the file at 'pad' and gives every profile of 'store' its record.
// On an error (count mismatch, short record, unreadable file) no record is
// changed and the returned message ("Fout!") is what the user must see;
// the desktop program ends after it.
std::optional<Melding> leesBestandSloot(ProfielStore& store, const std::string& pad);

}  // namespace zarvo
