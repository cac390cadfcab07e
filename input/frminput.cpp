#include "input/frminput.h"

namespace zarvo::gui {

FrmInput::FrmInput(QWidget* ouder) : QWidget(ouder) { setObjectName("frmInput"); }

}  // namespace zarvo::gui
