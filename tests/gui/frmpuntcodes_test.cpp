// The point-code legend.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QPushButton>

#include "ditch/frmpuntcodes.h"
#include "tests/gui/testhulp.h"
#include "platform/picturebox.h"
#include "platform/qbcolor.h"

namespace zarvo::gui {
namespace {

TEST(FrmPuntCodes, NineLinesTopToBottomInTheirColoursAndTheCloseButton) {
  sluitAlleSchermen();
  FrmPuntCodes& f = scherm<FrmPuntCodes>();
  EXPECT_EQ(f.windowTitle(), "PuntCodes");
  auto* pic = f.findChild<PictureBox*>("picLegenda");
  ASSERT_NE(pic, nullptr);
  struct Regel {
    const char* tekst;
    int kleur;
  };
  const Regel verwacht[] = {{"Kruin boezem (Referentielijn)", 4},
                            {"Teen boezem", 3},
                            {"Kruin polder", 5},
                            {"Teen polder", 7},
                            {"Begin en einde asfaltweg", 9},
                            {"Begin en einde insteek teensloot", 11},
                            {"Begin (en soms einde) teen sloot", 13},
                            {"Beschoeiing", 1},
                            {"Snijpunt met wateroppervlak", 2}};
  std::vector<Tekening> teksten;
  for (const Tekening& t : pic->displayList()) {
    if (t.soort == Tekening::Soort::Tekst) teksten.push_back(t);
  }
  ASSERT_EQ(teksten.size(), 9u);
  for (std::size_t i = 0; i < 9; ++i) {
    EXPECT_EQ(teksten[i].tekst, verwacht[i].tekst) << i;
    EXPECT_EQ(teksten[i].kleur, qbColor(verwacht[i].kleur)) << i;
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
}

}  // namespace
}  // namespace zarvo::gui
