#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace ui {

// An in-memory archive: objects serialise into it when it is storing and out
// of it when it is loading. Reading past the end throws ArchiveError.
class Archive {
 public:
  enum class Mode { kStore, kLoad };

  // A storing archive that starts empty.
  Archive() : mode_(Mode::kStore) {}
  // A loading archive over `bytes`.
  explicit Archive(std::string bytes) : mode_(Mode::kLoad), bytes_(std::move(bytes)) {}

  bool isStoring() const { return mode_ == Mode::kStore; }
  bool isLoading() const { return mode_ == Mode::kLoad; }
  const std::string& bytes() const { return bytes_; }

  // Counts take 2 bytes below 0xFFFF; otherwise 0xFFFF followed by 4 bytes,
  // little-endian.
  void writeCount(std::uint32_t count);
  std::uint32_t readCount();

  void write(const void* data, std::size_t size);
  void read(void* data, std::size_t size);

 private:
  Mode mode_;
  std::string bytes_;
  std::size_t position_ = 0;
};

// What went wrong reading or writing an archive. A standard exception, so
// whoever catches std::exception can name the reason. Archives throw rather
// than answer a base::Status: serialising code reads field after field and
// is written for a library that throws at the first short read.
struct ArchiveError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

}  // namespace ui
