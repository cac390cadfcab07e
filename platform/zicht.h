// The part of the world a picture box shows: the screens set a user scale
// (the fit, "Passend"), and zooming and panning move a view over it without
// touching that scale, so what the screens read back and draw stays as it
// is at every zoom.
#pragma once

#include <QPointF>
#include <QRectF>
#include <QSizeF>

namespace zarvo::gui {

// A window onto world coordinates in the user-scale sense: left and top
// edge, width and height; a negative height means Y grows upwards.
struct Venster {
  double links = 0, boven = 0, breedte = 1, hoogte = 1;
  bool operator==(const Venster&) const = default;
};

class Zicht {
 public:
  // A new fit; the view returns to it.
  void zetPassend(const Venster& passend);
  void passend() { venster_ = passend_; }
  bool isPassend() const { return venster_ == passend_; }
  const Venster& venster() const { return venster_; }
  const Venster& passendVenster() const { return passend_; }

  // World <-> pixels of a drawing area of 'maat'. At the fit these are the
  // very sums the box always made, so the fit maps to the same pixels.
  QPointF naarPixel(QPointF wereld, QSizeF maat) const;
  QPointF naarWereld(QPointF pixel, QSizeF maat) const;

  // Zooms by 'factor' (above 1 zooms in) keeping the world point under the
  // pixel 'anker' where it is.
  void zoom(double factor, QPointF anker, QSizeF maat);
  // Moves the drawing 'delta' pixels along with the pointer.
  void verschuif(QPointF delta, QSizeF maat);
  // Shows the world rectangle between two corners (any order), keeping the
  // direction of the fit's axes.
  void toon(QPointF hoek1, QPointF hoek2);

 private:
  // Keeps the view between a hundred-thousandth and twenty times the fit,
  // where single-precision drawing and the axes' labels still make sense.
  void begrens();

  Venster passend_;
  Venster venster_;
};

}  // namespace zarvo::gui
