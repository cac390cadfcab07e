#include "platform/picturebox.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QToolTip>
#include <cmath>
#include <utility>

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

void PictureBox::voegToe(Tekening tekening) {
  displayList_.push_back(std::move(tekening));
  update();
}

void PictureBox::lijn(double x1, double y1, double x2, double y2, const QColor& kleur) {
  voegToe({Tekening::Soort::Lijn, x1, y1, x2, y2, 0.0, kleur, {}});
}

void PictureBox::schijf(double x, double y, double straal, const QColor& kleur) {
  voegToe({Tekening::Soort::Cirkel, x, y, 0.0, 0.0, straal, kleur, {}, true});
}

void PictureBox::cirkel(double x, double y, double straal, const QColor& kleur) {
  voegToe({Tekening::Soort::Cirkel, x, y, 0.0, 0.0, straal, kleur, {}});
}

void PictureBox::tekst(double x, double y, const QString& tekst, const QColor& kleur) {
  voegToe({Tekening::Soort::Tekst, x, y, 0.0, 0.0, 0.0, kleur, tekst});
}

LineControl* PictureBox::maakLijn(const QString& naam) {
  auto* l = new LineControl(this, naam);
  lijnen_.push_back(l);
  return l;
}

void PictureBox::setTooltipTekst(const QString& tekst) {
  setToolTip(tekst);
  // The tooltip is a read-out of the point under the pointer: one that is
  // already showing moves and changes with it instead of keeping the value
  // of the spot where it first appeared.
  if (QToolTip::isVisible() && underMouse()) QToolTip::showText(QCursor::pos(), tekst, this);
}

void PictureBox::paintEvent(QPaintEvent*) {
  QPainter p(this);
  // Pixel centres: a one-pixel line on a whole pixel coordinate then covers
  // exactly one row instead of smearing over two.
  p.translate(0.5, 0.5);
  // Smoothing costs more than everything else together; a dense profile of
  // thousands of points looks the same without it and must stay instant.
  constexpr std::size_t grensGladTekenen = 4000;
  p.setRenderHint(QPainter::Antialiasing, displayList_.size() <= grensGladTekenen);
  p.setBrush(Qt::NoBrush);

  const double sx = scaleWidth_ != 0 ? width() / static_cast<double>(scaleWidth_) : 0.0;
  const double sy = scaleHeight_ != 0 ? height() / static_cast<double>(scaleHeight_) : 0.0;
  const auto px = [&](double x, double y) {
    return QPointF((x - scaleLeft_) * sx, (y - scaleTop_) * sy);
  };
  const double pixelsPerEenheid = std::abs(sx);

  // Consecutive lines of one colour go to the painter in one call.
  std::vector<QLineF> lijnenReeks;
  QColor reeksKleur;
  const auto spoelLijnen = [&]() {
    if (lijnenReeks.empty()) return;
    p.setPen(QPen(reeksKleur, 0));
    p.drawLines(lijnenReeks.data(), static_cast<int>(lijnenReeks.size()));
    lijnenReeks.clear();
  };

  QColor penKleur;
  bool penGezet = false;
  for (const Tekening& t : displayList_) {
    if (t.soort == Tekening::Soort::Lijn) {
      if (!lijnenReeks.empty() && t.kleur != reeksKleur) spoelLijnen();
      reeksKleur = t.kleur;
      lijnenReeks.emplace_back(px(t.x1, t.y1), px(t.x2, t.y2));
      continue;
    }
    spoelLijnen();
    if (!penGezet || t.kleur != penKleur) {
      p.setPen(QPen(t.kleur, 0));
      penKleur = t.kleur;
      penGezet = true;
    }
    if (t.soort == Tekening::Soort::Cirkel) {
      // The radius is in horizontal units; the circle stays round on
      // screen whatever the vertical scale.
      const double r = std::max(1.0, t.straal * pixelsPerEenheid);
      const QPointF midden = px(t.x1, t.y1);
      if (r <= 32.0) {
        // Thousands of small markers: stamp one ready-made circle image
        // instead of rasterising every ellipse anew.
        const QPixmap& stempel = cirkelStempel(t.kleur, r, t.gevuld);
        const double half = stempel.width() / (2.0 * stempel.devicePixelRatio());
        p.drawPixmap(QPointF(midden.x() - half, midden.y() - half), stempel);
      } else {
        if (t.gevuld) p.setBrush(t.kleur);
        p.drawEllipse(midden, r, r);
        p.setBrush(Qt::NoBrush);
      }
    } else {
      const QPointF plek = px(t.x1, t.y1);
      p.drawText(QRectF(plek, QSizeF(width() - plek.x(), height() - plek.y())),
                 Qt::AlignLeft | Qt::AlignTop, t.tekst);
    }
  }
  spoelLijnen();

  for (const LineControl* l : lijnen_) {
    if (!l->isVisible()) continue;
    p.setPen(QPen(l->kleur(), 0, l->stijl()));
    p.drawLine(px(l->x1(), l->y1()), px(l->x2(), l->y2()));
  }
}

const QPixmap& PictureBox::cirkelStempel(const QColor& kleur, double straal, bool gevuld) {
  // Radii are kept to a quarter pixel: finer steps are invisible.
  const int kwartPixels = static_cast<int>(std::lround(straal * 4.0));
  const auto sleutel = std::make_tuple(kleur.rgba(), kwartPixels, gevuld);
  auto it = stempels_.find(sleutel);
  if (it != stempels_.end()) return it->second;
  if (stempels_.size() > 64) stempels_.clear();  // a new scale: old sizes are of no use

  const double r = kwartPixels / 4.0;
  const qreal dpr = devicePixelRatioF();
  const int zijde = static_cast<int>(std::ceil(2.0 * r + 3.0));
  QPixmap stempel(QSize(zijde, zijde) * dpr);
  stempel.setDevicePixelRatio(dpr);
  stempel.fill(Qt::transparent);
  QPainter sp(&stempel);
  sp.setRenderHint(QPainter::Antialiasing, true);
  sp.setPen(QPen(kleur, 0));
  sp.setBrush(gevuld ? QBrush(kleur) : QBrush(Qt::NoBrush));
  sp.drawEllipse(QPointF(zijde / 2.0, zijde / 2.0), r, r);
  sp.end();
  return stempels_.emplace(sleutel, std::move(stempel)).first->second;
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
