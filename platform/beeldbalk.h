// The small tool row under a picture box: "Passend" (back to the scale the
// screen set), the grid switch and "Afbeelding opslaan…". A screen may add
// its own buttons to the row.
#pragma once

#include <QString>
#include <QWidget>
#include <functional>
#include <initializer_list>

class QCheckBox;
class QHBoxLayout;
class QPushButton;

namespace zarvo::gui {

class PictureBox;

class Beeldbalk : public QWidget {
  Q_OBJECT
 public:
  // 'titel' gives the line written above a saved picture (the profile on
  // screen and which view it is).
  Beeldbalk(PictureBox* box, std::function<QString()> titel, QWidget* ouder = nullptr);

  PictureBox* box() const { return box_; }
  QPushButton* knopPassend() const { return cmdPassend_; }
  QCheckBox* keuzeRaster() const { return chkRaster_; }
  // A button of the screen's own, placed after the row's buttons.
  void voegToe(QWidget* knop);

  // Writes the picture to 'pad' (format after the extension); a failure is
  // shown in a message box. Returns whether it was written.
  bool slaOp(const QString& pad);

  // The Home key anywhere on 'scherm' brings every picture of 'balken' back
  // to its fit. Text fields keep Home for their cursor.
  static void installeerPassendToets(QWidget* scherm, std::initializer_list<Beeldbalk*> balken);

 private:
  void vraagBestandEnSlaOp();

  PictureBox* box_;
  std::function<QString()> titel_;
  QHBoxLayout* rij_ = nullptr;
  QPushButton* cmdPassend_ = nullptr;
  QCheckBox* chkRaster_ = nullptr;
  QPushButton* cmdAfbeeldingOpslaan_ = nullptr;
};

}  // namespace zarvo::gui
