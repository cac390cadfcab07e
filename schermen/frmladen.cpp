#include "schermen/frmladen.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace zarvo::gui {

FrmLaden::FrmLaden(QWidget* ouder) : QWidget(ouder) {
  setObjectName("frmLaden");
  setWindowTitle(QStringLiteral("Bezig inlezen bestand"));
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);

  auto* lblTekst = new QLabel(QStringLiteral("Zarvo Viewer Plus leest bestand in"), this);
  lblTekst->setObjectName("lblTekst");
  lblTekst->setAlignment(Qt::AlignCenter);

  balk_ = new QProgressBar(this);
  balk_->setObjectName("prgVoortgang");
  balk_->setRange(0, 1000);
  balk_->setValue(0);
  balk_->setMinimumWidth(balk_->fontMetrics().averageCharWidth() * 40);

  // A wrong file of gigabytes must not hold the user hostage.
  auto* cmdAfbreken = new QPushButton(QStringLiteral("&Afbreken"), this);
  cmdAfbreken->setObjectName("cmdAfbreken");
  connect(cmdAfbreken, &QPushButton::clicked, this, &FrmLaden::breekAf);

  auto* indeling = new QVBoxLayout(this);
  indeling->addWidget(lblTekst);
  indeling->addWidget(balk_);
  indeling->addWidget(cmdAfbreken, 0, Qt::AlignRight);
}

void FrmLaden::breekAf() {
  if (afgebroken_) return;
  afgebroken_ = true;
  emit afgebroken();
}

// Closing the notice stops the reading; the notice itself goes when the
// reading has stopped.
void FrmLaden::closeEvent(QCloseEvent* gebeurtenis) {
  breekAf();
  gebeurtenis->ignore();
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
