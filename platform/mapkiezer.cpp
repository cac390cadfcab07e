#include "platform/mapkiezer.h"

#include <QApplication>

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QStyledItemDelegate>
#include <QStorageInfo>
#include <QStyle>
#include <QTimer>
#include <QTreeWidget>
#include <algorithm>

#include "platform/berichten.h"

namespace zarvo::gui {

namespace {

// Items no wider than the list: a list item is as wide as its text, and a
// text is only shortened (with the list's elide mode) to the item's width.
class LijstBreedDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  QSize sizeHint(const QStyleOptionViewItem& optie, const QModelIndex& index) const override {
    QSize maat = QStyledItemDelegate::sizeHint(optie, index);
    if (const auto* lijst = qobject_cast<const QAbstractItemView*>(parent())) {
      maat.setWidth(std::min(maat.width(), lijst->viewport()->width()));
    }
    return maat;
  }
};

constexpr int kPad = Qt::UserRole;

bool kanLezen(const QString& pad) {
  const QFileInfo info(pad);
  return info.isDir() && info.isReadable() && info.isExecutable();
}

// Whether 'map' lies on the drive rooted at 'wortel'. Windows does not
// tell "c:/" from "C:/", and a typed folder may come in either.
#ifdef Q_OS_WIN
constexpr Qt::CaseSensitivity kHoofdletters = Qt::CaseInsensitive;
#else
constexpr Qt::CaseSensitivity kHoofdletters = Qt::CaseSensitive;
#endif
bool ligtOp(const QString& map, const QString& wortel) {
  if (map.compare(wortel, kHoofdletters) == 0) return true;
  return map.startsWith(wortel.endsWith('/') ? wortel : wortel + '/', kHoofdletters);
}

}  // namespace

MapKiezer::MapKiezer(QWidget* ouder) : QWidget(ouder) {
  setObjectName("mapKiezer");

  drive1_ = new QComboBox(this);
  drive1_->setObjectName("Drive1");
  // A long volume name must not push the file list aside.
  drive1_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  drive1_->setMinimumContentsLength(16);
  auto* lblStation = new QLabel(QStringLiteral("S&tation:"), this);
  lblStation->setBuddy(drive1_);

  dir1_ = new QTreeWidget(this);
  dir1_->setObjectName("Dir1");
  dir1_->setHeaderHidden(true);
  dir1_->setRootIsDecorated(false);
  dir1_->setItemsExpandable(false);
  dir1_->setUniformRowHeights(true);
  auto* lblMappen = new QLabel(QStringLiteral("&Mappen:"), this);
  lblMappen->setBuddy(dir1_);

  file1_ = new QListWidget(this);
  file1_->setObjectName("File1");
  file1_->setUniformItemSizes(true);
  // A name too long for the list loses its middle, not its end: the end is
  // where "x.csv" and "x.krp.csv" differ. The whole name is the tooltip.
  file1_->setTextElideMode(Qt::ElideMiddle);
  file1_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  file1_->setItemDelegate(new LijstBreedDelegate(file1_));
  file1_->setResizeMode(QListView::Adjust);
  lblBestanden_ = new QLabel(this);
  lblBestanden_->setObjectName("lblBestanden");
  lblBestanden_->setBuddy(file1_);
  kop_ = QStringLiteral("&Bestanden (%1):");

  auto* raster = new QGridLayout(this);
  raster->setContentsMargins(0, 0, 0, 0);
  raster->addWidget(lblStation, 0, 0);
  raster->addWidget(drive1_, 1, 0);
  raster->addWidget(lblMappen, 2, 0);
  raster->addWidget(dir1_, 3, 0);
  raster->addWidget(lblBestanden_, 2, 1);
  raster->addWidget(file1_, 3, 1);
  // File names are longer than folder names (a survey's name, its version,
  // ".krp.csv"): the files get the wider column.
  raster->setColumnStretch(0, 2);
  raster->setColumnStretch(1, 3);
  raster->setRowStretch(3, 1);

  connect(drive1_, &QComboBox::activated, this, &MapKiezer::stationGekozen);
  // The folder list is rebuilt when a folder is opened; that waits until the
  // list has finished handling the click that asked for it.
  auto openMap = [this](QTreeWidgetItem* item) {
    if (!item) return;
    // A folder opens on the first click of a double click, and the second
    // click lands on the rebuilt list, on whatever folder now sits under the
    // pointer: it must not open that one too.
    if (mapGeopend_.isValid() && mapGeopend_.elapsed() < QApplication::doubleClickInterval()) return;
    mapGeopend_.start();
    QTimer::singleShot(0, this, [this, pad = item->data(0, kPad).toString()] {
      if (pad != map_) zetMap(pad);
    });
  };
  connect(dir1_, &QTreeWidget::itemClicked, this, openMap);
  connect(dir1_, &QTreeWidget::itemActivated, this, openMap);
  // Clicks and keyboard moves select; a list that merely gains the focus
  // makes its first file current without selecting it, and that must not
  // count, or tabbing through a form would pick a file. A click on the file
  // already selected is reported again.
  connect(file1_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) { emit bestandGeklikt(item->text()); });
  connect(file1_, &QListWidget::itemSelectionChanged, this, [this] {
    const auto gekozen = file1_->selectedItems();
    if (!gekozen.isEmpty()) emit bestandGeklikt(gekozen.front()->text());
  });
  // Only a real double-click chooses: with a style that activates items on
  // a single click, a click that merely selects would otherwise choose too.
  connect(file1_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
    QTimer::singleShot(0, this, [this, naam = item->text()] { emit bestandGekozen(naam); });
  });
  dir1_->installEventFilter(this);
  file1_->installEventFilter(this);

  vulStations();
  werkKopBij();
}

bool MapKiezer::zetMap(const QString& pad) {
  if (probeerMap(pad)) return true;
  toonBericht(QStringLiteral("Kan niet lezen vanaf het geselecteerde station, kies een ander station"),
              QStringLiteral("Leesfout!"), Icoon::Kritiek);
  return false;
}

bool MapKiezer::probeerMap(const QString& pad) {
  if (pad.isEmpty() || !kanLezen(pad)) return false;
  map_ = QDir(pad).absolutePath();
  vulMappen();
  vulBestanden();
  toonStation();
  emit mapGewijzigd(map_);
  return true;
}

void MapKiezer::zetPatroon(const QString& patroon) {
  patroon_ = patroon;
  werkKopBij();
  vulBestanden();
}

void MapKiezer::zetBestandenKop(const QString& kop) {
  kop_ = kop;
  werkKopBij();
}

void MapKiezer::werkKopBij() {
  lblBestanden_->setText(kop_.contains(QStringLiteral("%1"))
                             ? kop_.arg(patroon_.isEmpty() ? QStringLiteral("*.*") : patroon_)
                             : kop_);
}

void MapKiezer::verfris() {
  if (map_.isEmpty()) return;
  const QString gekozen = file1_->currentItem() ? file1_->currentItem()->text() : QString();
  vulMappen();
  vulBestanden();
  markeerBestand(gekozen);
}

void MapKiezer::markeerBestand(const QString& naam) {
  const QSignalBlocker stil(file1_);
  file1_->clearSelection();
  if (naam.isEmpty()) return;
  const auto treffers = file1_->findItems(naam, Qt::MatchExactly);
  if (treffers.isEmpty()) return;
  file1_->setCurrentItem(treffers.front());
  file1_->scrollToItem(treffers.front());
}

// Windows has drive letters. Elsewhere the root, the home folder and the
// mounted data volumes (USB sticks, network shares, data disks) stand in for
// them; the system's own and virtual mounts would only be in the way.
void MapKiezer::vulStations() {
  const QSignalBlocker stil(drive1_);
  drive1_->clear();
  const QIcon icoon = style()->standardIcon(QStyle::SP_DriveHDIcon);
  auto neem = [&](const QString& tekst, const QString& wortel) {
    if (drive1_->findData(wortel, kPad) < 0) drive1_->addItem(icoon, tekst, wortel);
  };
#ifdef Q_OS_WIN
  for (const QFileInfo& station : QDir::drives()) {
    neem(QDir::toNativeSeparators(station.absolutePath()), station.absolutePath());
  }
#else
  neem(QStringLiteral("/"), QStringLiteral("/"));
  neem(QStringLiteral("Persoonlijke map (%1)").arg(QDir::homePath()), QDir::homePath());
  static const QStringList systeem = {"/boot", "/dev", "/etc", "/proc", "/run", "/snap", "/sys", "/usr", "/var"};
  static const QStringList virtueel = {"squashfs", "tmpfs", "devtmpfs", "proc", "sysfs", "cgroup", "cgroup2", "overlay"};
  for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
    const QString wortel = volume.rootPath();
    if (!volume.isValid() || !volume.isReady() || volume.isRoot() || !QFileInfo(wortel).isDir()) continue;
    if (virtueel.contains(QString::fromLatin1(volume.fileSystemType()))) continue;
    // Removable media may be mounted below /run, which is otherwise the system's.
    const bool media = wortel.startsWith("/run/media/") || wortel.startsWith("/media/");
    const bool vanSysteem =
        std::any_of(systeem.begin(), systeem.end(), [&](const QString& m) { return ligtOp(wortel, m); });
    if (vanSysteem && !media) continue;
    const QString naam = volume.displayName();
    neem(naam == wortel ? wortel : QStringLiteral("%1 (%2)").arg(naam, wortel), wortel);
  }
#endif
}

// Selects the drive the shown folder lies on (the deepest matching root).
void MapKiezer::toonStation() {
  int beste = -1;
  qsizetype diepte = -1;
  for (int i = 0; i < drive1_->count(); ++i) {
    const QString wortel = drive1_->itemData(i, kPad).toString();
    if (ligtOp(map_, wortel) && wortel.size() > diepte) {
      beste = i;
      diepte = wortel.size();
    }
  }
  const QSignalBlocker stil(drive1_);
  drive1_->setCurrentIndex(beste);
  station_ = beste;
}

void MapKiezer::stationGekozen(int index) {
  if (index < 0 || index == station_) return;
  if (zetMap(drive1_->itemData(index, kPad).toString())) return;
  // The old drive stays selected, as its folder is still the one shown.
  const QSignalBlocker stil(drive1_);
  drive1_->setCurrentIndex(station_);
}

// The folder list shows the way down from the root to the shown folder,
// then that folder's subfolders one step further in.
void MapKiezer::vulMappen() {
  dir1_->clear();
  QStringList weg;
  QDir d(map_);
  do {
    weg.prepend(d.absolutePath());
  } while (!d.isRoot() && d.cdUp());

  const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
  QTreeWidgetItem* laatste = nullptr;
  for (const QString& pad : weg) {
    auto* item = laatste ? new QTreeWidgetItem(laatste) : new QTreeWidgetItem(dir1_);
    const QString naam = QFileInfo(pad).fileName();
    item->setText(0, naam.isEmpty() ? QDir::toNativeSeparators(pad) : naam);
    item->setIcon(0, open);
    item->setData(0, kPad, pad);
    laatste = item;
  }
  QFont vet = dir1_->font();
  vet.setBold(true);
  laatste->setFont(0, vet);

  const QIcon dicht = style()->standardIcon(QStyle::SP_DirClosedIcon);
  const auto submappen =
      QDir(map_).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
  for (const QFileInfo& sub : submappen) {
    auto* item = new QTreeWidgetItem(laatste);
    item->setText(0, sub.fileName());
    item->setIcon(0, dicht);
    item->setData(0, kPad, sub.absoluteFilePath());
  }
  dir1_->expandAll();
  const QSignalBlocker stil(dir1_);
  dir1_->setCurrentItem(laatste);
}

void MapKiezer::vulBestanden() {
  const QSignalBlocker stil(file1_);
  file1_->clear();
  if (map_.isEmpty()) return;
  QStringList filters = patroon_.split(';', Qt::SkipEmptyParts);
  for (QString& f : filters) f = f.trimmed();
  const QIcon icoon = style()->standardIcon(QStyle::SP_FileIcon);
  const auto namen = QDir(map_).entryList(filters, QDir::Files, QDir::Name | QDir::IgnoreCase);
  for (const QString& naam : namen) {
    auto* item = new QListWidgetItem(icoon, naam);
    item->setToolTip(naam);
    file1_->addItem(item);
  }
}

// Keyboard use: Enter opens the folder (the folder list reports that as
// activation) or chooses the file, Backspace goes one folder up. Enter on a
// file is taken here, before the list sees the key, so the choice is made
// at once and whoever handles it may refill the list safely.
bool MapKiezer::eventFilter(QObject* object, QEvent* gebeurtenis) {
  if (gebeurtenis->type() != QEvent::KeyPress) return QWidget::eventFilter(object, gebeurtenis);
  const int toets = static_cast<QKeyEvent*>(gebeurtenis)->key();
  if (toets == Qt::Key_Backspace) {
    QDir boven(map_);
    if (!boven.isRoot() && boven.cdUp()) zetMap(boven.absolutePath());
    return true;
  }
  if (object == file1_ && (toets == Qt::Key_Return || toets == Qt::Key_Enter) && file1_->currentItem()) {
    emit bestandGekozen(file1_->currentItem()->text());
    return true;
  }
  return QWidget::eventFilter(object, gebeurtenis);
}

}  // namespace zarvo::gui
