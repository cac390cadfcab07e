// Axes of a picture box: tick marks and labels at readable steps along the
// left and bottom edges, and a light grid behind the drawing, both following
// the view (zoom and pan).
#pragma once

#include <QPainter>
#include <QSizeF>
#include <QString>
#include <vector>

#include "platform/zicht.h"

namespace zarvo::gui {

struct AsInstelling {
  QString naamX;  // e.g. "L (m)"; no axes when both names are empty
  QString naamY;
  // The plan view draws survey Y negated (north up); its labels give the
  // survey value back.
  bool yOmgekeerd = false;
  bool aan() const { return !naamX.isEmpty() || !naamY.isEmpty(); }
};

// The smallest step of 1, 2 or 5 × 10^n that is at least 'minimaleStap'.
double leesbareStap(double minimaleStap);
// The multiples of 'stap' from 'van' to 'tot' (either order), ascending;
// empty when there would be absurdly many.
std::vector<double> maatstreepjes(double van, double tot, double stap);
// A tick value with as many decimals as the step needs, the regional
// separator and no thousands grouping.
QString maatTekst(double waarde, double stap);

// The grid (under the drawing) and the ticks with labels (on top of it) of
// a drawing area of 'maat' showing 'zicht'.
void tekenRaster(QPainter& p, const Zicht& zicht, QSizeF maat);
void tekenAssen(QPainter& p, const Zicht& zicht, QSizeF maat, const AsInstelling& assen);

}  // namespace zarvo::gui
