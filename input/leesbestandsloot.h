// Reader of the ditch-profile file: a header line, then one ';'-separated
// record of at least seven fields per profile, in profile order or, when
// the engineer asks for it, in any order and matched by name.
#pragma once

#include <optional>
#include <string>

#include "basis/meldingen.h"
#include "basis/profielstore.h"

namespace zarvo {

// How the records find their profiles: record i goes to profile i (the
// counts must be equal), or each profile gets the record of its name
// (blanks around it and case aside, as waarschuwingSlootNamen compares).
enum class Slootkoppeling { OpVolgorde, OpNaam };

// Reads the file at 'pad' and gives every profile of 'store' its record.
// On an error (count mismatch, short record, empty or binary file,
// unreadable file) no record is changed and the returned message ("Fout!")
// says what is wrong and where.
//
// OpNaam: the counts may differ. A profile without a record of its name
// is left without one (an absent SlootRecord), and a record without a
// profile is not used; 'ongekoppeld' (when given) then gets a notice
// ("Let op!") naming both kinds, and nullopt when every name found its
// match. Two records of one profile's name, or a record whose name two
// profiles share, are an error naming the lines: which one was meant
// cannot be told.
std::optional<Melding> leesBestandSloot(ProfielStore& store, const std::string& pad,
                                        Slootkoppeling koppeling = Slootkoppeling::OpVolgorde,
                                        std::optional<Melding>* ongekoppeld = nullptr);

// Records belong to profiles by position, whatever their names. A record
// whose name (field 1) is not its profile's name, blanks around it and case
// aside, is most likely meant for another profile: the warning ("Let op!")
// names how many and the first few pairs. nullopt when all names agree.
std::optional<Melding> waarschuwingSlootNamen(const ProfielStore& store);

// Whether the profile's record carries the name of another profile, as the
// warning above judges it. False without a record.
bool slootrecordVanAnderProfiel(const Profiel& profiel);

}  // namespace zarvo
