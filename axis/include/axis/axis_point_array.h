#pragma once

#include <cstdint>
#include <iosfwd>

#include "axis/axis_point.h"
#include "ui/object.h"

namespace tavrin {

// A growable array of AxisPoint in one contiguous block, which it owns.
// A new array holds no block. Growth follows setSize(); removing a point keeps
// the block and the capacity. Not copyable: an axis holds its array by value
// and owns it.
class AxisPointArray : public ui::Object {
 public:
  AxisPointArray() = default;
  AxisPointArray(const AxisPointArray&) = delete;
  AxisPointArray& operator=(const AxisPointArray&) = delete;
  // Releases the block.
  ~AxisPointArray() override;

  // Storing: the element count in the archive's count form, then the raw
  // bytes of the points in use (four doubles each). Loading: reads the count,
  // resizes by setSize() and reads the bytes back. A short archive throws
  // ui::ArchiveError; the array then holds the count's slots, zeroed as far as
  // nothing was read.
  void serialize(ui::Archive& archive) override;
  // Nothing to check.
  void assertValid() const override;
  // Writes nothing.
  void dump(std::ostream& out) const override;

  // Sets the number of points in use to `newSize` (at least 0; a negative
  // count is treated as 0). `growBy` -1 keeps the stored growth step, any
  // other value replaces it first; a step of 0 means automatic: size / 8,
  // kept within 4 and 1024. Size 0 releases the block. Slots that come into
  // use are zeroed; shrinking keeps the block and the slots beyond the size.
  // Growing past the capacity allocates capacity + step slots (or newSize
  // when larger) and copies the points in use. Out of memory throws
  // std::bad_alloc and leaves the array as it was.
  void setSize(std::int32_t newSize, std::int32_t growBy = -1);
  // Appends a copy of `point` (setSize(size + 1), then the copy).
  void add(const AxisPoint& point);
  // Removes the point at `index` (0 <= index < size) by moving the later
  // points down one slot; the block and the capacity stay.
  void removeAt(std::int32_t index);

  // Slot access for 0 <= index < size; anything else is a programming error.
  AxisPoint& operator[](std::int32_t index) { return data_[index]; }
  const AxisPoint& operator[](std::int32_t index) const { return data_[index]; }

  // Null while no block is held.
  const AxisPoint* data() const { return data_; }
  std::int32_t size() const { return size_; }
  std::int32_t capacity() const { return capacity_; }
  std::int32_t growBy() const { return growBy_; }

 private:
  AxisPoint* data_ = nullptr;
  std::int32_t size_ = 0;
  std::int32_t capacity_ = 0;
  std::int32_t growBy_ = 0;
};

}  // namespace tavrin
