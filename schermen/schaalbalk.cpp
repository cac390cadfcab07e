#include "schermen/schaalbalk.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace zarvo::gui {

SchaalBalk::SchaalBalk(QWidget* ouder) : QScrollBar(Qt::Horizontal, ouder) {
  setSingleStep(1);
  setPageStep(10);
  pasBereikToe();
}

int SchaalBalk::klem16(double waarde) {
  constexpr double laag = std::numeric_limits<std::int16_t>::min();
  constexpr double hoog = std::numeric_limits<std::int16_t>::max();
  if (std::isnan(waarde)) return 0;
  // nearbyint rounds halves to even in the default rounding mode.
  return static_cast<int>(std::nearbyint(std::clamp(waarde, laag, hoog)));
}

void SchaalBalk::zetOudMin(int waarde) {
  min_ = klem16(waarde);
  pasBereikToe();
}

void SchaalBalk::zetOudMax(int waarde) {
  max_ = klem16(waarde);
  pasBereikToe();
}

void SchaalBalk::pasBereikToe() {
  // The inversion is set before the range so that a position moved by the
  // new range is already painted at the right end.
  setInvertedAppearance(min_ > max_);
  // setRange moves the position into the range (and emits valueChanged).
  setRange(std::min(min_, max_), std::max(min_, max_));
}

}  // namespace zarvo::gui
