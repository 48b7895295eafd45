#pragma once

#include "dxf/entity.h"

// An entity's object coordinate system, given by its extrusion direction
// (groups 210/220/230), and the arbitrary-axis rule that fixes its X and Y
// axes. Maps object coordinates to world coordinates.
namespace cad::dxf {

class ObjectCoordinates {
 public:
  // `normal` need not be unit length. False when it is zero.
  static bool make(const Point& normal, ObjectCoordinates& result);

  // World point of the object-coordinate point `p`.
  Point toWorld(const Point& p) const;

  // The plane is the XY plane facing up: nothing to transform.
  bool isWorld() const { return kind_ == Kind::kWorld; }
  // The plane faces down (normal (0, 0, -1)): world = (-x, y, -z).
  bool isMirrored() const { return kind_ == Kind::kMirrored; }
  // The plane is parallel to the world XY plane (facing up or down).
  bool isParallelToXY() const { return kind_ != Kind::kTilted; }
  // Unit axes in world coordinates.
  const Point& xAxis() const { return xAxis_; }
  const Point& yAxis() const { return yAxis_; }
  const Point& normal() const { return normal_; }

 private:
  enum class Kind { kWorld, kMirrored, kTilted };
  Kind kind_ = Kind::kWorld;
  Point xAxis_{1, 0, 0};
  Point yAxis_{0, 1, 0};
  Point normal_{0, 0, 1};
};

}  // namespace cad::dxf
