// The drive, folder and file lists: walking folders, the file pattern, the
// read error, and selecting and choosing a file by mouse and keyboard.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QMouseEvent>
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
  // QTRY_COMPARE would report a failure to QTest only, not to this runner.
  EXPECT_TRUE(QTest::qWaitFor([&] { return k.map() == wortel.filePath("Dijk"); })) << k.map().toStdString();
  EXPECT_EQ(bestanden(k), QStringList{"d.asc"});
  // The way up stays in the list; the subfolder below the current one too.
  EXPECT_NE(mapItem(k, "Noord"), nullptr);
  EXPECT_NE(mapItem(k, wortel.dirName()), nullptr);

  QTest::keyClick(k.file1(), Qt::Key_Backspace);
  EXPECT_EQ(k.map(), wortel.absolutePath());
  EXPECT_TRUE(fake.getoond.empty());
}

// A name too long for the list keeps its end in view, where "x.csv" and
// "x.krp.csv" differ: the item is no wider than the list and loses its middle.
TEST(MapKiezer, ALongFileNameKeepsItsEndInView) {
  QTemporaryDir tmp;
  ASSERT_TRUE(tmp.isValid());
  const QString lang = QString(60, QLatin1Char('d')) + QStringLiteral(".krp.csv");
  maakBestand(QDir(tmp.path()).filePath(lang));
  MapKiezer k;
  k.resize(400, 300);
  k.show();
  ASSERT_TRUE(k.zetMap(tmp.path()));
  ASSERT_EQ(k.file1()->count(), 1);
  const QRect vak = k.file1()->visualItemRect(k.file1()->item(0));
  EXPECT_LE(vak.right(), k.file1()->viewport()->width()) << "the item runs past the list";
  EXPECT_EQ(k.file1()->textElideMode(), Qt::ElideMiddle);
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

TEST(MapKiezer, SelectingReportsTheFileAndEnterOrDoubleClickChoosesIt) {
  QTemporaryDir tmp;
  ASSERT_TRUE(tmp.isValid());
  for (const char* naam : {"a.txt", "b.txt", "c.txt"}) maakBestand(QDir(tmp.path()).filePath(naam));
  FakeBerichten fake;
  MapKiezer k;
  k.resize(500, 400);
  k.show();
  k.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&k));
  ASSERT_TRUE(k.zetMap(tmp.path()));
  QSignalSpy geklikt(&k, &MapKiezer::bestandGeklikt);
  QSignalSpy gekozen(&k, &MapKiezer::bestandGekozen);
  QListWidget* lijst = k.file1();
  auto midden = [&](int rij) { return lijst->visualItemRect(lijst->item(rij)).center(); };

  // Tabbing into the list makes a file current but selects nothing: that
  // is no choice.
  lijst->setFocus(Qt::TabFocusReason);
  EXPECT_EQ(geklikt.count(), 0);
  EXPECT_TRUE(lijst->selectedItems().isEmpty());

  QTest::mouseClick(lijst->viewport(), Qt::LeftButton, {}, midden(1));
  ASSERT_GE(geklikt.count(), 1);
  EXPECT_EQ(geklikt.last().at(0).toString(), "b.txt");
  // A click on the file already selected counts again.
  geklikt.clear();
  QTest::mouseClick(lijst->viewport(), Qt::LeftButton, {}, midden(1));
  ASSERT_GE(geklikt.count(), 1);
  EXPECT_EQ(geklikt.last().at(0).toString(), "b.txt");
  QTest::keyClick(lijst, Qt::Key_Down);
  EXPECT_EQ(geklikt.last().at(0).toString(), "c.txt");
  // Typing the first letter jumps to the file.
  QTest::keyClick(lijst, Qt::Key_A);
  EXPECT_EQ(geklikt.last().at(0).toString(), "a.txt");
  EXPECT_EQ(gekozen.count(), 0);

  // Enter chooses at once, without waiting for the event loop.
  QTest::keyClick(lijst, Qt::Key_Return);
  ASSERT_EQ(gekozen.count(), 1);
  EXPECT_EQ(gekozen.last().at(0).toString(), "a.txt");

  // A real double-click is press, release, press, double-click, release;
  // the list only honours the double-click on the item the press hit, and
  // QTest's own double-click sends no second press.
  QTest::mouseClick(lijst->viewport(), Qt::LeftButton, {}, midden(2));
  QTest::mousePress(lijst->viewport(), Qt::LeftButton, {}, midden(2));
  QMouseEvent dubbel(QEvent::MouseButtonDblClick, midden(2), lijst->viewport()->mapToGlobal(midden(2)),
                     Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(lijst->viewport(), &dubbel);
  QTest::mouseRelease(lijst->viewport(), Qt::LeftButton, {}, midden(2));
  EXPECT_EQ(gekozen.count(), 1) << "a double-click is handled once the list is done with it";
  EXPECT_TRUE(QTest::qWaitFor([&] { return gekozen.count() == 2; }));
  ASSERT_EQ(gekozen.count(), 2);
  EXPECT_EQ(gekozen.last().at(0).toString(), "c.txt");
  EXPECT_TRUE(fake.getoond.empty());
}

}  // namespace
}  // namespace zarvo::gui

namespace zarvo::gui {
namespace {

TEST(MapKiezer, DoubleClickOnAFolderOpensThatFolderOnly) {
  QTemporaryDir tmp;
  ASSERT_TRUE(tmp.isValid());
  const QDir wortel(tmp.path());
  // Opening "c" folds its siblings away, so its own subfolders move up to
  // the row where the pointer is.
  for (const char* sub : {"a", "b", "c/p", "c/q", "c/r", "c/s"}) ASSERT_TRUE(wortel.mkpath(sub));

  FakeBerichten fake;
  MapKiezer k;
  k.resize(500, 400);
  k.show();
  ASSERT_TRUE(k.zetMap(tmp.path()));
  QTreeWidgetItem* c = mapItem(k, "c");
  ASSERT_NE(c, nullptr);
  const QPoint plek = k.dir1()->visualItemRect(c).center();
  QTest::mouseClick(k.dir1()->viewport(), Qt::LeftButton, {}, plek);
  QCoreApplication::processEvents();  // the first click opens "c"
  ASSERT_EQ(k.map(), wortel.filePath("c"));
  QTreeWidgetItem* onderPijl = k.dir1()->itemAt(plek);
  ASSERT_NE(onderPijl, nullptr);
  ASSERT_NE(onderPijl->text(0), "c");  // the situation that went wrong
  // The second half of a double click as the window system delivers it:
  // the second press arrives as a double-click event, then the release.
  QTest::mouseDClick(k.dir1()->viewport(), Qt::LeftButton, {}, plek);
  QTest::mouseRelease(k.dir1()->viewport(), Qt::LeftButton, {}, plek);
  QCoreApplication::processEvents();
  QTest::qWait(20);
  EXPECT_EQ(k.map().toStdString(), wortel.filePath("c").toStdString());

  // A deliberate click later on opens the folder it points at.
  QTest::qWait(QApplication::doubleClickInterval() + 50);
  QTreeWidgetItem* q = mapItem(k, "q");
  ASSERT_NE(q, nullptr);
  QTest::mouseClick(k.dir1()->viewport(), Qt::LeftButton, {}, k.dir1()->visualItemRect(q).center());
  EXPECT_TRUE(QTest::qWaitFor([&] { return k.map() == wortel.filePath("c/q"); })) << k.map().toStdString();
}

}  // namespace
}  // namespace zarvo::gui
