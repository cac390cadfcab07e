// The input selection: the user picks the profile-lines file and then the
// ditch-profile file from a drive, folder and file list (or with the file
// dialog), sees the first line of the file and goes on to the review screen.
#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace zarvo::gui {

class MapKiezer;

class FrmInput : public QWidget {
  Q_OBJECT
 public:
  // Which of the two files the lists are choosing now.
  enum class Stap { Profielbestand, Slootbestand };

  // Picks up a choice already in the store (a preselection from the command
  // line, or the choice kept after a failed load).
  explicit FrmInput(QWidget* ouder = nullptr);

  // Preselects files given on the command line: writes their full paths to
  // the store for the form to pick up. Returns a warning per file that does
  // not exist; such a file is not preselected.
  static QStringList zetVoorkeuze(const QString& profielbestand, const QString& slootbestand);

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

 private:
  void kiesBestand(const QString& pad);
  void toonKeuze();
  void selecteerGekozenBestand();
  QString gekozenPad() const;

  Stap stap_ = Stap::Profielbestand;

  QLabel* lblStap_ = nullptr;
  QRadioButton* optProfielbestand_ = nullptr;
  QRadioButton* optSlootbestand_ = nullptr;
  QLineEdit* txtProfielbestand_ = nullptr;
  QLineEdit* txtSlootbestand_ = nullptr;
  MapKiezer* lijsten_ = nullptr;
  QLabel* lblEersteRegel_ = nullptr;
  QPushButton* cmdBladeren_ = nullptr;
  QPushButton* cmdWissen_ = nullptr;
  QPushButton* cmdOK_ = nullptr;
  QPushButton* cmdStop_ = nullptr;
};

}  // namespace zarvo::gui
