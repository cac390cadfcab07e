#include "ditch/frmpl.h"

namespace zarvo::gui {

FrmPL::FrmPL(QWidget* ouder) : QWidget(ouder) { setObjectName("frmPL"); }

}  // namespace zarvo::gui
