// The vertical-scale scroll bar of the review screen; its position is the
// factor in hundredths. The left end (Min) is the factor at which the
// profile's height fits its length, the right end (Max) is 100 (factor 1),
// so for a steep profile Min is larger than Max and the bar simply runs the
// other way: the left end always stays the profile's own factor. QScrollBar
// only knows minimum <= maximum, so the pair is kept here and mapped onto
// the Qt range, with the appearance inverted when Min > Max. The position
// always lies between the two, and moving it by re-ranging emits
// valueChanged like any other move.
#pragma once

#include <QScrollBar>
#include <cstdint>

namespace zarvo::gui {

class SchaalBalk : public QScrollBar {
  Q_OBJECT
 public:
  explicit SchaalBalk(QWidget* ouder = nullptr);

  // Min and Max as the screen sets them (left end, right end). Values
  // outside the 16-bit range are clamped, so a profile of almost no length,
  // whose height-to-length ratio is huge or infinite, still gets a bar with
  // finite ends.
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
