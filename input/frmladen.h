#pragma once

#include <QWidget>

namespace zarvo::gui {

class FrmLaden : public QWidget {
  Q_OBJECT
 public:
  explicit FrmLaden(QWidget* ouder = nullptr);
};

}  // namespace zarvo::gui
