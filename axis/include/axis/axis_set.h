#pragma once

#include <cstdint>
#include <memory>

#include "axis/axis.h"

namespace tavrin {

// The axes of one run of the command, in a singly linked list from head()
// along Axis::next in the order of appending, together with the conversion
// parameters of the current export and the record counters of the latest
// axis-file write. Owns every axis in its list. Not copyable.
//
// Lengths are in drawing units; unit exponents are powers of ten of the metre
// (0 metre, 1 decimetre, 2 centimetre, 3 millimetre); scales are the XXX of
// XXX:1. The parameters start at the values of a new project (points at 0,
// millimetre, scale 1) so that a conversion never reads an unset value.
class AxisSet {
 public:
  AxisSet() = default;
  AxisSet(const AxisSet&) = delete;
  AxisSet& operator=(const AxisSet&) = delete;
  // Destroys every axis of the list, each once, walking from head along next.
  virtual ~AxisSet();

  // True exactly when the list is empty.
  bool isEmpty() const { return head_ == nullptr; }
  // Appends `axis` at the tail and sets its next to null; the set takes
  // ownership. Returns 1. A null axis appends nothing. The list changes only
  // here, so the tail and the count are kept rather than walked to.
  std::int32_t append(std::unique_ptr<Axis> axis);
  // The last axis, or null when the set is empty.
  Axis* last() const { return tail_; }
  // The number of axes.
  std::int32_t count() const { return count_; }
  // The first axis, or null when the set is empty.
  Axis* head() const { return head_; }

 private:
  Axis* head_ = nullptr;
  Axis* tail_ = nullptr;
  std::int32_t count_ = 0;

 public:
  // Coordinate origin, at the project's own scale and unit.
  double originX = 0.0;
  double originY = 0.0;
  // Base point picked in the drawing.
  double baseX = 0.0;
  double baseY = 0.0;
  // Current drawing unit, as a power of ten.
  std::int32_t unitExponent = 3;
  // Current drawing scale.
  double iScale = 1.0;
  // Reference point, at the project's own scale and unit.
  double referenceX = 0.0;
  double referenceY = 0.0;
  // Scale and unit the project was created with.
  double IntrinsicScale = 1.0;
  std::int32_t intrinsicUnitExponent = 3;
  // Straight and arc records of the latest axis-file write.
  std::int32_t lineCount = 0;
  std::int32_t arcCount = 0;
};

}  // namespace tavrin
