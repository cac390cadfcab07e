// The start-up form: a picture, the program name and the version. Any click
// on it (or Enter, Space or Escape) goes on to the input selection.
#pragma once

#include <QWidget>

namespace zarvo::gui {

class FrmSplashScreen : public QWidget {
  Q_OBJECT
 public:
  explicit FrmSplashScreen(QWidget* ouder = nullptr);

  // Goes on (once): emits klaar().
  void doorgaan();

 signals:
  void klaar();

 protected:
  void mouseReleaseEvent(QMouseEvent* gebeurtenis) override;
  void keyPressEvent(QKeyEvent* gebeurtenis) override;

 private:
  bool doorgegaan_ = false;
};

}  // namespace zarvo::gui
