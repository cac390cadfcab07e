// The review screen: one surveyed profile at a time in plan (picXY) and in
// cross-section (picDwarsprofiel), stepping, deleting unusable profiles,
// the vertical exaggeration of the cross-section and a reference line at an
// offset from the profile's highest point. Controls carry the objectNames
// the form always had, so tests find them by name.
#pragma once

#include <QWidget>
#include <cstdint>

class QLabel;
class QLineEdit;
class QPushButton;

namespace zarvo::gui {

class LineControl;
class PictureBox;
class ProfielNavigatie;
class SchaalBalk;

class FrmGraphicView : public QWidget {
  Q_OBJECT
 public:
  explicit FrmGraphicView(QWidget* ouder = nullptr);

  // The load sequence: reads both input files of the shared store (with the
  // hourglass and the loading notice's progress bar) and draws profile 1.
  // On a read error the message has been shown, nothing is loaded (the
  // store holds no profiles) and false is returned; the caller goes back to
  // the input selection.
  bool laad();

  // Clears and redraws both pictures for profile 'profielNummer' (1-based)
  // of the shared store, fills the labels, re-ranges scrollSchaal, records
  // the first point in beginX/Y/Z and places the reference lines.
  void tekenProfielen(std::int32_t profielNummer);
  // Places lineTop at 'maximaleZ' and lineBottom at 'maximaleZ' plus the
  // offset typed in txtOffsetZmax, across the whole cross-section.
  void tekenHulplijn(double maximaleZ);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void bouwScherm();
  void toonTelling();
  void naarProfiel(std::int32_t profiel);
  void volgende();
  void vorige();
  void verwijder();
  void schaalVeranderd(int waarde);
  void updateHulplijn();
  void ok();
  void stop();
  void muisOpDwarsprofiel(double x, double y);
  void muisOpXY(double x, double y);

  PictureBox* picXY_ = nullptr;
  PictureBox* picDwarsprofiel_ = nullptr;
  LineControl* lineTop_ = nullptr;
  LineControl* lineBottom_ = nullptr;
  SchaalBalk* scrollSchaal_ = nullptr;
  QLineEdit* txtOffsetZmax_ = nullptr;
  ProfielNavigatie* navigatie_ = nullptr;
  QPushButton* cmdVerwijderDWP_ = nullptr;
  QPushButton* cmdUpdateHuplijn_ = nullptr;
  QPushButton* cmdOK_ = nullptr;
  QPushButton* cmdEnd_ = nullptr;
  QLabel* lblActiefProfiel_ = nullptr;
  QLabel* lblAantalProfielen_ = nullptr;
  QLabel* lblSchaalfactor_ = nullptr;
  QLabel* lblRijen_ = nullptr;
  QLabel* lblKolommen_ = nullptr;
  QLabel* lblLengteProfiel_ = nullptr;
  QLabel* lblMinZ_ = nullptr;
  QLabel* lblMaxZ_ = nullptr;
  QLabel* lblZmax_ = nullptr;
  QLabel* lblZmin_ = nullptr;
  QLabel* lblLengte_ = nullptr;

  // Set while tekenProfielen re-ranges scrollSchaal, so that a position
  // moved by the new range does not start a second drawing from inside the
  // first one.
  bool bezigMetTekenen_ = false;
};

}  // namespace zarvo::gui
