// A picture box for the screens: a drawing surface with a user scale
// (ScaleLeft/Top/Width/Height, a negative height meaning Y grows upwards).
// Everything drawn is kept in a display list of plain records and painted
// again from it on every paint and resize, so a drawing survives resizing
// and tests can read exactly what was drawn. Line controls are separate
// movable objects on the box; they survive cls().
#pragma once

#include <QColor>
#include <QObject>
#include <QPixmap>
#include <QPointF>
#include <QString>
#include <QWidget>
#include <map>
#include <tuple>
#include <utility>
#include <vector>

namespace zarvo::gui {

struct Tekening {
  enum class Soort { Lijn, Cirkel, Tekst };
  Soort soort = Soort::Lijn;
  double x1 = 0, y1 = 0;  // line start, circle centre, text position (world units)
  double x2 = 0, y2 = 0;  // line end
  double straal = 0;      // circle radius in horizontal scale units
  QColor kleur;
  QString tekst;
  bool gevuld = false;  // a filled circle
};

class PictureBox;

// A line control: end points in the box's scale units, kept when the box is
// cleared, drawn on top of the display list.
class LineControl : public QObject {
  Q_OBJECT
 public:
  explicit LineControl(PictureBox* box, const QString& naam);

  double x1() const { return x1_; }
  double y1() const { return y1_; }
  double x2() const { return x2_; }
  double y2() const { return y2_; }
  // Coordinates are held in single precision, like the box's scale, so a
  // line drawn from scale values lands exactly on the scale's own edges.
  void setX1(double v);
  void setY1(double v);
  void setX2(double v);
  void setY2(double v);
  void zet(double x1, double y1, double x2, double y2);

  bool isVisible() const { return zichtbaar_; }
  void setVisible(bool zichtbaar);
  QColor kleur() const { return kleur_; }
  void setKleur(const QColor& kleur);
  Qt::PenStyle stijl() const { return stijl_; }
  void setStijl(Qt::PenStyle stijl);

 private:
  PictureBox* box_;
  float x1_ = 0, y1_ = 0, x2_ = 0, y2_ = 0;
  bool zichtbaar_ = true;
  QColor kleur_ = Qt::black;
  Qt::PenStyle stijl_ = Qt::SolidLine;
};

class PictureBox : public QWidget {
  Q_OBJECT
 public:
  explicit PictureBox(QWidget* ouder = nullptr);

  // The user scale, held in single precision: what the screens read back
  // (to place the crosshair and guide lines, to read L and Z off the
  // pointer) is the very value the drawing used, and the positions and
  // figures shown stay those the screen tests pin.
  double scaleLeft() const { return scaleLeft_; }
  double scaleTop() const { return scaleTop_; }
  double scaleWidth() const { return scaleWidth_; }
  double scaleHeight() const { return scaleHeight_; }
  void setScaleLeft(double v);
  void setScaleTop(double v);
  void setScaleWidth(double v);
  void setScaleHeight(double v);

  // World (scale units) <-> widget pixels.
  QPointF naarPixel(QPointF wereld) const;
  QPointF naarWereld(QPointF pixel) const;

  // Drawing; every call appends to the display list and schedules a repaint.
  void cls();
  void lijn(double x1, double y1, double x2, double y2, const QColor& kleur);
  void lijn(double x1, double y1, double x2, double y2) { lijn(x1, y1, x2, y2, foreColor_); }
  void cirkel(double x, double y, double straal, const QColor& kleur);
  void cirkel(double x, double y, double straal) { cirkel(x, y, straal, foreColor_); }
  // A filled circle: marks a point the program made, not one surveyed.
  void schijf(double x, double y, double straal, const QColor& kleur);
  void tekst(double x, double y, const QString& tekst, const QColor& kleur);

  QColor foreColor() const { return foreColor_; }
  void setForeColor(const QColor& kleur) { foreColor_ = kleur; }

  const std::vector<Tekening>& displayList() const { return displayList_; }

  // A line control that lives on this box (objectName = naam).
  LineControl* maakLijn(const QString& naam);
  std::vector<LineControl*> lijnen() const { return lijnen_; }

  void setTooltipTekst(const QString& tekst);

  QSize sizeHint() const override { return {400, 300}; }
  QSize minimumSizeHint() const override { return {60, 40}; }

 signals:
  // Pointer position in scale units.
  void muisBeweegt(double x, double y);
  void geklikt(double x, double y);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void voegToe(Tekening tekening);
  const QPixmap& cirkelStempel(const QColor& kleur, double straal, bool gevuld);

  float scaleLeft_ = 0, scaleTop_ = 0, scaleWidth_ = 1, scaleHeight_ = 1;
  QColor foreColor_ = Qt::black;
  std::vector<Tekening> displayList_;
  std::vector<LineControl*> lijnen_;
  std::map<std::tuple<QRgb, int, bool>, QPixmap> stempels_;  // ready-made marker circles
};

}  // namespace zarvo::gui
