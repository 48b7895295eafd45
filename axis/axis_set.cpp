#include "axis/axis_set.h"

namespace tavrin {

AxisSet::~AxisSet() {
  Axis* axis = head_;
  while (axis != nullptr) {
    Axis* following = axis->next;
    delete axis;
    axis = following;
  }
}

std::int32_t AxisSet::append(std::unique_ptr<Axis> axis) {
  if (axis == nullptr) return 1;
  Axis* appended = axis.release();
  appended->next = nullptr;
  if (head_ == nullptr)
    head_ = appended;
  else
    tail_->next = appended;
  tail_ = appended;
  ++count_;
  return 1;
}

}  // namespace tavrin
