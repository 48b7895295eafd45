#pragma once

#include "ui/window.h"

namespace ui {

// Class "msctls_updown32": two arrows and a position within a range. A click
// on an arrow proposes a change of one step, towards the range's upper value
// for the upper arrow and towards its lower value for the lower arrow, and
// asks the dialog first with UDN_DELTAPOS; an answer of 0 lets the position
// move (kept within the range). The default range has upper value 0 and lower
// value 100, so the upper arrow proposes -1 and the lower arrow +1. It has no
// buddy here, so its position is shown nowhere.
class UpDown : public Window {
 public:
  static const RuntimeClass kClass;
  UpDown(const ControlTemplate& control, Dialog* parent);
  const RuntimeClass* runtimeClass() const override;

  void setRange(int lower, int upper);
  int lower() const { return lower_; }
  int upper() const { return upper_; }
  int position() const { return position_; }

  // A click on one arrow (kUpperArrow or kLowerArrow). Answers true when the
  // dialog let the position move.
  bool clickArrow(std::intptr_t arrow);

  std::intptr_t handleMessage(const Message& message) override;
  std::string describe() const override;

 private:
  int lower_ = 100;
  int upper_ = 0;
  int position_ = 0;
};

}  // namespace ui
