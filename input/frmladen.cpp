#include "input/frmladen.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace zarvo::gui {

FrmLaden::FrmLaden(QWidget* ouder) : QWidget(ouder) {
  setObjectName("frmLaden");
  setWindowTitle(QStringLiteral("Bezig inlezen bestand"));
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::CustomizeWindowHint);

  auto* lblTekst = new QLabel(QStringLiteral("Zarvo Viewer Plus leest bestand in"), this);
  lblTekst->setObjectName("lblTekst");
  lblTekst->setAlignment(Qt::AlignCenter);

  balk_ = new QProgressBar(this);
  balk_->setObjectName("prgVoortgang");
  balk_->setRange(0, 1000);
  balk_->setValue(0);
  balk_->setMinimumWidth(balk_->fontMetrics().averageCharWidth() * 40);

  auto* indeling = new QVBoxLayout(this);
  indeling->addWidget(lblTekst);
  indeling->addWidget(balk_);
}

void FrmLaden::zetVoortgang(std::uint64_t gelezen, std::uint64_t totaal) {
  // Per mille, so that files beyond 2 GB still fit the bar's int range.
  const int waarde = totaal == 0 ? 0
                                 : static_cast<int>(static_cast<double>(std::min(gelezen, totaal)) * 1000.0 /
                                                    static_cast<double>(totaal));
  if (waarde == balk_->value()) return;
  balk_->setValue(waarde);
  // The reader runs in the event handler that opened this notice, so the
  // bar only paints when events are let through. Doing that on every call
  // would cost more than the reading; a few times a second is enough.
  if (!sindsVerf_.isValid() || sindsVerf_.elapsed() >= 50 || waarde == 1000) {
    sindsVerf_.start();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  }
}

}  // namespace zarvo::gui
