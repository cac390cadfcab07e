#include <QApplication>

#include "shell/frmsplashscreen.h"
#include "shell/schermen.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  zarvo::gui::scherm<zarvo::gui::FrmSplashScreen>().show();
  return app.exec();
}
