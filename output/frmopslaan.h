#pragma once

#include <QWidget>

namespace zarvo::gui {

class FrmOpslaan : public QWidget {
  Q_OBJECT
 public:
  explicit FrmOpslaan(QWidget* ouder = nullptr);
};

}  // namespace zarvo::gui
