#include "schermen/frmpuntcodes.h"

#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

#include "platform/picturebox.h"
#include "platform/qbcolor.h"

namespace zarvo::gui {

QString FrmPuntCodes::regelTekst(const LegendaRegel& regel) {
  const QString tekst = QString::fromUtf8(regel.tekst);
  if (!regel.codes) return tekst;
  return QString::fromUtf8(regel.codes) + QStringLiteral(" \u2013 ") + tekst;
}

FrmPuntCodes::FrmPuntCodes(QWidget* ouder) : QWidget(ouder) {
  setObjectName("frmPuntCodes");
  setWindowTitle("PuntCodes");

  picLegenda_ = new PictureBox(this);
  picLegenda_->setObjectName("picLegenda");
  // One scale unit per text line; the marker circle in front of each text
  // looks like the marker in the drawing, so colours are easy to match.
  const auto& regels = legenda();
  const double aantal = static_cast<double>(regels.size());
  picLegenda_->setScaleLeft(0);
  picLegenda_->setScaleTop(0);
  picLegenda_->setScaleWidth(12);
  picLegenda_->setScaleHeight(aantal + 0.5);
  for (std::size_t i = 0; i < regels.size(); ++i) {
    const QColor kleur = qbColor(regels[i].qbKleur);
    const double y = 0.25 + static_cast<double>(i);
    if (regels[i].gebouwd) {
      picLegenda_->schijf(0.5, y + 0.5, 0.15, kleur);
    } else {
      picLegenda_->cirkel(0.5, y + 0.5, 0.15, kleur);
    }
    picLegenda_->tekst(1.0, y + 0.2, regelTekst(regels[i]), kleur);
  }
  picLegenda_->setMinimumSize(340, 280);
  picLegenda_->setFocusPolicy(Qt::NoFocus);

  auto* cmdSluitVenster = new QPushButton("Sluit venster", this);
  cmdSluitVenster->setObjectName("cmdSluitVenster");
  cmdSluitVenster->setDefault(true);
  connect(cmdSluitVenster, &QPushButton::clicked, this, &FrmPuntCodes::klaar);
  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  connect(escape, &QShortcut::activated, cmdSluitVenster, &QPushButton::click);

  auto* indeling = new QVBoxLayout(this);
  indeling->addWidget(picLegenda_, 1);
  indeling->addWidget(cmdSluitVenster, 0, Qt::AlignRight);
}

}  // namespace zarvo::gui
