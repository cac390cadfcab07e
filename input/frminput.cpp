#include "input/frminput.h"

#include <QApplication>
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
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStorageInfo>
#include <QStringDecoder>
#include <QStyle>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "input/frmladen.h"
#include "platform/berichten.h"
#include "review/frmgraphicview.h"
#include "shell/schermen.h"

namespace zarvo::gui {

namespace {

const QString patroonProfiel = QStringLiteral("*.txt;*.asc;*.xyz");
const QString patroonSloot = QStringLiteral("*.csv");

constexpr int padRol = Qt::UserRole;

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

bool isLeesbareMap(const QString& pad) {
  QFileInfo info(pad);
  return info.isDir() && info.isReadable() && info.isExecutable();
}

}  // namespace

FrmInput::FrmInput(QWidget* ouder) : QWidget(ouder) {
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
  auto* groep = new QButtonGroup(this);
  groep->addButton(optProfielbestand_);
  groep->addButton(optSlootbestand_);
  txtProfielbestand_ = maakPadVeld(fraKeuze, "txtProfielbestand");
  txtSlootbestand_ = maakPadVeld(fraKeuze, "txtSlootbestand");
  auto* keuzeIndeling = new QGridLayout(fraKeuze);
  keuzeIndeling->addWidget(optProfielbestand_, 0, 0);
  keuzeIndeling->addWidget(txtProfielbestand_, 0, 1);
  keuzeIndeling->addWidget(optSlootbestand_, 1, 0);
  keuzeIndeling->addWidget(txtSlootbestand_, 1, 1);
  keuzeIndeling->setColumnStretch(1, 1);

  // Drive, folder and file lists.
  drive1_ = new QComboBox(this);
  drive1_->setObjectName("Drive1");
  auto* lblStation = new QLabel(QStringLiteral("S&tation:"), this);
  lblStation->setBuddy(drive1_);

  dir1_ = new QTreeWidget(this);
  dir1_->setObjectName("Dir1");
  dir1_->setHeaderHidden(true);
  dir1_->setRootIsDecorated(false);
  dir1_->setItemsExpandable(false);
  dir1_->setExpandsOnDoubleClick(false);
  dir1_->setUniformRowHeights(true);
  auto* lblMappen = new QLabel(QStringLiteral("&Mappen:"), this);
  lblMappen->setBuddy(dir1_);

  file1_ = new QListWidget(this);
  file1_->setObjectName("File1");
  file1_->setUniformItemSizes(true);
  lblPatroon_ = new QLabel(this);
  lblPatroon_->setObjectName("lblPatroon");
  lblPatroon_->setBuddy(file1_);

  auto* lijsten = new QGridLayout;
  lijsten->addWidget(lblStation, 0, 0);
  lijsten->addWidget(drive1_, 1, 0);
  lijsten->addWidget(lblMappen, 2, 0);
  lijsten->addWidget(dir1_, 3, 0);
  lijsten->addWidget(lblPatroon_, 0, 1, 3, 1, Qt::AlignBottom);
  lijsten->addWidget(file1_, 3, 1);
  lijsten->setColumnStretch(0, 1);
  lijsten->setColumnStretch(1, 1);
  lijsten->setRowStretch(3, 1);

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
  indeling->addLayout(lijsten, 1);
  indeling->addWidget(fraEersteRegel);
  indeling->addLayout(knoppen);

  setTabOrder(optProfielbestand_, optSlootbestand_);
  setTabOrder(optSlootbestand_, drive1_);
  setTabOrder(drive1_, dir1_);
  setTabOrder(dir1_, file1_);
  setTabOrder(file1_, cmdBladeren_);
  setTabOrder(cmdBladeren_, cmdWissen_);
  setTabOrder(cmdWissen_, cmdOK_);
  setTabOrder(cmdOK_, cmdStop_);

  connect(optProfielbestand_, &QRadioButton::toggled, this,
          [this](bool aan) { if (aan) zetStap(Stap::Profielbestand); });
  connect(optSlootbestand_, &QRadioButton::toggled, this,
          [this](bool aan) { if (aan) zetStap(Stap::Slootbestand); });
  connect(drive1_, &QComboBox::currentIndexChanged, this, &FrmInput::Drive1_Change);
  // Double-clicks rebuild or close the lists they come from; they are
  // handled once the list has finished with its own event.
  connect(dir1_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
    QTimer::singleShot(0, this, [this, pad = item->data(0, padRol).toString()] { zetMap(pad); });
  });
  // Clicks and keyboard moves both select; a list merely gaining the focus
  // does not, so tabbing through the form chooses nothing.
  connect(file1_, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) { File1_Click(item->text()); });
  connect(file1_, &QListWidget::itemSelectionChanged, this, [this] {
    const auto gekozen = file1_->selectedItems();
    if (!gekozen.isEmpty()) File1_Click(gekozen.front()->text());
  });
  connect(file1_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
    QTimer::singleShot(0, this, [this, naam = item->text()] { File1_DblClick(naam); });
  });
  connect(cmdBladeren_, &QPushButton::clicked, this, &FrmInput::cmdBladeren_Click);
  connect(cmdWissen_, &QPushButton::clicked, this, &FrmInput::cmdWissen_Click);
  connect(cmdOK_, &QPushButton::clicked, this, &FrmInput::cmdOK_Click);
  connect(cmdStop_, &QPushButton::clicked, this, &FrmInput::cmdStop_Click);
  dir1_->installEventFilter(this);
  file1_->installEventFilter(this);

  vulStations();

  // Start where the choice already in the store points; otherwise in the
  // working folder. No message here: the form is not even visible yet.
  const ProfielStore& s = store();
  QString start = QDir::currentPath();
  if (!s.bestandSloot.empty()) {
    start = QFileInfo(naarQ(s.bestandSloot)).absolutePath();
  } else if (!s.inputbestand.empty()) {
    start = QFileInfo(naarQ(s.inputbestand)).absolutePath();
  }
  if (!laadMap(start) && !laadMap(QDir::homePath())) laadMap(QDir::rootPath());
  zetStap(s.inputbestand.empty() ? Stap::Profielbestand : Stap::Slootbestand);
}

QStringList FrmInput::zetVoorkeuze(const QString& profielbestand, const QString& slootbestand) {
  QStringList waarschuwingen;
  ProfielStore& s = store();
  auto neem = [&](const QString& pad, std::string& doel) {
    if (pad.isEmpty()) return;
    QFileInfo info(pad);
    if (!info.isFile()) {
      waarschuwingen << QStringLiteral("Bestand niet gevonden: %1").arg(pad);
      return;
    }
    doel = info.absoluteFilePath().toStdString();
    s.bestandsnaam = info.fileName().toStdString();
  };
  neem(profielbestand, s.inputbestand);
  neem(slootbestand, s.bestandSloot);
  return waarschuwingen;
}

void FrmInput::zetStap(Stap stap) {
  stap_ = stap;
  const bool profiel = stap == Stap::Profielbestand;
  {
    const QSignalBlocker b1(optProfielbestand_);
    const QSignalBlocker b2(optSlootbestand_);
    optProfielbestand_->setChecked(profiel);
    optSlootbestand_->setChecked(!profiel);
  }
  lblStap_->setText(profiel ? QStringLiteral("Stap 1 van 2: kies het profielbestand")
                            : QStringLiteral("Stap 2 van 2: kies het slootbestand"));
  lblPatroon_->setText(QStringLiteral("Bestan&den (%1):").arg(profiel ? patroonProfiel : patroonSloot));
  // Back to a file chosen earlier for this step, wherever it lies.
  const QString gekozen = gekozenPad();
  if (!gekozen.isEmpty()) {
    const QString gekozenMap = QFileInfo(gekozen).absolutePath();
    if (gekozenMap != map_ && isLeesbareMap(gekozenMap)) laadMap(gekozenMap);
  }
  vulBestanden();
  toonKeuze();
}

bool FrmInput::zetMap(const QString& pad) {
  if (laadMap(pad)) return true;
  toonBericht(QStringLiteral("Kan niet lezen vanaf het geselecteerde station, kies een ander station"),
              QStringLiteral("Leesfout!"), Icoon::Kritiek);
  return false;
}

bool FrmInput::laadMap(const QString& pad) {
  if (!isLeesbareMap(pad)) return false;
  map_ = QDir(pad).absolutePath();
  vulMappen();
  vulBestanden();
  kiesStationVoorMap();
  return true;
}

void FrmInput::vulStations() {
  const QSignalBlocker blokkeer(drive1_);
  drive1_->clear();
  const QIcon icoon = style()->standardIcon(QStyle::SP_DriveHDIcon);
  auto voegToe = [&](const QString& tekst, const QString& wortel) {
    if (drive1_->findData(wortel, padRol) >= 0) return;
    drive1_->addItem(icoon, tekst, wortel);
  };
#ifdef Q_OS_WIN
  for (const QFileInfo& station : QDir::drives()) voegToe(QDir::toNativeSeparators(station.absolutePath()), station.absolutePath());
#else
  // No drive letters here: the root, the home folder and the mounted data
  // volumes stand in for them. System and virtual mounts would only clutter.
  voegToe(QStringLiteral("/"), QStringLiteral("/"));
  voegToe(QStringLiteral("Persoonlijke map (%1)").arg(QDir::homePath()), QDir::homePath());
  static const QStringList systeem = {"/boot", "/dev", "/etc", "/proc", "/run", "/snap", "/sys", "/usr", "/var"};
  static const QStringList virtueel = {"squashfs", "tmpfs", "devtmpfs", "proc", "sysfs", "cgroup", "cgroup2", "overlay"};
  for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
    const QString wortel = volume.rootPath();
    if (!volume.isValid() || !volume.isReady() || volume.isRoot() || !QFileInfo(wortel).isDir()) continue;
    if (virtueel.contains(QString::fromLatin1(volume.fileSystemType()))) continue;
    const bool media = wortel.startsWith("/run/media/") || wortel.startsWith("/media/");
    const bool systeemMap = std::any_of(systeem.begin(), systeem.end(), [&](const QString& s) {
      return wortel == s || wortel.startsWith(s + '/');
    });
    if (systeemMap && !media) continue;
    const QString naam = volume.displayName();
    voegToe(naam == wortel ? wortel : QStringLiteral("%1 (%2)").arg(naam, wortel), wortel);
  }
#endif
}

// Shows the drive the current folder lies on: the longest matching root.
void FrmInput::kiesStationVoorMap() {
  int beste = -1;
  qsizetype besteLengte = -1;
  for (int i = 0; i < drive1_->count(); ++i) {
    QString wortel = drive1_->itemData(i, padRol).toString();
    const QString metScheiding = wortel.endsWith('/') ? wortel : wortel + '/';
    if ((map_ == wortel || map_.startsWith(metScheiding)) && wortel.size() > besteLengte) {
      beste = i;
      besteLengte = wortel.size();
    }
  }
  const QSignalBlocker blokkeer(drive1_);
  drive1_->setCurrentIndex(beste);
  vorigStation_ = beste;
}

void FrmInput::Drive1_Change(int index) {
  if (index < 0) return;
  if (!zetMap(drive1_->itemData(index, padRol).toString())) {
    const QSignalBlocker blokkeer(drive1_);
    drive1_->setCurrentIndex(vorigStation_);
  }
}

// The folder list shows the way from the root down to the current folder,
// and the current folder's subfolders below it; double-click goes there.
void FrmInput::vulMappen() {
  dir1_->clear();
  const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
  const QIcon dicht = style()->standardIcon(QStyle::SP_DirClosedIcon);

  QStringList keten;
  for (QDir d(map_);; ) {
    keten.prepend(d.absolutePath());
    if (d.isRoot() || !d.cdUp()) break;
  }
  QTreeWidgetItem* ouder = nullptr;
  for (const QString& pad : keten) {
    QString naam = QFileInfo(pad).fileName();
    if (naam.isEmpty()) naam = QDir::toNativeSeparators(pad);
    auto* item = ouder ? new QTreeWidgetItem(ouder) : new QTreeWidgetItem(dir1_);
    item->setText(0, naam);
    item->setIcon(0, open);
    item->setData(0, padRol, pad);
    ouder = item;
  }
  QFont vet = dir1_->font();
  vet.setBold(true);
  ouder->setFont(0, vet);

  const QDir map(map_);
  for (const QFileInfo& sub : map.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase)) {
    auto* item = new QTreeWidgetItem(ouder);
    item->setText(0, sub.fileName());
    item->setIcon(0, dicht);
    item->setData(0, padRol, sub.absoluteFilePath());
  }
  dir1_->expandAll();
  dir1_->setCurrentItem(ouder);
}

void FrmInput::vulBestanden() {
  const QSignalBlocker blokkeer(file1_);
  file1_->clear();
  const QStringList filters = (stap_ == Stap::Profielbestand ? patroonProfiel : patroonSloot).split(';');
  const QIcon icoon = style()->standardIcon(QStyle::SP_FileIcon);
  const QDir map(map_);
  for (const QString& naam : map.entryList(filters, QDir::Files, QDir::Name | QDir::IgnoreCase)) {
    file1_->addItem(new QListWidgetItem(icoon, naam));
  }
  selecteerGekozenBestand();
}

void FrmInput::selecteerGekozenBestand() {
  const QSignalBlocker blokkeer(file1_);
  file1_->clearSelection();
  const QFileInfo gekozen(gekozenPad());
  if (gekozen.fileName().isEmpty() || gekozen.absolutePath() != map_) return;
  const auto gevonden = file1_->findItems(gekozen.fileName(), Qt::MatchExactly);
  if (gevonden.isEmpty()) return;
  file1_->setCurrentItem(gevonden.front());
  file1_->scrollToItem(gevonden.front());
}

QString FrmInput::gekozenPad() const {
  const ProfielStore& s = store();
  return naarQ(stap_ == Stap::Profielbestand ? s.inputbestand : s.bestandSloot);
}

void FrmInput::kiesBestand(const QString& pad) {
  ProfielStore& s = store();
  const QFileInfo info(pad);
  (stap_ == Stap::Profielbestand ? s.inputbestand : s.bestandSloot) = info.absoluteFilePath().toStdString();
  s.bestandsnaam = info.fileName().toStdString();
  toonKeuze();
}

void FrmInput::toonKeuze() {
  const ProfielStore& s = store();
  txtProfielbestand_->setText(QDir::toNativeSeparators(naarQ(s.inputbestand)));
  txtSlootbestand_->setText(QDir::toNativeSeparators(naarQ(s.bestandSloot)));
  txtProfielbestand_->setCursorPosition(0);
  txtSlootbestand_->setCursorPosition(0);
  const QString pad = gekozenPad();
  const QString regel = pad.isEmpty() ? QString() : eersteRegel(pad);
  lblEersteRegel_->setText(regel);
  lblEersteRegel_->setToolTip(regel);
}

void FrmInput::File1_Click(const QString& naam) { kiesBestand(QDir(map_).filePath(naam)); }

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
      this, profiel ? QStringLiteral("Profielbestand kiezen") : QStringLiteral("Slootbestand kiezen"), map_,
      profiel ? QStringLiteral("Profielbestanden (*.txt *.asc *.xyz);;Alle bestanden (*)")
              : QStringLiteral("Slootbestanden (*.csv);;Alle bestanden (*)"));
  if (pad.isEmpty()) return;
  if (!zetMap(QFileInfo(pad).absolutePath())) return;
  kiesBestand(pad);
  selecteerGekozenBestand();
  if (profiel) zetStap(Stap::Slootbestand);
}

void FrmInput::cmdWissen_Click() {
  ProfielStore& s = store();
  s.inputbestand.clear();
  s.bestandSloot.clear();
  s.bestandsnaam.clear();
  zetStap(Stap::Profielbestand);
}

void FrmInput::cmdOK_Click() {
  ProfielStore& s = store();
  if (s.inputbestand.empty()) {
    toonBericht(QStringLiteral("Selecteer eerst een invoerbestand alvorens verder te gaan"),
                QStringLiteral("Let op!"), Icoon::Informatie);
    zetStap(Stap::Profielbestand);
    return;
  }
  if (s.bestandSloot.empty()) {
    toonBericht(QStringLiteral("Selecteer nu het slootbestand (*.csv) alvorens verder te gaan"),
                QStringLiteral("Let op!"), Icoon::Informatie);
    zetStap(Stap::Slootbestand);
    return;
  }

  FrmLaden& laden = scherm<FrmLaden>();
  laden.show();
  laden.raise();
  // Paint the notice before the reading blocks the event loop.
  QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);

  const bool gelukt = scherm<FrmGraphicView>().laad();
  sluitScherm<FrmLaden>();
  if (!gelukt) {
    // Never a half-loaded review screen: the user stays here with the
    // choice intact and can pick another file.
    sluitScherm<FrmGraphicView>();
    s.profielen.clear();
    return;
  }
  scherm<FrmGraphicView>().show();
  sluitScherm<FrmInput>();
}

void FrmInput::cmdStop_Click() {
  if (toonBericht(QStringLiteral("Weet u zeker dat u wilt stoppen?"), QStringLiteral("Let op!"), Icoon::Geen,
                  Knoppen::JaNee) == Antwoord::Ja) {
    berichten().beeindigProgramma();
    return;
  }
}

// Keyboard use of the lists: Enter does what a double-click does,
// Backspace goes one folder up.
bool FrmInput::eventFilter(QObject* object, QEvent* gebeurtenis) {
  if (gebeurtenis->type() != QEvent::KeyPress) return QWidget::eventFilter(object, gebeurtenis);
  const int toets = static_cast<QKeyEvent*>(gebeurtenis)->key();
  const bool enter = toets == Qt::Key_Return || toets == Qt::Key_Enter;
  if (object == file1_ && enter && file1_->currentItem()) {
    File1_DblClick(file1_->currentItem()->text());
    return true;
  }
  if (object == dir1_ && enter && dir1_->currentItem()) {
    zetMap(dir1_->currentItem()->data(0, padRol).toString());
    return true;
  }
  if ((object == dir1_ || object == file1_) && toets == Qt::Key_Backspace) {
    QDir boven(map_);
    if (boven.cdUp()) zetMap(boven.absolutePath());
    return true;
  }
  return QWidget::eventFilter(object, gebeurtenis);
}

}  // namespace zarvo::gui
