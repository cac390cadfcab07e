// The whole trajectory at a glance: every profile as one line in plan, the
// one on screen highlighted. A profile surveyed in the wrong place, or out
// of order along the dike, stands out at once. A click on a line chooses
// that profile.
#pragma once

#include <QColor>
#include <QWidget>
#include <vector>

namespace zarvo {
struct Profiel;
}

namespace zarvo::gui {

class PictureBox;

class TrajectOverzicht : public QWidget {
  Q_OBJECT
 public:
  // One profile in plan, from its first to its last point. 'profiel' is
  // its number on the screen (1-based), 0 for one that cannot be chosen
  // (a deleted profile).
  struct Lijn {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    QColor kleur;
    int profiel = 0;
    // From the first to the last point of 'p' (which has points).
    static Lijn van(const Profiel& p, const QColor& kleur, int profiel);
  };

  explicit TrajectOverzicht(QWidget* ouder = nullptr);

  void zetLijnen(std::vector<Lijn> lijnen);
  void zetHuidig(int profiel);
  PictureBox* plaatje() const { return pic_; }
  // The profile whose line lies nearest to (x, y) in plan, 0 when none.
  int dichtstbij(double x, double y) const;

 signals:
  void gekozen(int profiel);

 private:
  void teken();

  PictureBox* pic_ = nullptr;
  std::vector<Lijn> lijnen_;
  int huidig_ = 0;
};

}  // namespace zarvo::gui
