// Helpers shared by the screen tests.
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <QLocale>

#include "shell/schermen.h"

namespace zarvo::gui {

// Sets the default locale for one scope and puts the old one back, so a
// test of number texts does not depend on the machine's region nor leak
// its choice into the next test.
class LocaleVast {
 public:
  explicit LocaleVast(const QLocale& l) : oud_(QLocale()) { QLocale::setDefault(l); }
  ~LocaleVast() { QLocale::setDefault(oud_); }
  LocaleVast(const LocaleVast&) = delete;
  LocaleVast& operator=(const LocaleVast&) = delete;

 private:
  QLocale oud_;
};

// The screens live for the whole test run and share one store; a test
// starts and ends with every screen closed and the store empty, so no test
// sees what another one left behind.
class SchermTest : public ::testing::Test {
 protected:
  void SetUp() override { schoon(); }
  void TearDown() override { schoon(); }
  static void schoon() {
    sluitAlleSchermen();
    // Screens closed by their own buttons are only scheduled for deletion.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    store().wisAlles();
  }
};

}  // namespace zarvo::gui
