#pragma once

#include <type_traits>

namespace tavrin {

// One point of an axis: a plain record of four doubles, copied as a whole.
// x, y and z are in drawing units. `angle` is meaningful only on an arc axis
// once its angles have been computed: the direction from the arc centre to
// the point, radians counter-clockwise from +X. Elsewhere it is never read.
struct AxisPoint {
  double x;
  double y;
  double z;
  double angle;
};

// The point array moves these records as raw bytes.
static_assert(std::is_trivially_copyable_v<AxisPoint> && sizeof(AxisPoint) == 4 * sizeof(double));

}  // namespace tavrin
