#pragma once

#include <vector>

#include "host/ac_db_arc.h"
#include "host/ac_ge_point.h"

namespace cad {

// The point at `angle` (radians, counter-clockwise from X) on the circle of
// `radius` about `centre`, in the XY plane.
AcGePoint3d pointAt(const AcGePoint3d& centre, double radius, double angle);

// The end points of an arc and the points where it is furthest left, right,
// up and down: its extents lie within these.
std::vector<AcGePoint3d> arcExtremes(const AcDbArc& arc);

}  // namespace cad
