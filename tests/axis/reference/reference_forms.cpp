#include "reference/reference_forms.h"

#include <cmath>
#include <cstring>
#include <memory>

#include "host/ac_db_arc.h"
#include "host/ac_db_entity.h"
#include "host/ac_db_line.h"
#include "host/ac_db_object.h"

namespace tavrin::reference {

namespace {

// The selected entity at `index`, open for read when it is a line or an arc
// (null otherwise, nothing left open); its id in `id`.
AcDbEntity* openAxisEntity(const ads_name selection, long index, AcDbObjectId& id) {
  ads_name name = {0, 0};
  ads_ssname(selection, index, name);
  acdbGetObjectId(id, name);
  AcDbObject* object = nullptr;
  if (acdbOpenAcDbObject(object, id, AcDb::kForRead, false) != Acad::eOk || object == nullptr)
    return nullptr;
  const char* className = object->isA()->name();
  if (std::strcmp(className, "AcDbLine") != 0 && std::strcmp(className, "AcDbArc") != 0) {
    object->close();
    return nullptr;
  }
  return static_cast<AcDbEntity*>(object);
}

void add(Axis& axis, double x, double y) {
  axis.points.add(AxisPoint{x, y, 0.0, 0.0});
}

void addEnds(Axis& axis, AcDbEntity* entity) {
  if (std::strcmp(entity->isA()->name(), "AcDbLine") == 0) {
    const auto* line = static_cast<const AcDbLine*>(entity);
    axis.kind = AxisKind::Straight;
    add(axis, line->startPoint().x, line->startPoint().y);
    add(axis, line->endPoint().x, line->endPoint().y);
    return;
  }
  const auto* arc = static_cast<const AcDbArc*>(entity);
  axis.kind = AxisKind::Arc;
  axis.centre = AcGePoint3d(arc->center().x, arc->center().y, 0.0);
  const ads_point centre = {arc->center().x, arc->center().y, 0.0};
  for (double angle : {arc->startAngle(), arc->endAngle()}) {
    ads_point end;
    ads_polar(centre, angle, arc->radius(), end);
    add(axis, end[X], end[Y]);
  }
}

template <typename Key>
void selectionSort(Axis& axis, Key key, bool ascending) {
  const std::int32_t n = axis.points.size();
  for (std::int32_t i = 0; i < n; ++i) {
    std::int32_t best = i;
    for (std::int32_t j = i + 1; j < n; ++j) {
      const double b = key(axis.points[best]), c = key(axis.points[j]);
      if (ascending ? b > c : b <= c) best = j;
    }
    if (best != i) axis.swapPoints(best, i);
  }
}

}  // namespace

void collectAxesPairwise(const ads_name selection, AxisSet& axes, AcGePoint3dArray& buffer) {
  long length = 0;
  ads_sslength(selection, &length);
  for (long i = 0; i < length; ++i) {
    AcDbObjectId id;
    AcDbEntity* entity = openAxisEntity(selection, i, id);
    if (entity == nullptr) continue;
    auto axis = std::make_unique<Axis>();
    addEnds(*axis, entity);
    for (long j = 0; j < length; ++j) {
      AcDbObjectId partnerId;
      ads_name name = {0, 0};
      ads_ssname(selection, j, name);
      acdbGetObjectId(partnerId, name);
      if (c5ObjIdIsEqualTo(partnerId, id)) continue;
      AcDbEntity* partner = openAxisEntity(selection, j, partnerId);
      if (partner == nullptr) continue;
      if (entity->intersectWith(partner, AcDb::kOnBothOperands, buffer, 0, 0) == Acad::eOk) {
        for (int k = 0; k < buffer.length(); ++k) add(*axis, buffer[k].x, buffer[k].y);
        if (buffer.length() != 0) buffer.removeSubArray(0, buffer.length());
      }
      partner->close();
    }
    axes.append(std::move(axis));
    entity->close();
  }
}

void orderPointsBySelection(Axis& axis) {
  AxisPointArray& points = axis.points;
  if (points.size() < 2) return;
  if (axis.kind != AxisKind::Arc) {
    const bool byY = std::fabs(points[0].x - points[1].x) < Axis::kDirectionTolerance;
    const auto key = [byY](const AxisPoint& p) { return byY ? p.y : p.x; };
    selectionSort(axis, key, key(points[0]) < key(points[1]));
    return;
  }
  const auto angle = [](const AxisPoint& p) { return p.angle; };
  const bool passesZero = !(points[0].angle < points[1].angle);
  const double end = points[1].angle;
  if (passesZero)
    for (std::int32_t i = 0; i < points.size(); ++i)
      if (points[i].angle <= end) points[i].angle += Axis::kFullTurn;
  selectionSort(axis, angle, true);
  if (passesZero)
    for (std::int32_t i = 0; i < points.size(); ++i)
      if (points[i].angle >= Axis::kFullTurn) points[i].angle -= Axis::kFullTurn;
}

}  // namespace tavrin::reference
