#include "axis/collect_axes.h"

#include <cstring>
#include <memory>

#include "host/ac_db_arc.h"
#include "host/ac_db_entity.h"
#include "host/ac_db_line.h"
#include "host/ac_db_object.h"
#include "host/ac_rx_abort.h"

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

void addCrossings(Axis& axis, const AcDbEntity* entity, AcDbObjectId currentId,
                  const ads_name selection, long length, AcGePoint3dArray& buffer) {
  for (long j = 0; j < length; ++j) {
    ads_name partnerName = {0, 0};
    ads_ssname(selection, j, partnerName);
    AcDbObjectId partnerId;
    acdbGetObjectId(partnerId, partnerName);
    if (c5ObjIdIsEqualTo(partnerId, currentId)) continue;

    OpenObject partner;
    if (!partner.open(partnerName, partnerId)) continue;
    if (sourceOf(partner.get()) == AxisSource::kNone) continue;

    const auto* other = static_cast<const AcDbEntity*>(partner.get());
    if (entity->intersectWith(other, AcDb::kOnBothOperands, buffer, 0, 0) != Acad::eOk) continue;
    const int n = buffer.length();
    for (int k = 0; k < n; ++k) addPoint(axis, buffer[k].x, buffer[k].y);
    if (n != 0) buffer.removeSubArray(0, n);
  }
}

}  // namespace

void collectAxes(const ads_name selection, AxisSet& axes, AcGePoint3dArray& buffer) {
  long length = 0;
  ads_sslength(selection, &length);
  for (long i = 0; i < length; ++i) {
    auto axis = std::make_unique<Axis>();
    ads_name name = {0, 0};
    ads_ssname(selection, i, name);
    AcDbObjectId id;
    OpenObject current;
    if (!current.open(name, id)) continue;
    const AxisSource source = sourceOf(current.get());
    if (source == AxisSource::kNone) continue;

    addEndPoints(*axis, current.get(), source);
    addCrossings(*axis, static_cast<const AcDbEntity*>(current.get()), id, selection, length,
                 buffer);
    axes.append(std::move(axis));
    current.closeNow();
  }
}

void cleanAndOrderAxes(AxisSet& axes) {
  Axis* axis = axes.head();
  for (std::int32_t step = 0; step < axes.count(); ++step) {
    axis->removeDuplicates();
    if (axis->kind == AxisKind::Arc) axis->computeAngles();
    axis->orderPoints();
    axis = axis->next;
  }
}
