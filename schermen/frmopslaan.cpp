#include "schermen/frmopslaan.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>
#include <algorithm>
#include <cstddef>

#include "platform/berichten.h"
#include "platform/instellingen.h"
#include "platform/mapkiezer.h"
#include "platform/regionaal.h"

namespace zarvo::gui {

namespace {

const QString mapOpslaan = QStringLiteral("opslaan");
// The input folder of that save.
const QString mapOpslaanInvoer = QStringLiteral("opslaanInvoer");

// The core takes file names as UTF-8 on every system.
std::string naarPad(const QString& s) { return s.toUtf8().toStdString(); }
// A folder as the system writes it: the messages join the file name to it
// with the system's separator, and "C:/map\\naam" is no path a Windows
// user recognises.
std::string mapNaarPad(const QString& map) { return naarPad(QDir::toNativeSeparators(map)); }

std::size_t aantalPunten(const ProfielStore& s) {
  std::size_t n = 0;
  for (const Profiel& p : s.profielen) n += p.punten.size();
  return n;
}

}  // namespace

FrmOpslaan::FrmOpslaan(Taak& taak, QWidget* ouder) : QWidget(ouder), taak_(taak) {
  setObjectName("frmOpslaan");
  setWindowTitle(QStringLiteral("Zarvo-Edit - Resultaat opslaan"));

  auto* lblUitleg = new QLabel(
      QStringLiteral("Kies de map waarin de bestanden worden opgeslagen en controleer de bestandsnamen."),
      this);
  lblUitleg->setWordWrap(true);

  auto* fraMap = new QGroupBox(QStringLiteral("Doelmap"), this);
  lijsten_ = new MapKiezer(fraMap);
  // Every file shows: the user should see what a save would replace.
  lijsten_->zetBestandenKop(QStringLiteral("&Bestanden in deze map:"));
  lblMap_ = new QLabel(fraMap);
  lblMap_->setObjectName("lblMap");
  lblMap_->setTextFormat(Qt::PlainText);
  lblMap_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  // A deep folder must not widen the window.
  lblMap_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  cmdBladeren_ = new QPushButton(QStringLiteral("B&laderen…"), fraMap);
  cmdBladeren_->setObjectName("cmdBladeren");
  cmdBladeren_->setToolTip(QStringLiteral("Kies de map met het mappenvenster van het systeem"));
  auto* mapRegel = new QHBoxLayout;
  mapRegel->addWidget(lblMap_, 1);
  mapRegel->addWidget(cmdBladeren_);
  auto* mapIndeling = new QVBoxLayout(fraMap);
  mapIndeling->addWidget(lijsten_, 1);
  mapIndeling->addLayout(mapRegel);

  auto* fraNamen = new QGroupBox(QStringLiteral("Bestandsnamen"), this);
  cboFormaat_ = new QComboBox(fraNamen);
  cboFormaat_->setObjectName("cboFormaat");
  // In the table's order, so the index is the table's.
  for (const Formaatkeuze& f : resultaatformaten()) {
    cboFormaat_->addItem(QString::fromUtf8(f.label.data(), static_cast<qsizetype>(f.label.size())));
  }
  cboFormaat_->setToolTip(QStringLiteral("Oppervlaktelijnen en karakteristieke punten zijn de twee bestanden "
                                         "die de dijkbeoordelingssoftware inleest"));
  txtProfielen_ = new QLineEdit(QStringLiteral("output_profiel.csv"), fraNamen);
  txtProfielen_->setObjectName("txtProfielen");
  txtKarakteristiekePunten_ = new QLineEdit(fraNamen);
  txtKarakteristiekePunten_->setObjectName("txtKarakteristiekePunten");
  txtLogBestand_ = new QLineEdit(QStringLiteral("output_verwijderde_profielen.csv"), fraNamen);
  txtLogBestand_->setObjectName("txtLogBestand");
  txtLogBestand_->setEnabled(false);
  lblSamenvatting_ = new QLabel(fraNamen);
  lblSamenvatting_->setObjectName("lblSamenvatting");
  lblSamenvatting_->setWordWrap(true);
  auto* namen = new QFormLayout(fraNamen);
  namen->addRow(QStringLiteral("&Formaat:"), cboFormaat_);
  namen->addRow(QStringLiteral("&Profielen:"), txtProfielen_);
  namen->addRow(QStringLiteral("&Karakteristieke punten:"), txtKarakteristiekePunten_);
  namen->addRow(QStringLiteral("&Verwijderde profielen:"), txtLogBestand_);
  namen->addRow(lblSamenvatting_);

  cmdOpslaan_ = new QPushButton(QStringLiteral("Opslaan"), this);
  cmdOpslaan_->setObjectName("cmdOpslaan");
  cmdOpslaan_->setDefault(true);
  cmdStop_ = new QPushButton(QStringLiteral("Stop"), this);
  cmdStop_->setObjectName("cmdStop");
  cmdStop_->setEnabled(false);  // only once something has been saved
  // Back to the ditch screen as it was left, to look again or change an
  // edge after a save.
  auto* cmdTerug = new QPushButton(QStringLiteral("<< Terug"), this);
  cmdTerug->setObjectName("cmdTerug");
  cmdTerug->setToolTip(QStringLiteral("Terug naar de sloten (Alt+Links)"));
  connect(cmdTerug, &QPushButton::clicked, this, &FrmOpslaan::terug);
  auto* toetsTerug = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_Left), this);
  toetsTerug->setContext(Qt::WidgetWithChildrenShortcut);
  connect(toetsTerug, &QShortcut::activated, cmdTerug, &QPushButton::click);
  auto* knoppen = new QHBoxLayout;
  knoppen->addWidget(cmdTerug);
  knoppen->addStretch(1);
  knoppen->addWidget(cmdOpslaan_);
  knoppen->addWidget(cmdStop_);

  auto* indeling = new QVBoxLayout(this);
  indeling->addWidget(lblUitleg);
  indeling->addWidget(fraMap, 1);
  indeling->addWidget(fraNamen);
  indeling->addLayout(knoppen);

  connect(lijsten_, &MapKiezer::mapGewijzigd, this, &FrmOpslaan::toonMap);
  connect(cboFormaat_, &QComboBox::currentIndexChanged, this, &FrmOpslaan::toonNamen);
  connect(cmdBladeren_, &QPushButton::clicked, this, &FrmOpslaan::cmdBladeren_Click);
  connect(cmdOpslaan_, &QPushButton::clicked, this, &FrmOpslaan::cmdOpslaan_Click);
  // Opslaan is drawn as the default button; on a screen (not a dialog)
  // Enter in a name field reaches it only this way.
  connect(txtProfielen_, &QLineEdit::returnPressed, cmdOpslaan_, &QPushButton::click);
  connect(txtLogBestand_, &QLineEdit::returnPressed, cmdOpslaan_, &QPushButton::click);
  connect(cmdStop_, &QPushButton::clicked, this, &FrmOpslaan::cmdStop_Click);

  laad();

  // Start beside the input file, where the engineer keeps this job's files,
  // unless the last save for input from that folder went elsewhere: then
  // there again. Another job's results folder is never offered.
  const std::string& invoer = taak_.profielbestand();
  const QString invoerMap = invoer.empty() ? QString() : QFileInfo(QString::fromUtf8(invoer)).absolutePath();
  const bool zelfdeInvoer = !invoerMap.isEmpty() && onthoudenMap(mapOpslaanInvoer) == QDir(invoerMap).absolutePath();
  if (!(zelfdeInvoer && lijsten_->probeerMap(onthoudenMap(mapOpslaan))) && !lijsten_->probeerMap(invoerMap) &&
      !lijsten_->probeerMap(QDir::currentPath()) && !lijsten_->probeerMap(QDir::homePath())) {
    lijsten_->probeerMap(QDir::rootPath());
  }
  txtProfielen_->setFocus();
}

void FrmOpslaan::laad() {
  const ProfielStore& s = taak_.store();
  toonNamen();
  txtLogBestand_->setText(QString::fromStdString(taak_.standaardNaamVerwijderd()));
  txtLogBestand_->setEnabled(s.aantalVerwijderd() > 0);

  const QLocale taal;
  QString samenvatting = QStringLiteral("%1 profielen met samen %2 punten worden opgeslagen")
                             .arg(taal.toString(s.aantalProfielen()))
                             .arg(taal.toString(static_cast<qulonglong>(aantalPunten(s))));
  if (s.aantalVerwijderd() == 0) {
    samenvatting += QStringLiteral("; er zijn geen profielen verwijderd, dus geen lijst.");
  } else {
    samenvatting += QStringLiteral(", met de lijst van %1 verwijderde profiel%2: ")
                        .arg(s.aantalVerwijderd())
                        .arg(s.aantalVerwijderd() == 1 ? QString() : QStringLiteral("en"));
    // The names, so that the list can be checked before it is written; a
    // long list is cut short here (the file holds them all).
    constexpr int getoond = 10;
    QStringList namen;
    for (int i = 0; i < std::min(getoond, s.aantalVerwijderd()); ++i) {
      namen << tekstUitBestand(s.verwijderdeProfielen[static_cast<std::size_t>(i)]);
    }
    samenvatting += namen.join(QStringLiteral(", "));
    if (s.aantalVerwijderd() > getoond) {
      samenvatting += QStringLiteral(" en nog %1").arg(s.aantalVerwijderd() - getoond);
    }
    samenvatting += QLatin1Char('.');
  }
  // Written with the result without a field of its own: it must keep the
  // name the batch is given (--slootkanten), but the user should know.
  if (taak_.heeftSlootkeuzes()) {
    samenvatting += QStringLiteral(" De met de hand gekozen slootkanten gaan mee in %1.")
                        .arg(QString::fromStdString(taak_.naamSlootkanten()));
  }
  lblSamenvatting_->setText(samenvatting);
}

const Formaatkeuze& FrmOpslaan::formaat() const {
  const auto formaten = resultaatformaten();
  const int i = cboFormaat_->currentIndex();
  return i >= 0 && static_cast<std::size_t>(i) < formaten.size() ? formaten[static_cast<std::size_t>(i)]
                                                                  : formaten.front();
}

bool FrmOpslaan::oppervlaktelijnen() const { return formaat().naam == "oppervlaktelijnen"; }

void FrmOpslaan::zetOppervlaktelijnen(bool aan) {
  const auto formaten = resultaatformaten();
  const Formaatkeuze* gekozen = aan ? zoekResultaatformaat("oppervlaktelijnen") : &formaten.front();
  cboFormaat_->setCurrentIndex(static_cast<int>(gekozen - formaten.data()));
}

// The names the chosen format proposes; the user may change them after.
// The second name box is for a format of two files.
void FrmOpslaan::toonNamen() {
  const auto f = formaat().maak(taak_);
  const bool tweede = f->aantalBestanden() > 1;
  txtProfielen_->setText(QString::fromStdString(taak_.standaardNaamResultaat(*f, 0)));
  txtKarakteristiekePunten_->setText(tweede ? QString::fromStdString(taak_.standaardNaamResultaat(*f, 1)) : QString());
  txtKarakteristiekePunten_->setEnabled(tweede);
}

bool FrmOpslaan::zetMap(const QString& pad) { return lijsten_->zetMap(pad); }

QString FrmOpslaan::map() const { return lijsten_->map(); }

void FrmOpslaan::toonMap() {
  const QString pad = QDir::toNativeSeparators(lijsten_->map());
  // Said at once, not after the user filled in the names: a folder that
  // cannot take the files, and what an interrupted save left there (which
  // is dealt with now).
  std::vector<Melding> hersteld;
  const auto fout = controleerDoelmap(mapNaarPad(lijsten_->map()), &hersteld, true);
  for (const Melding& m : hersteld) toonMelding(m);
  QString tekst = QStringLiteral("Opslaan in: %1").arg(pad);
  if (fout) tekst += QStringLiteral(" (kan hier niet opslaan: %1)").arg(QString::fromStdString(fout->reden));
  lblMap_->setText(tekst);
  lblMap_->setToolTip(pad);
}

void FrmOpslaan::cmdOpslaan_Click() {
  const ProfielStore& s = taak_.store();
  const QString naamResultaat = txtProfielen_->text();
  const QString naamLijst = txtLogBestand_->text();
  const bool metLijst = s.aantalVerwijderd() > 0;
  const auto formaatNu = formaat().maak(taak_);
  const bool opl = formaatNu->aantalBestanden() > 1;
  const QString naamKrp = txtKarakteristiekePunten_->text();
  // The second line names the name that is wrong, as the writer's own
  // failures do.
  QString ongeldig;
  if (map().isEmpty()) {
    ongeldig = QStringLiteral("er is geen map gekozen");
  } else {
    for (const QString* naam : {&naamResultaat, metLijst ? &naamLijst : nullptr, opl ? &naamKrp : nullptr}) {
      if (naam && controleerBestandsnaam(naarPad(*naam)) != Naamfout::Geen) {
        ongeldig = QStringLiteral("'%1': geen geldige bestandsnaam").arg(*naam);
        break;
      }
    }
  }
  if (!ongeldig.isEmpty()) {
    toonBericht(QStringLiteral("Fout bij het opslaan, controleer bestandsnaam\n") + ongeldig, QStringLiteral("Fout!"),
                Icoon::Kritiek);
    return;
  }

  std::vector<std::string> namen{naarPad(naamResultaat)};
  if (opl) namen.push_back(naarPad(naamKrp));
  // A save replaces files without a trace of the old ones: ask first.
  const std::vector<std::string> bestaand = taak_.bestaandeDoelen(mapNaarPad(map()), namen, naarPad(naamLijst));
  if (!bestaand.empty()) {
    QString vraag;
    for (const std::string& pad : bestaand) {
      vraag += QDir::toNativeSeparators(QString::fromStdString(pad)) + QStringLiteral(" bestaat al.\n");
    }
    vraag += QStringLiteral("Overschrijven?");
    if (toonBericht(vraag, QStringLiteral("Let op!"), Icoon::Geen, Knoppen::JaNee) != Antwoord::Ja) return;
  }

  // What the importers will skip is told in one box, and written all the same.
  if (opl) {
    if (const auto waarschuwing = taak_.oppervlaktelijnen().waarschuwing(taak_.store())) toonMelding(*waarschuwing);
  }
  std::optional<Melding> fout;
  Opslagverslag verslag;
  {
    Zandloper zandloper;
    fout = taak_.slaOp(mapNaarPad(map()), namen, naarPad(naamLijst), decimaalteken(), *formaatNu, &verslag);
  }
  for (const Melding& m : verslag.hersteld) toonMelding(m);
  if (fout) {
    toonMelding(*fout);
    return;
  }
  lijsten_->verfris();
  lijsten_->markeerBestand(naamResultaat);
  onthoudMap(mapOpslaan, map());
  onthoudMap(mapOpslaanInvoer, QFileInfo(QString::fromUtf8(taak_.profielbestand())).absolutePath());
  toonMelding(meldingOpgeslagen(verslag));
  // The form stays open: the user may save again elsewhere, or stop.
  opgeslagen_ = true;
  cmdStop_->setEnabled(true);
}

void FrmOpslaan::cmdStop_Click() {
  if (vraagStoppen(stopVraag())) emit gestopt();
}

void FrmOpslaan::cmdBladeren_Click() {
  const QString pad = QFileDialog::getExistingDirectory(this, QStringLiteral("Map kiezen om op te slaan"), map());
  if (!pad.isEmpty()) zetMap(pad);
}

void FrmOpslaan::closeEvent(QCloseEvent* gebeurtenis) {
  // Before a save, closing throws the work away: say so.
  if (!vraagStoppen(opgeslagen_ ? stopVraag() : stopVraagNietOpgeslagen())) {
    gebeurtenis->ignore();
    return;
  }
  emit gestopt();
  gebeurtenis->accept();
}

}  // namespace zarvo::gui
