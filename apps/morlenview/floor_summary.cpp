#include "morlenview/floor_summary.h"

#include <cmath>
#include <utility>

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

// Distinct points stand at least kCoincidence apart: cells of four times that
// hold at most 25 each, and a search looks into one to four of them.
FloorSummaryBuilder::FloorSummaryBuilder() : distinct_(4 * kCoincidence) {}

void FloorSummaryBuilder::addPoint(PlanePoint p) {
  // The segments of an axis follow one another, each starting where the
  // last ended: that point is known already.
  if (last_ && *last_ == p) return;
  last_ = p;
  summary_.extent.add(p);
  const auto nearest = distinct_.nearest(p, kCoincidence);
  if (nearest && nearest->distance < kCoincidence) return;
  distinct_.add(p);
}

void FloorSummaryBuilder::add(const AxisFileSegment& s) {
  if (s.kind == AxisFileSegment::Kind::kStraight) {
    ++summary_.straightSegments;
    addPoint(PlanePoint{s.x1, s.y1});
    addPoint(PlanePoint{s.x2, s.y2});
    return;
  }
  ++summary_.arcSegments;
  addPoint(arcPointAt(s, s.startDegrees));
  addPoint(arcPointAt(s, s.endDegrees));
  const plot::Arc arc{plot::Point{s.centreX, s.centreY}, s.radius,
                      s.startDegrees / kDegreesPerRadian, s.endDegrees / kDegreesPerRadian};
  plot::forEachArcBoundPoint(arc, [&](plot::Point p) { summary_.extent.add(p); });
}

FloorSummary FloorSummaryBuilder::take() {
  FloorSummary summary = std::move(summary_);
  summary.points = distinct_.takePoints();
  summary_ = FloorSummary{};
  last_.reset();
  return summary;
}

FloorSummary summarizeFloor(const std::vector<AxisFileSegment>& segments) {
  FloorSummaryBuilder builder;
  for (const AxisFileSegment& s : segments) builder.add(s);
  return builder.take();
}

}  // namespace morlenview
