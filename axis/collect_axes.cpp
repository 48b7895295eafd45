#include "axis/collect_axes.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "axis/extent_index.h"

#include "host/ac_db_arc.h"
#include "host/ac_db_entity.h"
#include "host/ac_db_line.h"
#include "host/ac_db_object.h"
#include "host/ac_rx_abort.h"
#include "host/ads_progress.h"
#include "resources/texts.h"

namespace tavrin {

namespace {

// A database object open for read; closed when the holder goes.
class OpenObject {
 public:
  OpenObject() = default;
  OpenObject(const OpenObject&) = delete;
  OpenObject& operator=(const OpenObject&) = delete;
  ~OpenObject() { closeNow(); }

  // Opens the entity named `name`, not erased. False (nothing open) when it
  // cannot be opened or fails the database-object class test; an object that
  // fails the test and then cannot be closed aborts the host.
  bool open(const ads_name name, AcDbObjectId& id) {
    acdbGetObjectId(id, name);
    AcDbObject* object = nullptr;
    if (acdbOpenAcDbObject(object, id, AcDb::kForRead, false) != Acad::eOk || object == nullptr)
      return false;
    if (acrxClassTest<AcDbObject>(object) == nullptr) {
      if (object->close() != Acad::eOk) acrx_abort("Failed AcDbObject::close()");
      return false;
    }
    object_ = object;
    return true;
  }

  // Opens `id` again, after open() has accepted it once.
  bool reopen(AcDbObjectId id) {
    AcDbObject* object = nullptr;
    if (acdbOpenAcDbObject(object, id, AcDb::kForRead, false) != Acad::eOk || object == nullptr)
      return false;
    object_ = object;
    return true;
  }

  AcDbObject* get() const { return object_; }

  void closeNow() {
    if (object_ != nullptr) object_->close();
    object_ = nullptr;
  }

 private:
  AcDbObject* object_ = nullptr;
};

enum class AxisSource { kNone, kLine, kArc };

// Exact, case-sensitive class name: classes derived from these two do not
// count.
AxisSource sourceOf(const AcDbObject* object) {
  const char* name = object->isA()->name();
  if (std::strcmp(name, "AcDbLine") == 0) return AxisSource::kLine;
  if (std::strcmp(name, "AcDbArc") == 0) return AxisSource::kArc;
  return AxisSource::kNone;
}

void addPoint(Axis& axis, double x, double y) {
  axis.points.add(AxisPoint{x, y, 0.0, 0.0});
}

void addEndPoints(Axis& axis, AcDbObject* object, AxisSource source) {
  if (source == AxisSource::kLine) {
    auto* line = static_cast<AcDbLine*>(object);
    const AcGePoint3d start = line->startPoint();
    const AcGePoint3d end = line->endPoint();
    addPoint(axis, start.x, start.y);
    addPoint(axis, end.x, end.y);
    axis.kind = AxisKind::Straight;
    return;
  }
  auto* arc = static_cast<AcDbArc*>(object);
  const AcGePoint3d c = arc->center();
  const double radius = arc->radius();
  ads_point centre = {c.x, c.y, 0.0};
  ads_point end;
  ads_polar(centre, arc->startAngle(), radius, end);
  addPoint(axis, end[X], end[Y]);
  ads_polar(centre, arc->endAngle(), radius, end);
  addPoint(axis, end[X], end[Y]);
  axis.centre = AcGePoint3d(c.x, c.y, 0.0);
  axis.kind = AxisKind::Arc;
}

void appendCrossings(Axis& axis, AcGePoint3dArray& buffer) {
  const int n = buffer.length();
  for (int k = 0; k < n; ++k) addPoint(axis, buffer[k].x, buffer[k].y);
  if (n != 0) buffer.removeSubArray(0, n);
}

// One selected line or arc: where it is in the selection and how far it
// reaches.
struct AxisEntity {
  long position;
  AcDbObjectId id;
  AxisSource source;
  ExtentBox box;
  // Span of the box, for the widening.
  double span;
};

// Largest magnitude of the figure as the intersection code measures it (its
// largest coordinate, an arc's centre coordinate plus radius); its tolerance
// is a fixed fraction of that.
double extentOf(const AcDbObject* object, AxisSource source, ExtentBox& box) {
  if (source == AxisSource::kLine) {
    const auto* line = static_cast<const AcDbLine*>(object);
    const AcGePoint3d a = line->startPoint(), b = line->endPoint();
    box = {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y), false};
    return std::max({std::fabs(a.x), std::fabs(a.y), std::fabs(b.x), std::fabs(b.y)});
  }
  // The whole circle: whatever part of it the angles keep.
  const auto* arc = static_cast<const AcDbArc*>(object);
  const AcGePoint3d c = arc->center();
  const double r = arc->radius();
  box = {c.x - r, c.y - r, c.x + r, c.y + r, !(r >= 0.0)};
  return std::max(std::fabs(c.x), std::fabs(c.y)) + r;
}

// Relative tolerance of the intersection code, and a margin for the rounding
// of nearly parallel or tangent figures, whose computed points may stray a
// small fraction of the figures' size.
constexpr double kIntersectionTolerance = 1e-9;
constexpr double kToleranceMargin = 16.0;
constexpr double kSpanMargin = 1.0 / 64.0;

// The selected lines and arcs in selection order, with their extents
// widened so that two that can meet overlap.
std::vector<AxisEntity> axisEntities(const ads_name selection, long length) {
  std::vector<AxisEntity> entities;
  double largest = 1.0;
  for (long i = 0; i < length; ++i) {
    ads_name name = {0, 0};
    ads_ssname(selection, i, name);
    AxisEntity e{i, AcDbObjectId(), AxisSource::kNone, ExtentBox(), 0.0};
    OpenObject object;
    if (!object.open(name, e.id)) continue;
    e.source = sourceOf(object.get());
    if (e.source == AxisSource::kNone) continue;
    const double size = extentOf(object.get(), e.source, e.box);
    const bool finite = std::isfinite(e.box.minX) && std::isfinite(e.box.minY) &&
                        std::isfinite(e.box.maxX) && std::isfinite(e.box.maxY);
    if (!finite) e.box.everywhere = true;
    if (!e.box.everywhere) {
      largest = std::max(largest, size);
      e.span = std::max(e.box.maxX - e.box.minX, e.box.maxY - e.box.minY);
    }
    entities.push_back(e);
  }
  const double tolerance = kToleranceMargin * kIntersectionTolerance * largest;
  for (AxisEntity& e : entities) {
    const double margin = tolerance + kSpanMargin * e.span;
    e.box.minX -= margin;
    e.box.minY -= margin;
    e.box.maxX += margin;
    e.box.maxY += margin;
  }
  return entities;
}

// Progress and the user's break for the outer loop, one step per axis.
class LoopFeedback {
 public:
  explicit LoopFeedback(long total) { ads_progress_begin(resources::kCrossingsProgress, total); }
  LoopFeedback(const LoopFeedback&) = delete;
  LoopFeedback& operator=(const LoopFeedback&) = delete;
  ~LoopFeedback() { ads_progress_end(); }

  // False when the user asked to stop.
  bool step(long done) {
    ads_progress_update(done);
    return ads_userbreak() == 0;
  }
};

}  // namespace

bool collectAxes(const ads_name selection, AxisSet& axes, AcGePoint3dArray& buffer) {
  long length = 0;
  ads_sslength(selection, &length);
  const std::vector<AxisEntity> entities = axisEntities(selection, length);
  std::vector<ExtentBox> boxes;
  boxes.reserve(entities.size());
  for (const AxisEntity& e : entities) boxes.push_back(e.box);
  ExtentIndex index(std::move(boxes));

  std::vector<std::uint32_t> partners;
  LoopFeedback feedback(static_cast<long>(index.size()));
  for (std::uint32_t i = 0; i < index.size(); ++i) {
    if (!feedback.step(static_cast<long>(i))) return false;
    const AxisEntity& e = entities[i];
    auto axis = std::make_unique<Axis>();
    OpenObject current;
    if (!current.reopen(e.id)) continue;
    addEndPoints(*axis, current.get(), e.source);
    const auto* entity = static_cast<const AcDbEntity*>(current.get());
    index.overlapping(i, partners);
    for (std::uint32_t j : partners) {
      if (c5ObjIdIsEqualTo(entities[j].id, e.id)) continue;
      OpenObject partner;
      if (!partner.reopen(entities[j].id)) continue;
      const auto* other = static_cast<const AcDbEntity*>(partner.get());
      if (entity->intersectWith(other, AcDb::kOnBothOperands, buffer, 0, 0) != Acad::eOk) continue;
      appendCrossings(*axis, buffer);
    }
    axes.append(std::move(axis));
    current.closeNow();
  }
  return true;
}

void cleanAndOrderAxes(AxisSet& axes, double pointTolerance) {
  Axis* axis = axes.head();
  for (std::int32_t step = 0; step < axes.count(); ++step) {
    axis->removeDuplicates(pointTolerance);
    if (axis->kind == AxisKind::Arc) axis->computeAngles();
    axis->orderPoints();
    axis = axis->next;
  }
}

}  // namespace tavrin
