#pragma once

#include <QWidget>

namespace zarvo::gui {

class FrmSplashScreen : public QWidget {
  Q_OBJECT
 public:
  explicit FrmSplashScreen(QWidget* ouder = nullptr);
};

}  // namespace zarvo::gui
