// zarvo-schermafbeeldingen DOELMAP [--schaal FACTOR] [--breed]
//
// Renders each screen to DOELMAP/<form>.png. One function per screen: it
// brings its screen into a representative state and hands it to 'bewaar'.
// A new screen gets a function and a line in 'schermen'.
// --schaal renders as on a display with that scale (e.g. 1.5), --breed
// renders every screen larger than its natural size, to check the layouts.
#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <QDir>
#include <QPushButton>
#include <QTextStream>
#include <QWidget>
#include <cstdlib>
#include <functional>
#include <vector>

#include "schermen/frmpl.h"
#include "schermen/frmpuntcodes.h"
#include "schermen/frminput.h"
#include "schermen/frmopslaan.h"
#include "platform/berichten.h"
#include "platform/picturebox.h"
#include "platform/profielnavigatie.h"
#include "schermen/frmgraphicview.h"
#include "schermen/frmsplashscreen.h"
#include "shell/schermvolgorde.h"
#include "taak/taak.h"

namespace {

using namespace zarvo::gui;

// No message box may block an unattended run: messages go to stderr.
class StilleBerichten : public BerichtenDienst {
 public:
  Antwoord toon(const QString& tekst, const QString& titel, zarvo::Icoon, Knoppen knoppen) override {
    QTextStream(stderr) << "bericht \"" << titel << "\": " << tekst << '\n';
    return knoppen == Knoppen::OK ? Antwoord::OK : Antwoord::Nee;
  }
  void beeindigProgramma() override {}
};

struct Opties {
  QDir doel;
  QDir bron;
  bool breed = false;
};

// Each screen is rendered on a fresh job and screen order.
zarvo::Taak* taak = nullptr;
Schermvolgorde* volgorde = nullptr;

template <class F>
F& scherm() {
  return volgorde->scherm<F>();
}

// The bundled sample chosen and read, as after OK on the input screen.
bool leesVoorbeeld(const Opties& opties) {
  const QDir voorbeelden(opties.bron.filePath("voorbeelden"));
  volgorde->kiesVooraf(voorbeelden.filePath("profielen.txt"), voorbeelden.filePath("sloot.csv"));
  return volgorde->leesIn();
}

bool bewaar(QWidget& scherm, const Opties& opties, const QString& naam = {}) {
  scherm.adjustSize();
  if (opties.breed) scherm.resize(scherm.size() * 3 / 2);
  scherm.show();
  QApplication::processEvents();
  const QString pad = opties.doel.filePath((naam.isEmpty() ? scherm.objectName() : naam) + ".png");
  if (!scherm.grab().save(pad)) {
    QTextStream(stderr) << "kan " << pad << " niet schrijven\n";
    return false;
  }
  QTextStream(stdout) << pad << '\n';
  return true;
}

bool splashScherm(const Opties& opties) { return bewaar(scherm<FrmSplashScreen>(), opties); }

// The input screen on the bundled sample folder, with the sample profile
// file chosen so that its first line shows.
bool invoerScherm(const Opties& opties) {
  const QDir voorbeelden(opties.bron.filePath("voorbeelden"));
  const QStringList profielen = voorbeelden.entryList({"*.txt", "*.asc", "*.xyz"}, QDir::Files, QDir::Name);
  if (!profielen.isEmpty()) volgorde->kiesVooraf(voorbeelden.filePath(profielen.front()), {});
  FrmInput& invoer = scherm<FrmInput>();
  if (taak->profielbestand().empty() && voorbeelden.exists()) invoer.zetMap(voorbeelden.absolutePath());
  invoer.zetStap(FrmInput::Stap::Profielbestand);
  return bewaar(invoer, opties);
}

// The review screen on the bundled sample, loaded as after OK on the
// input screen, showing profile 1.
bool reviewScherm(const Opties& opties) {
  if (!leesVoorbeeld(opties)) return false;
  return bewaar(scherm<FrmGraphicView>(), opties);
}

// The save screen at the end of the road on the bundled sample: profile 3
// deleted on the review screen, the ditches built.
bool opslaanScherm(const Opties& opties) {
  if (!leesVoorbeeld(opties) || taak->store().aantalProfielen() < 3) return false;
  taak->verwijder(3);
  volgorde->sluit<FrmGraphicView>();
  scherm<FrmPL>().laad();
  volgorde->sluit<FrmPL>();
  return bewaar(scherm<FrmOpslaan>(), opties);
}

// The ditch screen after the hand-over on the bundled sample, on profile 2:
// its ditch sits between two edges close enough together for the
// trapezoid, its coloured bottom points and both guide lines to show, and
// the foreland step has put its two points in front.
FrmPL* slootSchermOpProfiel2(const Opties& opties) {
  if (!leesVoorbeeld(opties) || taak->store().aantalProfielen() < 2) return nullptr;
  volgorde->sluit<FrmGraphicView>();
  FrmPL& pl = scherm<FrmPL>();
  pl.laad();
  if (auto* volgende = pl.findChild<QPushButton*>("cmdVolgende")) volgende->click();
  // A drawing large enough to see the ditch of a profile well over 100 m long.
  if (auto* pic = pl.findChild<QWidget*>("picDwarsprofiel")) pic->setMinimumSize(820, 460);
  return &pl;
}

bool slootScherm(const Opties& opties) {
  FrmPL* pl = slootSchermOpProfiel2(opties);
  return pl && bewaar(*pl, opties);
}

// The same screen zoomed on the ditch ("Zoom op sloot"): the built
// trapezoid over the dashed surveyed ground it replaced, with the axes.
bool slootZoomScherm(const Opties& opties) {
  FrmPL* pl = slootSchermOpProfiel2(opties);
  auto* zoom = pl ? pl->findChild<QPushButton*>("cmdZoomOpSloot") : nullptr;
  if (!zoom || !zoom->isEnabled()) return false;
  zoom->click();
  return bewaar(*pl, opties, QStringLiteral("frmPL-zoom"));
}

// A profile the surveyor left without ditch codes: the dike-side edge
// clicked (the magenta cross), the pointer on a polder-side candidate (the
// red one), the prompt asking for it.
bool slootkantenScherm(const Opties& opties) {
  if (!leesVoorbeeld(opties)) return false;
  const std::int32_t profiel = taak->zoekProfiel("DP113+075");
  if (profiel == 0) return false;
  taak->zetTerugMogelijk(true);
  volgorde->sluit<FrmGraphicView>();
  FrmPL& pl = scherm<FrmPL>();
  pl.laad();
  auto* pic = pl.findChild<PictureBox*>("picDwarsprofiel");
  auto* navigatie = pl.findChild<ProfielNavigatie*>();
  if (!pic || !navigatie) return false;
  pic->setMinimumSize(820, 460);
  pl.adjustSize();
  pl.show();
  QApplication::processEvents();
  emit navigatie->springNaar(profiel);
  const auto& lz = pl.geometrie().lz;
  if (lz.size() < 40) return false;
  emit pic->geklikt(lz[29].l, lz[29].z);
  emit pic->muisBeweegt(lz[37].l, lz[37].z);
  return bewaar(pl, opties, QStringLiteral("frmPL-slootkanten"));
}

bool legendaScherm(const Opties& opties) { return bewaar(scherm<FrmPuntCodes>(), opties); }

struct Scherm {
  const char* naam;
  std::function<bool(const Opties&)> maak;
};

const std::vector<Scherm> schermen = {
    {"frmSplashScreen", splashScherm},
    {"frmInput", invoerScherm},
    {"frmGraphicView", reviewScherm},
    {"frmPL", slootScherm},
    {"frmPL-zoom", slootZoomScherm},
    {"frmPL-slootkanten", slootkantenScherm},
    {"frmPuntCodes", legendaScherm},
    {"frmOpslaan", opslaanScherm},
};

}  // namespace

int main(int argc, char** argv) {
  // Scale and platform must be set before the application object exists.
  QStringList args;
  for (int i = 1; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
  const qsizetype schaalIndex = args.indexOf("--schaal");
  if (schaalIndex >= 0 && schaalIndex + 1 < args.size()) {
    qputenv("QT_SCALE_FACTOR", args[schaalIndex + 1].toLatin1());
    args.remove(schaalIndex, 2);
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  // The pictures show the screens as a first session has them, whatever
  // this user's own settings remember.
  const QTemporaryDir instellingen;
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, instellingen.path());

  Opties opties;
  opties.breed = args.removeAll("--breed") > 0;
  opties.bron = QDir(QStringLiteral(ZARVO_BRON));
  // The folder whose voorbeelden/ the screens show: its path is in the
  // pictures, and the source folder's path is nobody's business.
  const qsizetype bronIndex = args.indexOf("--bron");
  if (bronIndex >= 0 && bronIndex + 1 < args.size()) {
    opties.bron = QDir(args[bronIndex + 1]);
    args.remove(bronIndex, 2);
  }
  if (args.size() != 1) {
    QTextStream(stderr) << "Gebruik: zarvo-schermafbeeldingen DOELMAP [--schaal FACTOR] [--breed] [--bron MAP]\n";
    return 2;
  }
  if (!QDir().mkpath(args[0])) {
    QTextStream(stderr) << "kan map " << args[0] << " niet maken\n";
    return 1;
  }
  opties.doel = QDir(args[0]);

  StilleBerichten stil;
  zetBerichtenDienst(&stil);
  bool alles = true;
  for (const Scherm& s : schermen) {
    zarvo::Taak eigenTaak;
    Schermvolgorde eigenVolgorde(eigenTaak);
    taak = &eigenTaak;
    volgorde = &eigenVolgorde;
    alles = s.maak(opties) && alles;
  }
  zetBerichtenDienst(nullptr);
  return alles ? 0 : 1;
}
