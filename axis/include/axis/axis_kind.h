#pragma once

#include <cstdint>

namespace tavrin {

// What an axis was made from. Stored as a 32-bit signed integer; no other
// value is ever stored.
enum class AxisKind : std::int32_t {
  Straight = 1,  // a drawing line
  Arc = 2,       // a drawing arc
};

}  // namespace tavrin
