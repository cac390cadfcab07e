#pragma once

#include <QWidget>

namespace zarvo::gui {

class FrmInput : public QWidget {
  Q_OBJECT
 public:
  explicit FrmInput(QWidget* ouder = nullptr);
};

}  // namespace zarvo::gui
