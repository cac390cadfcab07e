// The toolkit layer: the picture box's user scale and display list, line
// controls, the palette and regional number texts.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCoreApplication>
#include <QImage>
#include <QMessageBox>
#include <QMouseEvent>
#include <QProgressDialog>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <functional>

#include "platform/berichten.h"
#include "platform/picturebox.h"
#include "platform/qbcolor.h"
#include "platform/regionaal.h"
#include "tests/gui/fakeberichten.h"
#include "tests/gui/testhulp.h"

namespace zarvo::gui {
namespace {

// A box of 'maat' pixels showing the user scale from ('links', 'boven'),
// 'breedte' wide and 'hoogte' high.
void zetVenster(PictureBox& box, QSize maat, double links, double boven, double breedte, double hoogte) {
  box.resize(maat);
  box.setScaleLeft(links);
  box.setScaleTop(boven);
  box.setScaleWidth(breedte);
  box.setScaleHeight(hoogte);
}

TEST(PictureBox, ScaleMapsBothWaysWithYUpwards) {
  PictureBox box;
  box.resize(200, 100);
  // L from -5 to 105, Z from 10 at the top down to -10 (negative height).
  box.setScaleLeft(-5);
  box.setScaleTop(10);
  box.setScaleWidth(110);
  box.setScaleHeight(-20);
  const QPointF px = box.naarPixel({50, 0});
  EXPECT_NEAR(px.x(), 100.0, 1e-9);
  EXPECT_NEAR(px.y(), 50.0, 1e-9);
  EXPECT_NEAR(box.naarPixel({-5, 10}).x(), 0.0, 1e-9);
  EXPECT_NEAR(box.naarPixel({-5, -10}).y(), 100.0, 1e-9);
  const QPointF terug = box.naarWereld(box.naarPixel({12.5, -3.25}));
  EXPECT_NEAR(terug.x(), 12.5, 1e-5);
  EXPECT_NEAR(terug.y(), -3.25, 1e-5);
  // Scale values are kept in single precision, as labels read them back.
  box.setScaleTop(0.1);
  EXPECT_EQ(box.scaleTop(), static_cast<double>(0.1f));
}

TEST(PictureBox, ZeroScaleDoesNotDivideByZero) {
  PictureBox box;
  box.resize(50, 50);
  box.setScaleWidth(0);
  box.setScaleHeight(0);
  box.cirkel(1, 1, 1, Qt::red);
  const QPointF p = box.naarPixel({3, 4});
  EXPECT_TRUE(std::isfinite(p.x()) && std::isfinite(p.y()));
  EXPECT_FALSE(box.grab().isNull());  // painting must not trip over it either
}

TEST(PictureBox, DisplayListKeepsWhatWasDrawnUntilCls) {
  PictureBox box;
  box.setForeColor(QColor(1, 2, 3));
  box.lijn(0, 0, 1, 1);
  box.cirkel(2, 3, 0.5, Qt::red);
  box.tekst(4, 5, "hallo", qbColor(2));
  ASSERT_EQ(box.displayList().size(), 3u);
  EXPECT_EQ(box.displayList()[0].soort, Tekening::Soort::Lijn);
  EXPECT_EQ(box.displayList()[0].kleur, QColor(1, 2, 3));
  EXPECT_EQ(box.displayList()[1].soort, Tekening::Soort::Cirkel);
  EXPECT_DOUBLE_EQ(box.displayList()[1].straal, 0.5);
  EXPECT_EQ(box.displayList()[1].x1, 2.0);
  EXPECT_EQ(box.displayList()[2].tekst, "hallo");
  box.cls();
  EXPECT_TRUE(box.displayList().empty());
}

TEST(PictureBox, DrawingSurvivesResizeAndLineControlsSurviveCls) {
  PictureBox box;
  zetVenster(box, {100, 100}, 0, 10, 10, -10);
  box.lijn(0, 5, 10, 5, Qt::black);  // a horizontal line through the middle
  LineControl* lijn = box.maakLijn("lineTop");
  lijn->zet(0, 8, 10, 8);
  lijn->setKleur(Qt::blue);
  EXPECT_EQ(box.findChild<LineControl*>("lineTop"), lijn);

  box.resize(300, 200);
  QImage beeld = box.grab().toImage();
  // The persistent drawing is repainted at the new size: middle row is black.
  EXPECT_EQ(beeld.pixelColor(150, 100).rgb(), QColor(Qt::black).rgb());
  EXPECT_EQ(beeld.pixelColor(150, 40).rgb(), QColor(Qt::blue).rgb());

  box.cls();
  beeld = box.grab().toImage();
  EXPECT_NE(beeld.pixelColor(150, 100).rgb(), QColor(Qt::black).rgb());
  EXPECT_EQ(beeld.pixelColor(150, 40).rgb(), QColor(Qt::blue).rgb());
  lijn->setVisible(false);
  beeld = box.grab().toImage();
  EXPECT_NE(beeld.pixelColor(150, 40).rgb(), QColor(Qt::blue).rgb());
}

TEST(PictureBox, CirclesAreOutlinesOfTheirRadiusInHorizontalUnits) {
  PictureBox box;
  // 10 pixels per unit across, 1 pixel per unit down: round anyway.
  zetVenster(box, {200, 100}, 0, 0, 20, -100);
  box.cirkel(10, -50, 1.0, Qt::red);   // small: stamped
  box.cirkel(5, -50, 4.0, Qt::blue);   // large: drawn directly
  const QImage beeld = box.grab().toImage();
  const auto isRoodachtig = [](QColor c) { return c.red() > 150 && c.green() < 120; };
  const auto isBlauwachtig = [](QColor c) { return c.blue() > 150 && c.red() < 120; };
  // Outline at 10 pixels from the centre (100, 50), both across and down.
  EXPECT_TRUE(isRoodachtig(beeld.pixelColor(110, 50)) || isRoodachtig(beeld.pixelColor(111, 50)));
  EXPECT_TRUE(isRoodachtig(beeld.pixelColor(100, 40)) || isRoodachtig(beeld.pixelColor(100, 39)));
  EXPECT_EQ(beeld.pixelColor(100, 50), QColor(Qt::white));  // not filled
  EXPECT_TRUE(isBlauwachtig(beeld.pixelColor(90, 50)) || isBlauwachtig(beeld.pixelColor(91, 50)));
  EXPECT_EQ(beeld.pixelColor(50, 50), QColor(Qt::white));
}

// The light grey of code 5 would all but vanish on white: its marker gets a
// dark ring just outside it, stamped or drawn.
TEST(PictureBox, LightColoursGetADarkRing) {
  PictureBox box;
  zetVenster(box, {200, 100}, 0, 0, 20, -100);
  box.cirkel(10, -50, 1.0, qbColor(7));  // stamped
  box.cirkel(5, -50, 4.0, qbColor(7));   // drawn directly
  const QImage beeld = box.grab().toImage();
  const auto donker = [&](int x, int y) { return beeld.pixelColor(x, y).lightness() < 140; };
  EXPECT_TRUE(donker(111, 50) || donker(112, 50));
  EXPECT_TRUE(donker(89, 50) || donker(88, 50) || donker(90, 50));
}

TEST(PictureBox, MouseReportsScaleUnits) {
  PictureBox box;
  zetVenster(box, {100, 100}, 0, 0, 50, -20);
  QSignalSpy beweging(&box, &PictureBox::muisBeweegt);
  QSignalSpy klik(&box, &PictureBox::geklikt);
  QMouseEvent beweeg(QEvent::MouseMove, QPointF(50, 25), QPointF(50, 25), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&box, &beweeg);
  ASSERT_EQ(beweging.count(), 1);
  EXPECT_NEAR(beweging.at(0).at(0).toDouble(), 25.0, 1e-9);
  EXPECT_NEAR(beweging.at(0).at(1).toDouble(), -5.0, 1e-9);
  QTest::mouseClick(&box, Qt::LeftButton, Qt::NoModifier, QPoint(10, 50));
  ASSERT_EQ(klik.count(), 1);
  EXPECT_NEAR(klik.at(0).at(0).toDouble(), 5.0, 1e-9);
  EXPECT_NEAR(klik.at(0).at(1).toDouble(), -10.0, 1e-9);
}

TEST(Palet, SixteenColoursAndBlackOutside) {
  EXPECT_EQ(qbColor(4), QColor(128, 0, 0));
  EXPECT_EQ(qbColor(7), QColor(192, 192, 192));
  EXPECT_EQ(qbColor(8), QColor(128, 128, 128));
  EXPECT_EQ(qbColor(11), QColor(0, 255, 255));
  EXPECT_EQ(qbColor(13), QColor(255, 0, 255));
  EXPECT_EQ(qbColor(15), QColor(255, 255, 255));
  EXPECT_EQ(qbColor(16), QColor(Qt::black));
  EXPECT_EQ(qbColor(-1), QColor(Qt::black));
}

TEST(Regionaal, NumbersFollowTheLocale) {
  {
    LocaleVast nl(QLocale(QLocale::Dutch, QLocale::Netherlands));
    EXPECT_EQ(decimaalteken(), ',');
    EXPECT_EQ(getalNaarTekstRegionaal(-0.4), "-0,4");
    EXPECT_EQ(leesGetalRegionaal("-0,8"), -0.8);
    EXPECT_EQ(leesGetalRegionaal(" 2 "), 2.0);
    EXPECT_FALSE(leesGetalRegionaal("1.5").has_value());  // a group separator, not a point
    EXPECT_FALSE(leesGetalRegionaal("").has_value());
    EXPECT_FALSE(leesGetalRegionaal("abc").has_value());
    EXPECT_EQ(formaat00Regionaal(12.345), "12,35");
  }
  {
    LocaleVast c(QLocale::c());
    EXPECT_EQ(decimaalteken(), '.');
    EXPECT_EQ(getalNaarTekstRegionaal(-0.4), "-0.4");
    EXPECT_FALSE(leesGetalRegionaal("-0,8").has_value());
    EXPECT_EQ(leesGetalRegionaal("-0.8"), -0.8);
    EXPECT_FALSE(leesGetalRegionaal("inf").has_value());
    EXPECT_EQ(formaat00Regionaal(-1.2), "-1.20");
  }
}

TEST(Regionaal, FileTextsAndQtsOwnTextsForDutchUsers) {
  // Valid UTF-8 as it is; anything else as Windows-1252.
  EXPECT_EQ(tekstUitBestand("Dijkvak Noord\xE2\x80\x93Zuid"), QString::fromUtf8("Dijkvak Noord\u2013Zuid"));
  EXPECT_EQ(tekstUitBestand("Zuid-Oost \xEB \x96"), QString::fromUtf8("Zuid-Oost \u00EB \u2013"));

  {
    LocaleVast en(QLocale(QLocale::English, QLocale::UnitedKingdom));
    EXPECT_EQ(laadQtVertalingen(), nullptr);
  }
  LocaleVast nl(QLocale(QLocale::Dutch, QLocale::Netherlands));
  QTranslator* vertaler = laadQtVertalingen();
  if (!vertaler) GTEST_SKIP() << "Qt's Dutch translations are not installed";
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Annuleren");
  QCoreApplication::removeTranslator(vertaler);
  delete vertaler;
}

}  // namespace
}  // namespace zarvo::gui

namespace zarvo::gui {
namespace {

// A box that comes up while a progress window is shown belongs to the
// progress window: parented to the screen beneath, the window-modal
// progress window would block it and Enter would not reach it.
TEST(Berichten, ABoxDuringProgressBelongsToTheProgressWindow) {
  QWidget scherm;
  scherm.show();
  QProgressDialog voortgang(QStringLiteral("Bezig"), QString(), 0, 10, &scherm);
  voortgang.setWindowModality(Qt::WindowModal);
  voortgang.show();
  QWidget* ouder = nullptr;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    ouder = box->parentWidget();
    QTest::keyClick(box, Qt::Key_Return);
  });
  toonBericht(QStringLiteral("Fout in profiel P1"), QStringLiteral("Fout!"), Icoon::Kritiek);
  EXPECT_EQ(ouder, &voortgang);
}

// A question with buttons of its own shows them left to right as given;
// Enter and Escape take the cautious one, a click the one clicked.
TEST(Berichten, ButtonsOfTheirOwnKeepTheirOrderAndEnterTakesTheCautiousOne) {
  const QStringList knoppen = {QStringLiteral("Ja, op &volgorde"), QStringLiteral("&Koppel op naam"),
                               QStringLiteral("&Nee")};
  QStringList vanLinks;
  auto vraag = [&](std::function<void(QMessageBox&)> antwoord) {
    QTimer::singleShot(0, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      ASSERT_NE(box, nullptr);
      QList<QAbstractButton*> getoond = box->buttons();
      std::sort(getoond.begin(), getoond.end(), [box](QAbstractButton* a, QAbstractButton* b) {
        return a->mapTo(box, QPoint()).x() < b->mapTo(box, QPoint()).x();
      });
      vanLinks.clear();
      for (QAbstractButton* k : getoond) vanLinks << k->text();
      antwoord(*box);
    });
    return kiesBericht(QStringLiteral("Hoe verder?"), QStringLiteral("Let op!"), Icoon::Informatie, knoppen, 2);
  };
  EXPECT_EQ(vraag([](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Return); }), 2);
  EXPECT_EQ(vanLinks, knoppen);
  EXPECT_EQ(vraag([](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Escape); }), 2);
  for (int i : {1, 0}) {
    EXPECT_EQ(vraag([&](QMessageBox& box) {
                for (QAbstractButton* k : box.buttons()) {
                  if (k->text() == knoppen[i]) k->click();
                }
              }),
              i);
  }
}

// "Niet meer tonen voor dit bestand" holds for the file for the rest of
// the run: reading or building it again (after << Terug) shows no boxes of
// that title; another file starts afresh.
TEST(Berichten, SilencedTitlesStayWithTheirFile) {
  FakeBerichten fake;
  fake.nietMeerTonenBij = 1;
  const Melding fout{"Fout!", "profiel P", Icoon::Kritiek};
  {
    MeldingenReeks reeks("/data/stil.txt");
    reeks.meld(fout);
    reeks.meld(fout);
    reeks.sluitAf();
  }
  {
    MeldingenReeks reeks("/data/stil.txt");
    reeks.meld(fout);
    reeks.sluitAf();
  }
  EXPECT_EQ(fake.inReeks, 1);
  MeldingenReeks ander("/data/ander.txt");
  ander.meld(fout);
  EXPECT_EQ(fake.inReeks, 2);
}

}  // namespace
}  // namespace zarvo::gui
