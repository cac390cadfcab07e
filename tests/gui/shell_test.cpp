// Start-up: the splash screen hands over to the input selection.
#include <gtest/gtest.h>

#include <QFileInfo>
#include <QTest>

#include "schermen/frminput.h"
#include "schermen/frmsplashscreen.h"
#include "tests/gui/fakeberichten.h"
#include "tests/gui/testhulp.h"

namespace zarvo::gui {
namespace {

class SplashTest : public SchermTest {
 protected:
  FakeBerichten berichten;
};

TEST_F(SplashTest, AClickOnAnyPartOpensTheInputScreenAndUnloadsTheSplash) {
  for (const char* naam : {"frmSplashScreen", "Picture1", "Image1", "lblProductName", "lblVersion"}) {
    SCOPED_TRACE(naam);
    sluitAlleSchermen();
    FrmSplashScreen& splash = scherm<FrmSplashScreen>();
    EXPECT_EQ(splash.windowTitle(), "Halvik - Zarvo Edit 1.0");
    splash.show();
    QWidget* doel = splash.objectName() == naam ? &splash : splash.findChild<QWidget*>(naam);
    ASSERT_NE(doel, nullptr);
    QTest::mouseClick(doel, Qt::LeftButton);
    EXPECT_FALSE(schermBestaat<FrmSplashScreen>());
    ASSERT_TRUE(schermBestaat<FrmInput>());
    EXPECT_TRUE(scherm<FrmInput>().isVisible());
  }
  EXPECT_TRUE(berichten.getoond.empty());
}

TEST_F(SplashTest, AFileNamedOnTheCommandLineThatIsNotThereIsToldOnTheInputScreen) {
  const QStringList waarschuwingen = volgorde().kiesVooraf(QStringLiteral("/nergens/profielen.txt"), {});
  ASSERT_EQ(waarschuwingen.size(), 1);
  FrmSplashScreen& splash = scherm<FrmSplashScreen>();
  splash.show();
  QTest::keyClick(&splash, Qt::Key_Return);
  ASSERT_TRUE(schermBestaat<FrmInput>());
  ASSERT_EQ(berichten.getoond.size(), 1u);
  EXPECT_EQ(berichten.getoond[0].titel, "Let op!");
  EXPECT_TRUE(berichten.getoond[0].tekst.contains("/nergens/profielen.txt"));
  EXPECT_TRUE(store().inputbestand.empty());
}

TEST_F(SplashTest, FilesFromAFileManagerTheFirstTwoAreChosenTheRestIsTold) {
  const QString bron = QStringLiteral(ZARVO_BRON "/voorbeelden/");
  const QStringList waarschuwingen =
      volgorde().kiesVooraf(QStringList{bron + "profielen.txt", bron + "sloot.csv", bron + "derde.txt"});
  ASSERT_EQ(waarschuwingen.size(), 1);
  EXPECT_TRUE(waarschuwingen[0].contains("derde.txt"));
  EXPECT_EQ(QString::fromStdString(store().inputbestand), QFileInfo(bron + "profielen.txt").absoluteFilePath());
  EXPECT_EQ(QString::fromStdString(store().bestandSloot), QFileInfo(bron + "sloot.csv").absoluteFilePath());
  FrmSplashScreen& splash = scherm<FrmSplashScreen>();
  splash.show();
  QTest::keyClick(&splash, Qt::Key_Return);
  ASSERT_EQ(berichten.getoond.size(), 1u);
  EXPECT_TRUE(berichten.getoond[0].tekst.contains("derde.txt"));
}

TEST_F(SplashTest, EnterGoesOnAndALateClickOpensNothing) {
  FrmSplashScreen& splash = scherm<FrmSplashScreen>();
  splash.show();
  QTest::keyClick(&splash, Qt::Key_Return);
  ASSERT_TRUE(schermBestaat<FrmInput>());
  // The user has moved on past the input screen when a click that was
  // already queued reaches the unloaded splash: it must not bring the
  // input screen back.
  sluitScherm<FrmInput>();
  splash.doorgaan();
  EXPECT_FALSE(schermBestaat<FrmInput>());
  EXPECT_FALSE(schermBestaat<FrmSplashScreen>());
}

}  // namespace
}  // namespace zarvo::gui
