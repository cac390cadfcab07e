#include "ditch/frmpuntcodes.h"

namespace zarvo::gui {

FrmPuntCodes::FrmPuntCodes(QWidget* ouder) : QWidget(ouder) { setObjectName("frmPuntCodes"); }

}  // namespace zarvo::gui
