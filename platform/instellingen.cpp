#include "platform/instellingen.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <memory>

namespace zarvo::gui {

namespace {

// A file of our own (Zarvo-Edit.ini in the user's settings folder), not
// the Windows registry: merely reading there makes the key, so a program
// that was only looked at would leave a trace after its uninstall. The
// screen tests point this format at a folder of their own.
std::unique_ptr<QSettings> instellingen() {
  return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Zarvo-Edit"),
                                     QStringLiteral("Zarvo-Edit"));
}

}  // namespace

QString onthoudenMap(const QString& waarvoor) {
  const QString map = instellingen()->value(QStringLiteral("mappen/") + waarvoor).toString();
  // A network drive that is not connected today is no place to start in.
  return !map.isEmpty() && QFileInfo(map).isDir() ? map : QString();
}

void onthoudMap(const QString& waarvoor, const QString& map) {
  if (map.isEmpty()) return;
  instellingen()->setValue(QStringLiteral("mappen/") + waarvoor, QDir(map).absolutePath());
}

std::optional<int> onthoudenGetal(const QString& naam) {
  bool ok = false;
  const int waarde = instellingen()->value(naam).toInt(&ok);
  return ok ? std::optional<int>(waarde) : std::nullopt;
}

void onthoudGetal(const QString& naam, int waarde) { instellingen()->setValue(naam, waarde); }

}  // namespace zarvo::gui
