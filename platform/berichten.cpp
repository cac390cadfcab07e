#include "platform/berichten.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QDialogButtonBox>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QVBoxLayout>
#include <algorithm>
#include <QPushButton>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "basis/onderbreking.h"
#include "platform/regionaal.h"

namespace zarvo::gui {

namespace {

// A box belongs to the window that takes input now. While a progress window
// is up (window-modal over its screen) that is the progress window: a box
// parented to the screen beneath would be blocked by it, and Enter would do
// nothing until the user clicked the box.
QWidget* ouderVoorBox() {
  if (QWidget* modaal = QApplication::activeModalWidget()) return modaal;
  return QApplication::activeWindow();
}

// The titles silenced with "Niet meer tonen voor dit bestand", per file:
// going back to a screen and on again reads or builds the same file anew,
// and must not start the boxes again from the first profile.
std::map<std::string, std::vector<std::string>>& stilleTitelsPerBestand() {
  static std::map<std::string, std::vector<std::string>> titels;
  return titels;
}

void zetIcoon(QMessageBox& box, Icoon icoon) {
  switch (icoon) {
    case Icoon::Kritiek: box.setIcon(QMessageBox::Critical); break;
    case Icoon::Informatie: box.setIcon(QMessageBox::Information); break;
    case Icoon::Geen: box.setIcon(QMessageBox::NoIcon); break;
  }
}

class QtBerichten : public BerichtenDienst {
 public:
  Antwoord toon(const QString& tekst, const QString& titel, Icoon icoon, Knoppen knoppen) override {
    QMessageBox box(ouderVoorBox());
    box.setWindowTitle(titel);
    box.setText(tekst);
    zetIcoon(box, icoon);
    if (knoppen == Knoppen::OKToonAlle) {
      box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
      auto* alle = box.addButton(QStringLiteral("&Toon alle"), QMessageBox::ActionRole);
      box.exec();
      return box.clickedButton() == alle ? Antwoord::ToonAlle : Antwoord::OK;
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

  int kies(const QString& tekst, const QString& titel, Icoon icoon, const QStringList& knoppen, int terug) override {
    QMessageBox box(ouderVoorBox());
    box.setWindowTitle(titel);
    box.setText(tekst);
    zetIcoon(box, icoon);
    // One role for all keeps them in the order given on every platform.
    std::vector<QPushButton*> gemaakt;
    for (const QString& knop : knoppen) gemaakt.push_back(box.addButton(knop, QMessageBox::ActionRole));
    if (terug >= 0 && static_cast<std::size_t>(terug) < gemaakt.size()) {
      QPushButton* veilig = gemaakt[static_cast<std::size_t>(terug)];
      box.setDefaultButton(veilig);
      box.setEscapeButton(veilig);
    }
    box.exec();
    const auto gekozen = std::find(gemaakt.begin(), gemaakt.end(), box.clickedButton());
    return gekozen == gemaakt.end() ? terug : static_cast<int>(gekozen - gemaakt.begin());
  }

  void toonInReeks(const QString& tekst, const QString& titel, Icoon icoon, bool& nietMeerTonen) override {
    QMessageBox box(ouderVoorBox());
    box.setWindowTitle(titel);
    box.setText(tekst);
    box.setIcon(icoon == Icoon::Kritiek ? QMessageBox::Critical
                                        : icoon == Icoon::Informatie ? QMessageBox::Information : QMessageBox::NoIcon);
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    auto* vinkje = new QCheckBox(QStringLiteral("Niet meer tonen voor dit bestand"));
    box.setCheckBox(vinkje);
    box.exec();
    nietMeerTonen = vinkje->isChecked();
  }

  void toonLijst(const QString& titel, const QString& tekst) override {
    QDialog venster(ouderVoorBox());
    venster.setWindowTitle(titel);
    auto* veld = new QPlainTextEdit(tekst, &venster);
    veld->setReadOnly(true);
    veld->setLineWrapMode(QPlainTextEdit::NoWrap);
    auto* knoppen = new QDialogButtonBox(QDialogButtonBox::Close, &venster);
    QObject::connect(knoppen, &QDialogButtonBox::rejected, &venster, &QDialog::reject);
    auto* indeling = new QVBoxLayout(&venster);
    indeling->addWidget(veld);
    indeling->addWidget(knoppen);
    venster.resize(720, 480);
    venster.exec();
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

int kiesBericht(const QString& tekst, const QString& titel, Icoon icoon, const QStringList& knoppen, int terug) {
  return berichten().kies(tekst, titel, icoon, knoppen, terug);
}

void toonMelding(const Melding& melding) {
  toonBericht(tekstUitBestand(melding.tekst), QString::fromStdString(melding.titel),
              melding.icoon, Knoppen::OK);
}

void meldOpgeslagen(const QString& pad) {
  toonBericht(QStringLiteral("Opgeslagen als %1.").arg(QDir::toNativeSeparators(pad)), QStringLiteral("Bestand opgeslagen"),
              Icoon::Geen);
}

bool vraagStoppen(const QString& vraag) {
  return toonBericht(vraag, QStringLiteral("Let op!"), Icoon::Geen, Knoppen::JaNee) == Antwoord::Ja;
}

void vergeetStilleMeldingen() { stilleTitelsPerBestand().clear(); }

MeldingenReeks::MeldingenReeks(const std::string& bestand) : stilleTitels_(stilleTitelsPerBestand()[bestand]) {}

void MeldingenReeks::meld(const Melding& melding) {
  // Once the program is asked to stop (a shutdown), the boxes still to
  // come would each hold up the end; they are only collected.
  if (onderbrekingSignaal() != 0 ||
      std::find(stilleTitels_.begin(), stilleTitels_.end(), melding.titel) != stilleTitels_.end()) {
    nietGetoond_.push_back(melding);
    return;
  }
  bool nietMeerTonen = false;
  berichten().toonInReeks(tekstUitBestand(melding.tekst), QString::fromStdString(melding.titel), melding.icoon,
                          nietMeerTonen);
  if (nietMeerTonen) stilleTitels_.push_back(melding.titel);
}

void MeldingenReeks::sluitAf() {
  if (nietGetoond_.empty() || onderbrekingSignaal() != 0) return;
  const auto aantal = static_cast<qsizetype>(nietGetoond_.size());
  const QString tekst = aantal == 1 ? QStringLiteral("Er is 1 melding niet getoond.")
                                    : QStringLiteral("Er zijn %1 meldingen niet getoond.").arg(aantal);
  if (toonBericht(tekst, QStringLiteral("Melding"), Icoon::Informatie, Knoppen::OKToonAlle) == Antwoord::ToonAlle) {
    QStringList regels;
    regels.reserve(aantal);
    for (const Melding& m : nietGetoond_) {
      regels << QString::fromStdString(m.titel) + QStringLiteral(": ") + tekstUitBestand(m.tekst);
    }
    berichten().toonLijst(QStringLiteral("Niet getoonde meldingen"), regels.join(QStringLiteral("\n\n")));
  }
  nietGetoond_.clear();
}

Zandloper::Zandloper() { QApplication::setOverrideCursor(Qt::WaitCursor); }
Zandloper::~Zandloper() { QApplication::restoreOverrideCursor(); }

}  // namespace zarvo::gui
