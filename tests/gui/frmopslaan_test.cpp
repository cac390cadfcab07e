// The save screen: its load, what a save writes and when it says so, the
// names and targets it refuses, and stopping.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTemporaryDir>

#include <filesystem>

#include "schermen/frmopslaan.h"
#include "output/opslag.h"
#include "tests/gui/fakeberichten.h"
#include "tests/gui/testhulp.h"

namespace zarvo::gui {
namespace {

QByteArray lees(const QString& pad) {
  QFile f(pad);
  if (!f.open(QIODevice::ReadOnly)) return "(ontbreekt)";
  return f.readAll();
}

// Remembers, for every box shown, which of the files existed at that moment.
class KijkendeBerichten : public FakeBerichten {
 public:
  Antwoord toon(const QString& tekst, const QString& titel, Icoon icoon, Knoppen knoppen) override {
    QStringList aanwezig;
    for (const QString& pad : bewaakt) {
      if (QFile::exists(pad)) aanwezig << pad;
    }
    bestondenBijBericht.push_back(aanwezig);
    return FakeBerichten::toon(tekst, titel, icoon, knoppen);
  }
  QStringList bewaakt;
  std::vector<QStringList> bestondenBijBericht;
};

Punt punt(Cel v1, Cel v2, double x, double y, double z) { return Punt{std::move(v1), std::move(v2), x, y, z}; }

class FrmOpslaanTest : public SchermTest {
 protected:
  void SetUp() override {
    SchermTest::SetUp();
    ProfielStore& s = store();
    ASSERT_TRUE(map.isValid());
    s.inputbestand = QDir(map.path()).filePath("dijk 12.txt").toStdString();
    Profiel a;
    a.naam = "P1";
    a.punten = {punt(Cel(1.0), Cel("99"), 100.5, 200.25, -1.125), punt(Cel("A"), Cel(), 101.0, 201.0, 0.0)};
    Profiel b;
    b.naam = "P2";
    b.punten = {punt(Cel(5.0), Cel(5.0), 1.0, 2.0, 3.0)};
    Profiel c;
    c.naam = "P3";
    c.punten = {punt(Cel(2.0), Cel(22.0), 7.0, 8.5, -0.001)};
    s.profielen = {a, b, c};
    s.zetGrenzen(1 + 3 * 2, 1 + 2 * 2);
  }
  FrmOpslaan& toonForm() {
    FrmOpslaan& f = scherm<FrmOpslaan>();
    f.show();
    return f;
  }
  template <class T>
  T* kind(const char* naam) {
    T* w = scherm<FrmOpslaan>().findChild<T*>(naam);
    EXPECT_NE(w, nullptr) << naam;
    return w;
  }
  QString pad(const QString& naam) const { return QDir(map.path()).filePath(naam); }

  QTemporaryDir map;
};

TEST_F(FrmOpslaanTest, LoadNamesFilesAfterTheInputAndOffersTheListOnlyAfterADelete) {
  toonForm();
  EXPECT_EQ(kind<QLineEdit>("txtProfielen")->text(), "output_profiel_dijk 12.txt");
  EXPECT_EQ(kind<QLineEdit>("txtLogBestand")->text(), "output_verwijderde_profielen_dijk 12.txt");
  EXPECT_FALSE(kind<QLineEdit>("txtLogBestand")->isEnabled());
  EXPECT_FALSE(kind<QPushButton>("cmdStop")->isEnabled());
  // The target starts beside the input file.
  EXPECT_EQ(scherm<FrmOpslaan>().map(), QDir(map.path()).absolutePath());

  sluitScherm<FrmOpslaan>();
  store().verwijderProfiel(2);
  toonForm();
  EXPECT_TRUE(kind<QLineEdit>("txtLogBestand")->isEnabled());
  // The names the list will hold are shown before it is written.
  const QString samenvatting = kind<QLabel>("lblSamenvatting")->text();
  EXPECT_TRUE(samenvatting.endsWith("verwijderde profiel: P2.")) << samenvatting.toStdString();
}

TEST_F(FrmOpslaanTest, SaveWritesBothFilesThenConfirmsAndStaysOpenWithStopEnabled) {
  KijkendeBerichten fake;
  store().verwijderProfiel(2);
  FrmOpslaan& f = toonForm();
  kind<QLineEdit>("txtProfielen")->setText("resultaat.csv");
  kind<QLineEdit>("txtLogBestand")->setText("weg.csv");
  fake.bewaakt = {pad("resultaat.csv"), pad("weg.csv")};

  // Enter in a name field saves, as the default button Opslaan does.
  QTest::keyClick(kind<QLineEdit>("txtLogBestand"), Qt::Key_Return);

  // The pinned Dutch locale writes decimal commas; text codes verbatim,
  // an Empty code as an empty field, CRLF line ends.
  EXPECT_EQ(lees(pad("resultaat.csv")),
            "1\t99\t100,5\t200,25\t-1,125\tP1\r\n"
            "A\t\t101\t201\t0\tP1\r\n"
            "2\t22\t7\t8,5\t-0,001\tP3\r\n");
  EXPECT_EQ(lees(pad("weg.csv")), "Overzicht verwijderde profielen\r\nP2\r\n");

  ASSERT_EQ(fake.getoond.size(), 1u);
  EXPECT_EQ(fake.getoond[0].tekst, "Bestanden zijn opgeslagen.");
  EXPECT_EQ(fake.getoond[0].titel, "Bestand opgeslagen");
  EXPECT_EQ(fake.getoond[0].icoon, Icoon::Geen);
  EXPECT_EQ(fake.getoond[0].knoppen, Knoppen::OK);
  // Said only once both files were there.
  EXPECT_EQ(fake.bestondenBijBericht[0], fake.bewaakt);

  EXPECT_TRUE(f.isVisible());
  EXPECT_TRUE(kind<QPushButton>("cmdStop")->isEnabled());
  EXPECT_EQ(fake.beeindigd, 0);
  // The file list shows what was just written.
  EXPECT_FALSE(kind<QListWidget>("File1")->findItems("resultaat.csv", Qt::MatchExactly).isEmpty());
}

TEST_F(FrmOpslaanTest, WithoutDeletesNoListIsWrittenWhateverItsNameBox) {
  FakeBerichten fake;
  toonForm();
  kind<QPushButton>("cmdOpslaan")->click();
  EXPECT_TRUE(QFile::exists(pad("output_profiel_dijk 12.txt")));
  EXPECT_FALSE(QFile::exists(pad("output_verwijderde_profielen_dijk 12.txt")));
  ASSERT_EQ(fake.getoond.size(), 1u);
  EXPECT_EQ(fake.getoond[0].titel, "Bestand opgeslagen");

  // Saving again over the same file asks first; No leaves it alone.
  QFile oud(pad("output_profiel_dijk 12.txt"));
  ASSERT_TRUE(oud.open(QIODevice::WriteOnly));
  oud.write("oud");
  oud.close();
  fake.antwoorden = {Antwoord::Nee};
  kind<QPushButton>("cmdOpslaan")->click();
  ASSERT_EQ(fake.getoond.size(), 2u);
  EXPECT_EQ(fake.getoond[1].titel, "Let op!");
  EXPECT_EQ(fake.getoond[1].knoppen, Knoppen::JaNee);
  EXPECT_TRUE(fake.getoond[1].tekst.endsWith("output_profiel_dijk 12.txt bestaat al.\nOverschrijven?"));
  EXPECT_EQ(lees(pad("output_profiel_dijk 12.txt")), "oud");
  fake.antwoorden = {Antwoord::Ja};
  kind<QPushButton>("cmdOpslaan")->click();
  ASSERT_EQ(fake.getoond.size(), 4u);
  EXPECT_EQ(fake.getoond[3].titel, "Bestand opgeslagen");
  EXPECT_NE(lees(pad("output_profiel_dijk 12.txt")), "oud");
}

TEST_F(FrmOpslaanTest, PickingAFolderDealsWithAnInterruptedSaveAndAnOldListGoesWithTheNext) {
  FakeBerichten fake;
  // A save killed before it was committed: its temporary file and journal.
  const std::vector<opslag::Stap> stappen = {
      {opslag::Stap::Soort::Plaats, ".zarvo-0000000e.tmp", {}, "output_profiel_dijk 12.txt"}};
  for (const auto& [naam, inhoud] : {std::pair<QString, QByteArray>{".zarvo-0000000e.tmp", "half"},
                                     {opslag::journaalNaam(), QByteArray::fromStdString(opslag::journaalTekst(
                                                                  opslag::Staat::Voorbereid, stappen))},
                                     {"output_verwijderde_profielen_dijk 12.txt", "oude lijst"}}) {
    QFile f(pad(naam));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(inhoud);
  }
  toonForm();
  ASSERT_EQ(fake.getoond.size(), 1u);
  EXPECT_EQ(fake.getoond[0].titel, "Let op!");
  EXPECT_TRUE(fake.getoond[0].tekst.contains("ongedaan gemaakt")) << fake.getoond[0].tekst.toStdString();
  EXPECT_EQ(QDir(map.path()).entryList(QDir::Files | QDir::Hidden),
            QStringList{"output_verwijderde_profielen_dijk 12.txt"});

  // Nothing deleted this time: the list of the earlier save goes, and the
  // confirmation says so.
  kind<QPushButton>("cmdOpslaan")->click();
  ASSERT_EQ(fake.getoond.size(), 2u);
  EXPECT_EQ(fake.getoond[1].tekst, "Bestanden zijn opgeslagen.\nHet oude overzicht " +
                                       QDir::toNativeSeparators(pad("output_verwijderde_profielen_dijk 12.txt")) +
                                       " is verwijderd: er zijn deze keer geen profielen verwijderd.");
  EXPECT_EQ(QDir(map.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"output_profiel_dijk 12.txt"});
}

TEST_F(FrmOpslaanTest, BadNamesAndUnwritableTargetsShowTheFailureAndWriteNothing) {
  store().verwijderProfiel(1);
  toonForm();
  QLineEdit* resultaat = kind<QLineEdit>("txtProfielen");
  QLineEdit* lijst = kind<QLineEdit>("txtLogBestand");

  struct Geval {
    QString resultaat;
    QString lijst;
  };
  // An empty name would name the folder itself; separators and ".." would
  // write outside the folder shown; with a delete the list needs a name too;
  // one name for both files would keep only one of them.
  const std::vector<Geval> gevallen = {
      {"", "weg.csv"},          {"   ", "weg.csv"},      {"sub/r.csv", "weg.csv"}, {"..", "weg.csv"},
      {"../r.csv", "weg.csv"},  {"r.csv", ""},           {"r.csv", "r.csv"},
  };
  for (const Geval& g : gevallen) {
    FakeBerichten fake;
    resultaat->setText(g.resultaat);
    lijst->setText(g.lijst);
    kind<QPushButton>("cmdOpslaan")->click();
    ASSERT_EQ(fake.getoond.size(), 1u) << g.resultaat.toStdString() << " / " << g.lijst.toStdString();
    EXPECT_TRUE(fake.getoond[0].tekst.startsWith("Fout bij het opslaan, controleer bestandsnaam\n"))
        << fake.getoond[0].tekst.toStdString();
    EXPECT_EQ(fake.getoond[0].titel, "Fout!");
    EXPECT_EQ(fake.getoond[0].icoon, Icoon::Kritiek);
    EXPECT_TRUE(QDir(map.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).isEmpty())
        << g.resultaat.toStdString();
  }

  // A folder that turned into a file after it was chosen: the save cannot
  // create anything in it, whoever runs the test (root included).
  const QString weg = pad("doel");
  ASSERT_TRUE(QDir().mkdir(weg));
  ASSERT_TRUE(scherm<FrmOpslaan>().zetMap(weg));
  ASSERT_TRUE(QDir().rmdir(weg));
  {
    QFile bezet(weg);
    ASSERT_TRUE(bezet.open(QIODevice::WriteOnly));
    bezet.write("blijft");
  }
  FakeBerichten fake;
  resultaat->setText("r.csv");
  lijst->setText("weg.csv");
  kind<QPushButton>("cmdOpslaan")->click();
  ASSERT_EQ(fake.getoond.size(), 1u);
  EXPECT_TRUE(fake.getoond[0].tekst.startsWith("Fout bij het opslaan, controleer bestandsnaam\n"));
  EXPECT_EQ(lees(weg), "blijft");
  EXPECT_EQ(QDir(map.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
            QStringList{"doel"});
  EXPECT_FALSE(kind<QPushButton>("cmdStop")->isEnabled());
}

TEST_F(FrmOpslaanTest, StopAndClosingTheWindowAskBeforeEndingTheProgram) {
  FakeBerichten fake;
  FrmOpslaan& f = toonForm();

  // Before a save, closing warns that nothing has been saved.
  fake.antwoorden = {Antwoord::Nee};
  f.close();
  ASSERT_EQ(fake.getoond.size(), 1u);
  EXPECT_EQ(fake.getoond[0].tekst, "Weet u zeker dat u wilt stoppen? Wijzigingen worden niet opgeslagen!");
  EXPECT_EQ(fake.getoond[0].titel, "Let op!");
  EXPECT_EQ(fake.getoond[0].knoppen, Knoppen::JaNee);
  EXPECT_TRUE(f.isVisible());
  EXPECT_EQ(fake.beeindigd, 0);

  kind<QPushButton>("cmdOpslaan")->click();
  fake.getoond.clear();
  fake.antwoorden = {Antwoord::Nee, Antwoord::Ja};
  kind<QPushButton>("cmdStop")->click();
  ASSERT_EQ(fake.getoond.size(), 1u);
  EXPECT_EQ(fake.getoond[0].tekst, "Weet u zeker dat u wilt stoppen?");
  EXPECT_EQ(fake.getoond[0].titel, "Let op!");
  EXPECT_EQ(fake.getoond[0].icoon, Icoon::Geen);
  EXPECT_EQ(fake.beeindigd, 0);
  EXPECT_TRUE(f.isVisible());
  kind<QPushButton>("cmdStop")->click();
  EXPECT_EQ(fake.beeindigd, 1);
  EXPECT_EQ(fake.onverwachteVragen, 0);
}

// The surface-lines choice proposes two editable names after the input's
// stem, refuses a store the importers would refuse without writing, and
// then writes both files and the list.
TEST_F(FrmOpslaanTest, SurfaceLinesChoiceNamesTwoFilesAndRefusesOnePointProfiles) {
  FakeBerichten fake;
  store().verwijderProfiel(2);
  toonForm();
  kind<QComboBox>("cboFormaat")->setCurrentIndex(1);
  EXPECT_EQ(kind<QLineEdit>("txtProfielen")->text(), "output_oppervlaktelijnen_dijk 12.csv");
  EXPECT_EQ(kind<QLineEdit>("txtKarakteristiekePunten")->text(), "output_oppervlaktelijnen_dijk 12.krp.csv");
  kind<QLineEdit>("txtKarakteristiekePunten")->setText("punten.csv");

  kind<QPushButton>("cmdOpslaan")->click();  // P3 has one point
  ASSERT_EQ(fake.getoond.size(), 1u);
  EXPECT_EQ(fake.getoond[0].titel, "Fout!");
  EXPECT_TRUE(fake.getoond[0].tekst.contains("profiel P3 heeft minder dan twee punten"));
  EXPECT_EQ(QDir(map.path()).entryList(QDir::Files), QStringList());

  sluitScherm<FrmOpslaan>();
  store().verwijderProfiel(2);
  toonForm();
  scherm<FrmOpslaan>().zetOppervlaktelijnen(true);
  kind<QLineEdit>("txtKarakteristiekePunten")->setText("punten.csv");
  kind<QPushButton>("cmdOpslaan")->click();
  EXPECT_EQ(lees(pad("output_oppervlaktelijnen_dijk 12.csv")),
            "LOCATIONID;X1;Y1;Z1;.....;Xn;Yn;Zn;(Profiel)\r\nP1;100.5;200.25;-1.125;101;201;0\r\n");
  EXPECT_TRUE(lees(pad("punten.csv")).startsWith("LOCATIONID;X_Maaiveld binnenwaarts;"));
  // Only the first and last point are known: the ground level on both sides.
  EXPECT_TRUE(lees(pad("punten.csv"))
                  .endsWith("\r\nP1;101;201;0" + QByteArray(";-1;-1;-1").repeated(16) + ";100.5;200.25;-1.125\r\n"));
  EXPECT_EQ(lees(pad("output_verwijderde_profielen_dijk 12.txt")), "Overzicht verwijderde profielen\r\nP2\r\nP3\r\n");
  EXPECT_EQ(fake.getoond.back().titel, "Bestand opgeslagen");
}

}  // namespace
}  // namespace zarvo::gui
