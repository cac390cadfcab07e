#include "schermen/frmsplashscreen.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>


namespace zarvo::gui {

namespace {

// A dike cross-section with water on the outside and a ditch on the polder
// side, drawn as vectors so it stays sharp at any size or display scale.
class DijkPlaatje : public QWidget {
 public:
  explicit DijkPlaatje(QWidget* ouder) : QWidget(ouder) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  }
  QSize sizeHint() const override { return {420, 190}; }
  QSize minimumSizeHint() const override { return {240, 110}; }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const double b = width();
    const double h = height();
    // Drawing coordinates: x 0..100 across, y 0..50 downwards.
    auto pt = [&](double x, double y) { return QPointF(x * b / 100.0, y * h / 50.0); };

    QLinearGradient lucht(pt(0, 0), pt(0, 30));
    lucht.setColorAt(0, QColor(150, 195, 235));
    lucht.setColorAt(1, QColor(225, 240, 250));
    p.fillRect(rect(), lucht);

    // Ground line of the cross-section: river bed, dike, polder, ditch, polder.
    const QPointF grond[] = {pt(0, 38),  pt(14, 36), pt(34, 13), pt(44, 13), pt(60, 31),
                             pt(71, 31), pt(75, 39), pt(81, 39), pt(85, 31), pt(100, 31)};
    QPainterPath dijk;
    dijk.moveTo(pt(0, 50));
    for (const QPointF& q : grond) dijk.lineTo(q);
    dijk.lineTo(pt(100, 50));
    dijk.closeSubpath();

    // Outer water up to the dike's river slope, and water in the ditch.
    const QColor water(45, 110, 175, 220);
    QPolygonF rivier({pt(0, 25), pt(24.8, 25), pt(14, 36), pt(0, 38)});
    p.setPen(Qt::NoPen);
    p.setBrush(water);
    p.drawPolygon(rivier);
    p.drawPolygon(QPolygonF({pt(72.5, 34), pt(83.5, 34), pt(81, 39), pt(75, 39)}));

    p.setBrush(QColor(95, 150, 70));
    p.setPen(QPen(QColor(50, 90, 40), 1.5));
    p.drawPath(dijk);

    // Survey points along the ground line, as the engineer sees them.
    p.setPen(QPen(QColor(180, 30, 30), 1.5));
    const double r = std::max(2.0, h / 70.0);
    for (const QPointF& q : grond) {
      p.drawLine(q + QPointF(-r, -r), q + QPointF(r, r));
      p.drawLine(q + QPointF(-r, r), q + QPointF(r, -r));
    }
  }
};

QLabel* maakLabel(QWidget* ouder, const char* naam, const QString& tekst, double schaal, bool vet) {
  auto* label = new QLabel(tekst, ouder);
  label->setObjectName(naam);
  label->setAlignment(Qt::AlignCenter);
  QFont f = label->font();
  f.setPointSizeF(f.pointSizeF() * schaal);
  f.setBold(vet);
  label->setFont(f);
  return label;
}

}  // namespace

FrmSplashScreen::FrmSplashScreen(QWidget* ouder) : QWidget(ouder) {
  setObjectName("frmSplashScreen");
  setWindowTitle("Halvik - Zarvo Edit 1.0");
  setCursor(Qt::PointingHandCursor);
  setFocusPolicy(Qt::StrongFocus);

  auto* kader = new QFrame(this);
  kader->setObjectName("Picture1");
  kader->setFrameShape(QFrame::StyledPanel);

  auto* plaatje = new DijkPlaatje(kader);
  plaatje->setObjectName("Image1");

  auto* kaderIndeling = new QVBoxLayout(kader);
  kaderIndeling->addWidget(plaatje, 1);
  kaderIndeling->addWidget(maakLabel(kader, "lblProductName", "Zarvo-Edit", 2.2, true));
  kaderIndeling->addWidget(maakLabel(kader, "lblVersion", "Versie 1.0", 1.2, false));
  kaderIndeling->addSpacing(kaderIndeling->spacing());
  kaderIndeling->addWidget(maakLabel(kader, "lblKlik", "Klik om verder te gaan", 0.9, false));

  auto* indeling = new QVBoxLayout(this);
  indeling->addWidget(kader);
}

void FrmSplashScreen::doorgaan() {
  // A second click can already be queued when the first one has handed
  // over; the form is gone by then as far as the user is concerned.
  if (doorgegaan_) return;
  doorgegaan_ = true;
  emit klaar();
}

// The labels and the picture ignore mouse clicks, so a click anywhere on the
// form arrives here.
void FrmSplashScreen::mouseReleaseEvent(QMouseEvent* gebeurtenis) {
  if (gebeurtenis->button() == Qt::LeftButton && rect().contains(gebeurtenis->position().toPoint())) {
    doorgaan();
    return;
  }
  QWidget::mouseReleaseEvent(gebeurtenis);
}

void FrmSplashScreen::keyPressEvent(QKeyEvent* gebeurtenis) {
  switch (gebeurtenis->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
    case Qt::Key_Escape:
      doorgaan();
      return;
    default:
      QWidget::keyPressEvent(gebeurtenis);
  }
}

}  // namespace zarvo::gui
