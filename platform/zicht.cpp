#include "platform/zicht.h"

#include <algorithm>
#include <cmath>

namespace zarvo::gui {

namespace {
constexpr double kleinsteDeel = 1e-5;
constexpr double grootsteVeelvoud = 20.0;
}  // namespace

void Zicht::zetPassend(const Venster& passend) {
  passend_ = passend;
  venster_ = passend;
}

QPointF Zicht::naarPixel(QPointF wereld, QSizeF maat) const {
  // A zero scale would divide by zero; such a box simply maps everything
  // to its left or top edge.
  const double sx = venster_.breedte != 0 ? maat.width() / venster_.breedte : 0.0;
  const double sy = venster_.hoogte != 0 ? maat.height() / venster_.hoogte : 0.0;
  return {(wereld.x() - venster_.links) * sx, (wereld.y() - venster_.boven) * sy};
}

QPointF Zicht::naarWereld(QPointF pixel, QSizeF maat) const {
  const double w = maat.width() > 0 ? maat.width() : 1;
  const double h = maat.height() > 0 ? maat.height() : 1;
  return {venster_.links + pixel.x() * venster_.breedte / w, venster_.boven + pixel.y() * venster_.hoogte / h};
}

void Zicht::zoom(double factor, QPointF anker, QSizeF maat) {
  if (!(factor > 0) || !std::isfinite(factor) || venster_.breedte == 0 || venster_.hoogte == 0) return;
  const QPointF vast = naarWereld(anker, maat);
  const Venster oud = venster_;
  venster_.breedte /= factor;
  venster_.hoogte /= factor;
  begrens();
  // The limits may have changed the factor; the anchor stays put anyway.
  const double fx = maat.width() > 0 ? anker.x() / maat.width() : 0;
  const double fy = maat.height() > 0 ? anker.y() / maat.height() : 0;
  venster_.links = vast.x() - fx * venster_.breedte;
  venster_.boven = vast.y() - fy * venster_.hoogte;
  if (!std::isfinite(venster_.links) || !std::isfinite(venster_.boven)) venster_ = oud;
}

void Zicht::verschuif(QPointF delta, QSizeF maat) {
  if (maat.width() <= 0 || maat.height() <= 0) return;
  venster_.links -= delta.x() * venster_.breedte / maat.width();
  venster_.boven -= delta.y() * venster_.hoogte / maat.height();
}

void Zicht::toon(QPointF hoek1, QPointF hoek2) {
  const double breedte = std::abs(hoek2.x() - hoek1.x());
  const double hoogte = std::abs(hoek2.y() - hoek1.y());
  if (!(breedte > 0) || !(hoogte > 0) || !std::isfinite(breedte) || !std::isfinite(hoogte)) return;
  const double midX = (hoek1.x() + hoek2.x()) / 2;
  const double midY = (hoek1.y() + hoek2.y()) / 2;
  // A negative width or height of the fit flips that axis; the view keeps
  // the same orientation, so nothing turns upside down.
  venster_.breedte = passend_.breedte < 0 ? -breedte : breedte;
  venster_.hoogte = passend_.hoogte < 0 ? -hoogte : hoogte;
  begrens();
  venster_.links = midX - venster_.breedte / 2;
  venster_.boven = midY - venster_.hoogte / 2;
}

void Zicht::begrens() {
  const auto klem = [](double& maat, double passend) {
    const double grootte = std::abs(passend);
    if (grootte == 0) return;
    const double nieuw = std::clamp(std::abs(maat), grootte * kleinsteDeel, grootte * grootsteVeelvoud);
    maat = std::copysign(nieuw, maat);
  };
  klem(venster_.breedte, passend_.breedte);
  klem(venster_.hoogte, passend_.hoogte);
}

}  // namespace zarvo::gui
