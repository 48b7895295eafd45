#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "host/ac_ge_point3d_array.h"

namespace {
[[noreturn]] void outOfRange(int index, int length) {
  std::fprintf(stderr, "AcGePoint3dArray: index %d outside [0, %d)\n", index, length);
  std::abort();
}
}  // namespace

AcGePoint3dArray::AcGePoint3dArray(int physicalLength, int growLength)
    : growLength_(growLength > 0 ? growLength : 1) {
  if (physicalLength > 0) reserve(physicalLength);
}

AcGePoint3dArray::AcGePoint3dArray(const AcGePoint3dArray& other) : growLength_(other.growLength_) {
  if (other.logicalLength_ > 0) {
    reserve(other.logicalLength_);
    std::copy(other.points_, other.points_ + other.logicalLength_, points_);
    logicalLength_ = other.logicalLength_;
  }
}

AcGePoint3dArray& AcGePoint3dArray::operator=(const AcGePoint3dArray& other) {
  if (this == &other) return *this;
  logicalLength_ = 0;
  if (other.logicalLength_ > physicalLength_) reserve(other.logicalLength_);
  std::copy(other.points_, other.points_ + other.logicalLength_, points_);
  logicalLength_ = other.logicalLength_;
  growLength_ = other.growLength_;
  return *this;
}

AcGePoint3dArray::~AcGePoint3dArray() {
  delete[] points_;
}

AcGePoint3d& AcGePoint3dArray::operator[](int index) {
  if (index < 0 || index >= logicalLength_) outOfRange(index, logicalLength_);
  return points_[index];
}

const AcGePoint3d& AcGePoint3dArray::operator[](int index) const {
  if (index < 0 || index >= logicalLength_) outOfRange(index, logicalLength_);
  return points_[index];
}

AcGePoint3dArray& AcGePoint3dArray::append(const AcGePoint3d& point) {
  if (logicalLength_ == physicalLength_) {
    AcGePoint3d copy = point;  // `point` may live in the block being replaced
    reserve(physicalLength_ + growLength_);
    points_[logicalLength_++] = copy;
    return *this;
  }
  points_[logicalLength_++] = point;
  return *this;
}

AcGePoint3dArray& AcGePoint3dArray::removeSubArray(int startIndex, int endIndex) {
  if (startIndex < 0 || startIndex >= logicalLength_ || endIndex < startIndex) return *this;
  int last = std::min(endIndex, logicalLength_ - 1);
  int removed = last - startIndex + 1;
  std::copy(points_ + last + 1, points_ + logicalLength_, points_ + startIndex);
  logicalLength_ -= removed;
  return *this;
}

void AcGePoint3dArray::reserve(int capacity) {
  AcGePoint3d* block = new AcGePoint3d[static_cast<std::size_t>(capacity)];
  std::copy(points_, points_ + logicalLength_, block);
  delete[] points_;
  points_ = block;
  physicalLength_ = capacity;
}
