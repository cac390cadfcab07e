// zarvo-edit [PROFIELBESTAND [SLOOTBESTAND]]
// Files named on the command line are preselected on the input screen; the
// user still confirms them there.
#include <QApplication>
#include <QTextStream>

#include "input/frminput.h"
#include "shell/frmsplashscreen.h"
#include "shell/schermen.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Zarvo-Edit"));
  QApplication::setApplicationVersion(QStringLiteral("1.0"));

  QStringList argumenten = QApplication::arguments();
  argumenten.removeFirst();
  QTextStream fout(stderr);
  if (argumenten.size() > 2 || argumenten.contains(QStringLiteral("--help")) ||
      argumenten.contains(QStringLiteral("-h"))) {
    fout << "Gebruik: zarvo-edit [PROFIELBESTAND [SLOOTBESTAND]]\n";
    return argumenten.size() > 2 ? 2 : 0;
  }
  const QStringList waarschuwingen =
      zarvo::gui::FrmInput::zetVoorkeuze(argumenten.value(0), argumenten.value(1));
  for (const QString& w : waarschuwingen) fout << "zarvo-edit: " << w << '\n';
  fout.flush();

  zarvo::gui::scherm<zarvo::gui::FrmSplashScreen>().show();
  return app.exec();
}
