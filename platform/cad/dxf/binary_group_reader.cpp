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

BinaryGroupReader::BinaryGroupReader(std::string_view file)
    : data_(file.data()),
      size_(file.size()),
      pos_(std::min(file.size(), kBinaryDxfSentinel.size())) {
  // Both forms start with group 0 (SECTION): "00 'S'" with one-byte codes,
  // "00 00" with two; a leading comment (999) is "E7 03" with two.
  const unsigned char* first = reinterpret_cast<const unsigned char*>(data_ + pos_);
  const bool twoBytes = size_ - pos_ >= 2 &&
                        ((first[0] == 0 && first[1] == 0) || (first[0] == 0xE7 && first[1] == 3));
  shortCodes_ = !twoBytes;
}

BinaryGroupReader::Status BinaryGroupReader::next(Group& group, GroupError& error) {
  for (;;) {
    if (pos_ >= size_) return Status::kEndOfText;
    const std::size_t codeAt = pos_;
    int code;
    if (shortCodes_ && static_cast<unsigned char>(data_[pos_]) != 255) {
      code = static_cast<unsigned char>(data_[pos_]);
      ++pos_;
    } else {
      if (shortCodes_) ++pos_;
      if (!has(2)) {
        error = {codeAt, "the file ends inside a group code (truncated?)"};
        return Status::kError;
      }
      code = static_cast<std::int16_t>(little(2));
      pos_ += 2;
    }
    const Type type = typeOf(code);
    if (type == Type::kNone) {
      error = {codeAt,
               "group code " + std::to_string(code) + " is not a DXF group code (corrupt?)"};
      return Status::kError;
    }
    const std::size_t valueAt = pos_;
    switch (type) {
      case Type::kString: {
        const void* nul = std::memchr(data_ + pos_, 0, size_ - pos_);
        if (nul == nullptr) break;
        const auto length =
            static_cast<std::size_t>(static_cast<const char*>(nul) - (data_ + pos_));
        group.kind = Group::Kind::kText;
        group.value = std::string_view(data_ + pos_, length);
        pos_ += length + 1;
        break;
      }
      case Type::kChunk: {
        if (!has(1)) break;
        const std::size_t length = static_cast<unsigned char>(data_[pos_]);
        if (!has(1 + length)) break;
        group.kind = Group::Kind::kText;
        group.value = std::string_view(data_ + pos_ + 1, length);
        pos_ += 1 + length;
        break;
      }
      case Type::kReal:
        if (!has(8)) break;
        group.kind = Group::Kind::kReal;
        group.real = std::bit_cast<double>(little(8));
        pos_ += 8;
        break;
      case Type::kInt16:
        if (!has(2)) break;
        group.kind = Group::Kind::kInteger;
        group.integer = static_cast<std::int16_t>(little(2));
        pos_ += 2;
        break;
      case Type::kInt32:
        if (!has(4)) break;
        group.kind = Group::Kind::kInteger;
        group.integer = static_cast<std::int32_t>(little(4));
        pos_ += 4;
        break;
      case Type::kInt64:
        if (!has(8)) break;
        group.kind = Group::Kind::kInteger;
        group.integer = static_cast<std::int64_t>(little(8));
        pos_ += 8;
        break;
      case Type::kBool:
        if (!has(1)) break;
        group.kind = Group::Kind::kInteger;
        group.integer = static_cast<unsigned char>(data_[pos_]);
        pos_ += 1;
        break;
      case Type::kNone:
        break;
    }
    if (pos_ == valueAt) {
      error = {codeAt,
               "the file ends inside the value of group " + std::to_string(code) + " (truncated?)"};
      return Status::kError;
    }
    if (code == 999) continue;
    group.code = code;
    group.line = codeAt;
    group.valueLine = valueAt;
    return Status::kPair;
  }
}

}  // namespace cad::dxf
