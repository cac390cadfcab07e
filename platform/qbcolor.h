// The standard 16-colour palette (QBColor 0..15).
#pragma once

#include <QColor>

namespace zarvo::gui {

QColor qbColor(int index);  // index outside 0..15 gives black

}  // namespace zarvo::gui
