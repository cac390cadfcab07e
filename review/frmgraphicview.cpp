#include "review/frmgraphicview.h"

#include "input/leesbestand.h"
#include "input/leesbestandsloot.h"
#include "platform/berichten.h"
#include "shell/schermen.h"

namespace zarvo::gui {

FrmGraphicView::FrmGraphicView(QWidget* ouder) : QWidget(ouder) { setObjectName("frmGraphicView"); }

bool FrmGraphicView::laad() {
  // Minimal load until the review screen is built: read both files.
  ProfielStore& s = store();
  BerichtenSink sink;
  if (auto fout = leesBestand(s, s.inputbestand, sink)) {
    toonMelding(*fout);
    s.profielen.clear();
    return false;
  }
  if (auto fout = leesBestandSloot(s, s.bestandSloot)) {
    toonMelding(*fout);
    s.profielen.clear();
    return false;
  }
  s.huidigProfiel = 1;
  return true;
}

}  // namespace zarvo::gui
