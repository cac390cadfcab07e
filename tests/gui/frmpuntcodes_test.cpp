// The point-code legend.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QPushButton>
#include <QTest>

#include "schermen/frmpuntcodes.h"
#include "tests/gui/testhulp.h"
#include "platform/picturebox.h"
#include "platform/qbcolor.h"

namespace zarvo::gui {
namespace {

TEST(FrmPuntCodes, LinesWithTheirCodesTopToBottomInTheirColoursAndTheCloseButtons) {
  sluitAlleSchermen();
  FrmPuntCodes& f = scherm<FrmPuntCodes>();
  EXPECT_EQ(f.windowTitle(), "PuntCodes");
  auto* pic = f.findChild<PictureBox*>("picLegenda");
  ASSERT_NE(pic, nullptr);
  struct Regel {
    const char* tekst;
    int kleur;
  };
  const Regel verwacht[] = {{"18 \u2013 Kruin boezem (Referentielijn)", 4},
                            {"3 \u2013 Teen boezem", 3},
                            {"4 \u2013 Kruin polder", 5},
                            {"5 \u2013 Teen polder", 7},
                            {"72 \u2013 Begin en einde asfaltweg", 9},
                            {"Begin en einde insteek teensloot", 11},
                            {"2 \u2013 Begin (en soms einde) teen sloot", 13},
                            {"8 \u2013 Beschoeiing", 1},
                            {"9 \u2013 Snijpunt met wateroppervlak", 2},
                            {"4 en 3 \u2013 slootbodem (gebouwd)", 5}};
  std::vector<Tekening> teksten;
  std::vector<Tekening> markers;
  for (const Tekening& t : pic->displayList()) {
    (t.soort == Tekening::Soort::Tekst ? teksten : markers).push_back(t);
  }
  ASSERT_EQ(teksten.size(), 10u);
  ASSERT_EQ(markers.size(), 10u);
  for (std::size_t i = 0; i < 10; ++i) {
    EXPECT_EQ(teksten[i].tekst, QString::fromUtf8(verwacht[i].tekst)) << i;
    EXPECT_EQ(teksten[i].kleur, qbColor(verwacht[i].kleur)) << i;
    // Only the built bottom points have a filled marker.
    EXPECT_EQ(markers[i].gevuld, i == 9) << i;
    // Top to bottom on the screen: the scale runs downwards.
    if (i > 0) {
      EXPECT_GT(pic->naarPixel({0, teksten[i].y1}).y(), pic->naarPixel({0, teksten[i - 1].y1}).y());
    }
  }

  f.show();
  auto* sluit = f.findChild<QPushButton*>("cmdSluitVenster");
  ASSERT_NE(sluit, nullptr);
  EXPECT_EQ(sluit->text(), "Sluit venster");
  sluit->click();
  EXPECT_FALSE(schermBestaat<FrmPuntCodes>());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

  // Escape closes it as well.
  FrmPuntCodes& weer = scherm<FrmPuntCodes>();
  weer.show();
  QApplication::setActiveWindow(&weer);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&weer));
  QTest::keyClick(&weer, Qt::Key_Escape);
  EXPECT_FALSE(schermBestaat<FrmPuntCodes>());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace
}  // namespace zarvo::gui
