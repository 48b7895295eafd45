#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "formats/axis_file_segment.h"
#include "morlenview/floor_alignment.h"
#include "morlenview/point_grid.h"

namespace morlenview {

using tavrin::AxisFileSegment;

// What one floor's axis file holds, in Morlen metres: as the alignment check
// sees it (its distinct points, in the order they first appear, points
// closer than kCoincidence taken once; the box of its line work, arcs'
// bulges included), and its segments by kind.
struct FloorSummary : AlignmentFloor {
  std::size_t straightSegments = 0;
  std::size_t arcSegments = 0;
};

// The point of an arc segment at `degrees` (an angle as the file holds it).
PlanePoint arcPointAt(const AxisFileSegment& arc, double degrees);

// Sums up a floor from its segments in file order, one at a time, so the
// segments need not be kept. Each segment takes a few steps, however the
// points lie.
class FloorSummaryBuilder {
 public:
  FloorSummaryBuilder();
  void add(const AxisFileSegment& segment);
  // The summary; the builder is then empty.
  FloorSummary take();

 private:
  void addPoint(PlanePoint p);

  FloorSummary summary_;
  PointGrid distinct_;
  std::optional<PlanePoint> last_;
};

FloorSummary summarizeFloor(const std::vector<AxisFileSegment>& segments);

}  // namespace morlenview
