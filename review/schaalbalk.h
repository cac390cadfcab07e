// The vertical-scale scroll bar of the review screen. The old control had a
// Min at its left end and a Max at its right end, and Min could be larger
// than Max: the bar then simply ran the other way. QScrollBar only knows
// minimum <= maximum, so the old pair is kept here and mapped onto the
// Qt range, with the appearance inverted when Min > Max. The position always
// lies between the two, and moving it by re-ranging emits valueChanged like
// any other move.
#pragma once

#include <QScrollBar>
#include <cstdint>

namespace zarvo::gui {

class SchaalBalk : public QScrollBar {
  Q_OBJECT
 public:
  explicit SchaalBalk(QWidget* ouder = nullptr);

  // Min and Max as the old control had them (left end, right end); values
  // outside the 16-bit range of the old control are clamped.
  int oudMin() const { return min_; }
  int oudMax() const { return max_; }
  void zetOudMin(int waarde);
  void zetOudMax(int waarde);

  // True when Min > Max and the bar runs from high (left) to low (right).
  bool isOmgekeerd() const { return min_ > max_; }

  static int klem16(double waarde);  // to [-32768, 32767], halves to even

 private:
  void pasBereikToe();

  int min_ = 1;
  int max_ = 100;
};

}  // namespace zarvo::gui
