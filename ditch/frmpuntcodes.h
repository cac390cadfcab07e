#pragma once

#include <QWidget>

namespace zarvo::gui {

class FrmPuntCodes : public QWidget {
  Q_OBJECT
 public:
  explicit FrmPuntCodes(QWidget* ouder = nullptr);
};

}  // namespace zarvo::gui
