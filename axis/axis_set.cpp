#include "axis/axis_set.h"

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
  if (head_ == nullptr)
    head_ = appended;
  else
    last()->next = appended;
  appended->next = nullptr;
  return 1;
}

Axis* AxisSet::last() const {
  Axis* axis = head_;
  if (axis == nullptr) return nullptr;
  while (axis->next != nullptr) axis = axis->next;
  return axis;
}

std::int32_t AxisSet::count() const {
  std::int32_t n = 0;
  for (const Axis* axis = head_; axis != nullptr; axis = axis->next) ++n;
  return n;
}
