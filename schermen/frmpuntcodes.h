// The legend of the point-code colours of the ditch screen's drawing.
#pragma once

#include <QString>
#include <QWidget>
#include <array>

#include "ditch/puntcodes.h"

namespace zarvo::gui {

class PictureBox;

class FrmPuntCodes : public QWidget {
  Q_OBJECT
 public:
  using LegendaRegel = Puntcode;
  // The legend lines, top to bottom.
  static const std::array<LegendaRegel, 10>& legenda() { return puntcodeLegenda(); }

  explicit FrmPuntCodes(QWidget* ouder = nullptr);

 signals:
  // "Sluit venster".
  void klaar();

 private:
  // "18 – Kruin boezem (Referentielijn)": the codes before the meaning.
  static QString regelTekst(const LegendaRegel& regel);

  PictureBox* picLegenda_ = nullptr;
};

}  // namespace zarvo::gui
