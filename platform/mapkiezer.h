// Drive, folder and file lists side by side (object names Drive1, Dir1 and
// File1, by which the screen tests find them): the whole way from the drive
// down to the file stays in sight while the user walks the disk. The input
// and the save screen both choose a folder this way; this widget is that
// part of both.
#pragma once

#include <QString>
#include <QStringList>
#include <QElapsedTimer>
#include <QWidget>

class QComboBox;
class QLabel;
class QListWidget;
class QTreeWidget;

namespace zarvo::gui {

class MapKiezer : public QWidget {
  Q_OBJECT
 public:
  explicit MapKiezer(QWidget* ouder = nullptr);

  // Shows the folder 'pad'. A folder (or drive) that cannot be read shows
  // "Kan niet lezen vanaf het geselecteerde station, kies een ander
  // station" (title "Leesfout!") and leaves the lists as they were.
  bool zetMap(const QString& pad);
  // The same without the message, for start-up guesses that may fail.
  bool probeerMap(const QString& pad);
  // The folder shown: the file list's Path.
  QString map() const { return map_; }

  // File patterns separated by ';' ("*.txt;*.asc"); empty shows every file.
  void zetPatroon(const QString& patroon);
  QString patroon() const { return patroon_; }
  // Heading above the file list; "%1" is replaced by the pattern.
  void zetBestandenKop(const QString& kop);

  // Re-reads the folder (after files were written into it).
  void verfris();
  // Highlights the file 'naam' in the list, if it is there.
  void markeerBestand(const QString& naam);

  QComboBox* drive1() const { return drive1_; }
  QTreeWidget* dir1() const { return dir1_; }
  QLabel* bestandenKop() const { return lblBestanden_; }
  QListWidget* file1() const { return file1_; }

 signals:
  void mapGewijzigd(const QString& pad);
  // A file was selected (click, arrow keys or typing its first letters).
  void bestandGeklikt(const QString& naam);
  // A file was chosen (double-click or Enter). Enter reports it at once,
  // a double-click once the list has finished with the click.
  void bestandGekozen(const QString& naam);

 protected:
  bool eventFilter(QObject* object, QEvent* gebeurtenis) override;

 private:
  void vulStations();
  void toonStation();
  void stationGekozen(int index);
  void vulMappen();
  void vulBestanden();
  void werkKopBij();

  QString map_;
  QElapsedTimer mapGeopend_;  // when a folder click last opened a folder
  QString patroon_;
  QString kop_;
  int station_ = -1;

  QComboBox* drive1_ = nullptr;
  QTreeWidget* dir1_ = nullptr;
  QLabel* lblBestanden_ = nullptr;
  QListWidget* file1_ = nullptr;
};

}  // namespace zarvo::gui
