#include "platform/trajectoverzicht.h"

#include <QLabel>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/picturebox.h"
#include "basis/profielstore.h"

namespace zarvo::gui {

namespace {

// Plan distance from (x, y) to the segment of a line.
double afstandTot(const TrajectOverzicht::Lijn& l, double x, double y) {
  const double dx = l.x2 - l.x1;
  const double dy = l.y2 - l.y1;
  const double kwadraat = dx * dx + dy * dy;
  double t = kwadraat > 0 ? ((x - l.x1) * dx + (y - l.y1) * dy) / kwadraat : 0.0;
  t = std::clamp(t, 0.0, 1.0);
  return std::hypot(x - (l.x1 + t * dx), y - (l.y1 + t * dy));
}

}  // namespace

TrajectOverzicht::Lijn TrajectOverzicht::Lijn::van(const Profiel& p, const QColor& kleur, int profiel) {
  return {p.punten.front().x, p.punten.front().y, p.punten.back().x, p.punten.back().y, kleur, profiel};
}

TrajectOverzicht::TrajectOverzicht(QWidget* ouder) : QWidget(ouder) {
  setObjectName("trajectOverzicht");
  auto* kop = new QLabel(QStringLiteral("Traject"), this);
  pic_ = new PictureBox(this);
  pic_->setObjectName("picTraject");
  pic_->setToolTip(QStringLiteral("Alle profielen in bovenaanzicht; klik op een profiel om ernaar te gaan"));
  auto* indeling = new QVBoxLayout(this);
  indeling->setContentsMargins(0, 0, 0, 0);
  indeling->addWidget(kop);
  indeling->addWidget(pic_, 1);
  connect(pic_, &PictureBox::geklikt, this, [this](double x, double y) {
    // The plan is drawn with Y negated, north up.
    if (const int p = dichtstbij(x, -y)) emit gekozen(p);
  });
}

void TrajectOverzicht::zetLijnen(std::vector<Lijn> lijnen) {
  lijnen_ = std::move(lijnen);
  teken();
}

void TrajectOverzicht::zetHuidig(int profiel) {
  if (profiel == huidig_) return;
  huidig_ = profiel;
  teken();
}

int TrajectOverzicht::dichtstbij(double x, double y) const {
  int beste = 0;
  double kortste = std::numeric_limits<double>::infinity();
  for (const Lijn& l : lijnen_) {
    if (l.profiel == 0) continue;
    const double d = afstandTot(l, x, y);
    if (d < kortste) {
      kortste = d;
      beste = l.profiel;
    }
  }
  return beste;
}

void TrajectOverzicht::teken() {
  pic_->cls();
  if (lijnen_.empty()) return;
  double minX = lijnen_.front().x1, maxX = minX, minY = lijnen_.front().y1, maxY = minY;
  for (const Lijn& l : lijnen_) {
    minX = std::min({minX, l.x1, l.x2});
    maxX = std::max({maxX, l.x1, l.x2});
    minY = std::min({minY, l.y1, l.y2});
    maxY = std::max({maxY, l.y1, l.y2});
  }
  // A square window around the whole trajectory, so a plan keeps its shape.
  const double zijde = std::max({maxX - minX, maxY - minY, 1.0}) * 1.1;
  pic_->setScaleLeft((minX + maxX) / 2 - zijde / 2);
  pic_->setScaleTop(-(minY + maxY) / 2 - zijde / 2);
  pic_->setScaleWidth(zijde);
  pic_->setScaleHeight(zijde);
  const Lijn* huidig = nullptr;
  for (const Lijn& l : lijnen_) {
    if (l.profiel != 0 && l.profiel == huidig_) {
      huidig = &l;
      continue;
    }
    pic_->lijn(l.x1, -l.y1, l.x2, -l.y2, l.kleur);
  }
  // The profile on screen last, on top, with a marker on its first point.
  if (huidig) {
    const QColor rood(255, 0, 0);
    pic_->lijn(huidig->x1, -huidig->y1, huidig->x2, -huidig->y2, rood);
    pic_->cirkel(huidig->x1, -huidig->y1, zijde / 80, rood);
  }
}

}  // namespace zarvo::gui
