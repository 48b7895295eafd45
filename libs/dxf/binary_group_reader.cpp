#include "dxf/binary_group_reader.h"

#include <algorithm>
#include <array>
#include <bit>

namespace cad::dxf {
namespace {

constexpr int kCodeLimit = 1072;  // codes 0 to 1071

}  // namespace

BinaryGroupReader::Type BinaryGroupReader::typeOf(int code) {
  static constexpr auto kTypes = [] {
    std::array<Type, kCodeLimit> types{};
    auto set = [&types](int first, int last, Type type) {
      for (int c = first; c <= last; ++c) types[static_cast<std::size_t>(c)] = type;
    };
    set(0, 9, Type::kString);
    set(10, 59, Type::kReal);
    set(60, 79, Type::kInt16);
    set(90, 99, Type::kInt32);
    set(100, 109, Type::kString);
    set(110, 149, Type::kReal);
    set(160, 169, Type::kInt64);
    set(170, 179, Type::kInt16);
    set(210, 239, Type::kReal);
    set(270, 289, Type::kInt16);
    set(290, 299, Type::kBool);
    set(300, 309, Type::kString);
    set(310, 319, Type::kChunk);
    set(320, 369, Type::kString);
    set(370, 389, Type::kInt16);
    set(390, 399, Type::kString);
    set(400, 409, Type::kInt16);
    set(410, 419, Type::kString);
    set(420, 429, Type::kInt32);
    set(430, 439, Type::kString);
    set(440, 459, Type::kInt32);
    set(460, 469, Type::kReal);
    set(470, 481, Type::kString);
    set(999, 1009, Type::kString);
    set(1004, 1004, Type::kChunk);
    set(1010, 1059, Type::kReal);
    set(1060, 1070, Type::kInt16);
    set(1071, 1071, Type::kInt32);
    return types;
  }();
  return code >= 0 && code < kCodeLimit ? kTypes[static_cast<std::size_t>(code)] : Type::kNone;
}

BinaryGroupReader::BinaryGroupReader(std::string_view file, std::string_view fileName)
    : data_(file.data()),
      size_(file.size()),
      pos_(std::min(file.size(), kBinaryDxfSentinel.size())),
      fileName_(fileName) {
  // Both forms start with group 0 (SECTION): "00 'S'" with one-byte codes,
  // "00 00" with two; a leading comment (999) is "E7 03" with two.
  const unsigned char* first = reinterpret_cast<const unsigned char*>(data_ + pos_);
  const bool twoBytes = size_ - pos_ >= 2 &&
                        ((first[0] == 0 && first[1] == 0) || (first[0] == 0xE7 && first[1] == 3));
  shortCodes_ = !twoBytes;
}

// Reads the code at pos_ into `code`; false when the file ends inside it.
inline bool BinaryGroupReader::readCode(int& code) {
  if (shortCodes_ && static_cast<unsigned char>(data_[pos_]) != 255) {
    code = static_cast<unsigned char>(data_[pos_]);
    ++pos_;
    return true;
  }
  if (shortCodes_) ++pos_;
  if (!has(2)) return false;
  code = static_cast<std::int16_t>(little(2));
  pos_ += 2;
  return true;
}

template <class Integer>
inline bool BinaryGroupReader::readInteger(Group& group) {
  if (!has(sizeof(Integer))) return false;
  group.kind = Group::Kind::kInteger;
  group.integer = static_cast<Integer>(little(sizeof(Integer)));
  pos_ += sizeof(Integer);
  return true;
}

// Reads a value of `type` at pos_ into `group`; false when the file ends
// inside it. Forced inline: as a call, it costs binary reading a few percent.
[[gnu::always_inline]] inline bool BinaryGroupReader::readValue(Type type, Group& group) {
  switch (type) {
    case Type::kString: {
      const void* nul = std::memchr(data_ + pos_, 0, size_ - pos_);
      if (nul == nullptr) return false;
      const auto length = static_cast<std::size_t>(static_cast<const char*>(nul) - (data_ + pos_));
      group.kind = Group::Kind::kText;
      group.value = std::string_view(data_ + pos_, length);
      pos_ += length + 1;
      return true;
    }
    case Type::kChunk: {
      if (!has(1)) return false;
      const std::size_t length = static_cast<unsigned char>(data_[pos_]);
      if (!has(1 + length)) return false;
      group.kind = Group::Kind::kText;
      group.value = std::string_view(data_ + pos_ + 1, length);
      pos_ += 1 + length;
      return true;
    }
    case Type::kReal:
      if (!has(8)) return false;
      group.kind = Group::Kind::kReal;
      group.real = std::bit_cast<double>(little(8));
      pos_ += 8;
      return true;
    case Type::kInt16:
      return readInteger<std::int16_t>(group);
    case Type::kInt32:
      return readInteger<std::int32_t>(group);
    case Type::kInt64:
      return readInteger<std::int64_t>(group);
    case Type::kBool:
      return readInteger<unsigned char>(group);
    case Type::kNone:
      break;
  }
  return false;
}

GroupStep BinaryGroupReader::fail(base::Status& failure, std::size_t offset,
                                  const std::string& message) const {
  failure = base::Status::error(where(fileName_, offset) + ": " + message);
  return GroupStep::kError;
}

GroupStep BinaryGroupReader::next(Group& group, base::Status& failure) {
  for (;;) {
    if (pos_ >= size_) return GroupStep::kEndOfText;
    const std::size_t codeAt = pos_;
    int code = 0;
    if (!readCode(code))
      return fail(failure, codeAt, "the file ends inside a group code (truncated?)");
    const Type type = typeOf(code);
    if (type == Type::kNone)
      return fail(failure, codeAt,
                  "group code " + std::to_string(code) + " is not a DXF group code (corrupt?)");
    const std::size_t valueAt = pos_;
    if (!readValue(type, group))
      return fail(
          failure, codeAt,
          "the file ends inside the value of group " + std::to_string(code) + " (truncated?)");
    if (code == 999) continue;
    group.code = code;
    group.line = codeAt;
    group.valueLine = valueAt;
    return GroupStep::kPair;
  }
}

}  // namespace cad::dxf
