#include "ditch/frmpl.h"

namespace zarvo::gui {

FrmPL::FrmPL(QWidget* ouder) : QWidget(ouder) { setObjectName("frmPL"); }

// The load sequence lands in the next commit; the entry point exists now so
// the review screen's hand-over can call it.
void FrmPL::laad() {}

}  // namespace zarvo::gui
