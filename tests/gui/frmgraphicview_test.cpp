// The review screen, driven through its controls as a user would, with the
// message service replaced by a recording fake.
#include <gtest/gtest.h>

#include <QApplication>
#include <QAbstractItemView>
#include <QComboBox>
#include <QCompleter>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>

#include "schermen/frmpl.h"
#include "platform/picturebox.h"
#include "platform/profielnavigatie.h"
#include "platform/qbcolor.h"
#include "platform/trajectoverzicht.h"
#include "schermen/frmgraphicview.h"
#include "schermen/schaalbalk.h"
#include "basis/profielgeometrie.h"
#include "tests/gui/fakeberichten.h"
#include "tests/gui/testhulp.h"

namespace zarvo::gui {
namespace {

struct P {
  double x, y, z;
};

Profiel maakProfiel(const std::string& naam, std::initializer_list<P> punten) {
  Profiel p;
  p.naam = naam;
  for (const P& q : punten) p.punten.push_back({Cel(99.0), Cel(999.0), q.x, q.y, q.z});
  p.sloot = SlootRecord({naam, "-1.5", "2", "2", "", "", ""});
  return p;
}

// Three profiles, P1 the known one: plan extents 6 (X) and 8 (Y), length
// 10, heights 1.0 .. 2.5.
Profielen drieProfielen() {
  return {maakProfiel("P1", {{100, 200, 1.0}, {103, 204, 2.5}, {106, 208, 1.2}}),
          maakProfiel("P2", {{0, 0, 0.0}, {10, 0, 0.5}}),
          maakProfiel("P3", {{0, 0, 3.0}, {0, 20, 3.5}, {5, 20, 3.0}})};
}

class ReviewScherm : public SchermTest {
 protected:
  // The state the load sequence leaves, without files: profile 1 drawn at
  // the designed factor 0.2.
  FrmGraphicView& toon(Profielen profielen) {
    ProfielStore& s = store();
    std::size_t meeste = 0;
    for (const Profiel& p : profielen) meeste = std::max(meeste, p.punten.size());
    s.profielen = std::move(profielen);
    s.zetGrenzen(static_cast<std::int32_t>(1 + 3 * meeste), static_cast<std::int32_t>(1 + 2 * meeste));
    FrmGraphicView& w = scherm<FrmGraphicView>();
    w.begin();
    return w;
  }

  template <class T>
  T* zoek(const char* naam) {
    T* t = scherm<FrmGraphicView>().findChild<T*>(QString::fromLatin1(naam));
    EXPECT_NE(t, nullptr) << naam;
    return t;
  }
  QString tekst(const char* label) { return zoek<QLabel>(label)->text(); }
  PictureBox* plan() { return zoek<PictureBox>("picXY"); }
  PictureBox* dwars() { return zoek<PictureBox>("picDwarsprofiel"); }
  LineControl* lijn(const char* naam) { return dwars()->findChild<LineControl*>(naam); }
  void klik(const char* knop) { zoek<QPushButton>(knop)->click(); }

  static int aantal(const PictureBox* box, Tekening::Soort soort) {
    int n = 0;
    for (const Tekening& t : box->displayList()) n += t.soort == soort;
    return n;
  }

  FakeBerichten berichten;
};

TEST_F(ReviewScherm, KnownProfileGetsBothScalesLabelsAndCircles) {
  toon(drieProfielen());
  const ProfielStore& s = store();

  // Plan: square side 1.5 × 8, the profile in its middle (a quarter of
  // the larger extent on either side of it).
  EXPECT_FLOAT_EQ(plan()->scaleWidth(), 12.0f);
  EXPECT_FLOAT_EQ(plan()->scaleHeight(), 12.0f);
  EXPECT_FLOAT_EQ(plan()->scaleLeft(), 97.0f);
  EXPECT_FLOAT_EQ(plan()->scaleTop(), -210.0f);

  // Cross-section: L = 10, f = 0.2, mid-height 1.75.
  EXPECT_FLOAT_EQ(dwars()->scaleWidth(), 11.0f);
  EXPECT_FLOAT_EQ(dwars()->scaleHeight(), -2.0f);
  EXPECT_FLOAT_EQ(dwars()->scaleLeft(), -0.5f);
  EXPECT_FLOAT_EQ(dwars()->scaleTop(), 2.75f);

  // Labels in the regional (Dutch) form.
  EXPECT_EQ(tekst("lblActiefProfiel"), "P1 (1/3)");
  EXPECT_EQ(tekst("lblZmax"), "2,75");
  EXPECT_EQ(tekst("lblZmin"), "0,75");
  EXPECT_EQ(tekst("lblLengte"), "10,00");
  EXPECT_EQ(tekst("lblLengteProfiel"), "10,00 m");
  EXPECT_EQ(tekst("lblMaxZ"), "2,50 m");
  EXPECT_EQ(tekst("lblMinZ"), "1,00 m");
  EXPECT_EQ(tekst("lblSchaalfactor"), "0,2");

  // The cross-section starts at point 1 and unfolds along the ground.
  const ProfielGeometrie g = berekenGeometrie(s.profiel(1));
  EXPECT_EQ(g.lz.front().l, 0.0);
  EXPECT_EQ(g.lz.front().z, 1.0);
  EXPECT_EQ(g.lengte, 10.0);

  // Every point has a red circle in both views; radii planZijde/100 and L/250.
  ASSERT_EQ(aantal(plan(), Tekening::Soort::Cirkel), 3);
  ASSERT_EQ(aantal(dwars(), Tekening::Soort::Cirkel), 3);
  EXPECT_EQ(aantal(plan(), Tekening::Soort::Lijn), 2);
  EXPECT_EQ(aantal(dwars(), Tekening::Soort::Lijn), 2);
  std::vector<std::pair<double, double>> dwarsPunten;
  for (const Tekening& t : dwars()->displayList()) {
    if (t.soort != Tekening::Soort::Cirkel) {
      EXPECT_EQ(t.kleur, QColor(0, 0, 0));
      continue;
    }
    EXPECT_EQ(t.kleur, QColor(255, 0, 0));
    EXPECT_DOUBLE_EQ(t.straal, 10.0 / 250);
    dwarsPunten.emplace_back(t.x1, t.y1);
  }
  EXPECT_EQ(dwarsPunten, (std::vector<std::pair<double, double>>{{0, 1.0}, {5, 2.5}, {10, 1.2}}));
  std::vector<std::pair<double, double>> planPunten;
  for (const Tekening& t : plan()->displayList()) {
    if (t.soort != Tekening::Soort::Cirkel) continue;
    EXPECT_EQ(t.kleur, QColor(255, 0, 0));
    EXPECT_DOUBLE_EQ(t.straal, 0.12);
    planPunten.emplace_back(t.x1, t.y1);
  }
  EXPECT_EQ(planPunten, (std::vector<std::pair<double, double>>{{100, -200}, {103, -204}, {106, -208}}));

  // Redrawing the same profile gives the same drawing and labels.
  const auto voor = dwars()->displayList().size();
  klik("cmdUpdateHuplijn");
  EXPECT_EQ(dwars()->displayList().size(), voor);
  EXPECT_EQ(tekst("lblZmin"), "0,75");
}

// A densely surveyed profile: the plan markers stay apart instead of
// merging into one band over the line.
TEST_F(ReviewScherm, DensePlanMarkersStayApart) {
  Profiel dicht;
  dicht.naam = "DICHT";
  for (int i = 0; i <= 100; ++i) dicht.punten.push_back({Cel(99.0), Cel(999.0), 1000.0 + i, 500.0, 1.0});
  toon({dicht});
  int cirkels = 0;
  for (const Tekening& t : plan()->displayList()) {
    if (t.soort != Tekening::Soort::Cirkel) continue;
    ++cirkels;
    EXPECT_LT(2 * t.straal, 1.0) << "points lie 1 m apart";
  }
  EXPECT_EQ(cirkels, 101);
}

TEST_F(ReviewScherm, EastWestProfileVerticalSegmentAndAllPointsOfTheLongestProfile) {
  // Y extent 0: the side comes from X alone, and the line lies across the
  // middle of the window, not on its top edge.
  toon({maakProfiel("OW", {{0, 5, 0.0}, {4, 5, 1.0}, {10, 5, 0.5}}),
        // Equal plan position, different Z: a vertical step in the
        // cross-section. This is also the longest profile, filling every
        // triple up to aantalKolommen.
        maakProfiel("V", {{0, 0, 0.0}, {3, 4, 1.0}, {3, 4, -1.0}, {6, 8, 0.0}})});
  EXPECT_FLOAT_EQ(plan()->scaleWidth(), 15.0f);
  EXPECT_FLOAT_EQ(plan()->scaleLeft(), -2.5f);
  EXPECT_FLOAT_EQ(plan()->scaleTop(), -12.5f);

  klik("cmdVolgende");
  EXPECT_EQ(store().aantalKolommen(), 13);
  EXPECT_EQ(aantal(dwars(), Tekening::Soort::Cirkel), 4);
  EXPECT_EQ(aantal(plan(), Tekening::Soort::Cirkel), 4);
  bool verticaal = false;
  bool nulLengte = false;
  for (const Tekening& t : dwars()->displayList()) {
    if (t.soort == Tekening::Soort::Lijn && t.x1 == 5 && t.x2 == 5 && t.y1 == 1.0 && t.y2 == -1.0) verticaal = true;
  }
  for (const Tekening& t : plan()->displayList()) {
    if (t.soort == Tekening::Soort::Lijn && t.x1 == t.x2 && t.y1 == t.y2) nulLengte = true;
  }
  EXPECT_TRUE(verticaal);
  EXPECT_TRUE(nulLengte);
  EXPECT_EQ(tekst("lblLengteProfiel"), "10,00 m");
}

TEST_F(ReviewScherm, ProfilesWithoutLengthOrExtentStillGetAUsableScale) {
  toon({maakProfiel("EEN", {{50, 60, 2.0}}), maakProfiel("VLAK", {{0, 0, 1.0}, {0, 7, 1.0}})});
  for (PictureBox* box : {plan(), dwars()}) {
    EXPECT_TRUE(std::isfinite(box->scaleLeft()) && std::isfinite(box->scaleTop()));
    EXPECT_GT(std::abs(box->scaleWidth()), 0.0);
    EXPECT_GT(std::abs(box->scaleHeight()), 0.0);
  }
  // The single point sits inside the plan window, not on its edge.
  EXPECT_LT(plan()->scaleLeft(), 50.0);
  EXPECT_GT(plan()->scaleLeft() + plan()->scaleWidth(), 50.0);
  EXPECT_EQ(aantal(plan(), Tekening::Soort::Cirkel), 1);
  EXPECT_GT(dwars()->displayList().front().straal, 0.0);
  EXPECT_EQ(tekst("lblLengteProfiel"), "0,00 m");
  auto* balk = zoek<SchaalBalk>("scrollSchaal");
  EXPECT_GE(balk->minimum(), 1);

  // A flat profile would give a minimum of 0 and with it a zero factor.
  klik("cmdVolgende");
  EXPECT_EQ(balk->oudMin(), 1);
  balk->setValue(balk->minimum());
  EXPECT_GT(scherm<FrmGraphicView>().schaalfactor(), 0.0);
  EXPECT_LT(dwars()->scaleHeight(), 0.0);
}

TEST_F(ReviewScherm, ScaleBarReRangesAndTheDrawingUsesTheFinalFactor) {
  toon({maakProfiel("LAAG", {{0, 0, 0.0}, {10, 0, 0.5}}),
        maakProfiel("STEIL", {{0, 0, 0.0}, {10, 0, 5.0}}),     // minimum 50 > position 20
        maakProfiel("KORT", {{0, 0, 0.0}, {2, 0, 5.0}}),       // minimum 250 > maximum 100
        maakProfiel("MUUR", {{0, 0, 0.0}, {0.001, 0, 400.0}})});  // beyond 16 bits
  auto* balk = zoek<SchaalBalk>("scrollSchaal");
  EXPECT_EQ(balk->oudMin(), 5);
  EXPECT_EQ(balk->oudMax(), 100);

  // The user's own move: factor and drawing follow at once.
  balk->setValue(35);
  EXPECT_DOUBLE_EQ(scherm<FrmGraphicView>().schaalfactor(), 0.35);
  EXPECT_FLOAT_EQ(dwars()->scaleHeight(), -3.5f);
  EXPECT_EQ(tekst("lblSchaalfactor"), "0,35");

  // The new minimum pushes the position up: the drawing already uses it.
  klik("cmdVolgende");
  EXPECT_EQ(balk->value(), 50);
  EXPECT_DOUBLE_EQ(scherm<FrmGraphicView>().schaalfactor(), 0.5);
  EXPECT_FLOAT_EQ(dwars()->scaleHeight(), -5.0f);
  EXPECT_EQ(tekst("lblSchaalfactor"), "0,5");
  EXPECT_FALSE(balk->isOmgekeerd());

  // Min above Max: the bar runs reversed and the position stays between.
  klik("cmdVolgende");
  EXPECT_TRUE(balk->isOmgekeerd());
  EXPECT_TRUE(balk->invertedAppearance());
  EXPECT_EQ(balk->minimum(), 100);
  EXPECT_EQ(balk->maximum(), 250);
  EXPECT_EQ(balk->value(), 100);
  EXPECT_DOUBLE_EQ(scherm<FrmGraphicView>().schaalfactor(), 1.0);
  balk->setValue(250);  // now the whole 5 m fits into f × L
  EXPECT_FLOAT_EQ(dwars()->scaleHeight(), -5.0f);

  // A minimum beyond 16 bits is clamped; 250 still lies between Max and Min.
  klik("cmdVolgende");
  EXPECT_EQ(balk->oudMin(), 32767);
  EXPECT_EQ(balk->value(), 250);
  EXPECT_DOUBLE_EQ(scherm<FrmGraphicView>().schaalfactor(), 2.5);

  // Back to the low profile: the position is pulled down to the new Max.
  klik("cmdVolgende");
  EXPECT_FALSE(balk->isOmgekeerd());
  EXPECT_EQ(balk->value(), 100);
  EXPECT_DOUBLE_EQ(scherm<FrmGraphicView>().schaalfactor(), 1.0);
}

TEST(SchaalBalkKlem, RoundsHalvesToEvenAndClampsTo16Bits) {
  EXPECT_EQ(SchaalBalk::klem16(2.5), 2);
  EXPECT_EQ(SchaalBalk::klem16(3.5), 4);
  EXPECT_EQ(SchaalBalk::klem16(14.999), 15);
  EXPECT_EQ(SchaalBalk::klem16(1e9), 32767);
  EXPECT_EQ(SchaalBalk::klem16(-1e9), -32768);
}

TEST_F(ReviewScherm, ReferenceLinesFollowTheOffsetText) {
  toon(drieProfielen());
  auto* offset = zoek<QLineEdit>("txtOffsetZmax");
  LineControl* top = lijn("lineTop");
  LineControl* bodem = lijn("lineBottom");
  ASSERT_NE(top, nullptr);
  ASSERT_NE(bodem, nullptr);

  offset->setText("0");
  klik("cmdUpdateHuplijn");
  EXPECT_FLOAT_EQ(top->y1(), 2.5f);
  EXPECT_FLOAT_EQ(bodem->y1(), 2.5f);
  // Across the whole box: from ScaleLeft to ScaleWidth (1.1 L).
  EXPECT_FLOAT_EQ(top->x1(), -0.5f);
  EXPECT_FLOAT_EQ(top->x2(), 11.0f);
  EXPECT_FLOAT_EQ(bodem->x2(), 11.0f);

  offset->setText("0,3");
  klik("cmdUpdateHuplijn");
  EXPECT_FLOAT_EQ(bodem->y1(), 2.8f);
  EXPECT_FLOAT_EQ(bodem->y2(), 2.8f);
  EXPECT_FLOAT_EQ(top->y2(), 2.5f);
  EXPECT_TRUE(berichten.getoond.empty());

  offset->setText("twee");
  klik("cmdUpdateHuplijn");
  klik("cmdVolgende");
  ASSERT_EQ(berichten.getoond.size(), 2u);  // once per drawing
  for (const GetoondBericht& b : berichten.getoond) {
    EXPECT_EQ(b.tekst, "De offset waarde is geen getal. Kan de waarden niet veranderen");
    EXPECT_EQ(b.titel, "Fout!");
    EXPECT_EQ(b.icoon, Icoon::Kritiek);
  }
  // P2 reaches 0.5 m: lines at the maximum and half a metre below it.
  EXPECT_FLOAT_EQ(top->y1(), 0.5f);
  EXPECT_FLOAT_EQ(bodem->y1(), 0.0f);
  EXPECT_EQ(offset->text(), "twee");
  // The drawing itself was complete before the message.
  EXPECT_EQ(tekst("lblActiefProfiel"), "P2 (2/3)");
}

TEST_F(ReviewScherm, ReadOutsShowScaleUnitsAndSurveyY) {
  LocaleVast punt(QLocale::c());
  FrmGraphicView& w = toon(drieProfielen());
  emit dwars()->muisBeweegt(12.345, -1.2);
  EXPECT_EQ(dwars()->toolTip(), "L = 12.35m, Z = -1.20m");

  // A real pointer move over the first point (survey Y 200) reads +200.
  w.resize(900, 700);
  w.show();
  const QPointF pixel = plan()->naarPixel({100, -200});
  QMouseEvent beweging(QEvent::MouseMove, pixel, plan()->mapToGlobal(pixel), Qt::NoButton, Qt::NoButton,
                       Qt::NoModifier);
  QApplication::sendEvent(plan(), &beweging);
  const QString tip = plan()->toolTip();
  ASSERT_TRUE(tip.startsWith("X = ")) << tip.toStdString();
  const qsizetype y = tip.indexOf("Y = ");
  ASSERT_GE(y, 0);
  const double gelezen = tip.mid(y + 4).chopped(1).toDouble();
  EXPECT_NEAR(gelezen, 200.0, 0.1) << tip.toStdString();
  EXPECT_TRUE(tip.endsWith("m"));
}

TEST_F(ReviewScherm, NavigationWrapsBothWays) {
  toon(drieProfielen());
  const std::vector<QString> verwacht = {"P2 (2/3)", "P3 (3/3)", "P1 (1/3)"};
  for (const QString& v : verwacht) {
    klik("cmdVolgende");
    EXPECT_EQ(tekst("lblActiefProfiel"), v);
  }
  EXPECT_EQ(scherm<FrmGraphicView>().huidigProfiel(), 1);
  klik("cmdVorrige");
  EXPECT_EQ(scherm<FrmGraphicView>().huidigProfiel(), 3);
  EXPECT_EQ(tekst("lblActiefProfiel"), "P3 (3/3)");
  klik("cmdVorrige");
  EXPECT_EQ(scherm<FrmGraphicView>().huidigProfiel(), 2);
  EXPECT_TRUE(zoek<QPushButton>("cmdVolgende")->isEnabled());
  EXPECT_TRUE(zoek<QPushButton>("cmdVorrige")->isEnabled());
}

TEST_F(ReviewScherm, DeleteShowsTheFollowingProfileAndRecordsNamesInOrder) {
  toon(drieProfielen());
  // "No" changes nothing.
  berichten.antwoorden = {Antwoord::Nee};
  klik("cmdVerwijderDWP");
  ASSERT_EQ(berichten.getoond.size(), 1u);
  EXPECT_EQ(berichten.getoond[0].tekst, "Weet u zeker dat u het dwarsprofiel wilt verwijderen");
  EXPECT_EQ(berichten.getoond[0].titel, "Let op!");
  EXPECT_EQ(berichten.getoond[0].knoppen, Knoppen::JaNee);
  EXPECT_EQ(store().aantalProfielen(), 3);

  // Profile 1 of 3: the former profile 2 is now number 1 and on display.
  berichten.antwoorden = {Antwoord::Ja};
  klik("cmdVerwijderDWP");
  const ProfielStore& s = store();
  ASSERT_EQ(s.aantalProfielen(), 2);
  EXPECT_EQ(scherm<FrmGraphicView>().huidigProfiel(), 1);
  EXPECT_EQ(tekst("lblActiefProfiel"), "P2 (1/2)");
  EXPECT_EQ(s.profiel(1).sloot.kolom(1), "P2");  // ditch records go with their profiles
  EXPECT_EQ(s.profiel(2).sloot.kolom(1), "P3");
  EXPECT_EQ(tekst("lblAantalProfielen"), "2");

  // The last profile: the list starts again at 1.
  klik("cmdVolgende");
  berichten.antwoorden = {Antwoord::Ja};
  klik("cmdVerwijderDWP");
  EXPECT_EQ(scherm<FrmGraphicView>().huidigProfiel(), 1);
  EXPECT_EQ(tekst("lblActiefProfiel"), "P2 (1/1)");
  EXPECT_EQ(s.verwijderdeProfielen, (std::vector<std::string>{"P1", "P3"}));
  // One profile left: nothing to step to.
  EXPECT_FALSE(zoek<QPushButton>("cmdVolgende")->isEnabled());
  EXPECT_EQ(zoek<QComboBox>("cboProfiel")->count(), 1);
  EXPECT_EQ(berichten.beeindigd, 0);
}

TEST_F(ReviewScherm, DeletingTheLastProfileEndsTheProgram) {
  toon({maakProfiel("ENIG", {{0, 0, 0}, {1, 1, 1}})});
  berichten.antwoorden = {Antwoord::Ja};
  klik("cmdVerwijderDWP");
  ASSERT_EQ(berichten.getoond.size(), 2u);
  EXPECT_EQ(berichten.getoond[1].tekst,
            "Er zijn geen profielen meer over. Verdere uitvoering Zarvo-Edit niet mogelijk");
  EXPECT_EQ(berichten.getoond[1].titel, "Fout!");
  EXPECT_EQ(berichten.getoond[1].icoon, Icoon::Kritiek);
  EXPECT_EQ(berichten.getoond[1].knoppen, Knoppen::OK);
  EXPECT_EQ(berichten.beeindigd, 1);
  EXPECT_EQ(store().verwijderdeProfielen, std::vector<std::string>{"ENIG"});
}

TEST_F(ReviewScherm, StopAsksAndEndsOnlyOnYes) {
  toon(drieProfielen());
  berichten.antwoorden = {Antwoord::Nee, Antwoord::Ja};
  klik("cmdEnd");
  EXPECT_EQ(berichten.beeindigd, 0);
  klik("cmdEnd");
  EXPECT_EQ(berichten.beeindigd, 1);
  ASSERT_EQ(berichten.getoond.size(), 2u);
  EXPECT_EQ(berichten.getoond[0].tekst, "Weet u zeker dat u wilt stoppen? Wijzigingen worden niet opgeslagen!");
  EXPECT_EQ(berichten.getoond[0].titel, "Let op!");
}

TEST_F(ReviewScherm, OkPreparesProfielInfoAndOpensTheDitchScreen) {
  toon(drieProfielen());
  klik("cmdOK");
  EXPECT_FALSE(schermBestaat<FrmGraphicView>());
  ASSERT_TRUE(schermBestaat<FrmPL>());
  EXPECT_TRUE(scherm<FrmPL>().isVisible());
  const ProfielStore& s = store();
  for (int p = 1; p <= s.aantalProfielen(); ++p) {
    EXPECT_EQ(s.profiel(p).profielInfo()[1].tekstWaarde(), s.profiel(p).naam);
    // Profile 1 is drawn at once by the ditch screen, which fills its own
    // slots; the others are exactly as the hand-over left them.
    if (p == 1) continue;
    for (int c = 2; c <= 37; ++c) EXPECT_EQ(s.profiel(p).profielInfo()[static_cast<std::size_t>(c)], Cel(-1.0)) << c;
  }
}

// Two deletions undone one by one put each profile back at its place with
// its ditch record and off the deleted list; redo deletes it again.
TEST_F(ReviewScherm, DeletionsAreUndoneAndRedone) {
  FrmGraphicView& w = toon(drieProfielen());
  berichten.antwoorden = {Antwoord::Ja, Antwoord::Ja};
  klik("cmdVolgende");
  klik("cmdVerwijderDWP");  // P2
  klik("cmdVorrige");
  klik("cmdVerwijderDWP");  // P1
  const ProfielStore& s = store();
  ASSERT_EQ(s.aantalProfielen(), 1);
  EXPECT_FALSE(zoek<QPushButton>("cmdOpnieuw")->isEnabled());

  klik("cmdOngedaan");
  ASSERT_EQ(s.aantalProfielen(), 2);
  EXPECT_EQ(s.profiel(1).naam, "P1");
  EXPECT_EQ(w.huidigProfiel(), 1);
  EXPECT_EQ(tekst("lblActiefProfiel"), "P1 (1/2)");
  EXPECT_EQ(s.verwijderdeProfielen, std::vector<std::string>{"P2"});
  // The list of deleted names follows every change, undo included.
  auto* lijst = zoek<QListWidget>("lstVerwijderd");
  ASSERT_NE(lijst, nullptr);
  ASSERT_EQ(lijst->count(), 1);
  EXPECT_EQ(lijst->item(0)->text(), "P2");
  w.show();
  QApplication::setActiveWindow(&w);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
  QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier);
  ASSERT_EQ(s.aantalProfielen(), 3);
  EXPECT_EQ(s.profiel(2).naam, "P2");
  EXPECT_EQ(s.profiel(2).sloot.kolom(1), "P2");
  EXPECT_EQ(w.huidigProfiel(), 2);
  EXPECT_TRUE(s.verwijderdeProfielen.empty());
  EXPECT_FALSE(zoek<QPushButton>("cmdOngedaan")->isEnabled());
  EXPECT_EQ(lijst->count(), 0);

  klik("cmdOpnieuw");
  EXPECT_EQ(s.aantalProfielen(), 2);
  EXPECT_EQ(s.verwijderdeProfielen, std::vector<std::string>{"P2"});
  EXPECT_EQ(tekst("lblAantalProfielen"), "2");
  EXPECT_EQ(berichten.beeindigd, 0);
}

// The trajectory overview: every profile one line, the one on screen red,
// a deleted one grey and not choosable; a click jumps to the nearest line.
TEST_F(ReviewScherm, TrajectoryOverviewShowsAllProfilesAndJumpsOnAClick) {
  FrmGraphicView& w = toon(drieProfielen());
  auto* overzicht = w.findChild<TrajectOverzicht*>();
  ASSERT_NE(overzicht, nullptr);
  auto lijnenIn = [&](const QColor& kleur) {
    int n = 0;
    for (const Tekening& t : overzicht->plaatje()->displayList()) n += t.soort == Tekening::Soort::Lijn && t.kleur == kleur;
    return n;
  };
  EXPECT_EQ(lijnenIn(QColor(255, 0, 0)), 1);
  EXPECT_EQ(lijnenIn(qbColor(1)), 2);

  emit overzicht->plaatje()->geklikt(4.0, -19.0);  // beside P3's line (0,0)-(5,20)
  EXPECT_EQ(w.huidigProfiel(), 3);
  berichten.antwoorden = {Antwoord::Ja};
  klik("cmdVerwijderDWP");
  EXPECT_EQ(lijnenIn(qbColor(7)), 1);
  EXPECT_EQ(overzicht->dichtstbij(4.0, 19.0), 2);  // the deleted P3 cannot be chosen
}

TEST_F(ReviewScherm, KeyboardStepsDeletesAndConfirms) {
  FrmGraphicView& w = toon(drieProfielen());
  w.show();
  QApplication::setActiveWindow(&w);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&w));

  QTest::keyClick(&w, Qt::Key_PageDown);
  EXPECT_EQ(scherm<FrmGraphicView>().huidigProfiel(), 2);
  QTest::keyClick(&w, Qt::Key_PageUp);
  QTest::keyClick(&w, Qt::Key_PageUp);
  EXPECT_EQ(scherm<FrmGraphicView>().huidigProfiel(), 3);

  plan()->setFocus();
  QTest::keyClick(plan(), Qt::Key_Right);
  EXPECT_EQ(scherm<FrmGraphicView>().huidigProfiel(), 1);
  QTest::keyClick(plan(), Qt::Key_Left);
  EXPECT_EQ(scherm<FrmGraphicView>().huidigProfiel(), 3);

  // Delete asks first; Enter in the offset field only redraws the lines.
  berichten.antwoorden = {Antwoord::Nee};
  QTest::keyClick(plan(), Qt::Key_Delete);
  ASSERT_EQ(berichten.getoond.size(), 1u);
  EXPECT_EQ(berichten.getoond[0].titel, "Let op!");
  auto* offset = zoek<QLineEdit>("txtOffsetZmax");
  offset->setFocus();
  offset->setText("0");
  QTest::keyClick(offset, Qt::Key_Return);
  EXPECT_FLOAT_EQ(lijn("lineBottom")->y1(), 3.5f);
  ASSERT_TRUE(schermBestaat<FrmGraphicView>());

  // Enter on a picture does not go on: only OK itself or Alt+O does.
  plan()->setFocus();
  QTest::keyClick(plan(), Qt::Key_Return);
  ASSERT_TRUE(schermBestaat<FrmGraphicView>());
  QTest::keyClick(plan(), Qt::Key_O, Qt::AltModifier);
  EXPECT_FALSE(schermBestaat<FrmGraphicView>());
}

// Typed into the jump field as a user does (the keys reach the combo box),
// with and without the suggestion list: Enter jumps and never goes on.
TEST_F(ReviewScherm, EnterInTheJumpFieldJumpsAndNeverGoesOn) {
  FrmGraphicView& w = toon(drieProfielen());
  w.show();
  QApplication::setActiveWindow(&w);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
  auto* lijst = zoek<QComboBox>("cboProfiel");
  lijst->setFocus();
  lijst->lineEdit()->selectAll();
  QTest::keyClicks(lijst, "3");
  QTest::keyClick(lijst, Qt::Key_Return);
  EXPECT_EQ(w.huidigProfiel(), 3);
  ASSERT_TRUE(schermBestaat<FrmGraphicView>());

  // The suggestion list open on "P2": Enter on it jumps at once.
  lijst->lineEdit()->selectAll();
  QTest::keyClicks(lijst, "P2");
  QCompleter* aanvuller = lijst->completer();
  aanvuller->complete();
  ASSERT_TRUE(aanvuller->popup()->isVisible());
  aanvuller->popup()->setCurrentIndex(aanvuller->completionModel()->index(0, 0));
  QTest::keyClick(aanvuller->popup(), Qt::Key_Return);
  EXPECT_EQ(w.huidigProfiel(), 2);
  QTest::keyClick(lijst, Qt::Key_Return);
  EXPECT_EQ(w.huidigProfiel(), 2);
  EXPECT_TRUE(schermBestaat<FrmGraphicView>());
}

TEST_F(ReviewScherm, JumpListShowsTheSameProfileAsTheButtons) {
  FrmGraphicView& w = toon(drieProfielen());
  w.show();
  auto* lijst = zoek<QComboBox>("cboProfiel");
  // The load sequence fills the list; this fixture does it by hand.
  ProfielNavigatie* nav = w.findChild<ProfielNavigatie*>();
  ASSERT_NE(nav, nullptr);
  nav->vernieuwLijst(store());
  ASSERT_EQ(lijst->count(), 3);
  EXPECT_EQ(lijst->itemText(2), QString::fromUtf8("3 \u2013 P3"));

  // By name (any case), then by number, typed with Enter.
  lijst->lineEdit()->setFocus();
  lijst->lineEdit()->setText("p3");
  QTest::keyClick(lijst->lineEdit(), Qt::Key_Return);
  EXPECT_EQ(scherm<FrmGraphicView>().huidigProfiel(), 3);
  EXPECT_EQ(tekst("lblActiefProfiel"), "P3 (3/3)");
  EXPECT_EQ(lijst->currentIndex(), 2);
  lijst->lineEdit()->setText("2");
  QTest::keyClick(lijst->lineEdit(), Qt::Key_Return);
  EXPECT_EQ(scherm<FrmGraphicView>().huidigProfiel(), 2);
  // Nothing matches: the profile stays and so does the screen (no OK).
  lijst->lineEdit()->setText("xyz");
  QTest::keyClick(lijst->lineEdit(), Qt::Key_Return);
  EXPECT_EQ(scherm<FrmGraphicView>().huidigProfiel(), 2);
  EXPECT_EQ(lijst->lineEdit()->text(), QString::fromUtf8("2 \u2013 P2"));
  ASSERT_TRUE(schermBestaat<FrmGraphicView>());

  // Buttons keep the list's selection in step.
  klik("cmdVolgende");
  EXPECT_EQ(lijst->currentIndex(), 2);

  // As a user types: the suggestion list opens and has the keys; one Return
  // jumps to what was typed.
  QApplication::setActiveWindow(&w);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
  lijst->lineEdit()->setFocus();
  lijst->lineEdit()->selectAll();
  QTest::keyClicks(lijst->lineEdit(), "p1");
  QAbstractItemView* suggesties = lijst->completer()->popup();
  ASSERT_TRUE(suggesties->isVisible());
  QTest::keyClick(suggesties, Qt::Key_Return);
  EXPECT_EQ(scherm<FrmGraphicView>().huidigProfiel(), 1);
  EXPECT_FALSE(suggesties->isVisible());
}

// Files written to a temporary folder, read by the real load sequence.
class ReviewLaden : public ReviewScherm {
 protected:
  void schrijf(const QString& naam, const QByteArray& inhoud) {
    QFile f(map.filePath(naam));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(inhoud);
  }
  void kies(const char* profielen, const char* sloot) {
    schrijf("p.txt", profielen);
    schrijf("s.csv", sloot);
    taak().zetBestanden(map.filePath("p.txt").toStdString(), map.filePath("s.csv").toStdString());
  }
  QTemporaryDir map;
};

TEST_F(ReviewLaden, LoadReadsBothFilesAndDrawsProfileOne) {
  kies("1,2,0,0,1.0,A\n1,2,3,4,2.0,A\n1,2,6,8,1.5,A\n1,2,0,0,0,B\n1,2,10,0,1,B\n",
       "kop\nA;-1.5;2;2;;;\nB;-1.6;2;2;;;\n");
  ASSERT_TRUE(volgorde().leesIn());
  FrmGraphicView& w = scherm<FrmGraphicView>();
  const ProfielStore& s = store();
  EXPECT_EQ(w.huidigProfiel(), 1);
  EXPECT_DOUBLE_EQ(w.schaalfactor(), 0.2);
  EXPECT_EQ(w.windowTitle(), "GraphicView: " + QString::fromStdString(s.inputbestand));
  EXPECT_EQ(zoek<QLineEdit>("txtOffsetZmax")->text(), "-0,5");
  EXPECT_EQ(tekst("lblAantalProfielen"), "2");
  EXPECT_EQ(tekst("lblRijen"), "2");
  EXPECT_EQ(tekst("lblKolommen"), "10");
  EXPECT_EQ(tekst("lblActiefProfiel"), "A (1/2)");
  EXPECT_EQ(s.profiel(2).sloot.kolom(2), "-1.6");
  EXPECT_FLOAT_EQ(lijn("lineBottom")->y1(), 1.5f);  // maximum 2.0, offset -0,5
  EXPECT_EQ(zoek<QComboBox>("cboProfiel")->count(), 2);
  EXPECT_TRUE(zoek<QPushButton>("cmdVolgende")->isEnabled());
  EXPECT_TRUE(berichten.getoond.empty());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(ReviewLaden, OneProfileDisablesSteppingAndKeysDoNothing) {
  kies("1,2,0,0,1.0,A\n1,2,3,4,2.0,A\n", "kop\nA;-1.5;2;2;;;\n");
  ASSERT_TRUE(volgorde().leesIn());
  FrmGraphicView& w = scherm<FrmGraphicView>();
  EXPECT_FALSE(zoek<QPushButton>("cmdVolgende")->isEnabled());
  EXPECT_FALSE(zoek<QPushButton>("cmdVorrige")->isEnabled());
  w.show();
  QApplication::setActiveWindow(&w);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
  QTest::keyClick(&w, Qt::Key_PageDown);
  EXPECT_EQ(scherm<FrmGraphicView>().huidigProfiel(), 1);
  EXPECT_EQ(tekst("lblActiefProfiel"), "A (1/1)");
}

TEST_F(ReviewLaden, ADitchFileThatDoesNotMatchGoesBackWithTheMessage) {
  kies("1,2,0,0,1.0,A\n1,2,3,4,2.0,A\n1,2,0,0,0,B\n1,2,10,0,1,B\n", "kop\nA;-1.5;2;2;;;\n");
  ASSERT_FALSE(volgorde().leesIn());
  ASSERT_EQ(berichten.getoond.size(), 1u);
  EXPECT_EQ(berichten.getoond[0].titel, "Fout!");
  EXPECT_EQ(store().aantalProfielen(), 0);
  EXPECT_EQ(berichten.beeindigd, 0);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

}  // namespace
}  // namespace zarvo::gui
