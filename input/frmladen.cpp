#include "input/frmladen.h"

namespace zarvo::gui {

FrmLaden::FrmLaden(QWidget* ouder) : QWidget(ouder) { setObjectName("frmLaden"); }

}  // namespace zarvo::gui
