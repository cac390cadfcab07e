#pragma once

#include <QWidget>

namespace zarvo::gui {

class FrmGraphicView : public QWidget {
  Q_OBJECT
 public:
  explicit FrmGraphicView(QWidget* ouder = nullptr);

  // The load sequence: reads both input files of the shared store (with the
  // hourglass and the loading notice's progress bar) and draws profile 1.
  // On a read error the message has been shown, nothing is loaded (the
  // store holds no profiles) and false is returned; the caller goes back to
  // the input selection.
  bool laad();
};

}  // namespace zarvo::gui
