#pragma once

#include <cstdint>

#include "axis/axis_kind.h"
#include "axis/axis_point.h"
#include "axis/axis_point_array.h"
#include "host/ac_ge_point.h"

namespace tavrin {

// One axis of the grid, made from one drawing line or arc: its points (the
// entity's two end points, then its crossings with other axes) and, on an arc
// axis, the arc's centre. The cleanup routines turn the points into distinct
// points in order along the axis. An axis owns its points; it does not own
// `next`, which belongs to the list of the AxisSet that holds the axis.
class Axis {
 public:
  // Two coordinates closer than this (strictly) are the same, in millimetres:
  // in a drawing of another unit the cleanup is given its length there.
  static constexpr double kPointTolerance = 0.3;
  // A straight axis whose end points differ in x by less than this is sorted
  // by y, in drawing units.
  static constexpr double kDirectionTolerance = 0.15;
  // The full turn that wraps and unwraps arc angles: 2 x 3.1415926, about
  // 1.07e-7 below 2 pi. The files of existing projects depend on this value.
  static constexpr double kFullTurn = 6.2831852;

  // No points, kind Straight, centre at 0, no next axis.
  Axis() = default;
  Axis(const Axis&) = delete;
  Axis& operator=(const Axis&) = delete;
  // Releases the point block; leaves the axis `next` points to alone.
  virtual ~Axis() = default;

  // True when |a - b| < tolerance (drawing units, above 0).
  static bool nearlyEqual(double a, double b, double tolerance = kPointTolerance);
  // True when x, y and z are each nearlyEqual (compared in that order); the
  // angle is not compared. No distance test: each coordinate on its own.
  static bool pointsEqual(const AxisPoint& p, const AxisPoint& q,
                          double tolerance = kPointTolerance);

  // Drops every point equal (pointsEqual within `tolerance`, drawing units,
  // above 0) to an earlier surviving point. Point 0 always survives. Works in
  // place; the capacity stays. Looks up earlier survivors in a hash of cells,
  // O(p) expected for p points.
  void removeDuplicates(double tolerance = kPointTolerance);
  // The same result by comparing every pair, O(p^2): the plain form of the
  // rule, kept as the reference the fast form is checked against.
  void removeDuplicatesPairwise(double tolerance = kPointTolerance);
  // On an Arc axis sets each point's angle to the direction from `centre`
  // (ads_angle, radians in [0, 2 pi)). On any other kind does nothing.
  void computeAngles();
  // Exchanges points i and j, all four fields. Both must be valid indices.
  void swapPoints(std::int32_t i, std::int32_t j);
  // Orders the points along the axis, starting from the entity's start
  // point: a straight axis by x (by y when it runs within
  // kDirectionTolerance of vertical), an arc axis counter-clockwise by angle
  // (angles must have been computed). Fewer than two points: nothing to do.
  // Equal keys end in the order a selection sort leaves them (first of the
  // smallest ascending, last of the largest descending, swapped into place),
  // reproduced in O(p log p).
  void orderPoints();

  AxisKind kind = AxisKind::Straight;
  AxisPointArray points;
  // Arc axes only: the arc's centre in drawing units, z = 0.
  AcGePoint3d centre;
  // The following axis of the owning AxisSet; null on the last one.
  Axis* next = nullptr;

 private:
  void orderStraight();
  void orderArc();
  // Orders by `key` as selectionSort does.
  template <typename Key>
  void sortByKey(Key key, bool ascending);
  // Selection sort by `key`, ascending (earliest of equal keys first) or
  // descending (latest of equal keys first); at most one swap per position.
  template <typename Key>
  void selectionSort(Key key, bool ascending);
  // The arrangement selectionSort leaves, found by sorting and replaying
  // only the swaps among equal keys. Keys must not be NaN.
  void sortLikeSelection(const double* keys, bool ascending);
};

}  // namespace tavrin
