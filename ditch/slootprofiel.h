// Building the trapezoidal ditch into the profiles, and the foreland step
// that follows it for every profile.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "basis/meldingen.h"
#include "basis/profielstore.h"

namespace zarvo {

// What the construction found in the profile last handled. The ditch screen
// reads these for its drawing and point selection. Columns are those of the
// store's column view (X of point j at 3j-1).
struct SlootVariabelen {
  double xSlootrandLinks = -1, ySlootrandLinks = -1, zSlootrandLinks = -1;
  double xSlootrandRechts = -1, ySlootrandRechts = -1, zSlootrandRechts = -1;
  std::int32_t tellerSlootkantLinks = 2;
  std::int32_t tellerSlootkantRechts = 2;
  bool randRechtsGevonden = false;
};

// Bearing in radians, clockwise from the +Y axis, of the direction (dx, dy),
// in [0, 2pi) except due west, which stays -pi/2.
double berekenRichting(double dx, double dy);

enum class SlootStatus {
  Sloot,      // ditch built
  GeenSloot,  // no dike-side edge, or no polder-side edge after it
  Fout,       // an error message was shown; the profile was left unchanged by that step
};

// Builds the ditch into profile 'profiel' (1-based).
// 'var' is reset first; an edge not found keeps its -1 coordinates (and the
// dike-side column counter its start value 2). A profile the step refuses is
// left exactly as it was. When the profile grows, the store's bounds grow
// with it. With 'vervangen', a built ditch leaves there the surveyed points
// it replaced.
SlootStatus berekenSlootprofiel(ProfielStore& store, std::int32_t profiel, SlootVariabelen& var,
                                MeldingSink& sink, std::vector<Punt>* vervangen = nullptr);

// The foreland step: two points in front of the profile, from ditch-record
// columns 5 and 7. Returns Fout when its message was shown, else Sloot when
// points were added and GeenSloot when the step did not apply.
SlootStatus berekenVoorland(ProfielStore& store, std::int32_t profiel, const SlootVariabelen& var,
                            MeldingSink& sink);

// What the construction did to one profile, kept for the steps after it
// (the surface-lines writer names the ditch points from it). Point numbers
// are 1-based and count the whole build, the foreland's two points in front
// included; 0 means none.
struct Bouwfeiten {
  std::int32_t insteekDijk = 0;    // the point the construction took as code 5
  std::int32_t bodemDijk = 0;      // B1
  std::int32_t bodemPolder = 0;    // B2
  std::int32_t insteekPolder = 0;  // the code-2 edge
  // The surveyed points between the edges that the bottom points replaced,
  // in their order: the ground as it was, for the engineer to compare.
  std::vector<Punt> vervangen;
  // What the construction said about this profile (the texts of its
  // messages, one per line); empty when it said nothing.
  std::string melding;
  bool heeftSloot() const { return insteekDijk > 0; }
};

// For every profile in ascending order: the ditch, then the foreland step.
// One status per profile (index 0 = profile 1): Fout when either step showed
// a message, else the ditch step's status. With 'feiten', one record per
// profile as well; a ditch counts as built even when the foreland step
// after it failed, since its points are in the profile all the same.
// The profiles are built on all cores; the messages reach 'sink' in profile
// order and 'voortgang' (profiles done, of all) is called now and then, both
// on the calling thread. 'var' ends as the last profile left it.
// 'metSchermfeiten' false leaves Bouwfeiten::vervangen and ::melding empty:
// only the screens and the report show the old ground and the messages
// again, and a batch run should not keep a copy of them (with a million
// failing profiles that is a message each).
using Bouwvoortgang = std::function<void(std::size_t klaar, std::size_t totaal)>;
std::vector<SlootStatus> bouwSlotenInAlleProfielen(ProfielStore& store, SlootVariabelen& var,
                                                   MeldingSink& sink,
                                                   std::vector<Bouwfeiten>* feiten = nullptr,
                                                   const Bouwvoortgang& voortgang = {},
                                                   bool metSchermfeiten = true);

}  // namespace zarvo
