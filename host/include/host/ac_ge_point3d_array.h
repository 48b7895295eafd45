#pragma once

#include "host/ac_ge_point.h"
#include "host/host_export.h"

// The host's growable array of 3D points. Owns its block; copying copies the
// points.
class HOST_API AcGePoint3dArray {
 public:
  // Reserves `physicalLength` slots; when full, grows by `growLength` (at
  // least 1) slots at a time. Starts empty.
  explicit AcGePoint3dArray(int physicalLength = 0, int growLength = 8);
  AcGePoint3dArray(const AcGePoint3dArray& other);
  AcGePoint3dArray& operator=(const AcGePoint3dArray& other);
  ~AcGePoint3dArray();

  // Number of points in use.
  int length() const { return logicalLength_; }
  int logicalLength() const { return logicalLength_; }
  int physicalLength() const { return physicalLength_; }
  int growLength() const { return growLength_; }
  bool isEmpty() const { return logicalLength_ == 0; }

  // Index must be in [0, length()); out of range is a programming error and
  // aborts the host.
  AcGePoint3d& operator[](int index);
  const AcGePoint3d& operator[](int index) const;
  const AcGePoint3d& at(int index) const { return (*this)[index]; }

  AcGePoint3dArray& append(const AcGePoint3d& point);
  // Removes the points from `startIndex` to `endIndex` inclusive. An end past
  // the last point is clamped to it, so removeSubArray(0, length()) empties
  // the array. A start outside the array removes nothing.
  AcGePoint3dArray& removeSubArray(int startIndex, int endIndex);
  void removeAll() { logicalLength_ = 0; }

 private:
  void reserve(int capacity);

  AcGePoint3d* points_ = nullptr;
  int physicalLength_ = 0;
  int logicalLength_ = 0;
  int growLength_ = 8;
};
