#include "output/frmopslaan.h"

namespace zarvo::gui {

FrmOpslaan::FrmOpslaan(QWidget* ouder) : QWidget(ouder) { setObjectName("frmOpslaan"); }

}  // namespace zarvo::gui
