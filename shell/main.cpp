// zarvo-edit [PROFIELBESTAND [SLOOTBESTAND]]
// Files named on the command line are preselected on the input screen; the
// user still confirms them there.
//
// zarvo-edit --rapport UIT.pdf PROFIELBESTAND SLOOTBESTAND [--koppel-op-naam]
// Writes the ditch report without a window, for scripts.
#include <QApplication>
#include <QIcon>
#include <QTextStream>
#include <QTimer>
#include <cstdio>
#include <cstring>

#include "schermen/rapport.h"
#include "platform/regionaal.h"
#include "basis/onderbreking.h"
#include "shell/schermvolgorde.h"
#include "taak/taak.h"

namespace {
const char* const gebruik =
    "Gebruik: zarvo-edit [PROFIELBESTAND [SLOOTBESTAND]]\n"
    "         zarvo-edit --rapport UIT.pdf PROFIELBESTAND SLOOTBESTAND\n"
    "                    [--boezempeil P] [--polderpeil P] [--koppel-op-naam]\n"
    "\n"
    "         zarvo-edit --version\n"
    "\n"
    "--rapport schrijft zonder venster het slootrapport (PDF, een pagina per profiel)\n"
    "en eindigt met 0, of met 1 en de melding als een bestand niet lukt.\n"
    "--boezempeil en --polderpeil: de peilen (m NAP, punt als decimaalteken) van de\n"
    "hulplijnen in het rapport; standaard -0.4 en -2, zoals het slootscherm begint.\n"
    "--koppel-op-naam: elk profiel krijgt het record van het slootbestand met zijn\n"
    "naam, in plaats van record 1 voor profiel 1 enzovoort (zie zarvo-batch bouw).\n";
}

int main(int argc, char** argv) {
  // Help must work without a display, so before the application object.
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      std::fputs(gebruik, stdout);
      return 0;
    }
    if (std::strcmp(argv[i], "--version") == 0) {
      std::fputs("zarvo-edit " ZARVO_VERSIE "\n", stdout);
      return 0;
    }
  }
  bool rapport = false;
  for (int i = 1; i < argc; ++i) rapport = rapport || std::strcmp(argv[i], "--rapport") == 0;
  // The report needs no display, also where there is one: no window may
  // flash up in a script.
  if (rapport) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Zarvo-Edit"));
  QApplication::setApplicationVersion(QStringLiteral("1.0"));
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/zarvo-edit-256.png")));
  zarvo::gui::laadQtVertalingen();

  QStringList argumenten = QApplication::arguments();
  argumenten.removeFirst();
  QTextStream fout(stderr);
  if (rapport) {
    zarvo::gui::RapportOpties opties;
    // The levels as "--boezempeil P" or "--boezempeil=P"; a level that is
    // no number is a mistake on the command line.
    for (const auto& [naam, peil] : {std::pair{QStringLiteral("--boezempeil"), &opties.boezempeil},
                                     std::pair{QStringLiteral("--polderpeil"), &opties.polderpeil}}) {
      for (qsizetype i = 0; i < argumenten.size(); ++i) {
        QString waarde;
        if (argumenten[i] == naam && i + 1 < argumenten.size()) {
          waarde = argumenten.takeAt(i + 1);
        } else if (argumenten[i].startsWith(naam + QLatin1Char('='))) {
          waarde = argumenten[i].mid(naam.size() + 1);
        } else {
          continue;
        }
        argumenten.removeAt(i);
        bool getal = false;
        *peil = waarde.toDouble(&getal);
        if (!getal) {
          fout << naam << " '" << waarde << "' is geen getal\n\n" << gebruik;
          return 2;
        }
        break;
      }
    }
    opties.koppelOpNaam = argumenten.removeAll(QStringLiteral("--koppel-op-naam")) > 0;
    const qsizetype plek = argumenten.indexOf(QStringLiteral("--rapport"));
    argumenten.removeAt(plek);
    if (argumenten.size() != 3 || plek >= argumenten.size()) {
      fout << gebruik;
      return 2;
    }
    const QString uit = argumenten.takeAt(plek);
    return zarvo::gui::maakRapportZonderScherm(uit, argumenten.at(0), argumenten.at(1), opties);
  }
  // An option we do not know is a mistake on the command line; files come
  // from the file manager too ("Openen met"), as many as were selected.
  for (const QString& a : argumenten) {
    if (a.startsWith(QLatin1String("--"))) {
      fout << gebruik;
      return 2;
    }
  }
  zarvo::Taak taak;
  zarvo::gui::Schermvolgorde volgorde(taak);
  const QStringList waarschuwingen = volgorde.kiesVooraf(argumenten);
  for (const QString& w : waarschuwingen) fout << "zarvo-edit: " << w << '\n';
  fout.flush();

  volgorde.start();
  // Ctrl-C, SIGTERM (a shutdown) and SIGHUP only set a note: a save under
  // way looks at it and undoes or finishes itself; here the program then
  // ends, as a shell expects (exit code 128 + the signal).
  zarvo::vangOnderbrekingen();
  QTimer signaalwacht;
  QObject::connect(&signaalwacht, &QTimer::timeout, [] {
    if (const int signaal = zarvo::onderbrekingSignaal()) {
      std::fprintf(stderr, "zarvo-edit: gestopt door %s\n", zarvo::signaalNaam(signaal).c_str());
      QCoreApplication::exit(zarvo::afsluitcodeVoorSignaal(signaal));
    }
  });
  signaalwacht.start(200);
  return app.exec();
}
