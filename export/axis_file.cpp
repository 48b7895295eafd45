#include "export/axis_file.h"

#include <cmath>

#include "formats/axis_file_records.h"
#include "formats/power_of_ten.h"
#include "formats/text_file.h"
#include "host/ac_ge_point.h"
#include "host/ads.h"
#include "resources/texts.h"

namespace tavrin {

namespace {

bool acceptable(double value) {
  return std::isfinite(value) && !(value > kCoordinateLimit);
}

// The conversion of drawing points of one axis.
class Conversion {
 public:
  explicit Conversion(const AxisSet& set)
      : scale_(set.iScale),
        unit_(powerOfTen(set.unitExponent)),
        intrinsicScale_(set.IntrinsicScale),
        intrinsicUnit_(powerOfTen(set.intrinsicUnitExponent)),
        originX_(set.originX),
        originY_(set.originY),
        offX_(set.baseX * scale_ / unit_ - set.referenceX * intrinsicScale_ / intrinsicUnit_),
        offY_(set.baseY * scale_ / unit_ - set.referenceY * intrinsicScale_ / intrinsicUnit_) {}

  double x(double drawingX) const {
    return (drawingX * scale_ / unit_ - originX_ * intrinsicScale_ / intrinsicUnit_) - offX_;
  }
  double y(double drawingY) const {
    return (drawingY * scale_ / unit_ - originY_ * intrinsicScale_ / intrinsicUnit_) - offY_;
  }
  double length(double drawingLength) const { return drawingLength * scale_ / unit_; }

 private:
  double scale_, unit_, intrinsicScale_, intrinsicUnit_, originX_, originY_, offX_, offY_;
};

bool appendStraight(AxisSet& set, std::string& text, const Axis& axis) {
  const Conversion convert(set);
  const AxisPointArray& points = axis.points;
  for (std::int32_t k = 0; k + 1 < points.size(); ++k) {
    const double x2 = convert.x(points[k + 1].x), y2 = convert.y(points[k + 1].y);
    const double x1 = convert.x(points[k].x), y1 = convert.y(points[k].y);
    if (!acceptable(x2) || !acceptable(y2) || !acceptable(x1) || !acceptable(y1)) return false;
    appendStraightRecord(text, x2, y2, x1, y1);
    ++set.lineCount;
  }
  return true;
}

bool appendArc(AxisSet& set, std::string& text, const Axis& axis) {
  const Conversion convert(set);
  const AxisPointArray& points = axis.points;
  if (points.size() < 2) return true;
  const double radius =
      AcGePoint2d(axis.centre.x, axis.centre.y).distanceTo(AcGePoint2d(points[0].x, points[0].y));
  const double r = convert.length(radius);
  const double cx = convert.x(axis.centre.x), cy = convert.y(axis.centre.y);
  if (!acceptable(cx) || !acceptable(cy) || !acceptable(r)) return false;
  for (std::int32_t k = 0; k + 1 < points.size(); ++k) {
    appendArcRecord(text, cx, cy, r, points[k].angle * kDegreesPerRadian,
                    points[k + 1].angle * kDegreesPerRadian);
    ++set.arcCount;
  }
  return true;
}

}  // namespace

void defaultOrigin(const AxisSet& set, double& outX, double& outY) {
  const Axis* first = set.head();
  if (first == nullptr) return;
  // An axis always keeps its start point; an empty one is skipped all the same.
  while (first != nullptr && first->points.size() == 0) first = first->next;
  if (first == nullptr) return;
  double minX = first->points[0].x, maxX = minX;
  double minY = first->points[0].y, maxY = minY;
  for (const Axis* axis = first; axis != nullptr; axis = axis->next) {
    for (std::int32_t i = 0; i < axis->points.size(); ++i) {
      const AxisPoint& p = axis->points[i];
      if (p.x > maxX) maxX = p.x;
      if (p.x < minX) minX = p.x;
      if (p.y > maxY) maxY = p.y;
      if (p.y < minY) minY = p.y;
    }
  }
  outX = minX - (maxX - minX) * 0.25;
  outY = minY - (maxY - minY) * 0.25;
}

bool appendAxisRecords(AxisSet& set, std::string& text, const Axis& axis) {
  if (axis.kind != AxisKind::Straight && axis.kind != AxisKind::Arc) return true;
  ads_printf(resources::kIntrinsicScaleTrace, set.IntrinsicScale);
  ads_printf(resources::kScaleTrace, set.iScale);
  return axis.kind == AxisKind::Straight ? appendStraight(set, text, axis)
                                         : appendArc(set, text, axis);
}

WriteResult writeAxisFile(AxisSet& set, const std::string& path, FileSystem& files) {
  FileGroup group(files);
  if (WriteResult added = addAxisFile(set, path, group); !added.written()) return added;
  return group.putInPlace();
}

WriteResult addAxisFile(AxisSet& set, const std::string& path, FileGroup& group) {
  set.lineCount = 0;
  set.arcCount = 0;
  std::int64_t records = 0;
  for (const Axis* axis = set.head(); axis != nullptr; axis = axis->next)
    if (axis->points.size() > 1) records += axis->points.size() - 1;

  // A record takes some 60 bytes; room for all of them up front spares the
  // copies of a growing text.
  std::string text;
  text.reserve(static_cast<std::size_t>(records) * 64 + 64);
  appendAxisFileHeader(text, records);
  for (const Axis* axis = set.head(); axis != nullptr; axis = axis->next)
    if (!appendAxisRecords(set, text, *axis)) return WriteResult{WriteOutcome::kTooLarge, path};
  return group.addText(path, text);
}

}  // namespace tavrin
