#include "platform/assen.h"

#include <QFontMetricsF>
#include <algorithm>
#include <cmath>

#include "platform/regionaal.h"

namespace zarvo::gui {

namespace {

// Labels need room: one per this many pixels at most.
constexpr double pixelsPerStapX = 90.0;
constexpr double pixelsPerStapY = 45.0;
constexpr double streepLengte = 6.0;
const QColor rasterKleur(228, 228, 228);
const QColor asKleur(90, 90, 90);

struct AsStappen {
  double stap = 0;
  std::vector<double> waarden;
};

// Ticks of one axis: the world range shown over 'pixels' pixels.
AsStappen stappen(double van, double tot, double pixels, double pixelsPerStap) {
  AsStappen s;
  if (!(pixels > 0)) return s;
  s.stap = leesbareStap(std::abs(tot - van) * pixelsPerStap / pixels);
  s.waarden = maatstreepjes(van, tot, s.stap);
  return s;
}

AsStappen stappenX(const Venster& v, QSizeF maat) {
  return stappen(v.links, v.links + v.breedte, maat.width(), pixelsPerStapX);
}
AsStappen stappenY(const Venster& v, QSizeF maat) {
  return stappen(v.boven, v.boven + v.hoogte, maat.height(), pixelsPerStapY);
}

}  // namespace

double leesbareStap(double minimaleStap) {
  if (!(minimaleStap > 0) || !std::isfinite(minimaleStap)) return 0;
  const double macht = std::pow(10.0, std::floor(std::log10(minimaleStap)));
  for (const double m : {1.0, 2.0, 5.0, 10.0}) {
    // A little slack: 0.3 / 0.1 is not exactly 3 in binary.
    if (m * macht >= minimaleStap * (1 - 1e-9)) return m * macht;
  }
  return 10 * macht;
}

std::vector<double> maatstreepjes(double van, double tot, double stap) {
  std::vector<double> uit;
  if (!(stap > 0) || !std::isfinite(van) || !std::isfinite(tot)) return uit;
  if (van > tot) std::swap(van, tot);
  const double eerste = std::ceil(van / stap - 1e-9);
  const double laatste = std::floor(tot / stap + 1e-9);
  if (!(laatste - eerste < 1000)) return uit;
  for (double k = eerste; k <= laatste; ++k) {
    // k × step, not a running sum: no creeping error, and 0 is exactly 0.
    const double w = k * stap;
    uit.push_back(w == 0 ? 0.0 : w);
  }
  return uit;
}

QString maatTekst(double waarde, double stap) {
  const int decimalen = stap > 0 ? std::max(0, static_cast<int>(std::ceil(-std::log10(stap) - 1e-9))) : 0;
  // No "-0": a tick this close to zero is zero.
  if (std::abs(waarde) < stap * 1e-6) waarde = 0;
  QString t = QString::number(waarde, 'f', decimalen);
  if (decimaalteken() != '.') t.replace(QLatin1Char('.'), QLatin1Char(decimaalteken()));
  return t;
}

void tekenRaster(QPainter& p, const Zicht& zicht, QSizeF maat) {
  const Venster& v = zicht.venster();
  p.save();
  p.setPen(QPen(rasterKleur, 0));
  for (const double x : stappenX(v, maat).waarden) {
    const double px = zicht.naarPixel({x, v.boven}, maat).x();
    p.drawLine(QPointF(px, 0), QPointF(px, maat.height()));
  }
  for (const double y : stappenY(v, maat).waarden) {
    const double py = zicht.naarPixel({v.links, y}, maat).y();
    p.drawLine(QPointF(0, py), QPointF(maat.width(), py));
  }
  p.restore();
}

void tekenAssen(QPainter& p, const Zicht& zicht, QSizeF maat, const AsInstelling& assen) {
  const Venster& v = zicht.venster();
  p.save();
  const QFontMetricsF fm(p.font());
  const double regel = fm.height();
  // Labels sit on a pale band so that a profile line under them does not
  // make them unreadable.
  const QColor achter(255, 255, 255, 200);
  const auto label = [&](const QPointF& plek, const QString& tekst, Qt::Alignment uitlijning) {
    const double b = fm.horizontalAdvance(tekst) + 4;
    QRectF r(0, 0, b, regel);
    if (uitlijning & Qt::AlignHCenter) r.moveLeft(plek.x() - b / 2);
    else if (uitlijning & Qt::AlignRight) r.moveRight(plek.x());
    else r.moveLeft(plek.x());
    if (uitlijning & Qt::AlignVCenter) r.moveTop(plek.y() - regel / 2);
    else if (uitlijning & Qt::AlignBottom) r.moveBottom(plek.y());
    else r.moveTop(plek.y());
    p.fillRect(r, achter);
    p.drawText(r, Qt::AlignCenter, tekst);
  };

  p.setPen(QPen(asKleur, 0));
  const double onder = maat.height();
  const AsStappen sx = stappenX(v, maat);
  for (const double x : sx.waarden) {
    const double px = zicht.naarPixel({x, v.boven}, maat).x();
    p.drawLine(QPointF(px, onder), QPointF(px, onder - streepLengte));
    // A label cut in half by the edge is misread; it is left out.
    const QString tekst = maatTekst(x, sx.stap);
    const double half = fm.horizontalAdvance(tekst) / 2 + 2;
    if (px - half < 0 || px + half > maat.width()) continue;
    label({px, onder - streepLengte}, tekst, Qt::AlignHCenter | Qt::AlignBottom);
  }
  const AsStappen sy = stappenY(v, maat);
  // The Y axis title takes the top line; a tick label there would be drawn
  // over it.
  const double titelOnder = assen.naamY.isEmpty() ? 0.0 : 2 + regel + 1;
  for (const double y : sy.waarden) {
    const double py = zicht.naarPixel({v.links, y}, maat).y();
    // Near the bottom edge the X labels have the room.
    if (py > onder - regel - streepLengte) continue;
    p.drawLine(QPointF(0, py), QPointF(streepLengte, py));
    if (py - regel / 2 < titelOnder) continue;
    label({streepLengte + 1, py}, maatTekst(assen.yOmgekeerd ? -y : y, sy.stap), Qt::AlignLeft | Qt::AlignVCenter);
  }
  QFont vet = p.font();
  vet.setBold(true);
  p.setFont(vet);
  if (!assen.naamX.isEmpty()) {
    label({maat.width() - 2, onder - streepLengte - regel - 2}, assen.naamX, Qt::AlignRight | Qt::AlignBottom);
  }
  if (!assen.naamY.isEmpty()) label({streepLengte + 1, 2}, assen.naamY, Qt::AlignLeft | Qt::AlignTop);
  p.restore();
}

}  // namespace zarvo::gui
