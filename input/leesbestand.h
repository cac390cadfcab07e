// Reader of the profile-lines file (one surveyed point per line:
// field 1, field 2, X, Y, Z, profile name, comma separated).
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "basis/meldingen.h"
#include "basis/profielstore.h"

namespace zarvo {

// Called now and then with the bytes read so far and the file size.
using Voortgang = std::function<void(std::uint64_t gelezen, std::uint64_t totaal)>;

// Reads the file at 'pad' into 'store' (which should be empty of profiles).
// Double points are dropped with a "Melding" message through 'sink'.
// On an error nothing is loaded: the store's profiles and bounds are left
// as they were and the returned message names the file and the line.
// 'decimaalteken' is used for numbers inside messages.
// The file is parsed on all cores; the messages reach 'sink', and
// 'voortgang' is called, on the calling thread only, in file order.
std::optional<Melding> leesBestand(ProfielStore& store, const std::string& pad, MeldingSink& sink,
                                   char decimaalteken = '.', const Voortgang& voortgang = {});

// A profile's name and its number of points (double points dropped).
struct ProfielTelling {
  std::string naam;
  std::size_t punten = 0;
};

// Reads the file as leesBestand does, with the same checks and messages,
// but keeps only each profile's name and number of points: a listing of a
// file needs no room for its points.
std::optional<Melding> telBestand(const std::string& pad, MeldingSink& sink, char decimaalteken,
                                  std::vector<ProfielTelling>& profielen);


}  // namespace zarvo
