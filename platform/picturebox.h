// A picture box for the screens: a drawing surface with a user scale
// (ScaleLeft/Top/Width/Height, a negative height meaning Y grows upwards).
// Everything drawn is kept in a display list of plain records and painted
// again from it on every paint and resize, so a drawing survives resizing
// and tests can read exactly what was drawn. Line controls are separate
// movable objects on the box; they survive cls().
//
// The scale the screen sets is the fit ("Passend"). The mouse wheel, dragging
// and a rubber band (Shift+drag) move a view over it; the scale values, the
// display list and the line controls' end points stay what the screen set,
// and the pointer is reported in world units at every zoom. A new fit (the
// next profile) brings the view back to it.
#pragma once

#include <QColor>
#include <QObject>
#include <QPixmap>
#include <QPointF>
#include <QString>
#include <QWidget>
#include <map>
#include <memory>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/assen.h"
#include "platform/zicht.h"

class QRubberBand;

namespace zarvo::gui {

struct Tekening {
  enum class Soort { Lijn, Cirkel, Tekst, Kruis };
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

  // A guide line that must run from edge to edge whatever the zoom: drawn
  // across the whole visible width at Y1 (or height at X1). Its end points
  // keep the values the screen set.
  enum class Spanning { Eigen, VolleBreedte, VolleHoogte };
  Spanning spanning() const { return spanning_; }
  void setSpanning(Spanning spanning);

  // For a full-width line: the text of the small marker the box shows at
  // its top or bottom edge while the line lies outside the view (a water
  // level far below the ground), so that the user sees it is set.
  const QString& randLabel() const { return randLabel_; }
  void setRandLabel(const QString& tekst);

 private:
  PictureBox* box_;
  float x1_ = 0, y1_ = 0, x2_ = 0, y2_ = 0;
  bool zichtbaar_ = true;
  QColor kleur_ = Qt::black;
  Qt::PenStyle stijl_ = Qt::SolidLine;
  Spanning spanning_ = Spanning::Eigen;
  QString randLabel_;
};

// A line outside the view, as its edge marker shows it.
struct RandMarkering {
  QString tekst;
  QColor kleur;
  bool boven = false;  // above the view (else below)
  double y = 0;        // the level, in scale units
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

  // World (scale units) <-> widget pixels, through the view.
  QPointF naarPixel(QPointF wereld) const;
  QPointF naarWereld(QPointF pixel) const;

  // Zoom and pan. The view starts at the fit and returns to it whenever
  // the scale changes.
  const Zicht& zicht() const { return zicht_; }
  bool isPassend() const { return zicht_.isPassend(); }
  void passend();
  // Zooms about the pixel 'anker' (factor above 1 zooms in).
  void zoom(double factor, QPointF anker);
  // Shows the world rectangle between two corners.
  void toonGebied(QPointF hoek1, QPointF hoek2);
  void zetVenster(const Venster& venster);
  // Dragging with the left button pans unless a screen gives that button
  // another job; the middle button always pans.
  void setLinksSchuift(bool schuift) { linksSchuift_ = schuift; }

  // Axes along the left and bottom edge, and the light grid behind the
  // drawing (on by default once there are axes).
  void setAssen(const AsInstelling& assen);
  const AsInstelling& assen() const { return assen_; }
  void setRaster(bool aan);
  bool raster() const { return raster_; }

  // Paints the whole picture (grid, drawing, line controls, axes) as it
  // would show 'zicht' in an area of 'maat' on 'p', e.g. a file or a page.
  void schilder(QPainter& p, QSizeF maat, const Zicht& zicht);

  // Drawing; every call appends to the display list and schedules a repaint.
  void cls();
  void lijn(double x1, double y1, double x2, double y2, const QColor& kleur);
  void lijn(double x1, double y1, double x2, double y2) { lijn(x1, y1, x2, y2, foreColor_); }
  void cirkel(double x, double y, double straal, const QColor& kleur);
  void cirkel(double x, double y, double straal) { cirkel(x, y, straal, foreColor_); }
  // A filled circle: marks a point the program made, not one surveyed.
  void schijf(double x, double y, double straal, const QColor& kleur);
  // A diagonal cross of half-size 'straal' (horizontal units, like a
  // circle's radius): marks a point that is no longer on the line.
  void kruis(double x, double y, double straal, const QColor& kleur);
  void tekst(double x, double y, const QString& tekst, const QColor& kleur);

  QColor foreColor() const { return foreColor_; }
  void setForeColor(const QColor& kleur) { foreColor_ = kleur; }

  const std::vector<Tekening>& displayList() const { return displayList_; }

  // A line control that lives on this box (objectName = naam).
  LineControl* maakLijn(const QString& naam);
  std::vector<LineControl*> lijnen() const { return lijnen_; }
  // The full-width lines with a marker text that lie above or below the
  // view now.
  std::vector<RandMarkering> randMarkeringen() const;
  // The same for a drawing of 'maat' pixels showing 'zicht' (a file, a page).
  std::vector<RandMarkering> randMarkeringen(const Zicht& zicht, QSizeF maat) const;

  void setTooltipTekst(const QString& tekst);

  QSize sizeHint() const override { return {400, 300}; }
  QSize minimumSizeHint() const override { return {60, 40}; }

 signals:
  // Pointer position in scale units.
  void muisBeweegt(double x, double y);
  void geklikt(double x, double y);
  void zichtVeranderd();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  enum class Slepen { Geen, Schuiven, Kader };
  void zetSchaal(float& veld, double waarde);
  void voegToe(Tekening tekening);
  const QPixmap& cirkelStempel(const QColor& kleur, double straal, bool gevuld);

  float scaleLeft_ = 0, scaleTop_ = 0, scaleWidth_ = 1, scaleHeight_ = 1;
  QColor foreColor_ = Qt::black;
  std::vector<Tekening> displayList_;
  std::vector<LineControl*> lijnen_;
  std::map<std::tuple<QRgb, int, bool>, QPixmap> stempels_;  // ready-made marker circles
  Zicht zicht_;
  AsInstelling assen_;
  bool raster_ = true;
  bool linksSchuift_ = true;
  Slepen slepen_ = Slepen::Geen;
  QPointF sleepBegin_;
  QPointF sleepVorige_;
  bool versleept_ = false;
  QRubberBand* kader_ = nullptr;
};

}  // namespace zarvo::gui
