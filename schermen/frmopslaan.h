// The save screen: the user picks the target folder and the names of the
// result file and the deleted-profile list, and writes both from the store.
#pragma once

#include <QString>
#include <QWidget>

#include "taak/taak.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace zarvo::gui {

class MapKiezer;

class FrmOpslaan : public QWidget {
  Q_OBJECT
 public:
  // The constructor does the form's load (the job's default names, the list
  // name enabled only when profiles were deleted), so showing it is all a
  // caller needs.
  explicit FrmOpslaan(Taak& taak, QWidget* ouder = nullptr);

  // The load again, from the job as it is now.
  void laad();

  // The result format chosen: false today's profile lines, true surface
  // lines with characteristic points. Choosing one proposes its names.
  void zetOppervlaktelijnen(bool aan);

  // The target folder (File1's path). An unreadable folder shows the read
  // error and changes nothing (returns false).
  bool zetMap(const QString& pad);
  QString map() const;

  // The event handlers of the buttons.
  void cmdOpslaan_Click();
  void cmdStop_Click();
  void cmdBladeren_Click();

 signals:
  void gestopt();
  // "<< Terug": the ditch screen again.
  void terug();

 protected:
  // Closing the window is stopping: it asks first, as Stop does, and warns
  // when nothing has been saved yet.
  void closeEvent(QCloseEvent* gebeurtenis) override;

 private:
  bool oppervlaktelijnen() const;
  // The entry of resultaatformaten() chosen.
  const Formaatkeuze& formaat() const;
  void toonNamen();
  void toonMap();

  Taak& taak_;
  bool opgeslagen_ = false;

  MapKiezer* lijsten_ = nullptr;
  QLabel* lblMap_ = nullptr;
  QLabel* lblSamenvatting_ = nullptr;
  QComboBox* cboFormaat_ = nullptr;
  QLineEdit* txtProfielen_ = nullptr;
  QLineEdit* txtKarakteristiekePunten_ = nullptr;
  QLineEdit* txtLogBestand_ = nullptr;
  QPushButton* cmdBladeren_ = nullptr;
  QPushButton* cmdOpslaan_ = nullptr;
  QPushButton* cmdStop_ = nullptr;
};

}  // namespace zarvo::gui
