#include "platform/picturebox.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QToolTip>
#include <cmath>

namespace zarvo::gui {

LineControl::LineControl(PictureBox* box, const QString& naam) : QObject(box), box_(box) {
  setObjectName(naam);
}

void LineControl::setX1(double v) { x1_ = static_cast<float>(v); box_->update(); }
void LineControl::setY1(double v) { y1_ = static_cast<float>(v); box_->update(); }
void LineControl::setX2(double v) { x2_ = static_cast<float>(v); box_->update(); }
void LineControl::setY2(double v) { y2_ = static_cast<float>(v); box_->update(); }

void LineControl::zet(double x1, double y1, double x2, double y2) {
  x1_ = static_cast<float>(x1);
  y1_ = static_cast<float>(y1);
  x2_ = static_cast<float>(x2);
  y2_ = static_cast<float>(y2);
  box_->update();
}

void LineControl::setVisible(bool zichtbaar) { zichtbaar_ = zichtbaar; box_->update(); }
void LineControl::setKleur(const QColor& kleur) { kleur_ = kleur; box_->update(); }
void LineControl::setStijl(Qt::PenStyle stijl) { stijl_ = stijl; box_->update(); }

PictureBox::PictureBox(QWidget* ouder) : QWidget(ouder) {
  setMouseTracking(true);
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, Qt::white);
  setPalette(pal);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  setFocusPolicy(Qt::StrongFocus);
}

void PictureBox::setScaleLeft(double v) { scaleLeft_ = static_cast<float>(v); update(); }
void PictureBox::setScaleTop(double v) { scaleTop_ = static_cast<float>(v); update(); }
void PictureBox::setScaleWidth(double v) { scaleWidth_ = static_cast<float>(v); update(); }
void PictureBox::setScaleHeight(double v) { scaleHeight_ = static_cast<float>(v); update(); }

QPointF PictureBox::naarPixel(QPointF wereld) const {
  // A zero scale would divide by zero; such a box simply maps everything
  // to its left or top edge.
  const double sx = scaleWidth_ != 0 ? width() / static_cast<double>(scaleWidth_) : 0.0;
  const double sy = scaleHeight_ != 0 ? height() / static_cast<double>(scaleHeight_) : 0.0;
  return {(wereld.x() - scaleLeft_) * sx, (wereld.y() - scaleTop_) * sy};
}

QPointF PictureBox::naarWereld(QPointF pixel) const {
  const double w = width() > 0 ? width() : 1;
  const double h = height() > 0 ? height() : 1;
  return {scaleLeft_ + pixel.x() * scaleWidth_ / w, scaleTop_ + pixel.y() * scaleHeight_ / h};
}

void PictureBox::cls() {
  displayList_.clear();
  update();
}

void PictureBox::lijn(double x1, double y1, double x2, double y2, const QColor& kleur) {
  Tekening t;
  t.soort = Tekening::Soort::Lijn;
  t.x1 = x1;
  t.y1 = y1;
  t.x2 = x2;
  t.y2 = y2;
  t.kleur = kleur;
  displayList_.push_back(std::move(t));
  update();
}

void PictureBox::cirkel(double x, double y, double straal, const QColor& kleur) {
  Tekening t;
  t.soort = Tekening::Soort::Cirkel;
  t.x1 = x;
  t.y1 = y;
  t.straal = straal;
  t.kleur = kleur;
  displayList_.push_back(std::move(t));
  update();
}

void PictureBox::tekst(double x, double y, const QString& tekst, const QColor& kleur) {
  Tekening t;
  t.soort = Tekening::Soort::Tekst;
  t.x1 = x;
  t.y1 = y;
  t.kleur = kleur;
  t.tekst = tekst;
  displayList_.push_back(std::move(t));
  update();
}

LineControl* PictureBox::maakLijn(const QString& naam) {
  auto* l = new LineControl(this, naam);
  lijnen_.push_back(l);
  return l;
}

void PictureBox::setTooltipTekst(const QString& tekst) {
  setToolTip(tekst);
  // Keep a visible tooltip following the pointer, as the old control did.
  if (QToolTip::isVisible() && underMouse()) QToolTip::showText(QCursor::pos(), tekst, this);
}

void PictureBox::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing, true);
  const double pixelsPerEenheid =
      scaleWidth_ != 0 ? std::abs(width() / static_cast<double>(scaleWidth_)) : 0.0;
  // Tens of thousands of points must repaint fast: no per-item allocations.
  for (const Tekening& t : displayList_) {
    p.setPen(QPen(t.kleur, 1));
    switch (t.soort) {
      case Tekening::Soort::Lijn:
        p.drawLine(naarPixel({t.x1, t.y1}), naarPixel({t.x2, t.y2}));
        break;
      case Tekening::Soort::Cirkel: {
        // The radius is in horizontal units; the circle stays round on
        // screen whatever the vertical scale.
        const double r = std::max(1.0, t.straal * pixelsPerEenheid);
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(naarPixel({t.x1, t.y1}), r, r);
        break;
      }
      case Tekening::Soort::Tekst: {
        const QPointF plek = naarPixel({t.x1, t.y1});
        p.drawText(QRectF(plek, QSizeF(width() - plek.x(), height() - plek.y())),
                   Qt::AlignLeft | Qt::AlignTop, t.tekst);
        break;
      }
    }
  }
  for (const LineControl* l : lijnen_) {
    if (!l->isVisible()) continue;
    p.setPen(QPen(l->kleur(), 1, l->stijl()));
    p.drawLine(naarPixel({l->x1(), l->y1()}), naarPixel({l->x2(), l->y2()}));
  }
}

void PictureBox::mouseMoveEvent(QMouseEvent* event) {
  const QPointF w = naarWereld(event->position());
  emit muisBeweegt(w.x(), w.y());
  QWidget::mouseMoveEvent(event);
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
    const QPointF w = naarWereld(event->position());
    emit geklikt(w.x(), w.y());
  }
  QWidget::mouseReleaseEvent(event);
}

}  // namespace zarvo::gui
