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

 private:
  QProgressBar* balk_ = nullptr;
  QElapsedTimer sindsVerf_;  // since the bar last painted
};

}  // namespace zarvo::gui
