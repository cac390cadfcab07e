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
  // Windows-1252 by a table of our own: Qt only knows that code page through
  // ICU, which the Windows build has not. It is Latin-1 except for 0x80 to
  // 0x9F, where it has the euro sign, curly quotes, dashes and the like; the
  // five places it leaves empty keep their byte, as Windows itself does.
  static constexpr char16_t tussen80en9F[32] = {
      0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
      0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
      0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
  tekst.resize(ruw.size());
  QChar* uit = tekst.data();
  for (const char c : ruw) {
    const auto b = static_cast<unsigned char>(c);
    *uit++ = b >= 0x80 && b <= 0x9F ? QChar(tussen80en9F[b - 0x80]) : QChar(b);
  }
  return tekst;
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
