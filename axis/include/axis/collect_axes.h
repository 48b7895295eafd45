#pragma once

#include "axis/axis_set.h"
#include "host/ac_ge_point3d_array.h"
#include "host/ads.h"

namespace tavrin {

// The collection half of the command: from the user's selection to one clean,
// ordered point list per axis.

// Appends to `axes` one axis per line ("AcDbLine") and arc ("AcDbArc") of
// `selection`, in selection order: its two end points (an arc's at its start
// and end angles on its circle), then the points where it meets every other
// selected line or arc, partner by partner in selection order. Every point
// has z = 0. `buffer` (the one intersection buffer of the command) is empty
// again on return. Entities of other classes, and entities that cannot be
// opened or are not database objects, add nothing. Every object opened here
// is closed again before return, also when an exception leaves; at most two
// are open at once. Does not free the selection.
//
// Pairs whose extents (widened by the intersection tolerances) do not
// overlap cannot meet and are not intersected; the remaining partners are
// visited in selection order, so the points and their order are those of
// intersecting every pair.
//
// Shows the host's progress meter, one step per axis, and answers false at
// once when the user asks to stop (the axes so far stay in `axes`); true when
// every entity was visited.
[[nodiscard]] bool collectAxes(const ads_name selection, AxisSet& axes, AcGePoint3dArray& buffer);

// Cleans and orders every axis of `axes` in list order: removeDuplicates
// with `pointTolerance` (drawing units, above 0), computeAngles on arc axes,
// orderPoints. Walks as many axes as count() reports, asking it again before
// every step.
void cleanAndOrderAxes(AxisSet& axes, double pointTolerance = Axis::kPointTolerance);

}  // namespace tavrin
