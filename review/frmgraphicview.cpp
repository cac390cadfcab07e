#include "review/frmgraphicview.h"

namespace zarvo::gui {

FrmGraphicView::FrmGraphicView(QWidget* ouder) : QWidget(ouder) { setObjectName("frmGraphicView"); }

}  // namespace zarvo::gui
