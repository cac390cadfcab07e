// The input selection: the user picks the profile-lines file and then the
// ditch-profile file from a drive, folder and file list (or with the file
// dialog), sees the first line of the file and goes on to the review screen.
#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

#include "taak/taak.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace zarvo::gui {

class MapKiezer;

class FrmInput : public QWidget {
  Q_OBJECT
 public:
  // Which file the lists are choosing now. The characteristic points of a
  // surface-lines file are a choice the user makes only when they do not
  // lie beside it under the usual name.
  enum class Stap { Profielbestand, Slootbestand, KarakteristiekePunten };

  // Picks up a choice the job already holds (chosen on the command line, or
  // kept after a failed load).
  explicit FrmInput(Taak& taak, QWidget* ouder = nullptr);

  Stap stap() const { return stap_; }
  void zetStap(Stap stap);

  // Shows the folder 'pad' in the lists. An unreadable folder shows the
  // read error and leaves the lists as they were (returns false).
  bool zetMap(const QString& pad);
  QString map() const;

  // The event handlers of the buttons and the file list.
  void cmdOK_Click();
  void cmdStop_Click();
  void cmdWissen_Click();
  void cmdBladeren_Click();
  void File1_Click(const QString& naam);
  void File1_DblClick(const QString& naam);

 signals:
  // Both files are chosen and the user goes on.
  void bestandenGekozen();
  void gestopt();

 protected:
  // Enter that no control takes (on a choice button, the drive list) goes
  // to OK, which is drawn as the default button: a screen is no dialog.
  void keyPressEvent(QKeyEvent* gebeurtenis) override;

 private:
  void kiesBestand(const QString& pad);
  void toonKeuze();
  void selecteerGekozenBestand();
  QString gekozenPad() const;

  Taak& taak_;
  Stap stap_ = Stap::Profielbestand;

  QLabel* lblStap_ = nullptr;
  QRadioButton* optProfielbestand_ = nullptr;
  QRadioButton* optSlootbestand_ = nullptr;
  QRadioButton* optKarakteristiekePunten_ = nullptr;
  QLineEdit* txtProfielbestand_ = nullptr;
  QLineEdit* txtSlootbestand_ = nullptr;
  QLineEdit* txtKarakteristiekePunten_ = nullptr;
  MapKiezer* lijsten_ = nullptr;
  QLabel* lblEersteRegel_ = nullptr;
  QPushButton* cmdBladeren_ = nullptr;
  QPushButton* cmdWissen_ = nullptr;
  QPushButton* cmdOK_ = nullptr;
  QPushButton* cmdStop_ = nullptr;
};

}  // namespace zarvo::gui
