#pragma once

#include <QWidget>

namespace zarvo::gui {

class FrmPL : public QWidget {
  Q_OBJECT
 public:
  explicit FrmPL(QWidget* ouder = nullptr);
};

}  // namespace zarvo::gui
