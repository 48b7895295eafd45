#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "dxf/group_reader.h"

// Splits binary DXF into its group-code/value pairs. After the 22-byte
// sentinel come the groups: the code as one byte (255 escapes to a 16-bit
// code; drawings of the 12 format and before) or as two bytes (later
// formats), then the value typed by the code's range: a zero-terminated
// string, a 16-, 32- or 64-bit integer, an IEEE double, a one-byte boolean or
// a binary chunk (a length byte and that many bytes). All little-endian.
// Comments (group 999) are skipped. Locations are byte offsets in the file.
namespace cad::dxf {

// The 22-byte first line of every binary DXF file, ending in CR LF SUB NUL.
inline constexpr std::string_view kBinaryDxfSentinel{"AutoCAD Binary DXF\r\n\x1a\0", 22};

class BinaryGroupReader {
 public:
  // `file` is the whole file, sentinel included; it must outlive the reader
  // and every Group it hands out. `fileName` only names the file in failure
  // messages.
  explicit BinaryGroupReader(std::string_view file, std::string_view fileName = {});

  // kPair with `group` filled (strings and binary chunks as kText, numbers
  // as kReal or kInteger); kEndOfText when no byte is left; kError with
  // `failure` set ("<file>: byte <offset>: <what>") for a code no DXF group
  // has or a group cut off by the end of the file. Never reads past the end.
  GroupStep next(Group& group, base::Status& failure);

  // The size of the file: where it ended.
  std::size_t endLocation() const { return size_; }
  // "<file>: byte <offset>", or `fileName` alone for offset 0 (no place
  // applies).
  static std::string where(std::string_view fileName, std::size_t offset) {
    std::string text(fileName);
    if (offset > 0) text += ": byte " + std::to_string(offset);
    return text;
  }
  // True when the drawing uses one-byte group codes (the 12 format).
  bool shortCodes() const { return shortCodes_; }

 private:
  enum class Type : unsigned char { kNone, kString, kReal, kInt16, kInt32, kInt64, kBool, kChunk };
  static Type typeOf(int code);

  // The steps of next(); each false when the file ends inside what it reads.
  bool readCode(int& code);
  bool readValue(Type type, Group& group);
  template <class Integer>
  bool readInteger(Group& group);
  GroupStep fail(base::Status& failure, std::size_t offset, const std::string& message) const;

  bool has(std::size_t bytes) const { return size_ - pos_ >= bytes; }
  std::uint64_t little(std::size_t bytes) const {
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < bytes; ++i)
      value |= std::uint64_t{static_cast<unsigned char>(data_[pos_ + i])} << (8 * i);
    return value;
  }

  const char* data_;
  std::size_t size_;
  std::size_t pos_;
  std::string_view fileName_;
  bool shortCodes_;
};

}  // namespace cad::dxf
