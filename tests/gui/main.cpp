// Screen tests run without a display: force the offscreen platform before
// the application object exists, and pin the locale so number texts are
// the same on every machine.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLocale>

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QLocale::setDefault(QLocale(QLocale::Dutch, QLocale::Netherlands));
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
