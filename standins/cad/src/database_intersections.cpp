// Where lines and arcs meet, in the XY plane.
//
// Points are appended in the order they come along this entity: from the
// start point of a line, counter-clockwise from the start angle of an arc.
// Tolerance: a point counts as on a segment or an arc when it lies no further
// beyond its ends than kRelativeTolerance times the larger of 1 and the size
// of the figures (their largest coordinate plus radius). Two candidate points
// closer than that are one point (a tangent). Parallel and collinear lines, and arcs on the same
// or concentric circles, give no points.

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

#include "host/ac_db_arc.h"
#include "host/ac_db_entity.h"
#include "host/ac_db_line.h"

namespace {

constexpr double kRelativeTolerance = 1e-9;
// Sine of the smallest angle between two lines that are not taken as parallel.
constexpr double kParallelSine = 1e-12;
constexpr double kFullTurn = 2 * std::numbers::pi;

struct Vec {
  double x = 0.0;
  double y = 0.0;
};

Vec operator-(Vec a, Vec b) {
  return {a.x - b.x, a.y - b.y};
}
Vec operator+(Vec a, Vec b) {
  return {a.x + b.x, a.y + b.y};
}
Vec operator*(double s, Vec v) {
  return {s * v.x, s * v.y};
}
double dot(Vec a, Vec b) {
  return a.x * b.x + a.y * b.y;
}
double cross(Vec a, Vec b) {
  return a.x * b.y - a.y * b.x;
}
double length(Vec v) {
  return std::hypot(v.x, v.y);
}

// At most two points: two figures of these kinds meet no more often. Kept
// on the stack, so that a pair that does not meet costs no allocation.
struct Points {
  Vec at[2];
  int count = 0;
  void push_back(Vec p) { at[count++] = p; }
  Vec* begin() { return at; }
  Vec* end() { return at + count; }
};

struct Segment {
  Vec start;
  Vec end;
};

struct Arc {
  Vec centre;
  double radius = 0.0;
  double start = 0.0;  // radians
  double sweep = 0.0;  // counter-clockwise, in (0, 2*pi]
};

double wrap(double angle) {
  angle = std::fmod(angle, kFullTurn);
  if (angle < 0) angle += kFullTurn;
  return angle;
}

Arc arcOf(const AcDbArc& arc) {
  Arc a;
  a.centre = {arc.center().x, arc.center().y};
  a.radius = arc.radius();
  a.start = wrap(arc.startAngle());
  a.sweep = wrap(arc.endAngle()) - a.start;
  // Equal angles make a full circle, as an arc from 0 to 360 degrees does.
  if (a.sweep <= 0) a.sweep += kFullTurn;
  return a;
}

Segment segmentOf(const AcDbLine& line) {
  return {{line.startPoint().x, line.startPoint().y}, {line.endPoint().x, line.endPoint().y}};
}

double magnitude(Vec v) {
  return std::max(std::fabs(v.x), std::fabs(v.y));
}
double sizeOf(const Segment& s) {
  return std::max(magnitude(s.start), magnitude(s.end));
}
double sizeOf(const Arc& a) {
  return magnitude(a.centre) + a.radius;
}
double toleranceFor(double size1, double size2) {
  return kRelativeTolerance * std::max({1.0, size1, size2});
}

// Angle of `p` past the arc's start, counter-clockwise; slightly before the
// start comes out slightly negative.
double offsetOnArc(const Arc& arc, Vec p, double tolerance) {
  Vec d = p - arc.centre;
  double offset = wrap(std::atan2(d.y, d.x) - arc.start);
  double slack = arc.radius > 0 ? tolerance / arc.radius : kFullTurn;
  if (offset > kFullTurn - slack && arc.sweep < kFullTurn) offset -= kFullTurn;
  return offset;
}

bool onArc(const Arc& arc, Vec p, double tolerance) {
  if (arc.sweep >= kFullTurn) return true;
  double slack = arc.radius > 0 ? tolerance / arc.radius : kFullTurn;
  double offset = offsetOnArc(arc, p, tolerance);
  return offset >= -slack && offset <= arc.sweep + slack;
}

// Points of the segment on the circle of `arc`, in segment order, with their
// distance along the segment.
Points segmentArc(const Segment& s, const Arc& arc, double tolerance) {
  Points result;
  Vec d = s.end - s.start;
  double len = length(d);
  if (len <= tolerance) return result;
  Vec u = (1.0 / len) * d;
  Vec toCentre = arc.centre - s.start;
  double foot = dot(toCentre, u);
  double h = std::fabs(cross(u, toCentre));
  double gap = arc.radius - h;
  if (gap < -tolerance) return result;
  // Half the chord. The product overflows for radii near 1e300; the roots
  // taken apart do not (the plain form stays for every other size, so
  // results elsewhere keep their last bit).
  double half = 0.0;
  if (gap > 0) {
    const double product = gap * (arc.radius + h);
    half = std::isfinite(product) ? std::sqrt(product) : std::sqrt(gap) * std::sqrt(arc.radius + h);
  }
  double along[2] = {foot - half, foot + half};
  int count = half <= tolerance ? 1 : 2;
  if (count == 1) along[0] = foot;
  for (int i = 0; i < count; ++i) {
    if (along[i] < -tolerance || along[i] > len + tolerance) continue;
    Vec p = s.start + along[i] * u;
    if (onArc(arc, p, tolerance)) result.push_back(p);
  }
  return result;
}

Points segmentSegment(const Segment& a, const Segment& b, double tolerance) {
  Vec d1 = a.end - a.start;
  Vec d2 = b.end - b.start;
  double len1 = length(d1);
  double len2 = length(d2);
  if (len1 <= tolerance || len2 <= tolerance) return {};
  double denominator = cross(d1, d2);
  if (std::fabs(denominator) <= kParallelSine * len1 * len2) return {};
  Vec w = b.start - a.start;
  double t = cross(w, d2) / denominator;
  double u = cross(w, d1) / denominator;
  if (t * len1 < -tolerance || t * len1 > len1 + tolerance) return {};
  if (u * len2 < -tolerance || u * len2 > len2 + tolerance) return {};
  Points result;
  result.push_back(a.start + t * d1);
  return result;
}

Points arcArc(const Arc& a, const Arc& b, double tolerance) {
  Points result;
  Vec dv = b.centre - a.centre;
  double d = length(dv);
  if (d <= tolerance) return result;
  if (d > a.radius + b.radius + tolerance) return result;
  if (d < std::fabs(a.radius - b.radius) - tolerance) return result;
  double along = (d * d + a.radius * a.radius - b.radius * b.radius) / (2 * d);
  double h2 = a.radius * a.radius - along * along;
  double h = h2 > 0 ? std::sqrt(h2) : 0.0;
  Vec u = (1.0 / d) * dv;
  Vec base = a.centre + along * u;
  Vec normal{-u.y, u.x};
  Points candidates;
  if (h <= tolerance) {
    candidates.push_back(base);
  } else {
    candidates.push_back(base + h * normal);
    candidates.push_back(base - h * normal);
  }
  for (Vec p : candidates)
    if (onArc(a, p, tolerance) && onArc(b, p, tolerance)) result.push_back(p);
  return result;
}

void sortAlongArc(const Arc& arc, Points& points, double tolerance) {
  // Two points at most: a stable sort is one comparison.
  if (points.count == 2 &&
      offsetOnArc(arc, points.at[1], tolerance) < offsetOnArc(arc, points.at[0], tolerance))
    std::swap(points.at[0], points.at[1]);
}

// The entity as a line or an arc: the exact class first, the class walk only
// for classes derived from them.
template <class T>
const T* asKind(const AcDbEntity* entity) {
  const AcRxClass* cls = entity->isA();
  if (cls == T::desc() || cls->isDerivedFrom(T::desc())) return static_cast<const T*>(entity);
  return nullptr;
}

}  // namespace

Acad::ErrorStatus AcDbEntity::intersectWith(const AcDbEntity* other, AcDb::Intersect type,
                                            AcGePoint3dArray& points, int, int) const {
  if (other == nullptr || type != AcDb::kOnBothOperands) return Acad::eInvalidInput;
  const AcDbLine* thisLine = asKind<AcDbLine>(this);
  const AcDbArc* thisArc = thisLine == nullptr ? asKind<AcDbArc>(this) : nullptr;
  const AcDbLine* otherLine = asKind<AcDbLine>(other);
  const AcDbArc* otherArc = otherLine == nullptr ? asKind<AcDbArc>(other) : nullptr;
  if ((thisLine == nullptr && thisArc == nullptr) || (otherLine == nullptr && otherArc == nullptr))
    return Acad::eNotImplemented;

  Points found;
  if (thisLine != nullptr && otherLine != nullptr) {
    Segment a = segmentOf(*thisLine), b = segmentOf(*otherLine);
    found = segmentSegment(a, b, toleranceFor(sizeOf(a), sizeOf(b)));
  } else if (thisLine != nullptr) {
    Segment a = segmentOf(*thisLine);
    Arc b = arcOf(*otherArc);
    found = segmentArc(a, b, toleranceFor(sizeOf(a), sizeOf(b)));
  } else if (otherLine != nullptr) {
    Arc a = arcOf(*thisArc);
    Segment b = segmentOf(*otherLine);
    double tolerance = toleranceFor(sizeOf(a), sizeOf(b));
    found = segmentArc(b, a, tolerance);
    sortAlongArc(a, found, tolerance);
  } else {
    Arc a = arcOf(*thisArc), b = arcOf(*otherArc);
    double tolerance = toleranceFor(sizeOf(a), sizeOf(b));
    found = arcArc(a, b, tolerance);
    sortAlongArc(a, found, tolerance);
  }
  for (Vec p : found) points.append(AcGePoint3d(p.x, p.y, 0.0));
  return Acad::eOk;
}
