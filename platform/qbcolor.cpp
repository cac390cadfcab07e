#include "platform/qbcolor.h"

#include <array>

namespace zarvo::gui {

QColor qbColor(int index) {
  static const std::array<QRgb, 16> palet = {
      qRgb(0, 0, 0),       qRgb(0, 0, 128),     qRgb(0, 128, 0),     qRgb(0, 128, 128),
      qRgb(128, 0, 0),     qRgb(128, 0, 128),   qRgb(128, 128, 0),   qRgb(192, 192, 192),
      qRgb(128, 128, 128), qRgb(0, 0, 255),     qRgb(0, 255, 0),     qRgb(0, 255, 255),
      qRgb(255, 0, 0),     qRgb(255, 0, 255),   qRgb(255, 255, 0),   qRgb(255, 255, 255)};
  if (index < 0 || index >= 16) return QColor(Qt::black);
  return QColor(palet[static_cast<std::size_t>(index)]);
}

}  // namespace zarvo::gui
