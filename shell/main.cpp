// zarvo-edit [PROFIELBESTAND [SLOOTBESTAND]]
// Files named on the command line are preselected on the input screen; the
// user still confirms them there.
#include <QApplication>
#include <QIcon>
#include <QTextStream>
#include <cstdio>
#include <cstring>

#include "platform/regionaal.h"
#include "shell/grotepaginas.h"
#include "shell/schermvolgorde.h"
#include "shell/taak.h"

namespace {
const char* const gebruik = "Gebruik: zarvo-edit [PROFIELBESTAND [SLOOTBESTAND]]\n";
}

int main(int argc, char** argv) {
  zarvo::vraagGrotePaginas(argv);
  // Help must work without a display, so before the application object.
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      std::fputs(gebruik, stdout);
      return 0;
    }
  }
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Zarvo-Edit"));
  QApplication::setApplicationVersion(QStringLiteral("1.0"));
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/zarvo-edit-256.png")));
  zarvo::gui::laadQtVertalingen();

  QStringList argumenten = QApplication::arguments();
  argumenten.removeFirst();
  QTextStream fout(stderr);
  if (argumenten.size() > 2) {
    fout << gebruik;
    return 2;
  }
  zarvo::Taak taak;
  zarvo::gui::Schermvolgorde volgorde(taak);
  const QStringList waarschuwingen = volgorde.kiesVooraf(argumenten.value(0), argumenten.value(1));
  for (const QString& w : waarschuwingen) fout << "zarvo-edit: " << w << '\n';
  fout.flush();

  volgorde.start();
  return app.exec();
}
