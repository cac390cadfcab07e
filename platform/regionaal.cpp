#include "platform/regionaal.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QStringDecoder>
#include <QTranslator>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

#include "basis/getallen.h"

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

QString formaat00Aanwijzer(float waarde) {
  if (!std::isfinite(waarde) || std::fabs(waarde) >= 1e15f) return formaat00Regionaal(waarde);
  char buf[64];
  const auto res = std::to_chars(buf, buf + sizeof(buf), waarde, std::chars_format::fixed);
  std::string s(buf, res.ptr);
  const bool negatief = !s.empty() && s.front() == '-';
  if (negatief) s.erase(0, 1);
  const std::size_t punt = s.find('.');
  const std::string heel = s.substr(0, punt);
  std::string fractie = punt == std::string::npos ? std::string() : s.substr(punt + 1);
  fractie.resize(std::max<std::size_t>(fractie.size(), 3), '0');
  long long honderdsten = std::stoll(heel) * 100 + (fractie[0] - '0') * 10 + (fractie[1] - '0');
  if (fractie[2] >= '5') ++honderdsten;  // halves away from zero
  QString uit = (negatief && honderdsten != 0) ? QStringLiteral("-") : QString();
  uit += QString::number(honderdsten / 100) + QLatin1Char(decimaalteken()) +
         QStringLiteral("%1").arg(honderdsten % 100, 2, 10, QLatin1Char('0'));
  return uit;
}

QString uitleesLZ(double l, double z) {
  return QStringLiteral("L = ") + formaat00Aanwijzer(static_cast<float>(l)) + QStringLiteral("m, Z = ") +
         formaat00Aanwijzer(static_cast<float>(z)) + QStringLiteral("m");
}

QString tekstUitBestand(std::string_view bytes) {
  const QByteArrayView ruw(bytes.data(), static_cast<qsizetype>(bytes.size()));
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString tekst = utf8(ruw);
  if (!utf8.hasError()) return tekst;
  QStringDecoder windows("Windows-1252");
  // Without ICU Qt may not know the code page; Latin-1 is its near twin.
  if (!windows.isValid()) return QString::fromLatin1(ruw.data(), ruw.size());
  return windows(ruw);
}

QTranslator* laadQtVertalingen() {
  if (QLocale().language() != QLocale::Dutch) return nullptr;
  // Installed with the program on Windows, else from the system's Qt.
  const QStringList mappen = {QCoreApplication::applicationDirPath() + QStringLiteral("/translations"),
                              QLibraryInfo::path(QLibraryInfo::TranslationsPath)};
  for (const QString& map : mappen) {
    auto* vertaler = new QTranslator(QCoreApplication::instance());
    if (vertaler->load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"), map)) {
      QCoreApplication::installTranslator(vertaler);
      return vertaler;
    }
    delete vertaler;
  }
  return nullptr;
}

}  // namespace zarvo::gui
