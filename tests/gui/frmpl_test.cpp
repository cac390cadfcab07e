// The ditch screen: construction on load, the drawing of the constructed
// profile, the water-level lines, navigation, the read-out and leaving.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QProcess>
#include <QProgressDialog>
#include <QTimer>
#include <sqlite3.h>
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "schermen/frmpl.h"
#include "schermen/frmpuntcodes.h"
#include "schermen/frmopslaan.h"
#include "schermen/frmgraphicview.h"
#include "platform/beeldexport.h"
#include "platform/picturebox.h"
#include "platform/qbcolor.h"
#include "tests/core/testmap.h"
#include "tests/gui/fakeberichten.h"
#include "tests/gui/testhulp.h"

namespace zarvo::gui {
namespace {

Punt pt(double veld1, double veld2, double x, double y, double z) {
  return Punt{Cel(veld1), Cel(veld2), x, y, z};
}

void voegToe(const std::string& naam, std::vector<Punt> punten, const std::string& bodem = "-1") {
  voegProfielToe(naam, std::move(punten), bodem);
}

// P1: a ditch between the edges at L 20 (code 5) and 30 (code 2), bottom -1,
// slopes 1:1, so bottom points at L 22 and 28. P2 has no edge; P3's bottom
// lies above its edges.
class FrmPLTest : public SchermTest {
 protected:
  void SetUp() override {
    SchermTest::SetUp();
    store().inputbestand = "/data/dijkvak 7.txt";
    voegToe("P1", {pt(1, 72, 0, 0, 3), pt(18, 4, 10, 0, 3), pt(99, 5, 20, 0, 1), pt(99, 999, 25, 0, 0),
                   pt(99, 2, 30, 0, 1), pt(99, 999, 35, 0, 1.5), pt(99, 3, 40, 0, 2)});
    voegToe("P2", {pt(1, 1, 0, 0, 1), pt(2, 7, 3, 4, 0), pt(3, 7, 3, 10, 2)});
    voegToe("P3", {pt(1, 5, 0, 0, 1), pt(2, 2, 10, 0, 1)}, "4");
    store().zetGrenzen(0, 0);
    store().dekGrenzen();
    store().initialiseerProfielInfo();
  }
  FrmPL& laad() {
    FrmPL& f = scherm<FrmPL>();
    f.laad();
    return f;
  }
  template <class T>
  T* kind(FrmPL& f, const char* naam) {
    T* w = f.findChild<T*>(naam);
    EXPECT_NE(w, nullptr) << naam;
    return w;
  }
  PictureBox& pic(FrmPL& f) { return *kind<PictureBox>(f, "picDwarsprofiel"); }
  LineControl& lijn(FrmPL& f, const char* naam) { return *kind<LineControl>(f, naam); }
  QString tekst(FrmPL& f, const char* naam) {
    if (auto* l = f.findChild<QLabel*>(naam)) return l->text();
    return kind<QLineEdit>(f, naam)->text();
  }
  void klik(FrmPL& f, const char* naam) { kind<QPushButton>(f, naam)->click(); }

  std::vector<Tekening> cirkels(FrmPL& f) {
    std::vector<Tekening> uit;
    for (const Tekening& t : pic(f).displayList()) {
      if (t.soort == Tekening::Soort::Cirkel) uit.push_back(t);
    }
    return uit;
  }

  FakeBerichten berichtenFake;
};

TEST_F(FrmPLTest, LoadWritesStartValuesInTheRegionalFormat) {
  {
    FrmPL& f = laad();
    EXPECT_EQ(tekst(f, "txtLiggingBoezempeil"), "-0,4");
    EXPECT_EQ(tekst(f, "txtLiggingPolderpeil"), "-2");
    EXPECT_EQ(tekst(f, "txtMaxDiepteSloot"), "1,5");
    EXPECT_EQ(tekst(f, "txtDieptefactor"), "0,2");
    EXPECT_EQ(f.windowTitle(), "Invoegen slootprofiel: /data/dijkvak 7.txt");
    EXPECT_EQ(tekst(f, "lblAantalProfielen"), "3");
    EXPECT_EQ(tekst(f, "lblActiefProfiel"), "P1 (1/3)");
    EXPECT_EQ(scherm<FrmPL>().huidigProfiel(), 1);
    EXPECT_EQ(f.knooppuntNummer(), 2);
    // The boezem line follows the loaded text, not the design-time -0.6.
    EXPECT_FLOAT_EQ(lijn(f, "lineBoezempeil").y1(), -0.4f);
    EXPECT_FLOAT_EQ(lijn(f, "linePolderpeil").y1(), -2.0f);
  }
  sluitAlleSchermen();
  LocaleVast punt(QLocale::c());
  FrmPL& f = laad();
  EXPECT_EQ(tekst(f, "txtLiggingBoezempeil"), "-0.4");
  EXPECT_EQ(tekst(f, "txtMaxDiepteSloot"), "1.5");
  EXPECT_EQ(tekst(f, "txtDieptefactor"), "0.2");
}

TEST_F(FrmPLTest, EveryProfileIsBuiltBeforeTheFirstDrawingAndItsOutcomeIsListed) {
  FrmPL& f = laad();
  // P1 got its two bottom points in place of the point between the edges.
  const auto& p1 = store().profiel(1).punten;
  ASSERT_EQ(p1.size(), 8u);
  EXPECT_EQ(p1[3].x, 22.0);
  EXPECT_EQ(p1[3].z, -1.0);
  EXPECT_EQ(p1[4].x, 28.0);
  // The first drawing already shows the ditch bottom.
  bool bodemGetekend = false;
  for (const Tekening& t : pic(f).displayList()) {
    if (t.soort == Tekening::Soort::Lijn && t.x1 == 22.0 && t.y1 == -1.0 && t.x2 == 28.0) bodemGetekend = true;
  }
  EXPECT_TRUE(bodemGetekend);
  EXPECT_EQ(store().profiel(2).punten.size(), 3u);
  EXPECT_EQ(store().profiel(3).punten.size(), 2u);

  // One message, for P3, through the message service.
  ASSERT_EQ(berichtenFake.getoond.size(), 1u);
  EXPECT_EQ(berichtenFake.getoond[0].titel, "Fout!");
  EXPECT_TRUE(berichtenFake.getoond[0].tekst.endsWith("P3"));

  const std::vector<SlootStatus> verwacht{SlootStatus::Sloot, SlootStatus::GeenSloot, SlootStatus::Fout};
  EXPECT_EQ(f.slootStatussen(), verwacht);
  auto* lijst = kind<QComboBox>(f, "cboProfiel");
  ASSERT_EQ(lijst->count(), 3);
  EXPECT_TRUE(lijst->itemText(0).contains("sloot gebouwd"));
  EXPECT_TRUE(lijst->itemText(1).contains("geen sloot"));
  EXPECT_TRUE(lijst->itemText(2).contains("fout"));
  // Choosing an entry shows that profile, with the record used for it.
  emit lijst->activated(2);
  EXPECT_EQ(scherm<FrmPL>().huidigProfiel(), 3);
  EXPECT_EQ(tekst(f, "lblActiefProfiel"), "P3 (3/3)");
  EXPECT_EQ(tekst(f, "lblRecordNaam"), "P3");
  EXPECT_EQ(tekst(f, "lblRecordBodem"), QString::fromStdString(std::string(store().profiel(3).sloot.kolom(2))));
}

// While the ditches are built neither the review nor the ditch screen is
// shown. A box closed then (here a window standing in for it) was the last
// window, and when the build next let events through the program quit.
TEST_F(FrmPLTest, AWindowClosedWhileBuildingDoesNotEndTheProgram) {
  berichtenFake.bijReeks = [] {
    QWidget venster;
    venster.show();
    venster.close();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  };
  FrmGraphicView& review = scherm<FrmGraphicView>();
  review.begin();
  review.show();
  QTimer::singleShot(0, [&review] {
    review.findChild<QPushButton*>("cmdOK")->click();
    QTimer::singleShot(0, [] { QCoreApplication::exit(42); });
  });
  EXPECT_EQ(QApplication::exec(), 42);
  EXPECT_TRUE(scherm<FrmPL>().isVisible());
}

// Four failing profiles: the box of the second is ticked "niet meer tonen",
// the other two are only counted and offered in a list; the filter then
// walks the failures only.
TEST_F(FrmPLTest, ManyFailuresCanBeSilencedAndWalkedWithTheFilter) {
  for (const char* naam : {"P4", "P5", "P6"}) voegToe(naam, {pt(1, 5, 0, 0, 1), pt(2, 2, 10, 0, 1)}, "4");
  berichtenFake.nietMeerTonenBij = 2;
  berichtenFake.antwoorden = {Antwoord::ToonAlle};
  FrmPL& f = laad();
  ASSERT_EQ(berichtenFake.getoond.size(), 3u);
  EXPECT_TRUE(berichtenFake.getoond[1].tekst.endsWith("P4"));
  EXPECT_EQ(berichtenFake.getoond[2].tekst, "Er zijn 2 meldingen niet getoond.");
  EXPECT_EQ(berichtenFake.getoond[2].knoppen, Knoppen::OKToonAlle);
  ASSERT_EQ(berichtenFake.lijsten.size(), 1u);
  EXPECT_TRUE(berichtenFake.lijsten[0].tekst.contains("profiel P5"));
  EXPECT_TRUE(berichtenFake.lijsten[0].tekst.contains("profiel P6"));

  auto* filter = kind<QComboBox>(f, "cboFilter");
  filter->setCurrentIndex(1);  // alleen fout
  EXPECT_EQ(f.huidigProfiel(), 3);
  klik(f, "cmdVolgende");
  klik(f, "cmdVolgende");
  klik(f, "cmdVolgende");
  EXPECT_EQ(f.huidigProfiel(), 6);
  klik(f, "cmdVolgende");
  EXPECT_EQ(f.huidigProfiel(), 3);
  filter->setCurrentIndex(2);  // alleen geen sloot
  EXPECT_EQ(f.huidigProfiel(), 2);
  klik(f, "cmdVorrige");
  EXPECT_EQ(f.huidigProfiel(), 2);
}

// A filter that leaves nothing to walk says so and goes back to every
// profile.
TEST_F(FrmPLTest, AnEmptyFilterSaysSo) {
  store().profielen.resize(1);  // P1 only: it gets its ditch
  FrmPL& f = laad();
  berichtenFake.getoond.clear();
  kind<QComboBox>(f, "cboFilter")->setCurrentIndex(1);  // alleen fout
  ASSERT_EQ(berichtenFake.getoond.size(), 1u);
  EXPECT_EQ(berichtenFake.getoond[0].tekst, "Geen enkel profiel valt onder 'Alleen fout'.");
  EXPECT_EQ(kind<QComboBox>(f, "cboFilter")->currentIndex(), 0);
}

// While a "Fout!" box waits for the user, the progress window does not come
// up over it (it would take the keyboard from the box): the progress
// window's own timer shows it after four seconds, so the box waits longer.
TEST_F(FrmPLTest, NoProgressWindowOverAWaitingBox) {
  bool zichtbaar = false;
  berichtenFake.bijReeks = [&] {
    QTest::qWait(4300);
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (qobject_cast<QProgressDialog*>(w) && w->isVisible()) zichtbaar = true;
    }
  };
  laad();
  ASSERT_GE(berichtenFake.inReeks, 1);
  EXPECT_FALSE(zichtbaar);
}

// P1's ditch replaced one surveyed point (L 25, Z 0) between edges 10 m
// apart: the panel gives the dimensions, the old ground runs light and
// dashed from edge to edge through it, and the switch takes it away.
TEST_F(FrmPLTest, DimensionsAndTheSurveyedGroundUnderTheDitch) {
  FrmPL& f = laad();
  const QStringList maten = {tekst(f, "lblBovenbreedte"), tekst(f, "lblBodembreedte"), tekst(f, "lblBodempeil"),
                             tekst(f, "lblDiepteDijk"),   tekst(f, "lblDieptePolder"), tekst(f, "lblMaatTaludDijk"),
                             tekst(f, "lblMaatTaludPolder"), tekst(f, "lblVervangen")};
  EXPECT_EQ(maten, QStringList({"10,00 m", "6,00 m", "-1,00 m", "2,00 m", "2,00 m", "1,00", "1,00", "1"}));
  auto oudeGrond = [&] {
    std::vector<Tekening> uit;
    for (const Tekening& t : pic(f).displayList()) {
      if (t.soort == Tekening::Soort::Lijn && t.kleur == qbColor(7)) uit.push_back(t);
    }
    return uit;
  };
  const std::vector<Tekening> oud = oudeGrond();
  ASSERT_GT(oud.size(), 4u);
  double minL = 1e9, maxL = -1e9, minZ = 1e9;
  for (const Tekening& t : oud) {
    minL = std::min({minL, t.x1, t.x2});
    maxL = std::max({maxL, t.x1, t.x2});
    minZ = std::min({minZ, t.y1, t.y2});
  }
  EXPECT_DOUBLE_EQ(oud.front().x1, 20.0);
  EXPECT_DOUBLE_EQ(oud.front().y1, 1.0);
  EXPECT_LE(maxL, 30.0 + 0.2);
  EXPECT_GE(minL, 20.0 - 0.2);
  EXPECT_NEAR(minZ, 0.0, 0.05);  // down to the replaced point, not to the new bottom
  std::vector<Tekening> kruisen;
  for (const Tekening& t : pic(f).displayList()) {
    if (t.soort == Tekening::Soort::Kruis) kruisen.push_back(t);
  }
  ASSERT_EQ(kruisen.size(), 1u);
  EXPECT_DOUBLE_EQ(kruisen[0].x1, 25.0);
  EXPECT_DOUBLE_EQ(kruisen[0].y1, 0.0);

  kind<QCheckBox>(f, "chkMaaiveld")->setChecked(false);
  EXPECT_TRUE(oudeGrond().empty());
  klik(f, "cmdVolgende");  // P2 has no ditch
  EXPECT_EQ(tekst(f, "lblBovenbreedte"), QString::fromUtf8("\u2013"));
}

TEST_F(FrmPLTest, PointsAreColouredByTheFirstMatchingCode) {
  FrmPL& f = laad();
  const std::vector<Tekening> c = cirkels(f);
  // Points 2..8 minus the 99/999 point, then the two grey end slots.
  ASSERT_EQ(c.size(), 8u);
  struct Verwacht {
    double l;
    int kleur;
  };
  const Verwacht gekleurd[] = {{10, 4},   // fields 18 and 4: 18 comes first
                               {20, 7},   // edge, code 5
                               {22, 5},   // bottom point, code 4
                               {28, 3},   // bottom point, code 3
                               {30, 13},  // edge, code 2
                               {40, 3}};  // fields 99 and 3
  for (std::size_t i = 0; i < 6; ++i) {
    EXPECT_DOUBLE_EQ(c[i].x1, gekleurd[i].l) << i;
    EXPECT_EQ(c[i].kleur, qbColor(gekleurd[i].kleur)) << i;
    EXPECT_DOUBLE_EQ(c[i].straal, 40.0 / 250) << i;
    // Only the two built bottom points are filled.
    EXPECT_EQ(c[i].gevuld, i == 2 || i == 3) << i;
  }
  // Scale: 1.1 L wide from -0.05 L; 2.8 D high from Zmax + 0.9 D (D = 4).
  EXPECT_FLOAT_EQ(pic(f).scaleLeft(), -2.0f);
  EXPECT_FLOAT_EQ(pic(f).scaleWidth(), 44.0f);
  EXPECT_FLOAT_EQ(pic(f).scaleTop(), 3.0f + 3.6f);
  EXPECT_FLOAT_EQ(pic(f).scaleHeight(), -11.2f);
  ASSERT_EQ(f.geometrie().lz.size(), 8u);
  EXPECT_DOUBLE_EQ(f.geometrie().lz[7].l, 40.0);
}

TEST_F(FrmPLTest, EndSlotsGetGreyCirclesAndAFilledMiddleSlotLocksThePicture) {
  FrmPL& f = laad();
  // The end markers come from the profile itself; drawing leaves the
  // selection record as the construction set it.
  const Profiel& p1 = store().profiel(1);
  EXPECT_EQ(p1.profielInfo()[2], Cel(-1.0));
  EXPECT_EQ(p1.profielInfo()[35], Cel(-1.0));
  const std::vector<Tekening> c = cirkels(f);
  ASSERT_GE(c.size(), 2u);
  const Tekening& eind = c[c.size() - 2];
  const Tekening& begin = c[c.size() - 1];
  EXPECT_EQ(eind.kleur, qbColor(8));
  EXPECT_DOUBLE_EQ(eind.x1, 40.0);
  EXPECT_DOUBLE_EQ(eind.y1, 2.0);
  EXPECT_DOUBLE_EQ(eind.straal, 0.4);
  EXPECT_EQ(begin.kleur, qbColor(8));
  EXPECT_DOUBLE_EQ(begin.x1, 0.0);
  EXPECT_DOUBLE_EQ(begin.y1, 3.0);
  EXPECT_TRUE(pic(f).isEnabled());
  // P1's ditch is built: there is nothing left to choose.
  EXPECT_EQ(tekst(f, "lblSelect"), "Alle punten zijn geselecteerd");

  // P2 bends (running length 11, straight length sqrt(109)): slots sit at
  // their straight plan distance from the first point.
  Profiel& p2 = store().profiel(2);
  p2.profielInfo()[5] = Cel(6.0);
  p2.profielInfo()[6] = Cel(8.0);
  p2.profielInfo()[7] = Cel(-0.5);
  klik(f, "cmdVolgende");
  EXPECT_FALSE(pic(f).isEnabled());
  EXPECT_EQ(tekst(f, "lblSelect"), "Alle punten zijn geselecteerd");
  std::vector<Tekening> grijs;
  for (const Tekening& t : cirkels(f)) {
    if (t.kleur == qbColor(8)) grijs.push_back(t);
  }
  ASSERT_EQ(grijs.size(), 3u);
  EXPECT_DOUBLE_EQ(grijs[0].x1, std::sqrt(109.0));  // end slot: the last point
  EXPECT_DOUBLE_EQ(grijs[1].x1, 10.0);              // the middle slot
  EXPECT_DOUBLE_EQ(grijs[1].y1, -0.5);
  EXPECT_DOUBLE_EQ(grijs[1].straal, 11.0 / 100);
  // The next profile change unlocks it again.
  klik(f, "cmdVolgende");
  EXPECT_TRUE(pic(f).isEnabled());
  EXPECT_EQ(tekst(f, "lblSelect"), "Selecteer slootkant rechts");
}

// A level far below the ground (P1 lies between 0 and 3 m) shows as a
// marker with its value at the bottom edge; back in view, the marker goes.
TEST_F(FrmPLTest, ALevelOutsideThePictureIsMarkedAtItsEdge) {
  FrmPL& f = laad();
  f.resize(900, 600);
  f.show();
  QCoreApplication::processEvents();
  EXPECT_TRUE(pic(f).randMarkeringen().empty());
  kind<QLineEdit>(f, "txtLiggingPolderpeil")->setText("-50");
  klik(f, "cmdUpdate");
  const std::vector<RandMarkering> buiten = pic(f).randMarkeringen();
  ASSERT_EQ(buiten.size(), 1u);
  EXPECT_EQ(buiten[0].tekst, "Polderpeil -50,00");
  EXPECT_FALSE(buiten[0].boven);
  EXPECT_EQ(buiten[0].kleur, lijn(f, "linePolderpeil").kleur());
  // A saved picture shows the marker as the screen does (read back from
  // SVG, the format that keeps the text; not built everywhere).
  if (svgMogelijk()) {
    QTemporaryDir map;
    const QString svg = map.filePath("beeld.svg");
    ASSERT_EQ(slaBeeldOp(pic(f), QStringLiteral("P1"), svg), std::nullopt);
    QFile bestand(svg);
    ASSERT_TRUE(bestand.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromUtf8(bestand.readAll()).contains("Polderpeil -50,00"));
  }
  kind<QLineEdit>(f, "txtLiggingPolderpeil")->setText("1");
  klik(f, "cmdUpdate");
  EXPECT_TRUE(pic(f).randMarkeringen().empty());
}

TEST_F(FrmPLTest, GuideLinesAndTheirFailurePath) {
  FrmPL& f = laad();
  LineControl& boezem = lijn(f, "lineBoezempeil");
  LineControl& polder = lijn(f, "linePolderpeil");
  f.tekenPeilen(100);
  EXPECT_FLOAT_EQ(boezem.x1(), -5.0f);
  EXPECT_FLOAT_EQ(boezem.x2(), 110.0f);
  EXPECT_FLOAT_EQ(polder.x1(), -5.0f);
  EXPECT_FLOAT_EQ(polder.x2(), 110.0f);
  EXPECT_EQ(berichtenFake.getoond.size(), 1u);  // only the construction's message for P3

  // Updating uses the picture's width (44 for P1): -2.2 to 48.4.
  auto* txtBoezem = kind<QLineEdit>(f, "txtLiggingBoezempeil");
  auto* txtPolder = kind<QLineEdit>(f, "txtLiggingPolderpeil");
  txtBoezem->setText("-0,8");
  emit txtBoezem->returnPressed();  // Enter in the box updates as the button does
  EXPECT_FLOAT_EQ(boezem.y1(), -0.8f);
  EXPECT_FLOAT_EQ(boezem.y2(), -0.8f);
  EXPECT_FLOAT_EQ(boezem.x1(), -2.2f);
  EXPECT_FLOAT_EQ(boezem.x2(), 48.4f);
  EXPECT_EQ(berichtenFake.getoond.size(), 1u);

  // An empty polderpeil: both lines jump, one message, texts kept.
  txtPolder->setText("");
  klik(f, "cmdUpdate");
  EXPECT_FLOAT_EQ(boezem.y1(), 0.6f);
  EXPECT_FLOAT_EQ(polder.y1(), -2.0f);
  EXPECT_FLOAT_EQ(polder.y2(), -2.0f);
  EXPECT_FLOAT_EQ(polder.x1(), -2.2f);
  ASSERT_EQ(berichtenFake.getoond.size(), 2u);
  EXPECT_EQ(berichtenFake.getoond[1].tekst, "De peilen zijn geen getal. Kan de waarden niet veranderen");
  EXPECT_EQ(berichtenFake.getoond[1].titel, "Fout!");
  EXPECT_EQ(berichtenFake.getoond[1].icoon, Icoon::Kritiek);
  EXPECT_EQ(txtPolder->text(), "");
  EXPECT_EQ(txtBoezem->text(), "-0,8");

  // Where the separator is a point, "-0,8" is no number.
  LocaleVast punt(QLocale::c());
  txtPolder->setText("-3.5");
  txtBoezem->setText("-0.7");
  klik(f, "cmdUpdate");
  EXPECT_FLOAT_EQ(boezem.y1(), -0.7f);
  EXPECT_FLOAT_EQ(polder.y1(), -3.5f);
  txtBoezem->setText("-0,8");
  klik(f, "cmdUpdate");
  EXPECT_FLOAT_EQ(boezem.y1(), 0.6f);
  EXPECT_FLOAT_EQ(polder.y1(), -2.0f);
  EXPECT_EQ(berichtenFake.getoond.size(), 3u);
  // A level beyond single precision cannot be drawn either.
  txtBoezem->setText("1e39");
  txtPolder->setText("-3.5");
  klik(f, "cmdUpdate");
  EXPECT_FLOAT_EQ(boezem.y1(), 0.6f);
  EXPECT_EQ(berichtenFake.getoond.size(), 4u);
}

TEST_F(FrmPLTest, NavigationWrapsAndResetsThePerProfileState) {
  FrmPL& f = laad();
  klik(f, "cmdVorrige");
  EXPECT_EQ(scherm<FrmPL>().huidigProfiel(), 3);
  EXPECT_EQ(tekst(f, "lblActiefProfiel"), "P3 (3/3)");
  EXPECT_EQ(kind<QComboBox>(f, "cboProfiel")->currentIndex(), 2);
  klik(f, "cmdVolgende");
  EXPECT_EQ(scherm<FrmPL>().huidigProfiel(), 1);
  EXPECT_EQ(tekst(f, "lblActiefProfiel"), "P1 (1/3)");
  klik(f, "cmdVolgende");
  EXPECT_EQ(scherm<FrmPL>().huidigProfiel(), 2);
  EXPECT_EQ(f.knooppuntNummer(), 2);
  EXPECT_EQ(f.selectieTeller(), 0);
  EXPECT_TRUE(kind<QPushButton>(f, "cmdVolgende")->isEnabled());
  EXPECT_TRUE(kind<QPushButton>(f, "cmdVorrige")->isEnabled());
  // The crosshair restarts at the top-left corner of the new drawing.
  LineControl& h = lijn(f, "kruisdraadHorizontaal");
  LineControl& v = lijn(f, "kruisdraadVerticaal");
  EXPECT_FLOAT_EQ(h.y1(), pic(f).scaleTop());
  EXPECT_FLOAT_EQ(h.x2(), pic(f).scaleLeft() + pic(f).scaleWidth());
  EXPECT_FLOAT_EQ(v.x1(), pic(f).scaleLeft());
  EXPECT_FLOAT_EQ(v.y2(), pic(f).scaleTop() + pic(f).scaleHeight());
  EXPECT_TRUE(h.isVisible());
}

// A name or number typed into the jump field with Enter jumps; Enter does
// not go on to saving, Alt+O does.
TEST_F(FrmPLTest, TypedJumpAndEnterStayOnTheScreen) {
  FrmPL& f = laad();
  f.show();
  QApplication::setActiveWindow(&f);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
  auto* lijst = kind<QComboBox>(f, "cboProfiel");
  lijst->setFocus();
  lijst->lineEdit()->selectAll();
  QTest::keyClicks(lijst, "p3");
  QTest::keyClick(lijst, Qt::Key_Return);
  EXPECT_EQ(f.huidigProfiel(), 3);
  lijst->lineEdit()->selectAll();
  QTest::keyClicks(lijst, "2");
  QTest::keyClick(lijst, Qt::Key_Enter);
  EXPECT_EQ(f.huidigProfiel(), 2);
  pic(f).setFocus();
  QTest::keyClick(&pic(f), Qt::Key_Return);
  ASSERT_TRUE(schermBestaat<FrmPL>());
  QTest::keyClick(&pic(f), Qt::Key_O, Qt::AltModifier);
  EXPECT_FALSE(f.isVisible()) << "hidden, kept for the save screen's way back";
  EXPECT_TRUE(schermBestaat<FrmOpslaan>());
}

TEST_F(FrmPLTest, WithOneProfileBothButtonsRedrawIt) {
  store().verwijderProfiel(3);
  store().verwijderProfiel(2);
  FrmPL& f = laad();
  pic(f).cls();
  klik(f, "cmdVolgende");
  EXPECT_EQ(scherm<FrmPL>().huidigProfiel(), 1);
  EXPECT_FALSE(pic(f).displayList().empty());
  pic(f).cls();
  klik(f, "cmdVorrige");
  EXPECT_EQ(scherm<FrmPL>().huidigProfiel(), 1);
  EXPECT_FALSE(pic(f).displayList().empty());
}

TEST_F(FrmPLTest, FlatOrSinglePointProfilesStillGetAScale) {
  store().wisAlles();
  voegToe("vlak", {pt(1, 1, 0, 0, 2), pt(2, 1, 5, 0, 2)});
  voegToe("punt", {pt(1, 1, 7, 7, -1)});
  store().zetGrenzen(0, 0);
  store().dekGrenzen();
  store().initialiseerProfielInfo();
  FrmPL& f = laad();
  EXPECT_FLOAT_EQ(pic(f).scaleWidth(), 5.5f);
  EXPECT_LT(pic(f).scaleHeight(), 0.0f);
  klik(f, "cmdVolgende");
  EXPECT_GT(pic(f).scaleWidth(), 0.0f);
  EXPECT_LT(pic(f).scaleHeight(), 0.0f);
  // Its grey end circles are still visible.
  for (const Tekening& t : cirkels(f)) EXPECT_GT(t.straal, 0.0);
}

TEST_F(FrmPLTest, MouseMoveShowsTheReadOutAndMovesTheCrosshair) {
  FrmPL& f = laad();
  LocaleVast punt(QLocale::c());
  lijn(f, "kruisdraadHorizontaal").setVisible(false);
  emit pic(f).muisBeweegt(12.345, -1.5);
  EXPECT_EQ(pic(f).toolTip(), "L = 12.35m, Z = -1.50m");
  EXPECT_TRUE(lijn(f, "kruisdraadHorizontaal").isVisible());
  EXPECT_FLOAT_EQ(lijn(f, "kruisdraadHorizontaal").y1(), -1.5f);
  EXPECT_FLOAT_EQ(lijn(f, "kruisdraadHorizontaal").y2(), -1.5f);
  EXPECT_FLOAT_EQ(lijn(f, "kruisdraadVerticaal").x1(), 12.345f);
  EXPECT_FLOAT_EQ(lijn(f, "kruisdraadVerticaal").x2(), 12.345f);
  EXPECT_FLOAT_EQ(static_cast<float>(f.muispositieX()), 12.345f);
  EXPECT_DOUBLE_EQ(f.muispositieY(), -1.5);
  emit pic(f).muisBeweegt(-0.004, 1234.5);
  EXPECT_EQ(pic(f).toolTip(), "L = 0.00m, Z = 1234.50m");
  QLocale::setDefault(QLocale(QLocale::Dutch, QLocale::Netherlands));
  emit pic(f).muisBeweegt(-2.125, 0.005);
  EXPECT_EQ(pic(f).toolTip(), "L = -2,13m, Z = 0,01m");
}

TEST_F(FrmPLTest, StopAsksWithoutIconAndEndsOnlyOnYes) {
  FrmPL& f = laad();
  const auto voor = store().profiel(1).punten.size();
  berichtenFake.antwoorden = {Antwoord::Nee};
  klik(f, "cmdStop");
  ASSERT_EQ(berichtenFake.getoond.size(), 2u);
  const GetoondBericht vraag = berichtenFake.getoond[1];
  EXPECT_EQ(vraag.tekst, "Weet u zeker dat u wilt stoppen? Wijzigingen worden niet opgeslagen!");
  EXPECT_EQ(vraag.titel, "Let op!");
  EXPECT_EQ(vraag.icoon, Icoon::Geen);
  EXPECT_EQ(vraag.knoppen, Knoppen::JaNee);
  EXPECT_EQ(berichtenFake.beeindigd, 0);
  EXPECT_TRUE(schermBestaat<FrmPL>());
  EXPECT_EQ(store().profiel(1).punten.size(), voor);
  EXPECT_EQ(scherm<FrmPL>().huidigProfiel(), 1);

  berichtenFake.antwoorden = {Antwoord::Ja};
  klik(f, "cmdStop");
  EXPECT_EQ(berichtenFake.beeindigd, 1);

  // The window's close button asks the same question.
  f.show();
  berichtenFake.antwoorden = {Antwoord::Nee};
  EXPECT_FALSE(f.close());
  EXPECT_TRUE(f.isVisible());
  EXPECT_EQ(berichtenFake.getoond.back().tekst, vraag.tekst);
  EXPECT_EQ(berichtenFake.beeindigd, 1);
}

TEST_F(FrmPLTest, OkHandsOverToTheSaveScreenAndTheLegendOpensModally) {
  FrmPL& f = laad();
  f.show();
  klik(f, "cdmPuntCodes");
  ASSERT_TRUE(schermBestaat<FrmPuntCodes>());
  EXPECT_TRUE(scherm<FrmPuntCodes>().isVisible());
  EXPECT_EQ(scherm<FrmPuntCodes>().windowModality(), Qt::ApplicationModal);
  scherm<FrmPuntCodes>().findChild<QPushButton*>("cmdSluitVenster")->click();
  EXPECT_FALSE(schermBestaat<FrmPuntCodes>());

  klik(f, "cmdOK");
  EXPECT_FALSE(f.isVisible()) << "hidden, kept for the save screen's way back";
  ASSERT_TRUE(schermBestaat<FrmOpslaan>());
  EXPECT_TRUE(scherm<FrmOpslaan>().isVisible());
  // The constructed profiles stay in the store for the save screen.
  EXPECT_EQ(store().profiel(1).punten.size(), 8u);
}

// "<< Terug" returns to the review with the profiles as they were before
// the build, the deletion and its undo history kept; going on again builds
// afresh and saves what going straight on saves.
TEST_F(FrmPLTest, BackToTheReviewAndOnAgainSavesWhatGoingStraightOnSaves) {
  taak() = Taak();
  taak().zetBestanden(ZARVO_BRON "/voorbeelden/profielen.txt", ZARVO_BRON "/voorbeelden/sloot.csv");
  ASSERT_TRUE(volgorde().leesIn());
  berichtenFake.antwoorden = {Antwoord::Ja};
  scherm<FrmGraphicView>().findChild<QPushButton*>("cmdVerwijderDWP")->click();
  const Profielen gelezen = store().profielen;
  scherm<FrmGraphicView>().findChild<QPushButton*>("cmdOK")->click();
  ASSERT_TRUE(schermBestaat<FrmPL>());
  auto aantalPunten = [](const Profielen& profielen) {
    std::size_t n = 0;
    for (const Profiel& p : profielen) n += p.punten.size();
    return n;
  };
  ASSERT_NE(aantalPunten(store().profielen), aantalPunten(gelezen));  // built

  klik(scherm<FrmPL>(), "cmdTerug");
  EXPECT_FALSE(schermBestaat<FrmPL>());
  ASSERT_TRUE(schermBestaat<FrmGraphicView>());
  ASSERT_EQ(store().profielen.size(), gelezen.size());
  for (std::size_t i = 0; i < gelezen.size(); ++i) EXPECT_EQ(store().profielen[i].punten.size(), gelezen[i].punten.size());
  EXPECT_EQ(store().aantalVerwijderd(), 1);
  EXPECT_TRUE(scherm<FrmGraphicView>().findChild<QPushButton*>("cmdOngedaan")->isEnabled());

  scherm<FrmGraphicView>().findChild<QPushButton*>("cmdOK")->click();
  ASSERT_TRUE(schermBestaat<FrmPL>());
  zarvotest::TestMap heen, recht;
  ASSERT_FALSE(taak().slaOp(heen.map().string(), {"r.txt"}, "v.txt", '.'));

  Taak rechtdoor;
  rechtdoor.zetBestanden(ZARVO_BRON "/voorbeelden/profielen.txt", ZARVO_BRON "/voorbeelden/sloot.csv");
  MeldingVerzamelaar stil;
  ASSERT_FALSE(rechtdoor.leesIn(stil, '.'));
  ASSERT_FALSE(rechtdoor.verwijder(1));
  rechtdoor.bouwSloten(stil);
  ASSERT_FALSE(rechtdoor.slaOp(recht.map().string(), {"r.txt"}, "v.txt", '.'));
  for (const char* naam : {"r.txt", "v.txt"}) {
    const std::string a = zarvotest::leesAlles(heen.map() / naam);
    EXPECT_GT(a.size(), 20u);
    EXPECT_TRUE(a == zarvotest::leesAlles(recht.map() / naam)) << naam;
  }
}

// From the review screen's OK on the bundled sample: the ditch screen opens
// with every profile built and the first one drawn with its bottom points.
TEST_F(FrmPLTest, ReviewHandsOverOnTheSample) {
  taak() = Taak();
  taak().zetBestanden(ZARVO_BRON "/voorbeelden/profielen.txt", ZARVO_BRON "/voorbeelden/sloot.csv");
  ASSERT_TRUE(volgorde().leesIn());
  const std::int32_t aantal = store().aantalProfielen();
  ASSERT_GT(aantal, 1);
  scherm<FrmGraphicView>().findChild<QPushButton*>("cmdOK")->click();
  ASSERT_TRUE(schermBestaat<FrmPL>());
  FrmPL& f = scherm<FrmPL>();
  EXPECT_TRUE(f.isVisible());
  EXPECT_EQ(tekst(f, "lblAantalProfielen"), QString::number(aantal));
  ASSERT_EQ(f.slootStatussen().size(), static_cast<std::size_t>(aantal));
  EXPECT_EQ(f.slootStatussen()[0], SlootStatus::Sloot);
  // Profile 1's bottom points lie at its ditch bottom, -1.60, coloured as
  // codes 4 and 3.
  std::vector<QColor> bodem;
  for (const Tekening& t : cirkels(f)) {
    if (t.y1 == -1.6) bodem.push_back(t.kleur);
  }
  const std::vector<QColor> verwacht{qbColor(5), qbColor(3)};
  EXPECT_EQ(bodem, verwacht);
}

// Every row of the tables a GIS reads, as text; the time of the last change
// (set as the file is made) left out.
std::vector<std::string> inhoudGeoPackage(const std::string& pad) {
  sqlite3* db = nullptr;
  EXPECT_EQ(sqlite3_open_v2(pad.c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK) << pad;
  std::vector<std::string> rijen;
  for (const char* sql : {"SELECT * FROM gpkg_spatial_ref_sys", "SELECT * FROM gpkg_geometry_columns",
                          "SELECT table_name, min_x, min_y, max_x, max_y, srs_id FROM gpkg_contents",
                          "SELECT * FROM profielen", "SELECT * FROM punten", "SELECT * FROM sloten",
                          "SELECT * FROM verwijderd"}) {
    sqlite3_stmt* s = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(db, sql, -1, &s, nullptr), SQLITE_OK) << sql;
    while (s && sqlite3_step(s) == SQLITE_ROW) {
      std::string rij = sql;
      for (int k = 0; k < sqlite3_column_count(s); ++k) {
        const auto* b = static_cast<const char*>(sqlite3_column_blob(s, k));
        rij += '|' + std::string(b ? b : "", static_cast<std::size_t>(sqlite3_column_bytes(s, k)));
      }
      rijen.push_back(std::move(rij));
    }
    sqlite3_finalize(s);
  }
  sqlite3_close(db);
  return rijen;
}

// The two exports of the ditch screen hold what the batch writes for the
// same job: the DXF byte for byte, the GeoPackage row for row.
TEST_F(FrmPLTest, ExportsMatchTheBatchOnTheSample) {
  taak() = Taak();
  taak().zetBestanden(ZARVO_BRON "/voorbeelden/profielen.txt", ZARVO_BRON "/voorbeelden/sloot.csv");
  ASSERT_TRUE(volgorde().leesIn());
  scherm<FrmGraphicView>().findChild<QPushButton*>("cmdOK")->click();
  ASSERT_TRUE(schermBestaat<FrmPL>());
  zarvotest::TestMap map;
  FrmPL& f = scherm<FrmPL>();
  EXPECT_FALSE(f.exporteerNaar(QString::fromStdString(map.pad("scherm.gpkg")), 28992));
  EXPECT_FALSE(f.exporteerNaar(QString::fromStdString(map.pad("scherm.dxf")), std::nullopt));
  QProcess batch;
  batch.start(QStringLiteral(ZARVO_BATCH),
              {"bouw", ZARVO_BRON "/voorbeelden/profielen.txt", ZARVO_BRON "/voorbeelden/sloot.csv", "--uitvoermap",
               QString::fromStdString(map.pad("")), "--kaart", "batch.gpkg", "--dxf", "batch.dxf"});
  ASSERT_TRUE(batch.waitForFinished(60000));
  ASSERT_EQ(batch.exitCode(), 0) << batch.readAllStandardError().toStdString();
  const std::vector<std::string> scherm = inhoudGeoPackage(map.pad("scherm.gpkg"));
  EXPECT_GT(scherm.size(), 100u);
  EXPECT_EQ(scherm, inhoudGeoPackage(map.pad("batch.gpkg")));
  EXPECT_EQ(zarvotest::leesAlles(map.pad("scherm.dxf")), zarvotest::leesAlles(map.pad("batch.dxf")));
}

}  // namespace
}  // namespace zarvo::gui

namespace zarvo::gui {
namespace {

// P2 has no ditch codes: the engineer clicks its edges. L of its points:
// 0, 5 and 11 (Z 1, 0 and 2).
TEST_F(FrmPLTest, ClickingTheEdgesBuildsTheDitchAndEveryChoiceIsUndoable) {
  taak().zetTerugMogelijk(true);  // as the screen order does before the build
  FrmPL& f = laad();
  f.resize(1000, 650);
  f.show();
  klik(f, "cmdVolgende");
  ASSERT_EQ(f.huidigProfiel(), 2);
  EXPECT_EQ(tekst(f, "lblSelect"), "Selecteer slootkant links");
  EXPECT_TRUE(kind<QLineEdit>(f, "txtMaxDiepteSloot")->isReadOnly());

  // Hovering marks the point a click would take, nearest on screen.
  emit pic(f).muisBeweegt(10.0, 1.5);
  EXPECT_EQ(f.puntOnderMuis(), 3);
  EXPECT_TRUE(lijn(f, "markeringMuis0").isVisible());
  emit pic(f).geklikt(0.3, 0.9);
  EXPECT_EQ(f.gekozenDijk(), 1);
  EXPECT_EQ(tekst(f, "lblSelect"), "Selecteer slootkant rechts");
  // A polder side that is not past the dike side is refused.
  const std::size_t getoond = berichtenFake.getoond.size();
  emit pic(f).geklikt(0.0, 1.0);
  ASSERT_EQ(berichtenFake.getoond.size(), getoond + 1);
  EXPECT_TRUE(berichtenFake.getoond.back().tekst.contains("polderzijde"));
  EXPECT_EQ(f.gekozenDijk(), 1);
  emit pic(f).geklikt(11.0, 2.0);
  ASSERT_TRUE(taak().bouwfeiten()[1].heeftSloot());
  EXPECT_EQ(store().profiel(2).punten.size(), 4u);  // point 2 made way for the bottom
  EXPECT_EQ(store().profiel(2).slootkeuze(), (Slootkeuze{1, 3, 0, 0, 3, 10}));
  EXPECT_EQ(tekst(f, "lblSelect"), "Alle punten zijn geselecteerd");
  EXPECT_EQ(f.slootStatussen()[1], SlootStatus::Sloot);

  QApplication::setActiveWindow(&f);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
  pic(f).setFocus();
  QTest::keyClick(&pic(f), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(store().profiel(2).punten.size(), 3u);
  EXPECT_FALSE(taak().bouwfeiten()[1].heeftSloot());
  EXPECT_EQ(tekst(f, "lblSelect"), "Selecteer slootkant links");
  QTest::keyClick(&pic(f), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_TRUE(taak().bouwfeiten()[1].heeftSloot());

  // P1 was built from its codes; "opnieuw kiezen" takes it back to the
  // ground as surveyed, and then both edges are asked.
  klik(f, "cmdVorrige");
  ASSERT_EQ(f.huidigProfiel(), 1);
  klik(f, "cmdSlootkantenOpnieuw");
  EXPECT_EQ(store().profiel(1).punten.size(), 7u);
  EXPECT_EQ(store().profiel(1).slootkeuze(), Slootkeuze{});
  EXPECT_EQ(tekst(f, "lblSelect"), "Selecteer slootkant links");
  // Both choices survive the way back to the review.
  klik(f, "cmdTerug");
  EXPECT_EQ(store().profiel(1).slootkeuze(), Slootkeuze{});
  EXPECT_EQ(store().profiel(2).slootkeuze(), (Slootkeuze{1, 3, 0, 0, 3, 10}));
}

}  // namespace
}  // namespace zarvo::gui
