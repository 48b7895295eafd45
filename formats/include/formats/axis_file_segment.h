#pragma once

namespace tavrin {

// One segment record of an axis file, in Morlen metres.
struct AxisFileSegment {
  enum class Kind { kStraight, kArc };

  Kind kind = Kind::kStraight;
  // A straight segment runs from (x1, y1) to (x2, y2); the file holds the
  // later point first ("X2,Y2,X1,Y1").
  double x1 = 0.0, y1 = 0.0, x2 = 0.0, y2 = 0.0;
  // An arc segment: centre, radius, and the angles of its two points in
  // degrees; it runs counter-clockwise from startDegrees to endDegrees (an end
  // below the start passes direction 0).
  double centreX = 0.0, centreY = 0.0, radius = 0.0;
  double startDegrees = 0.0, endDegrees = 0.0;

  bool operator==(const AxisFileSegment&) const = default;
};

}  // namespace tavrin
