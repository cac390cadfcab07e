#pragma once

#include <QElapsedTimer>
#include <QWidget>
#include <cstdint>

class QProgressBar;

namespace zarvo::gui {

// The short notice shown while the input files are read.
class FrmLaden : public QWidget {
  Q_OBJECT
 public:
  explicit FrmLaden(QWidget* ouder = nullptr);
  // Fed by the reader's progress callback; keeps the notice painted.
  void zetVoortgang(std::uint64_t gelezen, std::uint64_t totaal);
  // True once the user closed the notice or pressed "Afbreken".
  bool isAfgebroken() const { return afgebroken_; }

 signals:
  void afgebroken();

 protected:
  void closeEvent(QCloseEvent* gebeurtenis) override;

 private:
  QProgressBar* balk_ = nullptr;
  QElapsedTimer sindsVerf_;  // since the bar last painted
  bool afgebroken_ = false;
  void breekAf();
};

}  // namespace zarvo::gui
