#pragma once

#include <QWidget>

namespace zarvo::gui {

class FrmGraphicView : public QWidget {
  Q_OBJECT
 public:
  explicit FrmGraphicView(QWidget* ouder = nullptr);
};

}  // namespace zarvo::gui
