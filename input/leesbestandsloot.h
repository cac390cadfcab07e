// Reader of the ditch-profile file: a header line, then one ';'-separated
// record of at least seven fields per profile, in profile order.
#pragma once

#include <optional>
#include <string>

#include "basis/meldingen.h"
#include "basis/profielstore.h"

namespace zarvo {

// Reads the file at 'pad' and gives every profile of 'store' its record.
// On an error (count mismatch, short record, empty or binary file,
// unreadable file) no record is changed and the returned message ("Fout!")
// says what is wrong and where.
std::optional<Melding> leesBestandSloot(ProfielStore& store, const std::string& pad);

// Records belong to profiles by position, whatever their names. A record
// whose name (field 1) is not its profile's name, blanks around it and case
// aside, is most likely meant for another profile: the warning ("Let op!")
// names how many and the first few pairs. nullopt when all names agree.
std::optional<Melding> waarschuwingSlootNamen(const ProfielStore& store);

// Whether the profile's record carries the name of another profile, as the
// warning above judges it. False without a record.
bool slootrecordVanAnderProfiel(const Profiel& profiel);

}  // namespace zarvo
