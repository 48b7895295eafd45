#include "axis/axis_point_array.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

#include "ui/archive.h"

namespace tavrin {

namespace {

// The block is raw storage for trivially copyable records: allocated, zeroed
// and copied as bytes.
AxisPoint* allocateSlots(std::int32_t count) {
  void* block = std::malloc(static_cast<std::size_t>(count) * sizeof(AxisPoint));
  if (block == nullptr) throw std::bad_alloc();
  return static_cast<AxisPoint*>(block);
}

void zeroSlots(AxisPoint* first, std::int32_t count) {
  if (count > 0) std::memset(first, 0, static_cast<std::size_t>(count) * sizeof(AxisPoint));
}

constexpr std::int32_t kMinimumStep = 4;
constexpr std::int32_t kMaximumStep = 1024;

}  // namespace

AxisPointArray::~AxisPointArray() {
  std::free(data_);
}

void AxisPointArray::setSize(std::int32_t newSize, std::int32_t growBy) {
  if (growBy != -1) growBy_ = growBy;
  if (newSize < 0) newSize = 0;

  if (newSize == 0) {
    std::free(data_);
    data_ = nullptr;
    size_ = 0;
    capacity_ = 0;
    return;
  }
  if (data_ == nullptr) {
    data_ = allocateSlots(newSize);
    zeroSlots(data_, newSize);
    size_ = newSize;
    capacity_ = newSize;
    return;
  }
  if (newSize <= capacity_) {
    if (newSize > size_) zeroSlots(data_ + size_, newSize - size_);
    size_ = newSize;
    return;
  }

  std::int32_t step = growBy_;
  if (step == 0) step = std::clamp(size_ / 8, kMinimumStep, kMaximumStep);
  const std::int64_t stepped = std::int64_t{capacity_} + step;
  const std::int32_t newCapacity =
      stepped > newSize && stepped <= INT32_MAX ? static_cast<std::int32_t>(stepped) : newSize;
  AxisPoint* block = allocateSlots(newCapacity);
  std::memcpy(static_cast<void*>(block), data_,
              static_cast<std::size_t>(size_) * sizeof(AxisPoint));
  zeroSlots(block + size_, newSize - size_);
  std::free(data_);
  data_ = block;
  size_ = newSize;
  capacity_ = newCapacity;
}

void AxisPointArray::add(const AxisPoint& point) {
  // Copy first: `point` may live in this array's block, which may move.
  const AxisPoint copy = point;
  setSize(size_ + 1, -1);
  data_[size_ - 1] = copy;
}

void AxisPointArray::removeAt(std::int32_t index) {
  std::memmove(static_cast<void*>(data_ + index), data_ + index + 1,
               static_cast<std::size_t>(size_ - index - 1) * sizeof(AxisPoint));
  --size_;
}

void AxisPointArray::serialize(ui::Archive& archive) {
  if (archive.isStoring()) {
    archive.writeCount(static_cast<std::uint32_t>(size_));
    if (size_ > 0) archive.write(data_, static_cast<std::size_t>(size_) * sizeof(AxisPoint));
    return;
  }
  const std::uint32_t count = archive.readCount();
  if (count > static_cast<std::uint32_t>(INT32_MAX))
    throw ui::ArchiveError{"point count too large"};
  setSize(static_cast<std::int32_t>(count), -1);
  if (size_ > 0) archive.read(data_, static_cast<std::size_t>(size_) * sizeof(AxisPoint));
}

void AxisPointArray::assertValid() const {}

void AxisPointArray::dump(std::ostream&) const {}

}  // namespace tavrin
