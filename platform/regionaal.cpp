#include "platform/regionaal.h"

#include <QLocale>
#include <cmath>

#include "shell/getallen.h"

namespace zarvo::gui {

char decimaalteken() {
  const QString punt = QLocale().decimalPoint();
  return punt == QStringLiteral(",") ? ',' : '.';
}

QString getalNaarTekstRegionaal(double x) {
  return QString::fromStdString(getalNaarTekst(x, decimaalteken()));
}

std::optional<double> leesGetalRegionaal(const QString& tekst) {
  const QString t = tekst.trimmed();
  if (t.isEmpty()) return std::nullopt;
  // Only the regional decimal separator counts; a group separator is not
  // accepted, so "1.5" is not fifteen in a comma locale.
  QLocale locale;
  locale.setNumberOptions(QLocale::RejectGroupSeparator);
  bool ok = false;
  const double x = locale.toDouble(t, &ok);
  if (!ok || !std::isfinite(x)) return std::nullopt;
  return x;
}

QString formaat00Regionaal(double x) { return QString::fromStdString(formaat00(x, decimaalteken())); }

}  // namespace zarvo::gui
