#pragma once

#include "host/host_export.h"

// Points of the host's geometry library. Plain values.

class HOST_API AcGePoint2d {
 public:
  AcGePoint2d() = default;
  AcGePoint2d(double px, double py) : x(px), y(py) {}

  // Euclidean distance.
  double distanceTo(const AcGePoint2d& other) const;

  bool operator==(const AcGePoint2d&) const = default;

  double x = 0.0;
  double y = 0.0;
};

class HOST_API AcGePoint3d {
 public:
  AcGePoint3d() = default;
  AcGePoint3d(double px, double py, double pz) : x(px), y(py), z(pz) {}

  // Euclidean distance.
  double distanceTo(const AcGePoint3d& other) const;

  bool operator==(const AcGePoint3d&) const = default;

  double x = 0.0;
  double y = 0.0;
  double z = 0.0;
};
