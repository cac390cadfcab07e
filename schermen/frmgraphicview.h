// The review screen: one surveyed profile at a time in plan (picXY) and in
// cross-section (picDwarsprofiel), stepping, deleting unusable profiles,
// the vertical exaggeration of the cross-section and a reference line at an
// offset from the profile's highest point. Controls carry the objectNames
// the form always had, so tests find them by name.
#pragma once

#include <QWidget>
#include <cstdint>
#include <utility>

#include "basis/meldingen.h"
#include "taak/taak.h"

class QGroupBox;
class QLabel;
class QListWidget;
class QLineEdit;
class QPushButton;
class QUndoStack;

namespace zarvo::gui {

class LineControl;
class PictureBox;
class ProfielNavigatie;
class SchaalBalk;
class TrajectOverzicht;

class FrmGraphicView : public QWidget {
  Q_OBJECT
 public:
  explicit FrmGraphicView(Taak& taak, QWidget* ouder = nullptr);

  // The start once the job has read its files: caption, counts, the
  // offset's start text, profile 1 drawn.
  void begin();

  // Clears and redraws both pictures for profile 'profielNummer' (1-based)
  // of the job, fills the labels, re-ranges scrollSchaal and places the
  // reference lines. Reads the job, never changes it.
  void tekenProfielen(std::int32_t profielNummer);
  // Places lineTop at 'maximaleZ' and lineBottom at 'maximaleZ' plus the
  // offset typed in txtOffsetZmax, across the whole cross-section.
  void tekenHulplijn(double maximaleZ);

  std::int32_t huidigProfiel() const { return huidigProfiel_; }
  // After the job's profiles changed (a deletion, or one undone): counts,
  // list and drawing anew, showing 'profiel' (the first when out of range).
  void toonNaWijziging(std::int32_t profiel);
  // The deletions' undo history, kept above the screens so that it lives
  // as long as the job; its two buttons follow it.
  void zetOngedaanStapel(QUndoStack* stapel);
  // Vertical exaggeration of the cross-section: scroll-bar position / 100.
  double schaalfactor() const { return schaalfactor_; }

 signals:
  // OK: the review is done, the ditches can be built.
  void klaar();
  // The user confirmed deleting 'profiel'; the screen order does it, so
  // that it can be undone.
  void verwijderGevraagd(std::int32_t profiel);
  void gestopt();
  // The job cannot go on (the last profile was deleted).
  void mislukt(const Melding& melding);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void bouwScherm();
  // The trajectory overview: the remaining profiles, the deleted ones grey.
  void vulOverzicht();
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
  // The rows under the plan and the cross-section: fit, grid, picture.
  std::pair<QWidget*, QWidget*> maakBeeldbalken();

  Taak& taak_;
  std::int32_t huidigProfiel_ = 0;
  double schaalfactor_ = 0.0;

  PictureBox* picXY_ = nullptr;
  PictureBox* picDwarsprofiel_ = nullptr;
  LineControl* lineTop_ = nullptr;
  LineControl* lineBottom_ = nullptr;
  SchaalBalk* scrollSchaal_ = nullptr;
  QLineEdit* txtOffsetZmax_ = nullptr;
  ProfielNavigatie* navigatie_ = nullptr;
  QPushButton* cmdVerwijderDWP_ = nullptr;
  TrajectOverzicht* overzicht_ = nullptr;
  QPushButton* cmdOngedaan_ = nullptr;
  QPushButton* cmdOpnieuw_ = nullptr;
  QPushButton* cmdUpdateHuplijn_ = nullptr;
  QPushButton* cmdOK_ = nullptr;
  QPushButton* cmdEnd_ = nullptr;
  QLabel* lblActiefProfiel_ = nullptr;
  QLabel* lblAantalProfielen_ = nullptr;
  QGroupBox* vakVerwijderd_ = nullptr;
  QListWidget* lstVerwijderd_ = nullptr;
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
