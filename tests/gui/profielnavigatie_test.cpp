// The shared navigation bar on its own: list entries, status texts and what
// a typed text finds.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QSignalSpy>

#include "platform/profielnavigatie.h"
#include "basis/profielstore.h"

namespace zarvo::gui {
namespace {

ProfielStore winkel(std::initializer_list<const char*> namen) {
  ProfielStore s;
  for (const char* n : namen) {
    Profiel p;
    p.naam = n;
    s.profielen.push_back(std::move(p));
  }
  return s;
}

TEST(ProfielNavigatie, StatusTextsShowBehindTheEntryUntilTheListIsRebuilt) {
  ProfielNavigatie nav;
  nav.vernieuwLijst(winkel({"DP1", "DP2", "DP3"}));
  QComboBox* lijst = nav.sprongLijst();
  nav.zetStatus(2, "geen sloot");
  EXPECT_EQ(lijst->itemText(1), QString::fromUtf8("2 \u2013 DP2 (geen sloot)"));
  EXPECT_EQ(nav.status(2), "geen sloot");
  nav.zetStatus(2, "");
  EXPECT_EQ(lijst->itemText(1), QString::fromUtf8("2 \u2013 DP2"));
  nav.zetStatus(3, "fout");
  nav.zetStatus(9, "buiten bereik");  // ignored

  // After a delete the numbers shift, so the texts go.
  nav.vernieuwLijst(winkel({"DP1", "DP3"}));
  EXPECT_EQ(lijst->count(), 2);
  EXPECT_EQ(nav.status(2), "");
  EXPECT_EQ(lijst->itemText(1), QString::fromUtf8("2 \u2013 DP3"));
}

TEST(ProfielNavigatie, TypedTextFindsNumberThenNameThenPartOfAnEntry) {
  ProfielNavigatie nav;
  nav.vernieuwLijst(winkel({"12", "DP112+025", "dp112+000", "DP112+050"}));
  EXPECT_EQ(nav.zoekProfiel("3"), 3);          // a number in range is a number
  EXPECT_EQ(nav.zoekProfiel("12"), 1);         // not profile twelve: out of range, so the name
  EXPECT_EQ(nav.zoekProfiel("DP112+000"), 3);  // whole name, any case
  EXPECT_EQ(nav.zoekProfiel("+05"), 4);        // part of a name
  EXPECT_EQ(nav.zoekProfiel("  2 "), 2);
  EXPECT_EQ(nav.zoekProfiel("onbekend"), 0);
  EXPECT_EQ(nav.zoekProfiel(""), 0);
}

TEST(ProfielNavigatie, ButtonsAskAndSelectingAnEntryJumpsButSettingItDoesNot) {
  ProfielNavigatie nav;
  nav.vernieuwLijst(winkel({"A", "B", "C"}));
  QSignalSpy volgende(&nav, &ProfielNavigatie::volgende);
  QSignalSpy sprong(&nav, &ProfielNavigatie::springNaar);
  nav.knopVolgende()->click();
  EXPECT_EQ(volgende.count(), 1);
  nav.zetKnoppenActief(false);
  nav.knopVolgende()->click();
  EXPECT_EQ(volgende.count(), 1);

  nav.zetHuidig(3);
  EXPECT_EQ(nav.sprongLijst()->currentIndex(), 2);
  EXPECT_EQ(sprong.count(), 0);
  emit nav.sprongLijst()->activated(1);  // the user picked entry 2
  ASSERT_EQ(sprong.count(), 1);
  EXPECT_EQ(sprong.at(0).at(0).toInt(), 2);
}

}  // namespace
}  // namespace zarvo::gui

namespace zarvo::gui {
namespace {

TEST(ProfielNavigatie, FocusReturnsToTheStepButtonAfterADrawing) {
  QWidget venster;
  auto* nav = new ProfielNavigatie(&venster);
  nav->vernieuwLijst(winkel({"DP1", "DP2"}));
  venster.show();
  QApplication::setActiveWindow(&venster);
  auto* volgende = nav->findChild<QPushButton*>("cmdVolgende");
  ASSERT_NE(volgende, nullptr);
  volgende->setFocus();
  ASSERT_TRUE(volgende->hasFocus());
  nav->zetKnoppenActief(false);  // as during a drawing
  EXPECT_FALSE(volgende->hasFocus());
  nav->zetKnoppenActief(true);
  EXPECT_TRUE(volgende->hasFocus());
}

}  // namespace
}  // namespace zarvo::gui
