// The whole road through the real screens, as a user walks it: splash,
// input selection, review (step, delete, scale), ditch screen (step,
// legend), save. Only the message boxes are faked. The saved files must be
// byte for byte what the batch program writes for the same job.
#include <gtest/gtest.h>

#include <QAbstractSlider>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

#include "platform/picturebox.h"
#include "platform/profielnavigatie.h"

#include "schermen/frmpl.h"
#include "schermen/frmpuntcodes.h"
#include "schermen/frminput.h"
#include "schermen/frmopslaan.h"
#include "schermen/frmgraphicview.h"
#include "schermen/frmsplashscreen.h"
#include "tests/gui/fakeberichten.h"
#include "tests/gui/testhulp.h"

namespace zarvo::gui {
namespace {

const QString voorbeelden = QStringLiteral(ZARVO_BRON "/voorbeelden");
const QString profielBestand = QStringLiteral("profielen.txt");
const QString slootBestand = QStringLiteral("sloot.csv");

QByteArray lees(const QString& pad) {
  QFile f(pad);
  if (!f.open(QIODevice::ReadOnly)) return "(ontbreekt: " + pad.toUtf8() + ")";
  return f.readAll();
}

template <class T>
T* kind(QWidget& form, const char* naam) {
  T* w = form.findChild<T*>(naam);
  if (!w) ADD_FAILURE() << form.objectName().toStdString() << " has no " << naam;
  return w;
}

void klik(QWidget& form, const char* knop) {
  QPushButton* k = kind<QPushButton>(form, knop);
  ASSERT_NE(k, nullptr);
  ASSERT_TRUE(k->isEnabled()) << knop;
  QTest::mouseClick(k, Qt::LeftButton);
}

// Clicks the file 'naam' in the file list of the input screen.
void klikBestand(FrmInput& invoer, const QString& naam) {
  QListWidget* lijst = kind<QListWidget>(invoer, "File1");
  ASSERT_NE(lijst, nullptr);
  const auto treffers = lijst->findItems(naam, Qt::MatchExactly);
  ASSERT_EQ(treffers.size(), 1) << naam.toStdString();
  lijst->scrollToItem(treffers.front());
  QTest::mouseClick(lijst->viewport(), Qt::LeftButton, {}, lijst->visualItemRect(treffers.front()).center());
}

// The screens' folder holds exactly 'namen', each as the batch wrote it.
void gelijkAanBatch(const QString& scherm, const QString& batch, const QStringList& namen) {
  EXPECT_EQ(QDir(scherm).entryList(QDir::Files | QDir::Hidden), namen);
  EXPECT_EQ(QDir(batch).entryList(QDir::Files | QDir::Hidden), namen);
  for (const QString& naam : namen) {
    const QByteArray uitScherm = lees(QDir(scherm).filePath(naam));
    EXPECT_GT(uitScherm.size(), 30) << naam.toStdString();
    EXPECT_TRUE(uitScherm == lees(QDir(batch).filePath(naam))) << naam.toStdString() << " differs from the batch's";
  }
}

bool zichtbaar(const char* naam) {
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w->objectName() == naam && w->isVisible()) return true;
  }
  return false;
}

class EindTotEind : public SchermTest {
 protected:
  void SetUp() override {
    SchermTest::SetUp();
    ASSERT_TRUE(QFile::exists(QDir(voorbeelden).filePath(profielBestand)));
    ASSERT_TRUE(QFile::exists(QDir(voorbeelden).filePath(slootBestand)));
  }
  // Walks from the splash screen to the save screen and chooses 'doelmap'
  // there. Returns the name of the profile deleted on the review screen.
  std::string loopNaarOpslaan(const QString& doelmap) {
    scherm<FrmSplashScreen>().show();
    QTest::mouseClick(&scherm<FrmSplashScreen>(), Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_TRUE(zichtbaar("frmInput"));
    if (!schermBestaat<FrmInput>()) return {};

    // Input selection: the profile file, then the ditch file, then OK.
    FrmInput& invoer = scherm<FrmInput>();
    EXPECT_TRUE(invoer.zetMap(invoermap));
    klikBestand(invoer, profielBestand);
    QRadioButton* sloot = kind<QRadioButton>(invoer, "optSlootbestand");
    if (!sloot) return {};
    QTest::mouseClick(sloot, Qt::LeftButton);
    klikBestand(invoer, slootnaam);
    EXPECT_EQ(store().inputbestand, QDir(invoermap).filePath(profielBestand).toStdString());
    EXPECT_EQ(store().bestandSloot, QDir(invoermap).filePath(slootnaam).toStdString());
    klik(invoer, "cmdOK");
    QCoreApplication::processEvents();
    EXPECT_TRUE(zichtbaar("frmGraphicView"));
    if (!schermBestaat<FrmGraphicView>()) return {};
    const std::int32_t aantal = store().aantalProfielen();
    EXPECT_GT(aantal, 3);

    // Review: two steps forward, delete the profile shown, change the scale.
    FrmGraphicView& review = scherm<FrmGraphicView>();
    klik(review, "cmdVolgende");
    klik(review, "cmdVolgende");
    EXPECT_EQ(review.huidigProfiel(), 3);
    const std::string verwijderd = store().profiel(3).naam;
    fake.antwoorden.push_back(Antwoord::Ja);
    klik(review, "cmdVerwijderDWP");
    EXPECT_EQ(store().aantalProfielen(), aantal - 1);
    EXPECT_EQ(store().verwijderdeProfielen, std::vector<std::string>{verwijderd});
    QAbstractSlider* schaal = kind<QAbstractSlider>(review, "scrollSchaal");
    if (!schaal) return {};
    const double schaalVoor = review.schaalfactor();
    schaal->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_NE(review.schaalfactor(), schaalVoor);
    klik(review, "cmdOK");
    QCoreApplication::processEvents();
    EXPECT_TRUE(zichtbaar("frmPL"));
    if (!schermBestaat<FrmPL>()) return {};

    // Ditch screen: step through every profile once, open and close the
    // legend, go on.
    FrmPL& pl = scherm<FrmPL>();
    for (std::int32_t i = 0; i < store().aantalProfielen(); ++i) klik(pl, "cmdVolgende");
    EXPECT_EQ(pl.huidigProfiel(), 1);
    klik(pl, "cdmPuntCodes");
    EXPECT_TRUE(zichtbaar("frmPuntCodes"));
    if (!schermBestaat<FrmPuntCodes>()) return {};
    klik(scherm<FrmPuntCodes>(), "cmdSluitVenster");
    QCoreApplication::processEvents();
    EXPECT_FALSE(zichtbaar("frmPuntCodes"));
    if (opSlootscherm) opSlootscherm(pl);
    klik(pl, "cmdOK");
    QCoreApplication::processEvents();
    EXPECT_TRUE(zichtbaar("frmOpslaan"));
    EXPECT_FALSE(zichtbaar("frmPL"));
    if (!schermBestaat<FrmOpslaan>()) return {};

    // Save screen: the default names follow the profile-lines file, though
    // the ditch file was clicked last; then the target folder.
    FrmOpslaan& opslaan = scherm<FrmOpslaan>();
    EXPECT_EQ(kind<QLineEdit>(opslaan, "txtProfielen")->text(), "output_profiel_" + profielBestand);
    EXPECT_EQ(kind<QLineEdit>(opslaan, "txtLogBestand")->text(), "output_verwijderde_profielen_" + profielBestand);
    EXPECT_TRUE(opslaan.zetMap(doelmap));
    return verwijderd;
  }

  // The whole road into 'doelmap', then "Opslaan": the one box it showed.
  GetoondBericht loopEnSlaOp(const QString& doelmap) {
    verwijderdProfiel = loopNaarOpslaan(doelmap);
    if (verwijderdProfiel.empty() || HasFailure()) return {};
    const std::size_t voor = fake.getoond.size();
    klik(scherm<FrmOpslaan>(), "cmdOpslaan");
    EXPECT_EQ(fake.getoond.size(), voor + 1);
    return fake.getoond.size() == voor + 1 ? fake.getoond.back() : GetoondBericht{};
  }

  // Where the input screen finds the two files, and the ditch file's name.
  QString invoermap = voorbeelden;
  QString slootnaam = slootBestand;
  FakeBerichten fake;
  std::string verwijderdProfiel;  // deleted on the review screen
  // What the user does on the ditch screen besides stepping through it.
  std::function<void(FrmPL&)> opSlootscherm;
};

TEST_F(EindTotEind, SavedFilesAreWhatTheBatchWritesForTheSameJob) {
  QTemporaryDir doel;
  QTemporaryDir batchDoel;
  ASSERT_TRUE(doel.isValid() && batchDoel.isValid());
  const GetoondBericht bericht = loopEnSlaOp(doel.path());
  ASSERT_FALSE(HasFailure());
  EXPECT_EQ(bericht.tekst, "Bestanden zijn opgeslagen.");
  EXPECT_EQ(bericht.titel, "Bestand opgeslagen");
  for (const GetoondBericht& b : fake.getoond) EXPECT_NE(b.titel, "Fout!") << b.tekst.toStdString();
  EXPECT_EQ(fake.onverwachteVragen, 0);
  EXPECT_EQ(fake.beeindigd, 0);

  // The same job headless, with the screen's decimal separator (the test
  // pins a Dutch locale, so a comma) and the batch's own default names.
  QProcess batch;
  batch.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  batch.start(QStringLiteral(ZARVO_BATCH),
              {"bouw", QDir(voorbeelden).filePath(profielBestand), QDir(voorbeelden).filePath(slootBestand),
               "--uitvoermap", batchDoel.path(), "--verwijder", QString::fromStdString(verwijderdProfiel),
               "--decimaalteken", ","});
  ASSERT_TRUE(batch.waitForFinished(60000));
  ASSERT_EQ(batch.exitStatus(), QProcess::NormalExit);
  ASSERT_EQ(batch.exitCode(), 0);

  const QStringList namen = {"output_profiel_" + profielBestand,
                             "output_verwijderde_profielen_" + profielBestand};
  gelijkAanBatch(doel.path(), batchDoel.path(), namen);
  EXPECT_TRUE(lees(QDir(doel.path()).filePath(namen[1])).contains(QByteArray::fromStdString(verwijderdProfiel)));
}

// Edges chosen by clicking on a profile the surveyor left without ditch
// codes, and a coded ditch taken away: the screens save the choices beside
// the result, and the batch given that file writes the same three files.
TEST_F(EindTotEind, ChosenDitchEdgesAreSavedAndTheBatchReplaysThemByteForByte) {
  QTemporaryDir doel;
  QTemporaryDir batchDoel;
  ASSERT_TRUE(doel.isValid() && batchDoel.isValid());
  opSlootscherm = [this](FrmPL& pl) {
    pl.resize(1000, 650);
    QCoreApplication::processEvents();
    klik(pl, "cmdSlootkantenOpnieuw");  // profile 1 keeps no ditch
    const std::int32_t zonderCodes = taak().zoekProfiel("DP113+075");
    ASSERT_GT(zonderCodes, 0);
    emit pl.findChild<ProfielNavigatie*>()->springNaar(zonderCodes);
    const auto& lz = pl.geometrie().lz;
    ASSERT_GT(lz.size(), 40u);
    auto* pic = kind<PictureBox>(pl, "picDwarsprofiel");
    emit pic->geklikt(lz[29].l, lz[29].z);
    emit pic->geklikt(lz[37].l, lz[37].z);
    EXPECT_TRUE(taak().bouwfeiten()[static_cast<std::size_t>(zonderCodes - 1)].heeftSloot());
  };
  const GetoondBericht bericht = loopEnSlaOp(doel.path());
  ASSERT_FALSE(HasFailure());
  EXPECT_EQ(bericht.tekst, "Bestanden zijn opgeslagen.");
  const QString keuzes = QDir(doel.path()).filePath("output_slootkanten_profielen.csv");
  EXPECT_TRUE(lees(keuzes).contains("DP113+075;30;"));

  QProcess batch;
  batch.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  batch.start(QStringLiteral(ZARVO_BATCH),
              {"bouw", QDir(voorbeelden).filePath(profielBestand), QDir(voorbeelden).filePath(slootBestand),
               "--uitvoermap", batchDoel.path(), "--verwijder", QString::fromStdString(verwijderdProfiel),
               "--decimaalteken", ",", "--slootkanten", keuzes});
  ASSERT_TRUE(batch.waitForFinished(60000));
  ASSERT_EQ(batch.exitCode(), 0);
  const QStringList namen = {"output_profiel_" + profielBestand, "output_slootkanten_profielen.csv",
                             "output_verwijderde_profielen_" + profielBestand};
  gelijkAanBatch(doel.path(), batchDoel.path(), namen);
}

// Ditch records in another order, one profile's record missing and one
// record of a profile that is not there: "Koppel op naam" in the question
// about the names gives each profile its own record, the notice names what
// found no match, and the save is what the batch writes with
// --koppel-op-naam.
TEST_F(EindTotEind, RecordsMatchedByNameOnTheScreensAreWhatTheBatchMatchesByName) {
  QTemporaryDir invoer;
  QTemporaryDir doel;
  QTemporaryDir batchDoel;
  ASSERT_TRUE(invoer.isValid() && doel.isValid() && batchDoel.isValid());
  const QString zonderRecord = QStringLiteral("DP114+025");  // ditch edges and a foreland
  QList<QByteArray> regels = lees(QDir(voorbeelden).filePath(slootBestand)).split('\n');
  while (!regels.isEmpty() && regels.back().isEmpty()) regels.pop_back();
  ASSERT_GT(regels.size(), 4);
  QByteArray omgekeerd = regels.front() + '\n';
  for (qsizetype i = regels.size() - 1; i >= 1; --i) {
    if (!regels[i].startsWith(zonderRecord.toUtf8() + ';')) omgekeerd += regels[i] + '\n';
  }
  omgekeerd += "DP120+000;-1.50;2.0;2.0;;;\n";
  {
    QFile f(QDir(invoer.path()).filePath(QStringLiteral("sloot_op_naam.csv")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(omgekeerd);
  }
  ASSERT_TRUE(QFile::copy(QDir(voorbeelden).filePath(profielBestand), QDir(invoer.path()).filePath(profielBestand)));
  invoermap = invoer.path();
  slootnaam = QStringLiteral("sloot_op_naam.csv");
  fake.keuzes.push_back(1);  // "Koppel op naam"

  const GetoondBericht bericht = loopEnSlaOp(doel.path());
  ASSERT_FALSE(HasFailure());
  EXPECT_EQ(bericht.tekst, "Bestanden zijn opgeslagen.");
  EXPECT_EQ(fake.onverwachteVragen, 0);
  ASSERT_GE(fake.getoond.size(), 2u);
  EXPECT_EQ(fake.getoond[0].knopteksten,
            QStringList({"Ja, op &volgorde", "&Koppel op naam", "&Nee"}));
  EXPECT_TRUE(fake.getoond[0].tekst.contains("profiel 1 'DP112+000' heeft slootrecord 'DP115+050'"));
  const QString melding = fake.getoond[1].tekst;
  EXPECT_EQ(fake.getoond[1].titel, "Let op!");
  EXPECT_TRUE(melding.contains("Geen slootrecord voor 1 profiel:\nprofiel 10 'DP114+025'\n")) << melding.toStdString();
  EXPECT_TRUE(melding.contains("1 slootrecord hoort bij geen profiel:\nregel 16 'DP120+000'\n")) << melding.toStdString();
  // The one profile without a record fails once, by name; the rest got
  // their own records.
  int fouten = 0;
  for (const GetoondBericht& b : fake.getoond) {
    if (b.titel != "Fout!") continue;
    ++fouten;
    EXPECT_EQ(b.tekst, "er is geen slootrecord voor profiel " + zonderRecord);
  }
  EXPECT_EQ(fouten, 1);
  for (const Profiel& p : store().profielen) {
    if (p.naam == zonderRecord.toStdString()) {
      EXPECT_FALSE(p.sloot.aanwezig());
    } else {
      EXPECT_EQ(p.sloot.kolom(1), p.naam);
    }
  }

  QProcess batch;
  batch.start(QStringLiteral(ZARVO_BATCH),
              {"bouw", QDir(invoermap).filePath(profielBestand), QDir(invoermap).filePath(slootnaam), "--uitvoermap",
               batchDoel.path(), "--verwijder", QString::fromStdString(verwijderdProfiel), "--decimaalteken", ",",
               "--koppel-op-naam"});
  ASSERT_TRUE(batch.waitForFinished(60000));
  ASSERT_EQ(batch.exitCode(), 0);
  const QString batchFout = QString::fromUtf8(batch.readAllStandardError());
  EXPECT_TRUE(batchFout.contains("Let op!: " + melding)) << batchFout.toStdString();
  EXPECT_TRUE(batchFout.contains("Fout!: er is geen slootrecord voor profiel " + zonderRecord));
  gelijkAanBatch(doel.path(), batchDoel.path(),
                 {"output_profiel_" + profielBestand, "output_verwijderde_profielen_" + profielBestand});
}

// The target is a folder nobody may write in, root included: /proc refuses
// to create files for everyone, whereas a folder with its write bits
// cleared still lets root write, and tests may well run as root.
TEST_F(EindTotEind, SaveIntoAFolderWithoutWriteAccessFailsAndWritesNothing) {
  const QString alleenLezen = QStringLiteral("/proc");
  {
    QFile proef(QDir(alleenLezen).filePath("zarvo-proef"));
    ASSERT_FALSE(proef.open(QIODevice::WriteOnly)) << "the target must refuse writing for this test";
  }
  const GetoondBericht bericht = loopEnSlaOp(alleenLezen);
  ASSERT_FALSE(HasFailure());
  // The second line names the file and the reason.
  EXPECT_TRUE(bericht.tekst.startsWith("Fout bij het opslaan, controleer bestandsnaam\n" +
                                       QDir::toNativeSeparators("/proc/output_profiel_")))
      << bericht.tekst.toStdString();
  EXPECT_EQ(bericht.titel, "Fout!");
  EXPECT_EQ(bericht.icoon, Icoon::Kritiek);
  for (const GetoondBericht& b : fake.getoond) EXPECT_NE(b.titel, "Bestand opgeslagen");
  const QStringList geschreven = QDir(alleenLezen).entryList({"*output_*"}, QDir::Files | QDir::Hidden);
  EXPECT_TRUE(geschreven.isEmpty()) << geschreven.join(", ").toStdString();
  // Nothing saved, so Stop stays off and the form waits for another try.
  EXPECT_FALSE(kind<QPushButton>(scherm<FrmOpslaan>(), "cmdStop")->isEnabled());
  EXPECT_TRUE(zichtbaar("frmOpslaan"));
}

// After a save the user goes back to the ditch screen as it was left, and
// on again to a fresh save screen; the next session starts where this one
// ended: the input folder, the review's scale, the folder saved to.
TEST_F(EindTotEind, BackFromTheSaveScreenAndTheNextSessionStartWhereTheUserLeftOff) {
  QTemporaryDir doel;
  ASSERT_TRUE(doel.isValid());
  opSlootscherm = [](FrmPL& pl) {
    klik(pl, "cmdVolgende");
    klik(pl, "cmdVolgende");
  };
  loopEnSlaOp(doel.path());
  ASSERT_FALSE(HasFailure());
  klik(scherm<FrmOpslaan>(), "cmdTerug");
  QCoreApplication::processEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(zichtbaar("frmPL"));
  EXPECT_FALSE(schermBestaat<FrmOpslaan>());
  ASSERT_TRUE(schermBestaat<FrmPL>());
  EXPECT_EQ(scherm<FrmPL>().huidigProfiel(), 3);
  klik(scherm<FrmPL>(), "cmdOK");
  QCoreApplication::processEvents();
  EXPECT_TRUE(zichtbaar("frmOpslaan"));
  EXPECT_FALSE(kind<QPushButton>(scherm<FrmOpslaan>(), "cmdStop")->isEnabled()) << "a new save screen has saved nothing";

  // A new session: a fresh job, no screen open.
  sluitAlleSchermen();
  taak() = Taak();
  EXPECT_EQ(QDir(scherm<FrmInput>().map()), QDir(voorbeelden));
  sluitAlleSchermen();
  auto* balk = kind<QAbstractSlider>(scherm<FrmGraphicView>(), "scrollSchaal");
  ASSERT_NE(balk, nullptr);
  EXPECT_NE(balk->value(), 20) << "the scale chosen in the last session";
  sluitAlleSchermen();
  // The save screen goes back to that folder for input from the same folder
  // only: another job's results folder is never offered.
  taak().zetBestanden(QDir(voorbeelden).filePath(profielBestand).toStdString(), {});
  EXPECT_EQ(QDir(scherm<FrmOpslaan>().map()), QDir(doel.path()));
  sluitAlleSchermen();
  QTemporaryDir andere;
  ASSERT_TRUE(QFile::copy(QDir(voorbeelden).filePath(profielBestand), QDir(andere.path()).filePath(profielBestand)));
  taak().zetBestanden(QDir(andere.path()).filePath(profielBestand).toStdString(), {});
  EXPECT_EQ(QDir(scherm<FrmOpslaan>().map()), QDir(andere.path()));
}

}  // namespace
}  // namespace zarvo::gui
