#include "morlenview/floor_summary.h"

#include <cmath>

#include "formats/axis_file_records.h"
#include "plot/arc_geometry.h"

namespace morlenview {

using tavrin::kDegreesPerRadian;

PlanePoint arcPointAt(const AxisFileSegment& arc, double degrees) {
  // The file's degrees came from radians by kDegreesPerRadian; undo exactly
  // that, so the point is the one that was exported.
  const double radians = degrees / kDegreesPerRadian;
  return PlanePoint{arc.centreX + arc.radius * std::cos(radians),
                    arc.centreY + arc.radius * std::sin(radians)};
}

FloorSummary summarizeFloor(const std::vector<AxisFileSegment>& segments) {
  FloorSummary summary;
  PointGrid distinct(kNearMissLimit);
  const auto addPoint = [&](PlanePoint p) {
    summary.extent.add(p);
    const auto nearest = distinct.nearest(p, kCoincidence);
    if (nearest && nearest->distance < kCoincidence) return;
    distinct.add(p);
  };
  for (const AxisFileSegment& s : segments) {
    if (s.kind == AxisFileSegment::Kind::kStraight) {
      ++summary.straightSegments;
      addPoint(PlanePoint{s.x1, s.y1});
      addPoint(PlanePoint{s.x2, s.y2});
      continue;
    }
    ++summary.arcSegments;
    addPoint(arcPointAt(s, s.startDegrees));
    addPoint(arcPointAt(s, s.endDegrees));
    const plot::Arc arc{plot::Point{s.centreX, s.centreY}, s.radius,
                        s.startDegrees / kDegreesPerRadian, s.endDegrees / kDegreesPerRadian};
    plot::forEachArcBoundPoint(arc, [&](plot::Point p) { summary.extent.add(p); });
  }
  summary.points = distinct.points();
  return summary;
}

}  // namespace morlenview
