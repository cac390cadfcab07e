#include "schermen/frminput.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStringDecoder>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "platform/berichten.h"
#include "platform/instellingen.h"
#include "platform/mapkiezer.h"

namespace zarvo::gui {

namespace {

const QString mapInvoer = QStringLiteral("invoer");

// Surface lines for the dike-assessment software are *.csv as well.
const QString patroonProfiel = QStringLiteral("*.txt;*.asc;*.xyz;*.csv");
const QString patroonSloot = QStringLiteral("*.csv");

QString naarQ(const std::string& s) { return QString::fromStdString(s); }

// The first line of a file for the preview. Only the start of the file is
// read, so a huge file or one without line ends costs nothing. Survey files
// from older tools are often not UTF-8; fall back to Latin-1 then.
QString eersteRegel(const QString& pad) {
  QFile bestand(pad);
  if (!bestand.open(QIODevice::ReadOnly)) return QStringLiteral("(bestand niet leesbaar)");
  QByteArray begin = bestand.read(4096);
  qsizetype einde = begin.indexOf('\n');
  if (einde >= 0) begin.truncate(einde);
  if (begin.endsWith('\r')) begin.chop(1);
  if (begin.startsWith("\xEF\xBB\xBF")) begin.remove(0, 3);
  QStringDecoder utf8(QStringDecoder::Utf8);
  QString tekst = utf8(begin);
  if (utf8.hasError()) tekst = QString::fromLatin1(begin);
  if (tekst.isEmpty()) return bestand.size() == 0 ? QStringLiteral("(leeg bestand)") : QString();
  return tekst;
}

QLineEdit* maakPadVeld(QWidget* ouder, const char* naam) {
  auto* veld = new QLineEdit(ouder);
  veld->setObjectName(naam);
  veld->setReadOnly(true);
  veld->setPlaceholderText(QStringLiteral("(nog niet gekozen)"));
  veld->setFocusPolicy(Qt::ClickFocus);
  return veld;
}

}  // namespace

FrmInput::FrmInput(Taak& taak, QWidget* ouder) : QWidget(ouder), taak_(taak) {
  setObjectName("frmInput");
  setWindowTitle(QStringLiteral("Zarvo-Edit - Invoerbestanden kiezen"));

  lblStap_ = new QLabel(this);
  lblStap_->setObjectName("lblStap");
  QFont vet = lblStap_->font();
  vet.setBold(true);
  vet.setPointSizeF(vet.pointSizeF() * 1.15);
  lblStap_->setFont(vet);

  // The two files and which one the lists are choosing now.
  auto* fraKeuze = new QGroupBox(QStringLiteral("Gekozen bestanden"), this);
  fraKeuze->setObjectName("fraKeuze");
  optProfielbestand_ = new QRadioButton(QStringLiteral("&Profielbestand:"), fraKeuze);
  optProfielbestand_->setObjectName("optProfielbestand");
  optSlootbestand_ = new QRadioButton(QStringLiteral("S&lootbestand:"), fraKeuze);
  optSlootbestand_->setObjectName("optSlootbestand");
  optKarakteristiekePunten_ = new QRadioButton(QStringLiteral("&Karakteristieke punten:"), fraKeuze);
  optKarakteristiekePunten_->setObjectName("optKarakteristiekePunten");
  optKarakteristiekePunten_->setToolTip(
      QStringLiteral("Alleen bij oppervlaktelijnen, en alleen als de karakteristieke punten niet als "
                     "<naam>.krp.csv naast het profielbestand staan"));
  auto* groep = new QButtonGroup(this);
  groep->addButton(optProfielbestand_);
  groep->addButton(optSlootbestand_);
  groep->addButton(optKarakteristiekePunten_);
  txtProfielbestand_ = maakPadVeld(fraKeuze, "txtProfielbestand");
  txtSlootbestand_ = maakPadVeld(fraKeuze, "txtSlootbestand");
  txtKarakteristiekePunten_ = maakPadVeld(fraKeuze, "txtKarakteristiekePunten");
  txtKarakteristiekePunten_->setPlaceholderText(QStringLiteral("(naast het profielbestand, als dat er is)"));
  auto* keuzeIndeling = new QGridLayout(fraKeuze);
  keuzeIndeling->addWidget(optProfielbestand_, 0, 0);
  keuzeIndeling->addWidget(txtProfielbestand_, 0, 1);
  keuzeIndeling->addWidget(optSlootbestand_, 1, 0);
  keuzeIndeling->addWidget(txtSlootbestand_, 1, 1);
  keuzeIndeling->addWidget(optKarakteristiekePunten_, 2, 0);
  keuzeIndeling->addWidget(txtKarakteristiekePunten_, 2, 1);
  keuzeIndeling->setColumnStretch(1, 1);

  // Drive, folder and file lists; the file pattern follows the step.
  lijsten_ = new MapKiezer(this);
  lijsten_->zetBestandenKop(QStringLiteral("Bestan&den (%1):"));
  lijsten_->bestandenKop()->setObjectName("lblPatroon");

  // First line of the chosen file.
  auto* fraEersteRegel = new QGroupBox(QStringLiteral("Eerste regel van het bestand"), this);
  fraEersteRegel->setObjectName("fraEersteRegel");
  lblEersteRegel_ = new QLabel(fraEersteRegel);
  lblEersteRegel_->setObjectName("lblEersteRegel");
  lblEersteRegel_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  lblEersteRegel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  lblEersteRegel_->setTextFormat(Qt::PlainText);
  // A long line must not widen the window; it is clipped and shown whole
  // in the tooltip.
  lblEersteRegel_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  auto* regelIndeling = new QVBoxLayout(fraEersteRegel);
  regelIndeling->addWidget(lblEersteRegel_);

  cmdBladeren_ = new QPushButton(QStringLiteral("&Bladeren…"), this);
  cmdBladeren_->setObjectName("cmdBladeren");
  cmdWissen_ = new QPushButton(QStringLiteral("&Wissen"), this);
  cmdWissen_->setObjectName("cmdWissen");
  cmdWissen_->setToolTip(QStringLiteral("Maakt de keuze van beide bestanden leeg"));
  cmdOK_ = new QPushButton(QStringLiteral("OK"), this);
  cmdOK_->setObjectName("cmdOK");
  cmdOK_->setDefault(true);
  cmdStop_ = new QPushButton(QStringLiteral("&Stop"), this);
  cmdStop_->setObjectName("cmdStop");
  auto* knoppen = new QHBoxLayout;
  knoppen->addWidget(cmdBladeren_);
  knoppen->addWidget(cmdWissen_);
  knoppen->addStretch(1);
  knoppen->addWidget(cmdOK_);
  knoppen->addWidget(cmdStop_);

  auto* indeling = new QVBoxLayout(this);
  indeling->addWidget(lblStap_);
  indeling->addWidget(fraKeuze);
  indeling->addWidget(lijsten_, 1);
  indeling->addWidget(fraEersteRegel);
  indeling->addLayout(knoppen);

  setTabOrder(optProfielbestand_, optSlootbestand_);
  setTabOrder(optSlootbestand_, optKarakteristiekePunten_);
  setTabOrder(optKarakteristiekePunten_, lijsten_->drive1());
  setTabOrder(lijsten_->drive1(), lijsten_->dir1());
  setTabOrder(lijsten_->dir1(), lijsten_->file1());
  setTabOrder(lijsten_->file1(), cmdBladeren_);
  setTabOrder(cmdBladeren_, cmdWissen_);
  setTabOrder(cmdWissen_, cmdOK_);
  setTabOrder(cmdOK_, cmdStop_);

  connect(optProfielbestand_, &QRadioButton::toggled, this,
          [this](bool aan) { if (aan) zetStap(Stap::Profielbestand); });
  connect(optSlootbestand_, &QRadioButton::toggled, this,
          [this](bool aan) { if (aan) zetStap(Stap::Slootbestand); });
  connect(optKarakteristiekePunten_, &QRadioButton::toggled, this,
          [this](bool aan) { if (aan) zetStap(Stap::KarakteristiekePunten); });
  // A new folder shows the file chosen there earlier, if any.
  connect(lijsten_, &MapKiezer::mapGewijzigd, this, &FrmInput::selecteerGekozenBestand);
  connect(lijsten_, &MapKiezer::bestandGeklikt, this, &FrmInput::File1_Click);
  connect(lijsten_, &MapKiezer::bestandGekozen, this, &FrmInput::File1_DblClick);
  connect(cmdBladeren_, &QPushButton::clicked, this, &FrmInput::cmdBladeren_Click);
  connect(cmdWissen_, &QPushButton::clicked, this, &FrmInput::cmdWissen_Click);
  connect(cmdOK_, &QPushButton::clicked, this, &FrmInput::cmdOK_Click);
  connect(cmdStop_, &QPushButton::clicked, this, &FrmInput::cmdStop_Click);

  // Start where the choice the job holds points; otherwise where the last
  // run's files were, or else in the working folder (from a start menu that
  // is the program's own). No message here: the form is not even visible yet.
  QString start;
  if (!taak_.slootbestand().empty()) {
    start = QFileInfo(naarQ(taak_.slootbestand())).absolutePath();
  } else if (!taak_.profielbestand().empty()) {
    start = QFileInfo(naarQ(taak_.profielbestand())).absolutePath();
  } else {
    start = onthoudenMap(mapInvoer);
    if (start.isEmpty()) start = QDir::currentPath();
  }
  if (!lijsten_->probeerMap(start) && !lijsten_->probeerMap(QDir::homePath())) {
    lijsten_->probeerMap(QDir::rootPath());
  }
  zetStap(taak_.profielbestand().empty() ? Stap::Profielbestand : Stap::Slootbestand);
}

void FrmInput::zetStap(Stap stap) {
  stap_ = stap;
  const bool profiel = stap == Stap::Profielbestand;
  {
    const QSignalBlocker b1(optProfielbestand_);
    const QSignalBlocker b2(optSlootbestand_);
    const QSignalBlocker b3(optKarakteristiekePunten_);
    optProfielbestand_->setChecked(profiel);
    optSlootbestand_->setChecked(stap == Stap::Slootbestand);
    optKarakteristiekePunten_->setChecked(stap == Stap::KarakteristiekePunten);
  }
  lblStap_->setText(profiel                       ? QStringLiteral("Stap 1 van 2: kies het profielbestand")
                    : stap == Stap::Slootbestand ? QStringLiteral("Stap 2 van 2: kies het slootbestand")
                                                 : QStringLiteral("Kies de karakteristieke punten bij de oppervlaktelijnen"));
  // Back to a file chosen earlier for this step, wherever it lies.
  const QString gekozen = gekozenPad();
  if (!gekozen.isEmpty()) {
    const QString gekozenMap = QFileInfo(gekozen).absolutePath();
    if (gekozenMap != map()) lijsten_->probeerMap(gekozenMap);
  }
  lijsten_->zetPatroon(profiel ? patroonProfiel : patroonSloot);
  selecteerGekozenBestand();
  toonKeuze();
}

bool FrmInput::zetMap(const QString& pad) { return lijsten_->zetMap(pad); }

QString FrmInput::map() const { return lijsten_->map(); }

void FrmInput::selecteerGekozenBestand() {
  const QFileInfo gekozen(gekozenPad());
  const bool hier = !gekozen.fileName().isEmpty() && gekozen.absolutePath() == map();
  lijsten_->markeerBestand(hier ? gekozen.fileName() : QString());
}

QString FrmInput::gekozenPad() const {
  switch (stap_) {
    case Stap::Profielbestand: return naarQ(taak_.profielbestand());
    case Stap::Slootbestand: return naarQ(taak_.slootbestand());
    case Stap::KarakteristiekePunten: return naarQ(taak_.karakteristiekePunten());
  }
  return {};
}

void FrmInput::keyPressEvent(QKeyEvent* gebeurtenis) {
  // The file list takes Enter itself (it chooses the file), so it never
  // arrives here from there.
  if ((gebeurtenis->key() == Qt::Key_Return || gebeurtenis->key() == Qt::Key_Enter) &&
      gebeurtenis->modifiers() == Qt::NoModifier) {
    cmdOK_->click();
    return;
  }
  QWidget::keyPressEvent(gebeurtenis);
}

void FrmInput::kiesBestand(const QString& pad) {
  const std::string gekozen = QFileInfo(pad).absoluteFilePath().toStdString();
  if (stap_ == Stap::Profielbestand) {
    taak_.zetBestanden(gekozen, taak_.slootbestand());
  } else if (stap_ == Stap::Slootbestand) {
    taak_.zetBestanden(taak_.profielbestand(), gekozen);
  } else {
    taak_.zetKarakteristiekePunten(gekozen);
  }
  toonKeuze();
}

void FrmInput::toonKeuze() {
  txtProfielbestand_->setText(QDir::toNativeSeparators(naarQ(taak_.profielbestand())));
  txtSlootbestand_->setText(QDir::toNativeSeparators(naarQ(taak_.slootbestand())));
  txtKarakteristiekePunten_->setText(QDir::toNativeSeparators(naarQ(taak_.karakteristiekePunten())));
  txtProfielbestand_->setCursorPosition(0);
  txtSlootbestand_->setCursorPosition(0);
  txtKarakteristiekePunten_->setCursorPosition(0);
  const QString pad = gekozenPad();
  const QString regel = pad.isEmpty() ? QString() : eersteRegel(pad);
  lblEersteRegel_->setText(regel);
  lblEersteRegel_->setToolTip(regel);
}

void FrmInput::File1_Click(const QString& naam) { kiesBestand(QDir(map()).filePath(naam)); }

// Double-click (or Enter) chooses the file: the profile-lines file moves on
// to the ditch file, the ditch file goes on as OK does.
void FrmInput::File1_DblClick(const QString& naam) {
  File1_Click(naam);
  if (stap_ == Stap::Profielbestand) {
    zetStap(Stap::Slootbestand);
    return;
  }
  cmdOK_Click();
}

void FrmInput::cmdBladeren_Click() {
  const bool profiel = stap_ == Stap::Profielbestand;
  const QString pad = QFileDialog::getOpenFileName(
      this,
      profiel                       ? QStringLiteral("Profielbestand kiezen")
      : stap_ == Stap::Slootbestand ? QStringLiteral("Slootbestand kiezen")
                                    : QStringLiteral("Karakteristieke punten kiezen"),
      map(),
      profiel ? QStringLiteral("Profielbestanden (*.txt *.asc *.xyz *.csv);;Alle bestanden (*)")
      : stap_ == Stap::Slootbestand ? QStringLiteral("Slootbestanden (*.csv);;Alle bestanden (*)")
                                    : QStringLiteral("Karakteristieke punten (*.csv);;Alle bestanden (*)"));
  if (pad.isEmpty()) return;
  if (!zetMap(QFileInfo(pad).absolutePath())) return;
  kiesBestand(pad);
  selecteerGekozenBestand();
  if (profiel) zetStap(Stap::Slootbestand);
}

void FrmInput::cmdWissen_Click() {
  taak_.zetBestanden({}, {});
  taak_.zetKarakteristiekePunten({});
  zetStap(Stap::Profielbestand);
}

void FrmInput::cmdOK_Click() {
  if (taak_.profielbestand().empty()) {
    toonBericht(QStringLiteral("Selecteer eerst een invoerbestand alvorens verder te gaan"),
                QStringLiteral("Let op!"), Icoon::Informatie);
    zetStap(Stap::Profielbestand);
    return;
  }
  if (taak_.slootbestand().empty()) {
    toonBericht(QStringLiteral("Selecteer nu het slootbestand (*.csv) alvorens verder te gaan"),
                QStringLiteral("Let op!"), Icoon::Informatie);
    zetStap(Stap::Slootbestand);
    return;
  }
  onthoudMap(mapInvoer, QFileInfo(naarQ(taak_.profielbestand())).absolutePath());
  emit bestandenGekozen();
}

void FrmInput::cmdStop_Click() {
  if (vraagStoppen(stopVraag())) emit gestopt();
}

}  // namespace zarvo::gui
