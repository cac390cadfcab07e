// The legend of the point-code colours of the ditch screen's drawing.
#pragma once

#include <QString>
#include <QWidget>
#include <array>

namespace zarvo::gui {

class PictureBox;

class FrmPuntCodes : public QWidget {
  Q_OBJECT
 public:
  struct LegendaRegel {
    const char* tekst;
    int qbKleur;
  };
  // The nine legend lines, top to bottom.
  static const std::array<LegendaRegel, 9>& legenda();

  explicit FrmPuntCodes(QWidget* ouder = nullptr);

 signals:
  // "Sluit venster".
  void klaar();

 private:
  PictureBox* picLegenda_ = nullptr;
};

}  // namespace zarvo::gui
