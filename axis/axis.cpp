#include "axis/axis.h"

#include <cmath>

#include "host/ads.h"

bool Axis::nearlyEqual(double a, double b) {
  return std::fabs(a - b) < kPointTolerance;
}

bool Axis::pointsEqual(const AxisPoint& p, const AxisPoint& q) {
  return nearlyEqual(p.x, q.x) && nearlyEqual(p.y, q.y) && nearlyEqual(p.z, q.z);
}

void Axis::removeDuplicates() {
  for (std::int32_t i = 0; i < points.size(); ++i) {
    std::int32_t j = i + 1;
    while (j < points.size()) {
      // After a removal the point that moved into place j is tested next.
      if (pointsEqual(points[i], points[j]))
        points.removeAt(j);
      else
        ++j;
    }
  }
}

void Axis::computeAngles() {
  if (kind != AxisKind::Arc) return;
  const ads_point from = {centre.x, centre.y, centre.z};
  for (std::int32_t i = 0; i < points.size(); ++i) {
    AxisPoint& p = points[i];
    const ads_point to = {p.x, p.y, p.z};
    p.angle = ads_angle(from, to);
  }
}

void Axis::swapPoints(std::int32_t i, std::int32_t j) {
  const AxisPoint held = points[i];
  points[i] = points[j];
  points[j] = held;
}

void Axis::orderPoints() {
  if (points.size() < 2) return;
  if (kind == AxisKind::Arc)
    orderArc();
  else
    orderStraight();
}

template <typename Key>
void Axis::selectionSort(Key key, bool ascending) {
  const std::int32_t n = points.size();
  for (std::int32_t i = 0; i < n; ++i) {
    std::int32_t best = i;
    for (std::int32_t j = i + 1; j < n; ++j) {
      const double bestKey = key(points[best]);
      const double candidate = key(points[j]);
      if (ascending ? bestKey > candidate : bestKey <= candidate) best = j;
    }
    if (best != i) swapPoints(best, i);
  }
}

void Axis::orderStraight() {
  const bool byY = std::fabs(points[0].x - points[1].x) < kDirectionTolerance;
  auto key = [byY](const AxisPoint& p) { return byY ? p.y : p.x; };
  selectionSort(key, key(points[0]) < key(points[1]));
}

void Axis::orderArc() {
  auto angle = [](const AxisPoint& p) { return p.angle; };
  if (points[0].angle < points[1].angle) {
    selectionSort(angle, true);
    return;
  }
  // The arc passes direction 0 between its start and its end: lift the
  // points from direction 0 up to the end point by a full turn, sort, and
  // take the turn back.
  const double endAngle = points[1].angle;
  for (std::int32_t i = 0; i < points.size(); ++i)
    if (points[i].angle <= endAngle) points[i].angle += kFullTurn;
  selectionSort(angle, true);
  for (std::int32_t i = 0; i < points.size(); ++i)
    if (points[i].angle >= kFullTurn) points[i].angle -= kFullTurn;
}
