#include "schermen/frmpl.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressDialog>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QUndoStack>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

#include "schermen/rapport.h"
#include "ditch/slootzicht.h"
#include "schermen/slootprofieltekening.h"
#include "platform/beeldbalk.h"
#include "platform/berichten.h"
#include "platform/picturebox.h"
#include "platform/profielnavigatie.h"
#include "platform/qbcolor.h"
#include "platform/regionaal.h"
#include "platform/trajectoverzicht.h"
#include "basis/getallen.h"

namespace zarvo::gui {

namespace {

const QString tekstSelecteer = QStringLiteral("Selecteer slootkant rechts");
const QString tekstSelecteerLinks = QStringLiteral("Selecteer slootkant links");
const QString tekstAllesGeselecteerd = QStringLiteral("Alle punten zijn geselecteerd");

// A level as the line control can hold it: a finite single.
std::optional<double> peilAlsSingle(const QString& tekst) {
  const std::optional<double> waarde = leesGetalRegionaal(tekst);
  if (!waarde || std::fabs(*waarde) > std::numeric_limits<float>::max()) return std::nullopt;
  return waarde;
}

QString statusTekst(SlootStatus status) {
  switch (status) {
    case SlootStatus::Sloot: return QStringLiteral("sloot gebouwd");
    case SlootStatus::GeenSloot: return QStringLiteral("geen sloot");
    case SlootStatus::Fout: return QStringLiteral("fout");
  }
  return {};
}

}  // namespace

FrmPL::FrmPL(Taak& taak, QWidget* ouder) : QWidget(ouder), taak_(taak) {
  setObjectName("frmPL");
  setWindowTitle(QStringLiteral("Invoegen slootprofiel: "));

  // Picture with the crosshair and the two water-level lines.
  picDwarsprofiel_ = new PictureBox(this);
  picDwarsprofiel_->setObjectName("picDwarsprofiel");
  picDwarsprofiel_->setMinimumSize(400, 300);
  kruisdraadHorizontaal_ = picDwarsprofiel_->maakLijn("kruisdraadHorizontaal");
  kruisdraadVerticaal_ = picDwarsprofiel_->maakLijn("kruisdraadVerticaal");
  kruisdraadHorizontaal_->setKleur(qbColor(8));
  kruisdraadVerticaal_->setKleur(qbColor(8));
  kruisdraadHorizontaal_->setStijl(Qt::DotLine);
  kruisdraadVerticaal_->setStijl(Qt::DotLine);
  const QColor kleurBoezem = kleurBoezempeil();
  const QColor kleurPolder = kleurPolderpeil();
  const Peillijnen peillijnen = maakPeillijnen(*picDwarsprofiel_);
  lineBoezempeil_ = peillijnen.boezem;
  linePolderpeil_ = peillijnen.polder;
  connect(picDwarsprofiel_, &PictureBox::muisBeweegt, this, &FrmPL::muisBeweegt);
  // On a profile without a ditch a click chooses a ditch edge.
  connect(picDwarsprofiel_, &PictureBox::geklikt, this, &FrmPL::geklikt);
  // The point a click would choose, and the dike-side edge chosen first.
  for (auto* kruis : {&markeringMuis_, &markeringDijk_}) {
    const bool muis = kruis == &markeringMuis_;
    for (std::size_t i = 0; i < kruis->size(); ++i) {
      LineControl* lijn = picDwarsprofiel_->maakLijn(QStringLiteral("%1%2").arg(muis ? "markeringMuis" : "markeringDijk").arg(i));
      lijn->setKleur(muis ? qbColor(12) : qbColor(13));
      lijn->setVisible(false);
      (*kruis)[i] = lijn;
    }
  }

  auto maakLabel = [this](const QString& tekst, const char* naam) {
    auto* l = new QLabel(tekst, this);
    if (naam) l->setObjectName(naam);
    return l;
  };
  auto maakTekstvak = [this](const QString& tekst, const char* naam) {
    auto* t = new QLineEdit(tekst, this);
    t->setObjectName(naam);
    t->setMinimumWidth(70);
    t->setMaximumWidth(90);
    return t;
  };

  lblActiefProfiel_ = maakLabel(QString(), "lblActiefProfiel");
  QFont vet = lblActiefProfiel_->font();
  vet.setBold(true);
  lblActiefProfiel_->setFont(vet);
  // Profile names can be as long as a survey export makes them: such a name
  // is cut off at the window's edge instead of widening the window.
  lblActiefProfiel_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  lblAantalProfielen_ = maakLabel(QString(), "lblAantalProfielen");
  lblSelect_ = maakLabel(tekstSelecteer, "lblSelect");

  // Design-time texts; laad() replaces them with the regional start values.
  txtLiggingBoezempeil_ = maakTekstvak(QStringLiteral("-0.6"), "txtLiggingBoezempeil");
  txtLiggingPolderpeil_ = maakTekstvak(QStringLiteral("-4"), "txtLiggingPolderpeil");
  txtMaxDiepteSloot_ = maakTekstvak(QStringLiteral("1.5"), "txtMaxDiepteSloot");
  txtDieptefactor_ = maakTekstvak(QStringLiteral("0.2"), "txtDieptefactor");
  // Shown as the screen has always shown them, but the construction takes
  // the ditch's depth from the ditch file alone.
  for (QLineEdit* vak : {txtMaxDiepteSloot_, txtDieptefactor_}) {
    vak->setReadOnly(true);
    vak->setToolTip(QStringLiteral("Wordt bij het bouwen van de sloot niet gebruikt: de sloot volgt het slootbestand"));
  }

  auto* fraPeilen = new QGroupBox(QStringLiteral("Hulplijnen peilen"), this);
  fraPeilen->setObjectName("fraPeilen");
  auto* peilRaster = new QGridLayout(fraPeilen);
  auto* lblBoezemLijn = maakLabel(QStringLiteral("= Boezempeil"), "lblBoezemLijn");
  auto* lblPolderLijn = maakLabel(QStringLiteral("= Polderpeil"), "lblPolderLijn");
  // The captions explain the lines, so they carry the lines' colours.
  lblBoezemLijn->setStyleSheet(QStringLiteral("color: %1").arg(kleurBoezem.name()));
  lblPolderLijn->setStyleSheet(QStringLiteral("color: %1").arg(kleurPolder.name()));
  peilRaster->addWidget(maakLabel(QStringLiteral("Boezempeil (t.o.v. NAP):"), nullptr), 0, 0);
  peilRaster->addWidget(txtLiggingBoezempeil_, 0, 1);
  peilRaster->addWidget(lblBoezemLijn, 0, 2);
  peilRaster->addWidget(maakLabel(QStringLiteral("Polderpeil (t.o.v. NAP):"), nullptr), 1, 0);
  peilRaster->addWidget(txtLiggingPolderpeil_, 1, 1);
  peilRaster->addWidget(lblPolderLijn, 1, 2);
  cmdUpdate_ = new QPushButton(QStringLiteral("Update peilen"), this);
  cmdUpdate_->setObjectName("cmdUpdate");
  peilRaster->addWidget(cmdUpdate_, 2, 0, 1, 3);

  auto* instellingen = new QGridLayout;
  instellingen->addWidget(maakLabel(QStringLiteral("Maximale diepte sloot:"), nullptr), 0, 0);
  instellingen->addWidget(txtMaxDiepteSloot_, 0, 1);
  instellingen->addWidget(maakLabel(QStringLiteral("Dieptefactor (f)"), nullptr), 1, 0);
  instellingen->addWidget(txtDieptefactor_, 1, 1);

  cdmPuntCodes_ = new QPushButton(QStringLiteral("Toon puntcodes (kleuren)"), this);
  cdmPuntCodes_->setObjectName("cdmPuntCodes");

  navigatie_ = new ProfielNavigatie(this);
  // Walking only the profiles that failed, or got no ditch, is how the
  // outcomes of a whole trajectory are checked.
  cboFilter_ = new QComboBox(this);
  cboFilter_->setObjectName("cboFilter");
  cboFilter_->addItems({QStringLiteral("Alle profielen"), QStringLiteral("Alleen fout"),
                        QStringLiteral("Alleen geen sloot")});
  cboFilter_->setToolTip(QStringLiteral("Welke profielen Volgende en Vorige laten zien"));
  auto* lblBouwResultaat = maakLabel(QString(), "lblBouwResultaat");
  lblBouwResultaat->setWordWrap(true);

  cmdOK_ = new QPushButton(QStringLiteral("OK >>"), this);
  // Enter on a focused button presses that button, as on the review screen.
  cmdOK_->setAutoDefault(true);
  cmdOK_->setObjectName("cmdOK");
  cmdStop_ = new QPushButton(QStringLiteral("Stop"), this);
  cmdStop_->setObjectName("cmdStop");
  auto* cmdTerug = new QPushButton(QStringLiteral("<< Terug"), this);
  cmdTerug->setObjectName("cmdTerug");
  cmdTerug->setAutoDefault(true);
  cmdTerug->setToolTip(QStringLiteral("Terug naar de beoordeling van de profielen (Alt+Links)"));
  connect(cmdTerug, &QPushButton::clicked, this, &FrmPL::terug);
  auto* toetsTerug = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_Left), this);
  toetsTerug->setContext(Qt::WidgetWithChildrenShortcut);
  connect(toetsTerug, &QShortcut::activated, cmdTerug, &QPushButton::click);

  auto* paneel = new QVBoxLayout;
  // The trajectory coloured by what the construction did to each profile.
  overzicht_ = new TrajectOverzicht(this);
  overzicht_->setMinimumHeight(160);
  paneel->addWidget(overzicht_);
  auto* aantalRij = new QHBoxLayout;
  aantalRij->addWidget(maakLabel(QStringLiteral("Aantal profielen:"), nullptr));
  aantalRij->addWidget(lblAantalProfielen_, 1);
  paneel->addLayout(aantalRij);
  paneel->addWidget(fraPeilen);
  paneel->addLayout(instellingen);
  paneel->addWidget(cdmPuntCodes_);
  paneel->addWidget(lblBouwResultaat);
  paneel->addWidget(maakRecordVak());
  paneel->addWidget(maakMatenVak());
  chkMaaiveld_ = new QCheckBox(QStringLiteral("Oorspronkelijk maaiveld"), this);
  chkMaaiveld_->setObjectName("chkMaaiveld");
  chkMaaiveld_->setChecked(true);
  chkMaaiveld_->setToolTip(QStringLiteral("Toont gestippeld de gemeten punten die de sloot heeft vervangen"));
  paneel->addWidget(chkMaaiveld_);
  paneel->addStretch(1);

  auto* midden = new QHBoxLayout;
  auto* beeld = new QVBoxLayout;
  beeld->addWidget(picDwarsprofiel_, 1);
  beeld->addWidget(maakBeeldbalk());
  midden->addLayout(beeld, 1);
  // The panel scrolls instead of setting the window's height: on a laptop
  // screen of 768 pixels the buttons below it must stay on the screen.
  auto* paneelVlak = new QWidget;
  paneelVlak->setObjectName("paneelVlak");
  paneel->setContentsMargins(0, 0, 0, 0);
  paneelVlak->setLayout(paneel);
  auto* paneelRol = new QScrollArea(this);
  paneelRol->setObjectName("paneelRol");
  paneelRol->setWidget(paneelVlak);
  paneelRol->setWidgetResizable(true);
  paneelRol->setFrameShape(QFrame::NoFrame);
  paneelRol->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  // As wide as its contents, with room for the scroll bar when it shows.
  paneelRol->setMinimumWidth(paneelVlak->sizeHint().width() + paneelRol->verticalScrollBar()->sizeHint().width());
  midden->addWidget(paneelRol);

  auto* onder = new QHBoxLayout;
  onder->addWidget(cmdTerug);
  onder->addWidget(lblSelect_, 1);
  cmdSlootkantenOpnieuw_ = new QPushButton(QStringLiteral("Slootkanten opnieuw kiezen"), this);
  cmdSlootkantenOpnieuw_->setObjectName("cmdSlootkantenOpnieuw");
  cmdSlootkantenOpnieuw_->setToolTip(
      QStringLiteral("Dit profiel terug naar het gemeten maaiveld, om de slootkanten zelf aan te klikken (K)"));
  connect(cmdSlootkantenOpnieuw_, &QPushButton::clicked, this, &FrmPL::slootkantenOpnieuw);
  auto* toetsK = new QShortcut(QKeySequence(Qt::Key_K), this);
  toetsK->setContext(Qt::WidgetWithChildrenShortcut);
  connect(toetsK, &QShortcut::activated, cmdSlootkantenOpnieuw_, &QPushButton::click);
  onder->addWidget(cmdSlootkantenOpnieuw_);
  onder->addWidget(cmdOK_);
  onder->addWidget(cmdStop_);

  auto* indeling = new QVBoxLayout(this);
  indeling->addWidget(lblActiefProfiel_);
  indeling->addLayout(midden, 1);
  auto* navigatieRij = new QHBoxLayout;
  navigatieRij->addWidget(navigatie_, 1);
  navigatieRij->addWidget(cboFilter_);
  indeling->addLayout(navigatieRij);
  indeling->addLayout(onder);

  connect(navigatie_, &ProfielNavigatie::volgende, this, &FrmPL::volgende);
  connect(navigatie_, &ProfielNavigatie::vorige, this, &FrmPL::vorige);
  connect(navigatie_, &ProfielNavigatie::springNaar, this, &FrmPL::naarProfiel);
  navigatie_->installeerSneltoetsen(this, {picDwarsprofiel_});
  connect(cmdUpdate_, &QPushButton::clicked, this, &FrmPL::updatePeilen);
  // Enter after typing a level applies it, as "Update peilen" does.
  connect(txtLiggingBoezempeil_, &QLineEdit::returnPressed, this, &FrmPL::updatePeilen);
  connect(txtLiggingPolderpeil_, &QLineEdit::returnPressed, this, &FrmPL::updatePeilen);
  connect(cdmPuntCodes_, &QPushButton::clicked, this, &FrmPL::toonPuntCodes);
  connect(cboFilter_, &QComboBox::currentIndexChanged, this, &FrmPL::filterVeranderd);
  connect(overzicht_, &TrajectOverzicht::gekozen, this, &FrmPL::naarProfiel);
  connect(chkMaaiveld_, &QCheckBox::toggled, this, [this] {
    if (huidigProfiel_ >= 1) tekenProfielen(huidigProfiel_);
  });
  connect(cmdOK_, &QPushButton::clicked, this, &FrmPL::ok);
  verbindAltO(this, cmdOK_);
  connect(cmdStop_, &QPushButton::clicked, this, &FrmPL::stop);

  resize(1000, 650);
}

// The ditch-file record the construction used for the profile on screen,
// as written in the file: a record meant for another profile shows here.
QGroupBox* FrmPL::maakRecordVak() {
  auto* vak = new QGroupBox(QStringLiteral("Slootrecord"), this);
  vak->setObjectName("fraSlootrecord");
  auto* vorm = new QFormLayout(vak);
  static constexpr const char* namen[] = {"lblRecordNaam",        "lblRecordBodem", "lblRecordTaludDijk",
                                          "lblRecordTaludPolder", "lblRecordA",     "lblRecordB"};
  const auto& velden = slootrecordVelden();
  for (std::size_t i = 0; i < recordLabels_.size(); ++i) {
    auto* waarde = new QLabel(vak);
    waarde->setObjectName(namen[i]);
    waarde->setTextFormat(Qt::PlainText);
    waarde->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // A long name must not widen the window.
    waarde->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    vorm->addRow(velden[i].kop, waarde);
    recordLabels_[i] = waarde;
  }
  return vak;
}

QGroupBox* FrmPL::maakMatenVak() {
  auto* vak = new QGroupBox(QStringLiteral("Slootmaten"), this);
  vak->setObjectName("fraSlootmaten");
  auto* vorm = new QFormLayout(vak);
  static constexpr const char* namen[] = {"lblBovenbreedte", "lblBodembreedte",  "lblBodempeil",
                                          "lblDiepteDijk",   "lblDieptePolder",  "lblMaatTaludDijk",
                                          "lblMaatTaludPolder", "lblVervangen"};
  static_assert(std::size(namen) == aantalSlootmaten);
  for (std::size_t i = 0; i < matenLabels_.size(); ++i) {
    auto* waarde = new QLabel(vak);
    waarde->setObjectName(namen[i]);
    vorm->addRow(slootmatenKoppen()[i], waarde);
    matenLabels_[i] = waarde;
  }
  return vak;
}

void FrmPL::toonMaten(const Profiel& profiel, const Bouwfeiten& gebouwd) {
  const auto teksten = slootmatenTeksten(berekenSlootmaten(profiel, gebouwd));
  for (std::size_t i = 0; i < matenLabels_.size(); ++i) matenLabels_[i]->setText(teksten[i]);
}

const Bouwfeiten& FrmPL::bouwfeiten(std::int32_t profiel) const {
  static const Bouwfeiten geen;
  const std::vector<Bouwfeiten>& alle = taak_.bouwfeiten();
  return profiel >= 1 && static_cast<std::size_t>(profiel) <= alle.size()
             ? alle[static_cast<std::size_t>(profiel - 1)]
             : geen;
}

void FrmPL::toonRecord(const SlootRecord& record) {
  const auto& velden = slootrecordVelden();
  for (std::size_t i = 0; i < recordLabels_.size(); ++i) {
    const QString tekst = slootrecordTekst(record, velden[i].kolom);
    recordLabels_[i]->setText(tekst);
    recordLabels_[i]->setToolTip(tekst);
  }
}

void FrmPL::laad() {
  const ProfielStore& s = taak_.store();
  txtLiggingBoezempeil_->setText(getalNaarTekstRegionaal(-0.4));
  txtLiggingPolderpeil_->setText(getalNaarTekstRegionaal(-2));
  txtMaxDiepteSloot_->setText(getalNaarTekstRegionaal(1.5));
  txtDieptefactor_->setText(getalNaarTekstRegionaal(0.2));
  setWindowTitle(QStringLiteral("Invoegen slootprofiel: ") + QString::fromStdString(s.inputbestand));
  lblAantalProfielen_->setText(QString::number(s.aantalProfielen()));

  MeldingenReeks meldingen(s.inputbestand);
  {
    Zandloper zandloper;
    // Ten million points take seconds: show how far the building is. The
    // dialog appears only when it takes longer than half a second.
    QProgressDialog voortgang(QStringLiteral("De sloten worden gebouwd\u2026"), QString(), 0, 1000, this);
    voortgang.setObjectName("dlgBouwen");
    voortgang.setWindowTitle(QStringLiteral("Bezig met bouwen"));
    voortgang.setWindowModality(Qt::WindowModal);
    // Shown by the progress calls below, never by the dialog's own timer:
    // that one fires while a "Fout!" box waits for the user, puts the
    // window-modal dialog over the box and takes the keyboard from it.
    // (Its timer starts in the constructor, at four seconds; reset() stops it.)
    voortgang.setMinimumDuration(std::numeric_limits<int>::max());
    voortgang.reset();
    QElapsedTimer sindsVerf, sindsBegin;
    sindsVerf.start();
    sindsBegin.start();
    // This screen draws the ground each ditch replaced and the selection.
    taak_.zetSchermgegevensBewaren(true);
    slootStatussen_ = taak_.bouwSloten(meldingen, [&](std::size_t klaar, std::size_t totaal) {
      if (!voortgang.isVisible() && sindsBegin.elapsed() >= 500) voortgang.show();
      voortgang.setValue(totaal == 0 ? 1000 : static_cast<int>(1000.0 * static_cast<double>(klaar) / static_cast<double>(totaal)));
      if (sindsVerf.elapsed() >= 50) {
        sindsVerf.restart();
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
      }
    });
    voortgang.reset();
    vulStatusLijst();
    if (s.aantalProfielen() > 0) tekenProfielen(1);
  }
  meldingen.sluitAf();
  huidigProfiel_ = 1;
  if (s.aantalProfielen() > 0) toonKeuzeStand();
  knooppuntNummer_ = 2;
  navigatie_->zetHuidig(1);
  overzicht_->zetHuidig(1);
}

void FrmPL::vulStatusLijst() {
  std::vector<TrajectOverzicht::Lijn> lijnen;
  const ProfielStore& s = taak_.store();
  for (std::int32_t i = 1; i <= s.aantalProfielen(); ++i) {
    const Profiel& p = s.profiel(i);
    if (p.punten.empty()) continue;
    const auto status = static_cast<std::size_t>(i - 1) < slootStatussen_.size()
                            ? slootStatussen_[static_cast<std::size_t>(i - 1)]
                            : SlootStatus::GeenSloot;
    const int kleur = status == SlootStatus::Sloot ? 2 : status == SlootStatus::Fout ? 12 : 8;
    lijnen.push_back(TrajectOverzicht::Lijn::van(p, qbColor(kleur), i));
  }
  overzicht_->zetLijnen(std::move(lijnen));
  navigatie_->vernieuwLijst(taak_.store());
  int aantal[3] = {0, 0, 0};
  for (std::size_t i = 0; i < slootStatussen_.size(); ++i) {
    navigatie_->zetStatus(static_cast<int>(i) + 1, statusTekst(slootStatussen_[i]));
    ++aantal[static_cast<int>(slootStatussen_[i])];
  }
  if (auto* l = findChild<QLabel*>("lblBouwResultaat")) {
    l->setText(QStringLiteral("Sloot gebouwd: %1\nGeen sloot: %2\nFout: %3")
                   .arg(aantal[static_cast<int>(SlootStatus::Sloot)])
                   .arg(aantal[static_cast<int>(SlootStatus::GeenSloot)])
                   .arg(aantal[static_cast<int>(SlootStatus::Fout)]));
  }
}

void FrmPL::tekenProfielen(std::int32_t profielNummer) {
  const ProfielStore& s = taak_.store();
  const Profiel& profiel = s.profiel(profielNummer);
  PictureBox& pic = *picDwarsprofiel_;

  lblActiefProfiel_->setText(tekstUitBestand(profiel.naam) + QStringLiteral(" (") +
                             QString::number(profielNummer) + QLatin1Char('/') +
                             QString::number(s.aantalProfielen()) + QLatin1Char(')'));

  toonRecord(profiel.sloot);
  geometrie_ = berekenGeometrie(profiel);
  const Bouwfeiten& gebouwd = bouwfeiten(profielNummer);
  toonMaten(profiel, gebouwd);
  const Slootprofieltekening tekening =
      tekenSlootprofiel(pic, profiel, geometrie_, gebouwd, chkMaaiveld_->isChecked());
  schaal_ = tekening.schaal;
  if (tekening.selectieGevuld) {
    pic.setEnabled(false);
    lblSelect_->setText(tekstAllesGeselecteerd);
  }

  const double links = pic.scaleLeft();
  const double boven = pic.scaleTop();
  kruisdraadHorizontaal_->zet(links, boven, links + pic.scaleWidth(), boven);
  kruisdraadVerticaal_->zet(links, boven, links, boven + pic.scaleHeight());

  cmdZoomOpSloot_->setEnabled(slootKaderVan(profielNummer).has_value());
  if (profielNummer == huidigProfiel_) toonKeuzeStand();
  tekenPeilen(pic.scaleWidth());
}

bool FrmPL::kiesbaar() const {
  return huidigProfiel_ >= 1 && !bouwfeiten(huidigProfiel_).heeftSloot() &&
         taak_.profielVoorBouw(huidigProfiel_) != nullptr && picDwarsprofiel_->isEnabled();
}

std::int32_t FrmPL::voorlandPunten() const {
  const Profiel* voor = taak_.profielVoorBouw(huidigProfiel_);
  if (!voor || huidigProfiel_ < 1) return 0;
  const auto nu = static_cast<std::int32_t>(taak_.store().profiel(huidigProfiel_).punten.size());
  return std::max(0, nu - static_cast<std::int32_t>(voor->punten.size()));
}

std::int32_t FrmPL::dichtstbijzijndPunt(double x, double y) const {
  const PictureBox& pic = *picDwarsprofiel_;
  const QPointF muis = pic.naarPixel(QPointF(x, y));
  std::int32_t beste = 0;
  double besteAfstand = std::numeric_limits<double>::infinity();
  const auto n = static_cast<std::int32_t>(geometrie_.lz.size());
  // Distance on screen, not in metres: the picture is stretched in height.
  for (std::int32_t k = voorlandPunten(); k < n; ++k) {
    const LZPunt& p = geometrie_.lz[static_cast<std::size_t>(k)];
    const QPointF d = pic.naarPixel(QPointF(p.l, p.z)) - muis;
    const double afstand = d.x() * d.x() + d.y() * d.y();
    if (afstand < besteAfstand) {
      besteAfstand = afstand;
      beste = k + 1;
    }
  }
  return beste;
}

void FrmPL::zetMarkering(std::array<LineControl*, 2>& kruis, std::int32_t punt) {
  if (punt < 1 || static_cast<std::size_t>(punt) > geometrie_.lz.size()) {
    for (LineControl* lijn : kruis) lijn->setVisible(false);
    return;
  }
  // A cross of seven pixels each way, whatever the zoom.
  const PictureBox& pic = *picDwarsprofiel_;
  const LZPunt& p = geometrie_.lz[static_cast<std::size_t>(punt - 1)];
  const QPointF midden = pic.naarPixel(QPointF(p.l, p.z));
  const QPointF hoek = pic.naarWereld(midden + QPointF(7, 7));
  const double dl = std::fabs(hoek.x() - p.l);
  const double dz = std::fabs(hoek.y() - p.z);
  kruis[0]->zet(p.l - dl, p.z - dz, p.l + dl, p.z + dz);
  kruis[1]->zet(p.l - dl, p.z + dz, p.l + dl, p.z - dz);
  for (LineControl* lijn : kruis) lijn->setVisible(true);
}

// The prompt, the markers and the "opnieuw" button for the profile on
// screen. A profile without a ditch whose choice is still the codes' starts
// from its first code-5 point, as the construction would: then only the
// polder side is asked.
void FrmPL::toonKeuzeStand() {
  puntOnderMuis_ = 0;
  zetMarkering(markeringMuis_, 0);
  const Bouwfeiten& gebouwd = bouwfeiten(huidigProfiel_);
  const Profiel* voor = taak_.profielVoorBouw(huidigProfiel_);
  if (gebouwd.heeftSloot()) {
    gekozenDijk_ = 0;
    lblSelect_->setText(tekstAllesGeselecteerd);
  } else if (kiesbaar()) {
    if (gekozenDijk_ == 0 && !voor->slootkeuze()) {
      for (std::size_t j = 0; j < voor->punten.size(); ++j) {
        if (heeftCode(voor->punten[j], 5)) {
          gekozenDijk_ = static_cast<std::int32_t>(j + 1);
          break;
        }
      }
    }
    lblSelect_->setText(gekozenDijk_ == 0 ? tekstSelecteerLinks : tekstSelecteer);
  }
  zetMarkering(markeringDijk_, gekozenDijk_ == 0 ? 0 : gekozenDijk_ + voorlandPunten());
  const bool eigenKeuze = voor && voor->slootkeuze() && !voor->slootkeuze()->geenSloot();
  cmdSlootkantenOpnieuw_->setEnabled(voor && (gebouwd.heeftSloot() || eigenKeuze || gekozenDijk_ != 0));
}

void FrmPL::geklikt(double x, double y) {
  if (!kiesbaar()) return;
  const std::int32_t punt = dichtstbijzijndPunt(x, y);
  if (punt == 0) return;
  const std::int32_t nummer = punt - voorlandPunten();
  if (gekozenDijk_ == 0) {
    gekozenDijk_ = nummer;
    toonKeuzeStand();
    return;
  }
  if (nummer <= gekozenDijk_) {
    toonBericht(QStringLiteral("De slootkant aan de polderzijde moet verder in het profiel liggen dan die aan de "
                               "dijkzijde (punt %1). Kies een punt rechts daarvan, of kies met \"Slootkanten "
                               "opnieuw kiezen\" ook de dijkzijde opnieuw.")
                    .arg(gekozenDijk_),
                QStringLiteral("Let op!"), Icoon::Informatie);
    return;
  }
  const Profiel& voor = *taak_.profielVoorBouw(huidigProfiel_);
  const Punt& dijk = voor.punten[static_cast<std::size_t>(gekozenDijk_ - 1)];
  const Punt& polder = voor.punten[static_cast<std::size_t>(nummer - 1)];
  const Slootkeuze keuze{gekozenDijk_, nummer, dijk.x, dijk.y, polder.x, polder.y};
  gekozenDijk_ = 0;
  emit slootkeuzeGevraagd(huidigProfiel_, keuze);
}

void FrmPL::slootkantenOpnieuw() {
  if (huidigProfiel_ < 1 || !taak_.profielVoorBouw(huidigProfiel_)) return;
  gekozenDijk_ = 0;
  // Back to the surveyed ground with no edge chosen: both edges are asked.
  emit slootkeuzeGevraagd(huidigProfiel_, Slootkeuze{});
}

void FrmPL::toonNaSlootkeuze(std::int32_t profiel) {
  slootStatussen_ = taak_.slootStatussen();
  vulStatusLijst();
  const std::int32_t nu = huidigProfiel_;
  if (profiel == nu) {
    gekozenDijk_ = 0;
    picDwarsprofiel_->setEnabled(true);
    tekenProfielen(nu);
  } else {
    naarProfiel(profiel);
  }
}

void FrmPL::zetOngedaanStapel(QUndoStack* stapel) {
  ongedaan_ = stapel;
  // Only choices of edges: a deletion on the stack belongs to the review,
  // which is where it can be undone.
  auto volgende = [stapel](int i) {
    const QUndoCommand* opdracht = i >= 0 && i < stapel->count() ? stapel->command(i) : nullptr;
    return opdracht && opdracht->id() == slootkeuzeOpdrachtId;
  };
  auto* terug = new QShortcut(QKeySequence::Undo, this);
  terug->setContext(Qt::WidgetWithChildrenShortcut);
  connect(terug, &QShortcut::activated, this, [stapel, volgende] {
    if (stapel->canUndo() && volgende(stapel->index() - 1)) stapel->undo();
  });
  auto* weer = new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), this);
  weer->setContext(Qt::WidgetWithChildrenShortcut);
  connect(weer, &QShortcut::activated, this, [stapel, volgende] {
    if (stapel->canRedo() && volgende(stapel->index())) stapel->redo();
  });
}

QWidget* FrmPL::maakBeeldbalk() {
  PictureBox& pic = *picDwarsprofiel_;
  pic.setAssen({QStringLiteral("L (m)"), QStringLiteral("Z (m NAP)")});
  // Zoomed in, the crosshair still runs edge to edge.
  kruisdraadHorizontaal_->setSpanning(LineControl::Spanning::VolleBreedte);
  kruisdraadVerticaal_->setSpanning(LineControl::Spanning::VolleHoogte);

  auto* balk = new Beeldbalk(picDwarsprofiel_, [this] { return lblActiefProfiel_->text(); }, this);
  cmdZoomOpSloot_ = new QPushButton(QStringLiteral("Zoom op sloot"), balk);
  cmdZoomOpSloot_->setObjectName("cmdZoomOpSloot");
  cmdZoomOpSloot_->setToolTip(QStringLiteral("De sloot met 2 m aan weerszijden (S)"));
  auto* cmdRapport = new QPushButton(QStringLiteral("Rapport (PDF)…"), balk);
  cmdRapport->setObjectName("cmdRapport");
  cmdRapport->setToolTip(QStringLiteral("Een pagina per profiel: profiel, slootmaten en uitkomst"));
  // One button with a menu: two more on the row would not fit a laptop.
  auto* cmdExporteren = new QPushButton(QStringLiteral("Exporteren"), balk);
  cmdExporteren->setObjectName("cmdExporteren");
  cmdExporteren->setToolTip(QStringLiteral("De gebouwde profielen voor GIS of CAD"));
  auto* menu = new QMenu(cmdExporteren);
  QAction* kaart = menu->addAction(QStringLiteral("Exporteren naar kaart (GeoPackage)…"), this, &FrmPL::exporteerKaart);
  kaart->setObjectName("actExporteerKaart");
  QAction* dxf = menu->addAction(QStringLiteral("Exporteren naar DXF…"), this, &FrmPL::exporteerDxf);
  dxf->setObjectName("actExporteerDxf");
  cmdExporteren->setMenu(menu);
  balk->voegToe(cmdZoomOpSloot_);
  balk->voegToe(cmdRapport);
  balk->voegToe(cmdExporteren);
  connect(cmdZoomOpSloot_, &QPushButton::clicked, this, &FrmPL::zoomOpSloot);
  connect(cmdRapport, &QPushButton::clicked, this, &FrmPL::vraagRapport);
  Beeldbalk::installeerPassendToets(this, {balk});
  // S in a text field is still an S: line edits claim typed letters first.
  auto* toetsS = new QShortcut(QKeySequence(Qt::Key_S), this);
  toetsS->setContext(Qt::WidgetWithChildrenShortcut);
  connect(toetsS, &QShortcut::activated, cmdZoomOpSloot_, &QPushButton::click);
  return balk;
}

// The window of the ditch of the profile drawn last, as profile 'p'.
std::optional<std::pair<QPointF, QPointF>> FrmPL::slootKaderVan(std::int32_t p) const {
  const auto& feiten = taak_.bouwfeiten();
  if (p < 1 || static_cast<std::size_t>(p) > feiten.size()) return std::nullopt;
  const auto kader = slootKader(geometrie_, feiten[static_cast<std::size_t>(p - 1)]);
  if (!kader) return std::nullopt;
  return std::make_pair(QPointF(kader->links, kader->boven), QPointF(kader->rechts, kader->onder));
}

void FrmPL::zoomOpSloot() {
  if (const auto kader = slootKaderVan(huidigProfiel_)) picDwarsprofiel_->toonGebied(kader->first, kader->second);
}

void FrmPL::vraagRapport() {
  const QFileInfo invoer(QString::fromStdString(taak_.store().inputbestand));
  const QString voorstel = invoer.dir().filePath(QStringLiteral("rapport_") + invoer.completeBaseName() + ".pdf");
  const QString pad = QFileDialog::getSaveFileName(this, QStringLiteral("Rapport (PDF)"), voorstel,
                                                   QStringLiteral("PDF-document (*.pdf)"));
  if (pad.isEmpty()) return;
  std::optional<QString> fout;
  {
    Zandloper zandloper;
    // The levels as typed; a text that is no level gives what its line
    // shows. The old ground as chosen here.
    const RapportOpties opties{peilAlsSingle(txtLiggingBoezempeil_->text()).value_or(lineBoezempeil_->y1()),
                               peilAlsSingle(txtLiggingPolderpeil_->text()).value_or(linePolderpeil_->y1()),
                               chkMaaiveld_->isChecked()};
    fout = schrijfRapport(taak_, opties, pad);
  }
  if (fout) {
    toonBericht(*fout, QStringLiteral("Fout!"), Icoon::Kritiek);
    return;
  }
  meldOpgeslagen(pad);
}

std::optional<Melding> FrmPL::exporteerNaar(const QString& pad, std::optional<int> epsg) {
  const QFileInfo doel(pad);
  Opslagverslag verslag;
  std::optional<Melding> fout;
  {
    Zandloper zandloper;
    const GeoPackageformaat kaart(taak_.kaartinhoud(), epsg.value_or(epsgRdNieuw));
    const Dxfformaat dxf(taak_.kaartinhoud());
    fout = slaBestandOp(taak_.store(), QDir::toNativeSeparators(doel.absolutePath()).toStdString(),
                        doel.fileName().toStdString(),
                        epsg ? static_cast<const Resultaatformaat&>(kaart) : dxf, {taak_.karakteristiekePunten()},
                        &verslag);
  }
  for (const Melding& m : verslag.hersteld) toonMelding(m);
  return fout;
}

void FrmPL::exporteer(const QString& titel, const QString& extensie, const QString& filter, std::optional<int> epsg) {
  const QFileInfo invoer(QString::fromStdString(taak_.store().inputbestand));
  const QString voorstel = invoer.dir().filePath(invoer.completeBaseName() + extensie);
  const QString pad = QFileDialog::getSaveFileName(this, titel, voorstel, filter);
  if (pad.isEmpty()) return;
  if (const auto fout = exporteerNaar(pad, epsg)) {
    toonMelding(*fout);
    return;
  }
  meldOpgeslagen(pad);
}

void FrmPL::exporteerKaart() {
  // The survey's reference is only declared, never converted: the choice
  // says what the coordinates are, so another one is typed in by its code.
  bool ok = false;
  const QStringList keuzes{QStringLiteral("EPSG:28992"), QStringLiteral("EPSG:7415"), QStringLiteral("EPSG:4326")};
  const QString gekozen = QInputDialog::getItem(
      this, QStringLiteral("Exporteren naar kaart"),
      QStringLiteral("Coördinatenstelsel van de meting (RD New is EPSG:28992; de coördinaten worden niet omgerekend):"),
      keuzes, std::max<int>(0, static_cast<int>(keuzes.indexOf(crs_))), true, &ok);
  if (!ok) return;
  // A bare number is taken as the code it is.
  const QString code = gekozen.trimmed();
  const int epsg = leesEpsg((code.startsWith(QStringLiteral("EPSG:"), Qt::CaseInsensitive) ? code
                                                                                           : QStringLiteral("EPSG:") + code)
                                .toStdString());
  if (epsg == 0) {
    toonBericht(QStringLiteral("'%1' is geen code als EPSG:28992.").arg(gekozen), QStringLiteral("Fout!"), Icoon::Kritiek);
    return;
  }
  crs_ = QStringLiteral("EPSG:%1").arg(epsg);
  exporteer(QStringLiteral("Exporteren naar kaart (GeoPackage)"), QStringLiteral(".gpkg"),
            QStringLiteral("GeoPackage (*.gpkg)"), epsg);
}

void FrmPL::exporteerDxf() {
  exporteer(QStringLiteral("Exporteren naar DXF"), QStringLiteral(".dxf"), QStringLiteral("DXF-tekening (*.dxf)"),
            std::nullopt);
}

void FrmPL::tekenPeilen(double breedteVenster) {
  const std::optional<double> polderpeil = peilAlsSingle(txtLiggingPolderpeil_->text());
  const std::optional<double> boezempeil = peilAlsSingle(txtLiggingBoezempeil_->text());
  auto zet = [&](double boezem, double polder) {
    zetPeillijnen({lineBoezempeil_, linePolderpeil_}, breedteVenster, boezem, polder);
  };
  if (boezempeil && polderpeil) {
    zet(*boezempeil, *polderpeil);
    return;
  }
  zet(0.6, -2);
  toonBericht(QStringLiteral("De peilen zijn geen getal. Kan de waarden niet veranderen"),
              QStringLiteral("Fout!"), Icoon::Kritiek);
}

void FrmPL::naarProfiel(std::int32_t profiel) {
  if (profiel < 1 || profiel > taak_.store().aantalProfielen()) return;
  navigatie_->zetKnoppenActief(false);
  picDwarsprofiel_->setEnabled(true);
  kruisdraadHorizontaal_->setVisible(true);
  kruisdraadVerticaal_->setVisible(true);
  selectieTeller_ = 0;
  huidigProfiel_ = profiel;
  lblSelect_->setText(tekstSelecteer);
  knooppuntNummer_ = 2;
  gekozenDijk_ = 0;
  tekenProfielen(huidigProfiel_);
  navigatie_->zetHuidig(huidigProfiel_);
  overzicht_->zetHuidig(huidigProfiel_);
  navigatie_->zetKnoppenActief(true);
}

bool FrmPL::telt(std::int32_t profiel) const {
  const auto i = static_cast<std::size_t>(profiel - 1);
  switch (cboFilter_->currentIndex()) {
    case 1: return i < slootStatussen_.size() && slootStatussen_[i] == SlootStatus::Fout;
    case 2: return i < slootStatussen_.size() && slootStatussen_[i] == SlootStatus::GeenSloot;
    default: return true;
  }
}

// The next profile the filter lets through, in 'richting' (+1 or -1),
// wrapping; the current one when no other qualifies.
std::int32_t FrmPL::stap(int richting) const {
  const std::int32_t aantal = taak_.store().aantalProfielen();
  std::int32_t p = huidigProfiel_;
  for (std::int32_t i = 0; i < aantal; ++i) {
    p += richting;
    if (p > aantal) p = 1;
    if (p < 1) p = aantal;
    if (telt(p)) return p;
  }
  return huidigProfiel_;
}

void FrmPL::volgende() { naarProfiel(stap(+1)); }

void FrmPL::vorige() { naarProfiel(stap(-1)); }

void FrmPL::filterVeranderd() {
  const std::int32_t aantal = taak_.store().aantalProfielen();
  std::int32_t eerste = 0;
  for (std::int32_t p = 1; p <= aantal; ++p) {
    navigatie_->zetVerborgen(p, !telt(p));
    if (eerste == 0 && telt(p)) eerste = p;
  }
  if (eerste != 0 && !telt(huidigProfiel_)) naarProfiel(eerste);
  if (eerste == 0) {
    // Nothing to walk: said, and back to every profile, so that Volgende
    // and Vorige do not seem broken.
    toonBericht(QStringLiteral("Geen enkel profiel valt onder '%1'.").arg(cboFilter_->currentText()),
                QStringLiteral("Melding"), Icoon::Informatie);
    cboFilter_->setCurrentIndex(0);
  }
}

void FrmPL::muisBeweegt(double x, double y) {
  // The pointer position is held in single precision, like the picture's
  // scale, so the read-out and the crosshair agree with the scale edges.
  const float fx = static_cast<float>(x);
  const float fy = static_cast<float>(y);
  kruisdraadHorizontaal_->setVisible(true);
  kruisdraadVerticaal_->setVisible(true);
  QString uitlezing = uitleesLZ(fx, fy);
  if (kiesbaar()) {
    // The point a click would choose, with where it lies.
    puntOnderMuis_ = dichtstbijzijndPunt(x, y);
    zetMarkering(markeringMuis_, puntOnderMuis_);
    if (puntOnderMuis_ > 0) {
      const LZPunt& p = geometrie_.lz[static_cast<std::size_t>(puntOnderMuis_ - 1)];
      uitlezing += QStringLiteral("\nPunt %1: ").arg(puntOnderMuis_ - voorlandPunten()) + uitleesLZ(p.l, p.z);
    }
  }
  picDwarsprofiel_->setTooltipTekst(uitlezing);
  kruisdraadHorizontaal_->setY1(fy);
  kruisdraadHorizontaal_->setY2(fy);
  kruisdraadVerticaal_->setX1(fx);
  kruisdraadVerticaal_->setX2(fx);
  muispositieX_ = fx;
  muispositieY_ = fy;
}

void FrmPL::updatePeilen() { tekenPeilen(picDwarsprofiel_->scaleWidth()); }

void FrmPL::toonPuntCodes() { emit legendaGevraagd(); }

void FrmPL::ok() { emit klaar(); }

bool FrmPL::bevestigStop() {
  if (!vraagStoppen(stopVraagNietOpgeslagen())) return false;
  emit gestopt();
  return true;
}

void FrmPL::stop() { bevestigStop(); }

void FrmPL::closeEvent(QCloseEvent* gebeurtenis) {
  if (bevestigStop()) {
    gebeurtenis->accept();
  } else {
    gebeurtenis->ignore();
  }
}

}  // namespace zarvo::gui
