#include "schermen/frmpuntcodes.h"

#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

#include "platform/picturebox.h"
#include "platform/qbcolor.h"

namespace zarvo::gui {

const std::array<FrmPuntCodes::LegendaRegel, 10>& FrmPuntCodes::legenda() {
  // Line 6 has no point code in the drawing: the survey has no code for the
  // edge of the toe ditch, but engineers know the colour from paper plots.
  // The last line is for the bottom points the construction adds: they
  // carry codes 4 and 3 and so share those colours with surveyed points,
  // but are drawn filled.
  static const std::array<LegendaRegel, 10> regels{{
      {"Kruin boezem (Referentielijn)", 4, "18", false},
      {"Teen boezem", 3, "3", false},
      {"Kruin polder", 5, "4", false},
      {"Teen polder", 7, "5", false},
      {"Begin en einde asfaltweg", 9, "72", false},
      {"Begin en einde insteek teensloot", 11, nullptr, false},
      {"Begin (en soms einde) teen sloot", 13, "2", false},
      {"Beschoeiing", 1, "8", false},
      {"Snijpunt met wateroppervlak", 2, "9", false},
      {"slootbodem (gebouwd)", 5, "4 en 3", true},
  }};
  return regels;
}

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
