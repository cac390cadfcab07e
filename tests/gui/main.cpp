// Screen tests run without a display: force the offscreen platform before
// the application object exists, and pin the locale so number texts are
// the same on every machine.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLocale>
#include <QSettings>
#include <QTemporaryDir>

namespace {

// What the screens remember between sessions would otherwise leak from one
// test into the next (and from the tests into the user's own settings).
class VergeetInstellingen : public ::testing::EmptyTestEventListener {
  void OnTestStart(const ::testing::TestInfo&) override {
    QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Zarvo-Edit"), QStringLiteral("Zarvo-Edit"))
        .clear();
  }
};

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QLocale::setDefault(QLocale(QLocale::Dutch, QLocale::Netherlands));
  const QTemporaryDir instellingen;
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, instellingen.path());
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::UnitTest::GetInstance()->listeners().Append(new VergeetInstellingen);
  return RUN_ALL_TESTS();
}
