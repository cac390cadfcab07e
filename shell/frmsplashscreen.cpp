#include "shell/frmsplashscreen.h"

namespace zarvo::gui {

FrmSplashScreen::FrmSplashScreen(QWidget* ouder) : QWidget(ouder) { setObjectName("frmSplashScreen"); }

}  // namespace zarvo::gui
