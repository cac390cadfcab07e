#include "platform/picturebox.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QRubberBand>
#include <QToolTip>
#include <QWheelEvent>
#include <algorithm>
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
void LineControl::setSpanning(Spanning spanning) { spanning_ = spanning; box_->update(); }

void LineControl::setRandLabel(const QString& tekst) {
  randLabel_ = tekst;
  box_->update();
}

std::vector<RandMarkering> PictureBox::randMarkeringen() const { return randMarkeringen(zicht_, size()); }

std::vector<RandMarkering> PictureBox::randMarkeringen(const Zicht& zicht, QSizeF maat) const {
  std::vector<RandMarkering> uit;
  for (const LineControl* l : lijnen_) {
    if (!l->isVisible() || l->randLabel().isEmpty() || l->spanning() != LineControl::Spanning::VolleBreedte) continue;
    const double y = zicht.naarPixel({l->x1(), l->y1()}, maat).y();
    if (y < 0 || y > maat.height()) uit.push_back({l->randLabel(), l->kleur(), y < 0, l->y1()});
  }
  // Stacked from the edge inwards in the order the levels lie beyond it.
  std::sort(uit.begin(), uit.end(), [](const RandMarkering& a, const RandMarkering& b) {
    if (a.boven != b.boven) return a.boven;
    return a.boven ? a.y > b.y : a.y < b.y;
  });
  return uit;
}

namespace {

// One wheel notch zooms by this factor.
constexpr double zoomPerStap = 1.25;
// A press that moves less than this many pixels is a click, not a drag.
constexpr double sleepDrempel = 4.0;

// Light palette colours (the light grey of code 5, yellow) nearly vanish
// on white: their markers get a dark ring and their texts a darker shade
// of the same colour, on screen and on paper alike.
bool teLichtOpWit(const QColor& k) {
  return 0.2126 * k.redF() + 0.7152 * k.greenF() + 0.0722 * k.blueF() > 0.7;
}

}  // namespace

PictureBox::PictureBox(QWidget* ouder) : QWidget(ouder) {
  setMouseTracking(true);
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, Qt::white);
  setPalette(pal);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  setFocusPolicy(Qt::StrongFocus);
}

void PictureBox::setScaleLeft(double v) { zetSchaal(scaleLeft_, v); }
void PictureBox::setScaleTop(double v) { zetSchaal(scaleTop_, v); }
void PictureBox::setScaleWidth(double v) { zetSchaal(scaleWidth_, v); }
void PictureBox::setScaleHeight(double v) { zetSchaal(scaleHeight_, v); }

void PictureBox::zetSchaal(float& veld, double waarde) {
  const float nieuw = static_cast<float>(waarde);
  // Drawing the same profile again (a new offset, new levels) keeps the
  // zoom; another scale means another profile or factor, which starts at
  // the fit.
  if (nieuw != veld) {
    veld = nieuw;
    zicht_.zetPassend({scaleLeft_, scaleTop_, scaleWidth_, scaleHeight_});
    emit zichtVeranderd();
  }
  update();
}

QPointF PictureBox::naarPixel(QPointF wereld) const { return zicht_.naarPixel(wereld, size()); }

QPointF PictureBox::naarWereld(QPointF pixel) const { return zicht_.naarWereld(pixel, size()); }

void PictureBox::passend() {
  zicht_.passend();
  emit zichtVeranderd();
  update();
}

void PictureBox::zoom(double factor, QPointF anker) {
  zicht_.zoom(factor, anker, size());
  emit zichtVeranderd();
  update();
}

void PictureBox::toonGebied(QPointF hoek1, QPointF hoek2) {
  zicht_.toon(hoek1, hoek2);
  emit zichtVeranderd();
  update();
}

void PictureBox::zetVenster(const Venster& venster) {
  zicht_.toon({venster.links, venster.boven}, {venster.links + venster.breedte, venster.boven + venster.hoogte});
  emit zichtVeranderd();
  update();
}

void PictureBox::setAssen(const AsInstelling& assen) {
  assen_ = assen;
  update();
}

void PictureBox::setRaster(bool aan) {
  raster_ = aan;
  update();
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

void PictureBox::kruis(double x, double y, double straal, const QColor& kleur) {
  voegToe({Tekening::Soort::Kruis, x, y, 0.0, 0.0, straal, kleur, {}});
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
  schilder(p, size(), zicht_);
}

void PictureBox::schilder(QPainter& p, QSizeF maat, const Zicht& zicht) {
  p.save();
  // Pixel centres: a one-pixel line on a whole pixel coordinate then covers
  // exactly one row instead of smearing over two.
  p.translate(0.5, 0.5);
  // Smoothing costs more than everything else together; a dense profile of
  // thousands of points looks the same without it and must stay instant.
  constexpr std::size_t grensGladTekenen = 4000;
  p.setRenderHint(QPainter::Antialiasing, displayList_.size() <= grensGladTekenen);
  p.setBrush(Qt::NoBrush);
  if (assen_.aan() && raster_) tekenRaster(p, zicht, maat);

  const Venster& v = zicht.venster();
  const double sx = v.breedte != 0 ? maat.width() / v.breedte : 0.0;
  const double sy = v.hoogte != 0 ? maat.height() / v.hoogte : 0.0;
  const auto px = [&](double x, double y) { return QPointF((x - v.links) * sx, (y - v.boven) * sy); };
  // Markers keep the size they have at the fit: zoomed in they mark the
  // points without covering the line between them.
  const double pixelsPerEenheid =
      zicht.passendVenster().breedte != 0 ? std::abs(maat.width() / zicht.passendVenster().breedte) : 0.0;
  // Zoomed in, most of a long profile lies outside: what cannot show is
  // skipped before it costs anything.
  const QRectF zichtbaar = QRectF(QPointF(0, 0), maat).adjusted(-2, -2, 2, 2);
  const auto buiten = [&](const QPointF& a, const QPointF& b) {
    return (a.x() < zichtbaar.left() && b.x() < zichtbaar.left()) ||
           (a.x() > zichtbaar.right() && b.x() > zichtbaar.right()) ||
           (a.y() < zichtbaar.top() && b.y() < zichtbaar.top()) ||
           (a.y() > zichtbaar.bottom() && b.y() > zichtbaar.bottom());
  };
  // Stamped circle images suit the screen; a file or a page gets true
  // outlines, which stay sharp at any size.
  const bool stempelen = p.device() == this || p.device()->devType() == QInternal::Pixmap ||
                         p.device()->devType() == QInternal::Image;

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
      const QPointF a = px(t.x1, t.y1);
      const QPointF b = px(t.x2, t.y2);
      if (buiten(a, b)) continue;
      if (!lijnenReeks.empty() && t.kleur != reeksKleur) spoelLijnen();
      reeksKleur = t.kleur;
      lijnenReeks.emplace_back(a, b);
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
      if (!QRectF(midden - QPointF(r, r), midden + QPointF(r, r)).intersects(zichtbaar)) continue;
      if (stempelen && r <= 32.0) {
        // Thousands of small markers: stamp one ready-made circle image
        // instead of rasterising every ellipse anew.
        const QPixmap& stempel = cirkelStempel(t.kleur, r, t.gevuld);
        const double half = stempel.width() / (2.0 * stempel.devicePixelRatio());
        p.drawPixmap(QPointF(midden.x() - half, midden.y() - half), stempel);
      } else {
        if (t.gevuld) p.setBrush(t.kleur);
        p.drawEllipse(midden, r, r);
        p.setBrush(Qt::NoBrush);
        if (teLichtOpWit(t.kleur)) {
          p.setPen(QPen(t.kleur.darker(200), 0));
          p.drawEllipse(midden, r + 1, r + 1);
          penGezet = false;
        }
      }
    } else if (t.soort == Tekening::Soort::Kruis) {
      // Like a circle, the size it has at the fit, whatever the zoom.
      const double r = std::max(1.5, t.straal * pixelsPerEenheid);
      const QPointF m = px(t.x1, t.y1);
      if (!QRectF(m - QPointF(r, r), m + QPointF(r, r)).intersects(zichtbaar)) continue;
      p.drawLine(m + QPointF(-r, -r), m + QPointF(r, r));
      p.drawLine(m + QPointF(-r, r), m + QPointF(r, -r));
    } else {
      const QPointF plek = px(t.x1, t.y1);
      if (teLichtOpWit(t.kleur)) {
        p.setPen(QPen(t.kleur.darker(180), 0));
        penGezet = false;
      }
      p.drawText(QRectF(plek, QSizeF(maat.width() - plek.x(), maat.height() - plek.y())),
                 Qt::AlignLeft | Qt::AlignTop, t.tekst);
    }
  }
  spoelLijnen();

  for (const LineControl* l : lijnen_) {
    if (!l->isVisible()) continue;
    // A hairline's dashes are a few device pixels long: on a page of 300
    // dots an inch that reads as a solid line, so pages get a line one
    // screen pixel wide, whose dashes scale with it.
    p.setPen(QPen(l->kleur(), stempelen ? 0 : 1, l->stijl()));
    switch (l->spanning()) {
      case LineControl::Spanning::VolleBreedte: {
        const double y = px(l->x1(), l->y1()).y();
        p.drawLine(QPointF(-1, y), QPointF(maat.width() + 1, y));
        break;
      }
      case LineControl::Spanning::VolleHoogte: {
        const double x = px(l->x1(), l->y1()).x();
        p.drawLine(QPointF(x, -1), QPointF(x, maat.height() + 1));
        break;
      }
      case LineControl::Spanning::Eigen: p.drawLine(px(l->x1(), l->y1()), px(l->x2(), l->y2())); break;
    }
  }
  if (assen_.aan()) tekenAssen(p, zicht, maat, assen_);
  // A level out of view: a small arrow at the edge it lies beyond, with its
  // name and value, at the right where the axes leave room. On a saved
  // picture too: it shows what the screen shows.
  {
    int boven = 0, onder = 0;
    const QFontMetricsF maten(p.font());
    for (const RandMarkering& m : randMarkeringen(zicht, maat)) {
      const double h = maten.height();
      // Clear of the axis labels and the axis name along the bottom edge.
      const double y = m.boven ? 4 + (boven++) * (h + 2) : maat.height() - 3.6 * h - 4 - (onder++) * (h + 2);
      const double x = maat.width() - 8 - maten.horizontalAdvance(m.tekst) - 14;
      const double punt = m.boven ? y : y + h;
      const double voet = m.boven ? y + h * 0.7 : y + h * 0.3;
      p.setPen(QPen(m.kleur, 1));
      p.setBrush(m.kleur);
      p.drawPolygon(QPolygonF({QPointF(x + 5, punt), QPointF(x, voet), QPointF(x + 10, voet)}));
      p.setBrush(Qt::NoBrush);
      p.drawText(QPointF(x + 14, y + maten.ascent()), m.tekst);
    }
  }
  p.restore();
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
  const int zijde = static_cast<int>(std::ceil(2.0 * r + 5.0));  // room for a ring
  QPixmap stempel(QSize(zijde, zijde) * dpr);
  stempel.setDevicePixelRatio(dpr);
  stempel.fill(Qt::transparent);
  QPainter sp(&stempel);
  sp.setRenderHint(QPainter::Antialiasing, true);
  sp.setPen(QPen(kleur, 0));
  sp.setBrush(gevuld ? QBrush(kleur) : QBrush(Qt::NoBrush));
  sp.drawEllipse(QPointF(zijde / 2.0, zijde / 2.0), r, r);
  if (teLichtOpWit(kleur)) {
    sp.setPen(QPen(kleur.darker(200), 0));
    sp.setBrush(Qt::NoBrush);
    sp.drawEllipse(QPointF(zijde / 2.0, zijde / 2.0), r + 1, r + 1);
  }
  sp.end();
  return stempels_.emplace(sleutel, std::move(stempel)).first->second;
}

void PictureBox::mousePressEvent(QMouseEvent* event) {
  const bool links = event->button() == Qt::LeftButton;
  if (links && (event->modifiers() & Qt::ShiftModifier)) {
    slepen_ = Slepen::Kader;
    if (!kader_) kader_ = new QRubberBand(QRubberBand::Rectangle, this);
    kader_->setGeometry(QRect(event->position().toPoint(), QSize()));
    kader_->show();
  } else if ((links && linksSchuift_) || event->button() == Qt::MiddleButton) {
    slepen_ = Slepen::Schuiven;
  }
  sleepBegin_ = sleepVorige_ = event->position();
  versleept_ = false;
  QWidget::mousePressEvent(event);
}

void PictureBox::mouseMoveEvent(QMouseEvent* event) {
  const QPointF pos = event->position();
  if (slepen_ != Slepen::Geen && (pos - sleepBegin_).manhattanLength() >= sleepDrempel) versleept_ = true;
  if (slepen_ == Slepen::Kader) {
    kader_->setGeometry(QRectF(sleepBegin_, pos).normalized().toRect());
  } else if (slepen_ == Slepen::Schuiven && versleept_) {
    if (cursor().shape() != Qt::ClosedHandCursor) setCursor(Qt::ClosedHandCursor);
    zicht_.verschuif(pos - sleepVorige_, size());
    sleepVorige_ = pos;
    emit zichtVeranderd();
    update();
  }
  const QPointF w = naarWereld(pos);
  emit muisBeweegt(w.x(), w.y());
  QWidget::mouseMoveEvent(event);
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event) {
  const Slepen was = slepen_;
  slepen_ = Slepen::Geen;
  unsetCursor();
  if (was == Slepen::Kader) {
    kader_->hide();
    const QRectF r = QRectF(sleepBegin_, event->position()).normalized();
    // A slip of the hand is not a zoom to a sliver.
    if (r.width() >= sleepDrempel && r.height() >= sleepDrempel) toonGebied(naarWereld(r.topLeft()), naarWereld(r.bottomRight()));
  } else if (event->button() == Qt::LeftButton && !versleept_ && rect().contains(event->position().toPoint())) {
    const QPointF w = naarWereld(event->position());
    emit geklikt(w.x(), w.y());
  }
  QWidget::mouseReleaseEvent(event);
}

void PictureBox::wheelEvent(QWheelEvent* event) {
  const int stappen = event->angleDelta().y();
  if (stappen == 0) {
    event->ignore();
    return;
  }
  // Touchpads send fractions of a notch; they zoom by the same fraction.
  zoom(std::pow(zoomPerStap, stappen / 120.0), event->position());
  const QPointF w = naarWereld(event->position());
  emit muisBeweegt(w.x(), w.y());
  event->accept();
}

}  // namespace zarvo::gui
