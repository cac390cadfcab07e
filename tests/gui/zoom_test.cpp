// Zoom, pan, axes, pictures and the ditch report.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

#include "schermen/frmpl.h"
#include "schermen/rapport.h"
#include "platform/assen.h"
#include "platform/beeldexport.h"
#include "platform/picturebox.h"
#include "tests/gui/fakeberichten.h"
#include "tests/gui/testhulp.h"

namespace zarvo::gui {
namespace {

// A box 400 × 300 pixels over L -5..105 and Z 10 down to -18.
void zetVoorbeeldschaal(PictureBox& box) {
  box.resize(400, 300);
  box.setScaleLeft(-5);
  box.setScaleTop(10);
  box.setScaleWidth(110);
  box.setScaleHeight(-28);
}

void stuurMuis(PictureBox& box, QEvent::Type soort, QPointF plek, Qt::MouseButton knop, Qt::KeyboardModifiers toetsen = {}) {
  QMouseEvent e(soort, plek, box.mapToGlobal(plek), knop, soort == QEvent::MouseButtonRelease ? Qt::NoButton : knop,
                toetsen);
  QCoreApplication::sendEvent(&box, &e);
}

TEST(Zoom, MapsBothWaysAtEveryLevelAndPassendIsExactlyTheFit) {
  PictureBox box;
  zetVoorbeeldschaal(box);
  const QPointF punten[] = {{0, 0}, {37.5, -3.25}, {104, 9}};
  std::vector<QPointF> passend;
  for (const QPointF& w : punten) passend.push_back(box.naarPixel(w));

  const QPointF anker(120, 210);
  double zichtbaar = 110;
  for (const double factor : {1.25, 4.0, 100.0, 0.3}) {
    const QPointF onderAnker = box.naarWereld(anker);
    box.zoom(factor, anker);
    zichtbaar /= factor;
    SCOPED_TRACE(factor);
    for (const QPointF& w : punten) {
      const QPointF terug = box.naarWereld(box.naarPixel(w));
      EXPECT_NEAR(terug.x(), w.x(), 1e-9);
      EXPECT_NEAR(terug.y(), w.y(), 1e-9);
    }
    // The world under the pointer stays under it, and the view shrinks by
    // the factor along both axes.
    EXPECT_NEAR(box.naarWereld(anker).x(), onderAnker.x(), 1e-9);
    EXPECT_NEAR(box.naarWereld(anker).y(), onderAnker.y(), 1e-9);
    EXPECT_NEAR(box.naarWereld({400, 0}).x() - box.naarWereld({0, 0}).x(), zichtbaar, 1e-9);
    EXPECT_NEAR(box.naarWereld({0, 300}).y() - box.naarWereld({0, 0}).y(), -28 * zichtbaar / 110, 1e-9);
    // What the screens set and read back does not move.
    EXPECT_EQ(box.scaleLeft(), -5.0);
    EXPECT_EQ(box.scaleWidth(), 110.0);
    EXPECT_EQ(box.scaleHeight(), -28.0);
  }
  EXPECT_FALSE(box.isPassend());
  box.passend();
  EXPECT_TRUE(box.isPassend());
  for (std::size_t i = 0; i < passend.size(); ++i) EXPECT_EQ(box.naarPixel(punten[i]), passend[i]);

  // Zooming in, then a new scale (the next profile): back at the fit.
  box.zoom(3, anker);
  box.setScaleWidth(120);
  EXPECT_TRUE(box.isPassend());
  // The same scale again (the same profile redrawn) keeps the zoom.
  box.zoom(3, anker);
  box.setScaleWidth(120);
  EXPECT_FALSE(box.isPassend());
}

TEST(Zoom, WheelDragAndRubberBandReportTrueWorldCoordinates) {
  PictureBox box;
  zetVoorbeeldschaal(box);
  QSignalSpy beweging(&box, &PictureBox::muisBeweegt);
  QSignalSpy klik(&box, &PictureBox::geklikt);

  const QPointF plek(200, 150);
  const QPointF wereld = box.naarWereld(plek);
  QWheelEvent wiel(plek, box.mapToGlobal(plek), {}, {0, 240}, Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QCoreApplication::sendEvent(&box, &wiel);
  EXPECT_NEAR(box.naarWereld({400, 0}).x() - box.naarWereld({0, 0}).x(), 110 / 1.5625, 1e-9);  // two notches
  ASSERT_GE(beweging.count(), 1);
  EXPECT_NEAR(beweging.last().at(0).toDouble(), wereld.x(), 1e-9);
  EXPECT_NEAR(beweging.last().at(1).toDouble(), wereld.y(), 1e-9);

  // Dragging with the left button carries the drawing along and is no click.
  stuurMuis(box, QEvent::MouseButtonPress, {100, 100}, Qt::LeftButton);
  stuurMuis(box, QEvent::MouseMove, {140, 80}, Qt::LeftButton);
  stuurMuis(box, QEvent::MouseButtonRelease, {140, 80}, Qt::LeftButton);
  EXPECT_NEAR(box.naarPixel(wereld).x(), 200 + 40, 1e-9);
  EXPECT_NEAR(box.naarPixel(wereld).y(), 150 - 20, 1e-9);
  EXPECT_EQ(klik.count(), 0);

  // Shift+drag shows exactly the rectangle drawn.
  const QPointF a = box.naarWereld({50, 60});
  const QPointF b = box.naarWereld({250, 210});
  stuurMuis(box, QEvent::MouseButtonPress, {50, 60}, Qt::LeftButton, Qt::ShiftModifier);
  stuurMuis(box, QEvent::MouseMove, {250, 210}, Qt::LeftButton, Qt::ShiftModifier);
  stuurMuis(box, QEvent::MouseButtonRelease, {250, 210}, Qt::LeftButton, Qt::ShiftModifier);
  EXPECT_NEAR(box.naarWereld({0, 0}).x(), a.x(), 1e-9);
  EXPECT_NEAR(box.naarWereld({0, 0}).y(), a.y(), 1e-9);
  EXPECT_NEAR(box.naarWereld({400, 300}).x(), b.x(), 1e-9);
  EXPECT_NEAR(box.naarWereld({400, 300}).y(), b.y(), 1e-9);
}

TEST(Assen, ReadableStepsTicksAndLabels) {
  EXPECT_DOUBLE_EQ(leesbareStap(0.3), 0.5);
  EXPECT_DOUBLE_EQ(leesbareStap(3), 5);
  EXPECT_DOUBLE_EQ(leesbareStap(0.07), 0.1);
  EXPECT_DOUBLE_EQ(leesbareStap(120), 200);
  EXPECT_DOUBLE_EQ(leesbareStap(2), 2);
  EXPECT_EQ(maatstreepjes(3.3, -1.2, 1), (std::vector<double>{-1, 0, 1, 2, 3}));
  EXPECT_EQ(maatstreepjes(129990.5, 130010, 10), (std::vector<double>{130000, 130010}));
  EXPECT_TRUE(maatstreepjes(0, 1e9, 1).empty());
  LocaleVast komma(QLocale(QLocale::Dutch, QLocale::Netherlands));
  EXPECT_EQ(maatTekst(-0.5, 0.5), "-0,5");
  EXPECT_EQ(maatTekst(-1e-17, 0.2), "0,0");
  EXPECT_EQ(maatTekst(130000, 20), "130000");
}

TEST(Afbeelding, PngSvgAndPdfOrAMessage) {
  PictureBox box;
  zetVoorbeeldschaal(box);
  box.setAssen({"L (m)", "Z (m NAP)"});
  box.lijn(0, 0, 100, 5, Qt::black);
  box.zoom(2, {200, 150});
  QTemporaryDir map;
  const std::pair<const char*, QByteArray> soorten[] = {
      {"p.png", "\x89PNG"}, {"p.svg", "<?xml"}, {"p.pdf", "%PDF"}};
  for (const auto& [naam, begin] : soorten) {
    if (!svgMogelijk() && QByteArray(naam).endsWith(".svg")) {
      EXPECT_NE(slaBeeldOp(box, "P1 (1/3)", map.filePath(naam)), std::nullopt);
      EXPECT_FALSE(QFile::exists(map.filePath(naam)));
      continue;
    }
    EXPECT_EQ(slaBeeldOp(box, "P1 (1/3)", map.filePath(naam)), std::nullopt) << naam;
    QFile f(map.filePath(naam));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << naam;
    EXPECT_TRUE(f.readAll().startsWith(begin)) << naam;
  }
  EXPECT_NE(slaBeeldOp(box, "P1", map.filePath("p.bmp")), std::nullopt);
  EXPECT_NE(slaBeeldOp(box, "P1", map.filePath("geen/map/p.png")), std::nullopt);
  EXPECT_NE(slaBeeldOp(box, "P1", map.filePath("geen/map/p.pdf")), std::nullopt);
}

Punt pt(double veld1, double veld2, double x, double z) { return Punt{Cel(veld1), Cel(veld2), x, 0, z}; }

// P1: a ditch between L 20 (code 5) and 30 (code 2), bottom -1; P2 has no
// edge; P3's bottom lies above its edges.
class SlootZoom : public SchermTest {
 protected:
  void SetUp() override {
    SchermTest::SetUp();
    store().inputbestand = "dijkvak.txt";
    voegToe("P1", {pt(1, 72, 0, 3), pt(18, 4, 10, 3), pt(99, 5, 20, 1), pt(99, 999, 25, 0), pt(99, 2, 30, 1),
                   pt(99, 3, 200, 2)}, "-1");
    voegToe("P2", {pt(1, 1, 0, 1), pt(2, 7, 5, 0), pt(3, 7, 10, 2)}, "-1");
    voegToe("P3", {pt(1, 5, 0, 1), pt(2, 2, 10, 1)}, "4");
    store().zetGrenzen(0, 0);
    store().dekGrenzen();
    store().initialiseerProfielInfo();
  }
  static void voegToe(const std::string& naam, std::vector<Punt> punten, const std::string& bodem) {
    voegProfielToe(naam, std::move(punten), bodem);
  }
  FakeBerichten berichtenFake;
};

TEST_F(SlootZoom, ZoomOpSlootFramesBothEdgesAndTheNextProfileStartsAtTheFit) {
  FrmPL& f = scherm<FrmPL>();
  f.resize(1000, 650);
  f.laad();
  auto& pic = *f.findChild<PictureBox*>("picDwarsprofiel");
  auto* knop = f.findChild<QPushButton*>("cmdZoomOpSloot");
  ASSERT_NE(knop, nullptr);
  const float links = static_cast<float>(pic.scaleLeft());
  EXPECT_TRUE(knop->isEnabled());
  knop->click();
  const QRectF beeld(QPointF(0, 0), pic.size());
  // Edges at L 20 (Z 1) and 30 (Z 1), bottom at Z -1; the window runs
  // 2 m past either edge.
  for (const QPointF w : {QPointF(20, 1), QPointF(30, 1), QPointF(22, -1), QPointF(28, -1)}) {
    EXPECT_TRUE(beeld.contains(pic.naarPixel(w))) << w.x() << ' ' << w.y();
  }
  EXPECT_NEAR(pic.naarWereld({0, 0}).x(), 18, 1e-9);
  EXPECT_NEAR(pic.naarWereld({beeld.width(), 0}).x(), 32, 1e-9);
  EXPECT_EQ(pic.scaleLeft(), links);  // the fit is untouched
  // The guide lines run across the zoomed view, whatever their end points.
  EXPECT_EQ(f.findChild<LineControl*>("lineBoezempeil")->spanning(), LineControl::Spanning::VolleBreedte);

  f.show();
  QApplication::setActiveWindow(&f);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
  pic.setFocus();
  QTest::keyClick(&pic, Qt::Key_Home);
  EXPECT_TRUE(pic.isPassend());
  // In a text field S is a letter, not a zoom.
  auto* peil = f.findChild<QLineEdit*>("txtLiggingBoezempeil");
  peil->setFocus();
  QTest::keyClick(peil, Qt::Key_S);
  EXPECT_TRUE(pic.isPassend());
  EXPECT_TRUE(peil->text().endsWith('s'));
  pic.setFocus();
  QTest::keyClick(&pic, Qt::Key_S);
  EXPECT_FALSE(pic.isPassend());
  f.findChild<QPushButton*>("cmdVolgende")->click();
  EXPECT_TRUE(pic.isPassend());
  EXPECT_FALSE(knop->isEnabled());  // P2 has no ditch
}

TEST_F(SlootZoom, ReportHasOnePagePerProfileAndTellsTheError) {
  FrmPL& f = scherm<FrmPL>();
  f.resize(1000, 650);
  f.laad();
  f.findChild<QPushButton*>("cmdVolgende")->click();
  QTemporaryDir map;
  const QString pad = map.filePath("rapport.pdf");
  ASSERT_EQ(schrijfRapport(taak(), {}, pad), std::nullopt);
  QFile pdf(pad);
  ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
  EXPECT_EQ(QString::fromLatin1(pdf.readAll()).count(QRegularExpression("/Type\\s*/Page\\b(?!s)")), 3);
  EXPECT_EQ(f.huidigProfiel(), 2);  // the screen is back where it was
  // The build keeps why a profile failed, for the report's outcome line.
  EXPECT_NE(taak().bouwfeiten()[2].melding.find("ligt hoger dan de insteek"), std::string::npos);
  EXPECT_TRUE(taak().bouwfeiten()[1].melding.empty());
  EXPECT_NE(schrijfRapport(taak(), {}, map.filePath("geen/map/r.pdf")), std::nullopt);
}

// What a colleague reading a page needs: the files, the date, the record
// used, a warning where the record bears another profile's name, and the
// ditch zoomed in where one was built.
TEST_F(SlootZoom, AReportPageNamesFilesDateRecordAndAForeignRecord) {
  store().bestandSloot = "sloten.csv";
  store().profiel(2).sloot = SlootRecord({"P9", "-1", "1", "1", "", "", ""});
  FrmPL& f = scherm<FrmPL>();
  f.laad();
  const QDateTime gemaakt(QDate(2026, 3, 5), QTime(14, 7));
  const Rapportpagina een = rapportpagina(taak(), 1, berekenGeometrie(store().profiel(1)), gemaakt);
  EXPECT_TRUE(een.kop.contains("5 maart 2026, 14:07")) << een.kop.toStdString();
  EXPECT_TRUE(een.kop.contains("pagina 1 van 3"));
  EXPECT_EQ(een.bestanden, (QStringList{"Profielbestand: dijkvak.txt", "Slootbestand: sloten.csv"}));
  EXPECT_TRUE(een.record.contains("  Slootbodem: -1")) << een.record.join('|').toStdString();
  EXPECT_TRUE(een.waarschuwing.isEmpty());
  ASSERT_TRUE(een.sloot.has_value());
  EXPECT_LE(een.sloot->links, 20.0);
  EXPECT_GE(een.sloot->rechts, 30.0);
  const Rapportpagina twee = rapportpagina(taak(), 2, berekenGeometrie(store().profiel(2)), gemaakt);
  EXPECT_TRUE(twee.waarschuwing.contains("'P9'")) << twee.waarschuwing.toStdString();
  EXPECT_FALSE(twee.sloot.has_value()) << "no ditch, nothing to zoom in on";
}

TEST(RapportZonderScherm, TheSampleGivesAPagePerProfileAMissingFileExitCodeOne) {
  FakeBerichten berichten;
  QTemporaryDir map;
  const QString bron = QStringLiteral(ZARVO_BRON "/voorbeelden/");
  EXPECT_EQ(maakRapportZonderScherm(map.filePath("r.pdf"), bron + "profielen.txt", bron + "sloot.csv"), 0);
  QFile pdf(map.filePath("r.pdf"));
  ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
  EXPECT_EQ(QString::fromLatin1(pdf.readAll()).count(QRegularExpression("/Type\\s*/Page\\b(?!s)")), 15);
  EXPECT_EQ(maakRapportZonderScherm(map.filePath("x.pdf"), bron + "bestaatniet.txt", bron + "sloot.csv"), 1);
  EXPECT_FALSE(QFile::exists(map.filePath("x.pdf")));
  EXPECT_EQ(&zarvo::gui::berichten(), &berichten);  // the fake is back in place
}

}  // namespace
}  // namespace zarvo::gui
