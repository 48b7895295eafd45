#pragma once

#include "axis/axis.h"
#include "axis/axis_set.h"
#include "host/ac_ge_point3d_array.h"
#include "host/ads.h"

// The plain forms of the collection's rules, written as directly as they are
// stated, for the equivalence tests to check the module's fast forms against.
// Test-only: no target of the module can include or link them.
namespace tavrin::reference {

// One axis per line and arc of `selection` in selection order: its end
// points, then its crossings with every other selected line or arc, partner
// by partner in selection order: n^2 intersections. `buffer` is empty again
// on return.
void collectAxesPairwise(const ads_name selection, AxisSet& axes, AcGePoint3dArray& buffer);

// Orders the axis's points by the selection sort itself: along a straight
// axis by x (by y within Axis::kDirectionTolerance of vertical), ascending
// when the start point's key is below the end point's (of equal smallest keys
// the earliest wins), otherwise descending (of equal largest keys the latest
// wins); an arc axis by angle, lifting the points up to the end point by a
// full turn when the arc passes direction 0. At most one swap per position.
void orderPointsBySelection(Axis& axis);

}  // namespace tavrin::reference
