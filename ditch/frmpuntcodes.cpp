#include "ditch/frmpuntcodes.h"

#include <QPushButton>
#include <QVBoxLayout>

#include "platform/picturebox.h"
#include "platform/qbcolor.h"

namespace zarvo::gui {

const std::array<FrmPuntCodes::LegendaRegel, 9>& FrmPuntCodes::legenda() {
  // Line 6 has no point code in the drawing: the survey has no code for the
  // edge of the toe ditch, but engineers know the colour from paper plots.
  static const std::array<LegendaRegel, 9> regels{{
      {"Kruin boezem (Referentielijn)", 4},
      {"Teen boezem", 3},
      {"Kruin polder", 5},
      {"Teen polder", 7},
      {"Begin en einde asfaltweg", 9},
      {"Begin en einde insteek teensloot", 11},
      {"Begin (en soms einde) teen sloot", 13},
      {"Beschoeiing", 1},
      {"Snijpunt met wateroppervlak", 2},
  }};
  return regels;
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
    picLegenda_->cirkel(0.5, y + 0.5, 0.15, kleur);
    picLegenda_->tekst(1.0, y + 0.2, QString::fromUtf8(regels[i].tekst), kleur);
  }
  picLegenda_->setMinimumSize(320, 260);
  picLegenda_->setFocusPolicy(Qt::NoFocus);

  auto* cmdSluitVenster = new QPushButton("Sluit venster", this);
  cmdSluitVenster->setObjectName("cmdSluitVenster");
  cmdSluitVenster->setDefault(true);
  connect(cmdSluitVenster, &QPushButton::clicked, this, &FrmPuntCodes::klaar);

  auto* indeling = new QVBoxLayout(this);
  indeling->addWidget(picLegenda_, 1);
  indeling->addWidget(cmdSluitVenster, 0, Qt::AlignRight);
}

}  // namespace zarvo::gui
