// The part of a built profile that "Zoom op sloot" shows.
#pragma once

#include <QPointF>
#include <optional>
#include <utility>

#include "ditch/slootprofiel.h"
#include "basis/profielgeometrie.h"

namespace zarvo::gui {

// Two corners (L, Z) of the window from 2 m before the dike-side edge to
// 2 m past the polder-side edge, high enough for every point in that
// stretch (the bottom and both edges among them) and for the surveyed
// points the ditch replaced, with a margin. nullopt
// for a profile without a built ditch.
std::optional<std::pair<QPointF, QPointF>> slootKader(const ProfielGeometrie& g, const Bouwfeiten& feiten);

}  // namespace zarvo::gui
