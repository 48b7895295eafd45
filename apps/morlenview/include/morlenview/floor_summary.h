#pragma once

#include <cstddef>
#include <vector>

#include "formats/axis_file_segment.h"
#include "morlenview/floor_alignment.h"
#include "morlenview/point_grid.h"

namespace morlenview {

using tavrin::AxisFileSegment;

// What one floor's axis file holds, in Morlen metres.
struct FloorSummary {
  std::size_t straightSegments = 0;
  std::size_t arcSegments = 0;
  // The segments' end points, points closer than kCoincidence taken once,
  // in the order they first appear.
  std::vector<PlanePoint> points;
  // The box of the line work, arcs' bulges included.
  Extent extent;
};

// The point of an arc segment at `degrees` (an angle as the file holds it).
PlanePoint arcPointAt(const AxisFileSegment& arc, double degrees);

FloorSummary summarizeFloor(const std::vector<AxisFileSegment>& segments);

}  // namespace morlenview
