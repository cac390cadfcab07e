// The drive, folder and file lists: walking folders, the file pattern and
// the read error.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include "platform/mapkiezer.h"
#include "tests/gui/fakeberichten.h"

namespace zarvo::gui {
namespace {

QStringList bestanden(const MapKiezer& k) {
  QStringList namen;
  for (int i = 0; i < k.file1()->count(); ++i) namen << k.file1()->item(i)->text();
  return namen;
}

void maakBestand(const QString& pad) {
  QFile f(pad);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
}

QTreeWidgetItem* mapItem(const MapKiezer& k, const QString& naam) {
  const auto treffers = k.dir1()->findItems(naam, Qt::MatchExactly | Qt::MatchRecursive);
  return treffers.isEmpty() ? nullptr : treffers.front();
}

TEST(MapKiezer, WalksFoldersByClickAndBackspaceAndFiltersFiles) {
  QTemporaryDir tmp;
  ASSERT_TRUE(tmp.isValid());
  const QDir wortel(tmp.path());
  ASSERT_TRUE(wortel.mkpath("Dijk/Noord"));
  maakBestand(wortel.filePath("a.txt"));
  maakBestand(wortel.filePath("B.XYZ"));
  maakBestand(wortel.filePath("c.csv"));
  maakBestand(wortel.filePath("Dijk/d.asc"));

  FakeBerichten fake;
  MapKiezer k;
  k.resize(500, 400);
  k.show();
  QSignalSpy gewijzigd(&k, &MapKiezer::mapGewijzigd);
  k.zetPatroon("*.txt;*.asc;*.xyz");
  ASSERT_TRUE(k.zetMap(tmp.path()));
  EXPECT_EQ(k.map(), wortel.absolutePath());
  // Case does not matter to the pattern; folders are not files.
  EXPECT_EQ(bestanden(k), (QStringList{"a.txt", "B.XYZ"}));
  k.zetPatroon("");
  EXPECT_EQ(bestanden(k), (QStringList{"a.txt", "B.XYZ", "c.csv"}));
  EXPECT_EQ(gewijzigd.count(), 1);

  // A click on a subfolder opens it once the click is handled.
  QTreeWidgetItem* dijk = mapItem(k, "Dijk");
  ASSERT_NE(dijk, nullptr);
  QTest::mouseClick(k.dir1()->viewport(), Qt::LeftButton, {}, k.dir1()->visualItemRect(dijk).center());
  QTRY_COMPARE(k.map(), wortel.filePath("Dijk"));
  EXPECT_EQ(bestanden(k), QStringList{"d.asc"});
  // The way up stays in the list; the subfolder below the current one too.
  EXPECT_NE(mapItem(k, "Noord"), nullptr);
  EXPECT_NE(mapItem(k, wortel.dirName()), nullptr);

  QTest::keyClick(k.file1(), Qt::Key_Backspace);
  EXPECT_EQ(k.map(), wortel.absolutePath());
  EXPECT_TRUE(fake.getoond.empty());
}

TEST(MapKiezer, UnreadableFolderOrDriveShowsTheReadErrorAndKeepsTheLists) {
  QTemporaryDir tmp;
  ASSERT_TRUE(tmp.isValid());
  maakBestand(QDir(tmp.path()).filePath("blijft.txt"));
  FakeBerichten fake;
  MapKiezer k;
  ASSERT_TRUE(k.zetMap(tmp.path()));

  // Not a folder at all (a vanished folder or a file) cannot be read,
  // root or not.
  for (const QString& pad : {QDir(tmp.path()).filePath("weg"), QDir(tmp.path()).filePath("blijft.txt")}) {
    fake.getoond.clear();
    EXPECT_FALSE(k.zetMap(pad));
    ASSERT_EQ(fake.getoond.size(), 1u);
    EXPECT_EQ(fake.getoond[0].tekst, "Kan niet lezen vanaf het geselecteerde station, kies een ander station");
    EXPECT_EQ(fake.getoond[0].titel, "Leesfout!");
    EXPECT_EQ(fake.getoond[0].icoon, Icoon::Kritiek);
    EXPECT_EQ(k.map(), QDir(tmp.path()).absolutePath());
    EXPECT_EQ(bestanden(k), QStringList{"blijft.txt"});
  }

  // A drive that cannot be read: the error, and the old drive stays chosen.
  QComboBox* drive = k.drive1();
  const int voor = drive->currentIndex();
  drive->addItem("X:", QDir(tmp.path()).filePath("weg"));
  fake.getoond.clear();
  drive->setCurrentIndex(drive->count() - 1);
  emit drive->activated(drive->count() - 1);
  ASSERT_EQ(fake.getoond.size(), 1u);
  EXPECT_EQ(fake.getoond[0].titel, "Leesfout!");
  EXPECT_EQ(drive->currentIndex(), voor);
  EXPECT_EQ(k.map(), QDir(tmp.path()).absolutePath());
}

}  // namespace
}  // namespace zarvo::gui
