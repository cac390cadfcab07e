// Helpers shared by the screen tests.
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <QLocale>
#include <string>
#include <vector>

#include "platform/berichten.h"
#include "shell/schermvolgorde.h"
#include "taak/taak.h"

namespace zarvo::gui {

// The job and the screen order every screen test works on, as the program
// has them. Never destroyed: they outlive the application object.
inline Schermvolgorde& volgorde() {
  static Taak* const taak = new Taak;
  static Schermvolgorde* const v = new Schermvolgorde(*taak);
  return *v;
}
inline Taak& taak() { return volgorde().taak(); }
inline ProfielStore& store() { return taak().store(); }

// The screen of type F, made by the screen order when it is not open.
template <class F>
F& scherm() {
  return volgorde().scherm<F>();
}
template <class F>
bool schermBestaat() {
  return volgorde().open<F>() != nullptr;
}
template <class F>
void sluitScherm() {
  volgorde().sluit<F>();
}
inline void sluitAlleSchermen() { volgorde().sluitAlles(); }

// Appends a profile to the shared job with a ditch record of bottom level
// 'bodem' and slopes 1:1.
inline void voegProfielToe(const std::string& naam, std::vector<Punt> punten, const std::string& bodem = "-1") {
  Profiel p;
  p.naam = naam;
  p.punten = std::move(punten);
  p.sloot = SlootRecord({naam, bodem, "1", "1", "", "", ""});
  store().profielen.push_back(std::move(p));
}

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

// The screens live for the whole test run and share one job; a test starts
// and ends with every screen closed and a fresh job, so no test sees what
// another one left behind.
class SchermTest : public ::testing::Test {
 protected:
  void SetUp() override { schoon(); }
  void TearDown() override { schoon(); }
  static void schoon() {
    sluitAlleSchermen();
    // Screens closed by their own buttons are only scheduled for deletion.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    taak() = Taak();
    volgorde().kiesVooraf({}, {});  // forgets files a test named but never showed
    vergeetStilleMeldingen();
  }
};

}  // namespace zarvo::gui
