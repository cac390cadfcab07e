#include "input/frmladen.h"

namespace zarvo::gui {

FrmLaden::FrmLaden(QWidget* ouder) : QWidget(ouder) { setObjectName("frmLaden"); }

void FrmLaden::zetVoortgang(std::uint64_t, std::uint64_t) {}

}  // namespace zarvo::gui
