// Every screen at sizes nobody designs for, with names nobody types, and
// buttons hammered faster than an engineer would: no Qt warning, no message
// the user did not ask for, drawings in finite coordinates, and the store
// in the state the clicks asked for.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <cmath>
#include <functional>

#include "schermen/frmpl.h"
#include "schermen/frmpuntcodes.h"
#include "schermen/frminput.h"
#include "schermen/frmladen.h"
#include "schermen/frmopslaan.h"
#include "platform/picturebox.h"
#include "schermen/frmgraphicview.h"
#include "schermen/frmsplashscreen.h"
#include "tests/gui/fakeberichten.h"
#include "tests/gui/testhulp.h"

namespace zarvo::gui {
namespace {

// Collects what Qt reports as warnings while a test runs.
QStringList* waarschuwingen = nullptr;
void verzamel(QtMsgType soort, const QMessageLogContext&, const QString& tekst) {
  // The offscreen platform says this on every show; it is about the
  // platform, not about the form.
  if (tekst.contains(QLatin1String("propagateSizeHints"))) return;
  if (waarschuwingen && soort != QtDebugMsg && soort != QtInfoMsg) waarschuwingen->push_back(tekst);
}

Punt pt(double code, double x, double z) { return Punt{Cel(code), Cel(999.0), x, 0, z}; }

// Profiles with a ditch and a foreland point, named 'naam' plus a number.
void vulStore(int aantal, const std::string& naam) {
  taak() = Taak();
  ProfielStore& s = store();
  s.inputbestand = "/data/" + naam.substr(0, 50) + ".txt";
  for (int i = 1; i <= aantal; ++i) {
    Profiel p;
    p.naam = naam + std::to_string(i);
    p.punten = {pt(51, 0, 2), pt(99, 5, 3), pt(5, 20, 1), pt(99, 25, -1), pt(2, 30, 1), pt(99, 40, 2)};
    p.sloot = SlootRecord({p.naam, "-1,5", "1", "1", "3", "", "2"});
    s.profielen.push_back(std::move(p));
  }
  s.zetGrenzen(0, 0);
  s.dekGrenzen();
}

class Robuustheid : public ::testing::Test {
 protected:
  void SetUp() override {
    sluitAlleSchermen();
    waarschuwingen = &gezien_;
    vorige_ = qInstallMessageHandler(verzamel);
  }
  void TearDown() override {
    sluitAlleSchermen();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    qInstallMessageHandler(vorige_);
    waarschuwingen = nullptr;
    taak() = Taak();
  }

  // Shows the form, resizes it, lets it lay out and paint, and checks what
  // it drew.
  void rekUit(QWidget& w, int breedte, int hoogte) {
    SCOPED_TRACE(w.objectName().toStdString() + " " + std::to_string(breedte) + "x" + std::to_string(hoogte));
    w.show();
    w.resize(breedte, hoogte);
    QCoreApplication::processEvents();
    const QPixmap beeld = w.grab();
    EXPECT_FALSE(beeld.isNull());
    for (PictureBox* pic : w.findChildren<PictureBox*>()) {
      for (const Tekening& t : pic->displayList()) {
        const QPointF a = pic->naarPixel({t.x1, t.y1});
        EXPECT_TRUE(std::isfinite(a.x()) && std::isfinite(a.y())) << pic->objectName().toStdString();
      }
    }
  }

  template <class F>
  void beideMaten(F& w) {
    rekUit(w, 200, 150);
    rekUit(w, 3840, 2160);
    rekUit(w, 200, 150);
  }

  FakeBerichten berichten;
  QStringList gezien_;
  QtMessageHandler vorige_ = nullptr;
};

TEST_F(Robuustheid, EveryScreenAtTinyAndAtFourKSize) {
  vulStore(4, "DP");
  beideMaten(scherm<FrmSplashScreen>());
  beideMaten(scherm<FrmInput>());
  beideMaten(scherm<FrmLaden>());

  FrmGraphicView& review = scherm<FrmGraphicView>();
  review.begin();
  beideMaten(review);

  store().initialiseerProfielInfo();
  FrmPL& pl = scherm<FrmPL>();
  pl.laad();
  beideMaten(pl);
  beideMaten(scherm<FrmPuntCodes>());
  beideMaten(scherm<FrmOpslaan>());

  EXPECT_TRUE(berichten.getoond.empty()) << berichten.getoond.front().tekst.toStdString();
  EXPECT_TRUE(gezien_.isEmpty()) << gezien_.join("\n").toStdString();
}

// A laptop of 1366 × 768 with a task bar and a title bar leaves about
// 1366 × 690 for a window: every screen must fit, so that no button is off
// the screen.
TEST_F(Robuustheid, EveryScreenFitsALaptopScreen) {
  vulStore(4, "DP");
  FrmGraphicView& review = scherm<FrmGraphicView>();
  review.begin();
  store().initialiseerProfielInfo();
  FrmPL& pl = scherm<FrmPL>();
  pl.laad();
  for (QWidget* w : std::initializer_list<QWidget*>{&scherm<FrmInput>(), &review, &pl, &scherm<FrmOpslaan>(),
                                                    &scherm<FrmPuntCodes>()}) {
    const QSize nodig = w->minimumSizeHint().expandedTo(w->minimumSize());
    EXPECT_LE(nodig.width(), 1366) << w->objectName().toStdString();
    EXPECT_LE(nodig.height(), 690) << w->objectName().toStdString();
  }
}

TEST_F(Robuustheid, VeryLongNamesDoNotWidenTheWindowsPastTheScreen) {
  const std::string lang(5000, 'W');
  vulStore(2, lang);
  const int schermBreedte = 3840;

  FrmGraphicView& review = scherm<FrmGraphicView>();
  review.begin();
  rekUit(review, 800, 600);
  auto* label = review.findChild<QLabel*>("lblActiefProfiel");
  ASSERT_NE(label, nullptr);
  EXPECT_TRUE(label->text().contains(QString::fromStdString(lang + "1")));
  EXPECT_LE(review.minimumSizeHint().width(), schermBreedte);
  EXPECT_LE(review.width(), schermBreedte);

  store().initialiseerProfielInfo();
  FrmPL& pl = scherm<FrmPL>();
  pl.laad();
  rekUit(pl, 800, 600);
  EXPECT_LE(pl.minimumSizeHint().width(), schermBreedte);
  EXPECT_LE(pl.width(), schermBreedte);

  FrmOpslaan& opslaan = scherm<FrmOpslaan>();
  rekUit(opslaan, 800, 600);
  EXPECT_LE(opslaan.minimumSizeHint().width(), schermBreedte);

  EXPECT_TRUE(berichten.getoond.empty());
  EXPECT_TRUE(gezien_.isEmpty()) << gezien_.join("\n").toStdString();
}

TEST_F(Robuustheid, FastClicksOnNavigationLandWhereTheyCount) {
  vulStore(7, "P");
  FrmGraphicView& review = scherm<FrmGraphicView>();
  review.begin();
  review.show();
  auto* volgende = review.findChild<QPushButton*>("cmdVolgende");
  auto* vorige = review.findChild<QPushButton*>("cmdVorrige");
  ASSERT_TRUE(volgende && vorige);
  for (int i = 0; i < 500; ++i) volgende->click();
  EXPECT_EQ(review.huidigProfiel(), 500 % 7 + 1);
  for (int i = 0; i < 1000; ++i) vorige->click();
  EXPECT_EQ(review.huidigProfiel(), ((500 - 1000) % 7 + 7) % 7 + 1);
  // The labels follow the last click, not one in between.
  EXPECT_TRUE(review.findChild<QLabel*>("lblActiefProfiel")->text().startsWith(
      QString::fromStdString(store().profiel(review.huidigProfiel()).naam)));

  store().initialiseerProfielInfo();
  FrmPL& pl = scherm<FrmPL>();
  pl.laad();
  pl.show();
  auto* plVolgende = pl.findChild<QPushButton*>("cmdVolgende");
  ASSERT_NE(plVolgende, nullptr);
  for (int i = 0; i < 300; ++i) {
    plVolgende->click();
    QCoreApplication::processEvents();
  }
  EXPECT_EQ(pl.huidigProfiel(), 300 % 7 + 1);
  // Navigating draws; it never builds again: every profile kept its one
  // ditch (two bottom points) and one foreland (two points in front).
  for (const Profiel& p : store().profielen) EXPECT_EQ(p.punten.size(), 6u - 1u + 2u + 2u);
  EXPECT_TRUE(berichten.getoond.empty());
  EXPECT_TRUE(gezien_.isEmpty()) << gezien_.join("\n").toStdString();
}

TEST_F(Robuustheid, FastDeletesRemoveOneProfilePerConfirmedClick) {
  vulStore(6, "P");
  FrmGraphicView& review = scherm<FrmGraphicView>();
  review.begin();
  review.show();
  auto* verwijder = review.findChild<QPushButton*>("cmdVerwijderDWP");
  ASSERT_NE(verwijder, nullptr);

  // Refused questions delete nothing.
  for (int i = 0; i < 20; ++i) berichten.antwoorden.push_back(Antwoord::Nee);
  for (int i = 0; i < 20; ++i) verwijder->click();
  EXPECT_EQ(store().aantalProfielen(), 6);

  // Five confirmed clicks in a row, at profile 1 each time.
  for (int i = 0; i < 5; ++i) berichten.antwoorden.push_back(Antwoord::Ja);
  for (int i = 0; i < 5; ++i) verwijder->click();
  ASSERT_EQ(store().aantalProfielen(), 1);
  EXPECT_EQ(store().profiel(1).naam, "P6");
  EXPECT_EQ(store().verwijderdeProfielen, (std::vector<std::string>{"P1", "P2", "P3", "P4", "P5"}));
  EXPECT_EQ(review.huidigProfiel(), 1);
  EXPECT_EQ(berichten.beeindigd, 0);

  // The last one ends the program, once; a click after it changes nothing.
  berichten.antwoorden.push_back(Antwoord::Ja);
  berichten.antwoorden.push_back(Antwoord::Ja);
  verwijder->click();
  verwijder->click();
  EXPECT_EQ(store().aantalProfielen(), 0);
  EXPECT_EQ(store().aantalVerwijderd(), 6);
  EXPECT_EQ(berichten.beeindigd, 1);
  EXPECT_EQ(berichten.onverwachteVragen, 0);
  EXPECT_TRUE(gezien_.isEmpty()) << gezien_.join("\n").toStdString();
}

}  // namespace
}  // namespace zarvo::gui
