// The input selection screen and the hand-over to the review screen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>

#include "schermen/frminput.h"
#include "schermen/frmladen.h"
#include "schermen/frmgraphicview.h"
#include "tests/core/testmap.h"
#include "tests/gui/fakeberichten.h"
#include "tests/gui/testhulp.h"

namespace zarvo::gui {
namespace {

// Paths compared as Qt writes them ('/'): the system's own form differs on
// Windows.
QString q(const std::string& s) { return QDir::fromNativeSeparators(QString::fromStdString(s)); }

QStringList namen(const QListWidget& lijst) {
  QStringList uit;
  for (int i = 0; i < lijst.count(); ++i) uit << lijst.item(i)->text();
  return uit;
}

class InvoerTest : public SchermTest {
 protected:
  // The input screen as the user gets it: created and shown.
  FrmInput& open() {
    FrmInput& f = scherm<FrmInput>();
    f.resize(800, 600);
    f.show();
    return f;
  }
  template <class W>
  W* vind(const char* naam) {
    W* w = scherm<FrmInput>().findChild<W*>(naam);
    if (!w) ADD_FAILURE() << "geen " << naam;
    return w;
  }
  void klik(const char* knop) { QTest::mouseClick(vind<QPushButton>(knop), Qt::LeftButton); }

  FakeBerichten berichten;
  zarvotest::TestMap map;
};

TEST_F(InvoerTest, OkAsksForTheMissingFileFirstAndLoadsNothing) {
  open();
  // Enter on a choice button is OK, as on the default button it shows.
  QTest::keyClick(vind<QRadioButton>("optProfielbestand"), Qt::Key_Return);
  ASSERT_EQ(berichten.getoond.size(), 1u);
  EXPECT_EQ(berichten.getoond[0].tekst, "Selecteer eerst een invoerbestand alvorens verder te gaan");
  EXPECT_EQ(berichten.getoond[0].titel, "Let op!");
  EXPECT_EQ(berichten.getoond[0].icoon, Icoon::Informatie);
  EXPECT_EQ(berichten.getoond[0].knoppen, Knoppen::OK);

  // With only the profile file chosen, the ditch file is asked for.
  store().inputbestand = map.schrijf("p.txt", "99,999,1,2,3,A\n");
  scherm<FrmInput>().zetStap(FrmInput::Stap::Profielbestand);
  klik("cmdOK");
  ASSERT_EQ(berichten.getoond.size(), 2u);
  EXPECT_EQ(berichten.getoond[1].titel, "Let op!");
  EXPECT_TRUE(berichten.getoond[1].tekst.contains("slootbestand"));
  EXPECT_EQ(scherm<FrmInput>().stap(), FrmInput::Stap::Slootbestand);

  EXPECT_FALSE(schermBestaat<FrmLaden>());
  EXPECT_FALSE(schermBestaat<FrmGraphicView>());
  EXPECT_TRUE(scherm<FrmInput>().isVisible());
  EXPECT_EQ(store().aantalProfielen(), 0);
}

TEST_F(InvoerTest, ListsFollowTheTwoStepsAndFillTheStore) {
  map.schrijf("a.txt", "99,999,10.5,20.5,1.25,P1\r\nrest\n");
  map.schrijf("B.ASC", "x\n");
  map.schrijf("c.xyz", "y\n");
  map.schrijf("d.csv", "profielnaam;bodem\n");
  map.schrijf("e.doc", "z\n");
  std::filesystem::create_directory(map.map() / "sub");
  const QString m = q(map.map().string());

  FrmInput& f = open();
  ASSERT_TRUE(f.zetMap(m));
  auto* file1 = vind<QListWidget>("File1");
  auto* dir1 = vind<QTreeWidget>("Dir1");
  EXPECT_EQ(namen(*file1), QStringList({"a.txt", "B.ASC", "c.xyz", "d.csv"}));
  ASSERT_NE(dir1->currentItem(), nullptr);
  EXPECT_EQ(dir1->currentItem()->text(0), q(map.map().filename().string()));
  ASSERT_EQ(dir1->currentItem()->childCount(), 1);
  EXPECT_EQ(dir1->currentItem()->child(0)->text(0), "sub");

  // Keyboard: the arrow selects the first file, Enter chooses it and moves
  // on to the ditch file.
  file1->setFocus();
  QTest::keyClick(file1, Qt::Key_Down);
  EXPECT_EQ(q(store().inputbestand), m + "/a.txt");
  EXPECT_EQ(taak().bestandsnaam(), "a.txt");
  EXPECT_EQ(vind<QLabel>("lblEersteRegel")->text(), "99,999,10.5,20.5,1.25,P1");
  EXPECT_EQ(f.stap(), FrmInput::Stap::Profielbestand);
  QTest::keyClick(file1, Qt::Key_Return);
  EXPECT_EQ(f.stap(), FrmInput::Stap::Slootbestand);
  EXPECT_EQ(namen(*file1), QStringList({"d.csv"}));
  // The fields show a path as the system writes it (with \ on Windows).
  EXPECT_EQ(vind<QLineEdit>("txtProfielbestand")->text(), QDir::toNativeSeparators(m + "/a.txt"));

  // Mouse: a click on the ditch file chooses it; the output names still
  // follow the profile-lines file.
  QTest::mouseClick(file1->viewport(), Qt::LeftButton, {}, file1->visualItemRect(file1->item(0)).center());
  EXPECT_EQ(q(store().bestandSloot), m + "/d.csv");
  EXPECT_EQ(taak().bestandsnaam(), "a.txt");
  EXPECT_EQ(vind<QLabel>("lblEersteRegel")->text(), "profielnaam;bodem");
  EXPECT_EQ(q(store().inputbestand), m + "/a.txt");

  // Back to the profile file: its choice is still selected.
  vind<QRadioButton>("optProfielbestand")->click();
  ASSERT_EQ(file1->selectedItems().size(), 1);
  EXPECT_EQ(file1->selectedItems().front()->text(), "a.txt");

  klik("cmdWissen");
  EXPECT_TRUE(store().inputbestand.empty());
  EXPECT_TRUE(store().bestandSloot.empty());
  EXPECT_EQ(f.stap(), FrmInput::Stap::Profielbestand);
  EXPECT_TRUE(file1->selectedItems().isEmpty());
  EXPECT_TRUE(vind<QLineEdit>("txtSlootbestand")->text().isEmpty());
  EXPECT_TRUE(vind<QLabel>("lblEersteRegel")->text().isEmpty());
  EXPECT_TRUE(berichten.getoond.empty());
}

TEST_F(InvoerTest, UnreadableFolderShowsTheReadErrorAndKeepsTheLists) {
  map.schrijf("a.txt", "x\n");
  FrmInput& f = open();
  ASSERT_TRUE(f.zetMap(q(map.map().string())));
  EXPECT_FALSE(f.zetMap(q((map.map() / "bestaat-niet").string())));
  ASSERT_EQ(berichten.getoond.size(), 1u);
  EXPECT_EQ(berichten.getoond[0].tekst, "Kan niet lezen vanaf het geselecteerde station, kies een ander station");
  EXPECT_EQ(berichten.getoond[0].titel, "Leesfout!");
  EXPECT_EQ(f.map(), q(map.map().string()));
  EXPECT_EQ(namen(*vind<QListWidget>("File1")), QStringList({"a.txt"}));
  EXPECT_GT(vind<QComboBox>("Drive1")->count(), 0);
}

TEST_F(InvoerTest, CommandLineChoiceIsPreselected) {
  const std::string profiel = map.schrijf("p.txt", "1\n");
  const std::string sloot = map.schrijf("s.csv", "kop\n");
  const QStringList waarschuwingen =
      volgorde().kiesVooraf(q(profiel), q((map.map() / "ontbreekt.csv").string()));
  ASSERT_EQ(waarschuwingen.size(), 1);
  EXPECT_TRUE(waarschuwingen[0].contains("ontbreekt.csv"));
  EXPECT_EQ(q(store().inputbestand), q(profiel));
  EXPECT_TRUE(store().bestandSloot.empty());

  EXPECT_TRUE(volgorde().kiesVooraf({}, q(sloot)).isEmpty());
  FrmInput& f = open();
  EXPECT_EQ(f.stap(), FrmInput::Stap::Slootbestand);
  EXPECT_EQ(f.map(), q(map.map().string()));
  auto* file1 = vind<QListWidget>("File1");
  ASSERT_EQ(file1->selectedItems().size(), 1);
  EXPECT_EQ(file1->selectedItems().front()->text(), "s.csv");
  EXPECT_EQ(vind<QLineEdit>("txtProfielbestand")->text(), QDir::toNativeSeparators(q(profiel)));
}

TEST_F(InvoerTest, BadInputFileShowsTheErrorAndStaysWithNothingLoaded) {
  taak().zetBestanden(map.schrijf("slecht.txt", "99,999,1.0,2.0,3.0,P1\n99,999,abc,2.0,3.0,P1\n"),
                      map.schrijf("sloot.csv", "kop\nP1;-1.5;2;2;;;\n"));
  open();
  klik("cmdOK");
  ASSERT_FALSE(berichten.getoond.empty());
  EXPECT_EQ(berichten.getoond.back().icoon, Icoon::Kritiek);
  EXPECT_TRUE(berichten.getoond.back().tekst.contains("slecht.txt"));
  ASSERT_TRUE(schermBestaat<FrmInput>());
  EXPECT_TRUE(scherm<FrmInput>().isVisible());
  EXPECT_FALSE(schermBestaat<FrmGraphicView>());
  EXPECT_FALSE(schermBestaat<FrmLaden>());
  EXPECT_EQ(store().aantalProfielen(), 0);
  // The choice is kept, so the user can correct the file and try again.
  EXPECT_FALSE(store().inputbestand.empty());
  EXPECT_TRUE(berichten.getoond.back().tekst.endsWith("\nKies de bestanden opnieuw."));
  EXPECT_EQ(berichten.beeindigd, 0);
}

// Two ditch records swapped: one question names them and offers three
// ways on. "Nee" goes back to the input screen with nothing loaded, "Ja,
// op volgorde" goes on with the records by position.
TEST_F(InvoerTest, DitchRecordsForOtherProfilesAreAskedAbout) {
  taak().zetBestanden(map.schrijf("p.txt", "1,2,0,0,1,A\n1,2,3,4,2,A\n1,2,0,0,0,B\n1,2,1,0,0,B\n"),
                      map.schrijf("s.csv", "kop\nB;-1.5;2;2;;;\nA;-1.6;2;2;;;\n"));
  open();
  berichten.keuzes = {2};
  klik("cmdOK");
  ASSERT_EQ(berichten.getoond.size(), 1u);
  EXPECT_EQ(berichten.getoond[0].titel, "Let op!");
  EXPECT_EQ(berichten.getoond[0].knopteksten, QStringList({"Ja, op &volgorde", "&Koppel op naam", "&Nee"}));
  EXPECT_TRUE(berichten.getoond[0].tekst.contains("profiel 1 'A' heeft slootrecord 'B'"));
  EXPECT_TRUE(schermBestaat<FrmInput>());
  EXPECT_FALSE(schermBestaat<FrmGraphicView>());
  EXPECT_EQ(store().aantalProfielen(), 0);

  berichten.keuzes = {0};
  klik("cmdOK");
  ASSERT_TRUE(schermBestaat<FrmGraphicView>());
  EXPECT_EQ(store().profiel(1).sloot.kolom(2), "-1.5");
  EXPECT_EQ(berichten.onverwachteVragen, 0);
}

// "Koppel op naam" gives each profile its own record and opens the review,
// without a notice when every name found its match. A name the file holds
// twice cannot be matched: the message names the lines, and the input
// screen stays with nothing loaded.
TEST_F(InvoerTest, KoppelOpNaamGivesEachProfileItsOwnRecord) {
  const std::string profielen = map.schrijf("p.txt", "1,2,0,0,1,A\n1,2,3,4,2,A\n1,2,0,0,0,B\n1,2,1,0,0,B\n");
  taak().zetBestanden(profielen, map.schrijf("s.csv", "kop\nB;-1.5;2;2;;;\nB;-1.6;2;2;;;\n"));
  open();
  berichten.keuzes = {1};
  klik("cmdOK");
  ASSERT_EQ(berichten.getoond.size(), 2u);
  EXPECT_EQ(berichten.getoond[1].titel, "Fout!");
  EXPECT_TRUE(berichten.getoond[1].tekst.contains("s.csv, regel 3: het record 'B' staat ook op regel 2"))
      << berichten.getoond[1].tekst.toStdString();
  EXPECT_TRUE(berichten.getoond[1].tekst.endsWith("\nKies de bestanden opnieuw."));
  EXPECT_TRUE(schermBestaat<FrmInput>());
  EXPECT_FALSE(schermBestaat<FrmGraphicView>());
  EXPECT_EQ(store().aantalProfielen(), 0);

  taak().zetBestanden(profielen, map.schrijf("s2.csv", "kop\nB;-1.5;2;2;;;\nA;-1.6;2;2;;;\n"));
  berichten.keuzes = {1};
  klik("cmdOK");
  ASSERT_TRUE(schermBestaat<FrmGraphicView>());
  EXPECT_EQ(berichten.getoond.size(), 3u);
  EXPECT_EQ(store().profiel(1).sloot.kolom(2), "-1.6");
  EXPECT_EQ(store().profiel(2).sloot.kolom(2), "-1.5");
  EXPECT_EQ(taak().slootkoppeling(), Slootkoppeling::OpNaam);
  EXPECT_TRUE(taak().leeswaarschuwingen().empty());
  EXPECT_EQ(berichten.onverwachteVragen, 0);
}

// Closing the loading notice stops the reading: back on the input screen
// with nothing loaded and no message.
TEST_F(InvoerTest, ClosingTheLoadingNoticeStopsTheReading) {
  ASSERT_TRUE(volgorde().kiesVooraf(ZARVO_BRON "/voorbeelden/profielen.txt", ZARVO_BRON "/voorbeelden/sloot.csv")
                  .isEmpty());
  open();
  // Closed before the reader's first progress report arrives.
  scherm<FrmLaden>().close();
  klik("cmdOK");
  EXPECT_TRUE(berichten.getoond.empty());
  EXPECT_TRUE(schermBestaat<FrmInput>());
  EXPECT_FALSE(schermBestaat<FrmLaden>());
  EXPECT_FALSE(schermBestaat<FrmGraphicView>());
  EXPECT_EQ(store().aantalProfielen(), 0);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(InvoerTest, GoodFilesOpenTheReviewScreenAndUnloadTheInput) {
  ASSERT_TRUE(volgorde().kiesVooraf(ZARVO_BRON "/voorbeelden/profielen.txt", ZARVO_BRON "/voorbeelden/sloot.csv")
                  .isEmpty());
  open();
  klik("cmdOK");
  for (const GetoondBericht& b : berichten.getoond) ADD_FAILURE() << b.titel.toStdString() << ": " << b.tekst.toStdString();
  EXPECT_FALSE(schermBestaat<FrmInput>());
  EXPECT_FALSE(schermBestaat<FrmLaden>());
  ASSERT_TRUE(schermBestaat<FrmGraphicView>());
  EXPECT_TRUE(scherm<FrmGraphicView>().isVisible());
  EXPECT_GT(store().aantalProfielen(), 0);
}

TEST_F(InvoerTest, StopAsksAndEndsOnlyOnYes) {
  taak().zetBestanden(map.schrijf("p.txt", "1\n"), {});
  open();
  berichten.antwoorden = {Antwoord::Nee};
  klik("cmdStop");
  ASSERT_EQ(berichten.getoond.size(), 1u);
  EXPECT_EQ(berichten.getoond[0].tekst, "Weet u zeker dat u wilt stoppen?");
  EXPECT_EQ(berichten.getoond[0].titel, "Let op!");
  EXPECT_EQ(berichten.getoond[0].knoppen, Knoppen::JaNee);
  EXPECT_EQ(berichten.beeindigd, 0);
  EXPECT_TRUE(schermBestaat<FrmInput>());
  EXPECT_FALSE(store().inputbestand.empty());

  berichten.antwoorden = {Antwoord::Ja};
  klik("cmdStop");
  EXPECT_EQ(berichten.getoond.size(), 2u);
  EXPECT_EQ(berichten.beeindigd, 1);
  EXPECT_EQ(berichten.onverwachteVragen, 0);
}

TEST(FrmLadenTest, ProgressBarFollowsTheReaderEvenBeyondTheIntRange) {
  FrmLaden laden;
  auto* balk = laden.findChild<QProgressBar*>("prgVoortgang");
  ASSERT_NE(balk, nullptr);
  EXPECT_EQ(laden.windowTitle(), "Bezig inlezen bestand");
  auto deel = [&] { return double(balk->value() - balk->minimum()) / (balk->maximum() - balk->minimum()); };
  laden.zetVoortgang(3, 4);
  EXPECT_DOUBLE_EQ(deel(), 0.75);
  laden.zetVoortgang(3'000'000'000ULL, 6'000'000'000ULL);
  EXPECT_DOUBLE_EQ(deel(), 0.5);
  laden.zetVoortgang(7, 5);  // a file that grew while being read
  EXPECT_DOUBLE_EQ(deel(), 1.0);
  laden.zetVoortgang(0, 0);
  EXPECT_DOUBLE_EQ(deel(), 0.0);
}

}  // namespace
}  // namespace zarvo::gui
