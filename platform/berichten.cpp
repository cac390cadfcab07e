#include "platform/berichten.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <cstdlib>

#include "platform/regionaal.h"

namespace zarvo::gui {

namespace {

class QtBerichten : public BerichtenDienst {
 public:
  Antwoord toon(const QString& tekst, const QString& titel, Icoon icoon, Knoppen knoppen) override {
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(titel);
    box.setText(tekst);
    switch (icoon) {
      case Icoon::Kritiek: box.setIcon(QMessageBox::Critical); break;
      case Icoon::Informatie: box.setIcon(QMessageBox::Information); break;
      case Icoon::Geen: box.setIcon(QMessageBox::NoIcon); break;
    }
    if (knoppen == Knoppen::JaNee) {
      auto* ja = box.addButton(QStringLiteral("&Ja"), QMessageBox::YesRole);
      auto* nee = box.addButton(QStringLiteral("&Nee"), QMessageBox::NoRole);
      box.setDefaultButton(nee);
      box.setEscapeButton(nee);
      box.exec();
      return box.clickedButton() == ja ? Antwoord::Ja : Antwoord::Nee;
    }
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.exec();
    return Antwoord::OK;
  }

  void beeindigProgramma() override {
    // Nothing is saved on purpose: the user chose to stop without saving.
    std::exit(0);
  }
};

BerichtenDienst* actief = nullptr;

}  // namespace

BerichtenDienst& berichten() {
  static QtBerichten productie;
  return actief ? *actief : productie;
}

void zetBerichtenDienst(BerichtenDienst* dienst) { actief = dienst; }

Antwoord toonBericht(const QString& tekst, const QString& titel, Icoon icoon, Knoppen knoppen) {
  return berichten().toon(tekst, titel, icoon, knoppen);
}

void toonMelding(const Melding& melding) {
  toonBericht(tekstUitBestand(melding.tekst), QString::fromStdString(melding.titel),
              melding.icoon, Knoppen::OK);
}

bool vraagStoppen(const QString& vraag) {
  return toonBericht(vraag, QStringLiteral("Let op!"), Icoon::Geen, Knoppen::JaNee) == Antwoord::Ja;
}

Zandloper::Zandloper() { QApplication::setOverrideCursor(Qt::WaitCursor); }
Zandloper::~Zandloper() { QApplication::restoreOverrideCursor(); }

}  // namespace zarvo::gui
