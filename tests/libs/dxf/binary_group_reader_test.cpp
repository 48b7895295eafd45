#include "dxf/binary_group_reader.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <string>
#include <vector>

namespace {

using cad::dxf::BinaryGroupReader;
using cad::dxf::Group;
using cad::dxf::GroupStep;

// Little-endian bytes of `value`, `size` of them.
std::string le(std::uint64_t value, std::size_t size) {
  std::string out;
  for (std::size_t i = 0; i < size; ++i) out.push_back(static_cast<char>(value >> (8 * i)));
  return out;
}

std::string real(double value) {
  return le(std::bit_cast<std::uint64_t>(value), 8);
}

std::string str(std::string_view text) {
  return std::string(text) + std::string(1, '\0');
}

// A file of two-byte codes (the later formats).
std::string longCodes(const std::string& groups) {
  return std::string(cad::dxf::kBinaryDxfSentinel) + le(0, 2) + str("SECTION") + groups;
}

// A file of one-byte codes (the 12 format).
std::string shortCodes(const std::string& groups) {
  return std::string(cad::dxf::kBinaryDxfSentinel) + le(0, 1) + str("SECTION") + groups;
}

struct Read {
  std::vector<Group> groups;
  GroupStep last;
  base::Status error = base::Status::ok();
};

Read readAll(const std::string& file) {
  BinaryGroupReader reader(file, "t.dxf");
  Read read;
  Group group;
  while ((read.last = reader.next(group, read.error)) == GroupStep::kPair)
    read.groups.push_back(group);
  return read;
}

TEST(BinaryGroupReader, TypesEachValueByItsCodeInBothCodeSizes) {
  const std::string chunk = le(3, 1) + std::string("\x00\xFF\x10", 3);
  const std::string longForm = longCodes(
      le(10, 2) + real(-1.25) + le(70, 2) + le(0xFFFE, 2) + le(90, 2) + le(0x80000000u, 4) +
      le(160, 2) + le(1ull << 40, 8) + le(290, 2) + le(1, 1) + le(310, 2) + chunk + le(999, 2) +
      str("a comment") + le(1071, 2) + le(7, 4) + le(1, 2) + str("") + le(5, 2) + str("2F"));
  const std::string shortForm = shortCodes(
      le(10, 1) + real(-1.25) + le(70, 1) + le(0xFFFE, 2) + le(90, 1) + le(0x80000000u, 4) +
      le(160, 1) + le(1ull << 40, 8) + le(255, 1) + le(290, 2) + le(1, 1) + le(255, 1) +
      le(310, 2) + chunk + le(255, 1) + le(999, 2) + str("a comment") + le(255, 1) + le(1071, 2) +
      le(7, 4) + le(1, 1) + str("") + le(5, 1) + str("2F"));
  for (const bool isShort : {false, true}) {
    Read read = readAll(isShort ? shortForm : longForm);
    EXPECT_EQ(read.last, GroupStep::kEndOfText) << isShort << read.error.message();
    ASSERT_EQ(read.groups.size(), 10u) << isShort;
    const std::vector<Group>& g = read.groups;
    EXPECT_EQ(g[0].value, "SECTION");
    EXPECT_EQ(g[0].line, 22u);
    EXPECT_EQ(g[1].code, 10);
    EXPECT_EQ(g[1].kind, Group::Kind::kReal);
    EXPECT_EQ(g[1].real, -1.25);
    EXPECT_EQ(g[1].line, isShort ? 31u : 32u);
    EXPECT_EQ(g[1].valueLine, g[1].line + (isShort ? 1 : 2));
    EXPECT_EQ(g[2].integer, -2);  // signed 16 bits
    EXPECT_EQ(g[3].integer, -2147483648LL);
    EXPECT_EQ(g[4].integer, 1LL << 40);
    EXPECT_EQ(g[5].code, 290);
    EXPECT_EQ(g[5].integer, 1);
    EXPECT_EQ(g[6].kind, Group::Kind::kText);
    EXPECT_EQ(g[6].value, std::string("\x00\xFF\x10", 3));
    EXPECT_EQ(g[7].code, 1071);  // after the skipped comment
    EXPECT_EQ(g[7].integer, 7);
    EXPECT_EQ(g[8].value, "");
    EXPECT_EQ(g[9].value, "2F");
  }
}

TEST(BinaryGroupReader, RefusesCutAndUnknownGroupsAtTheirOffset) {
  const std::size_t first = 22 + 2 + 8;  // the group after 0/SECTION, two-byte codes
  struct Case {
    const char* label;
    std::string file;
    std::size_t offset;
    const char* message;
  } cases[] = {
      {"half a code", longCodes(le(10, 1)), first, "ends inside a group code"},
      {"cut double", longCodes(le(10, 2) + real(1).substr(0, 7)), first,
       "ends inside the value of group 10"},
      {"cut int16", longCodes(le(70, 2) + le(1, 1)), first, "value of group 70"},
      {"cut int32", longCodes(le(90, 2) + le(1, 3)), first, "value of group 90"},
      {"cut int64", longCodes(le(160, 2) + le(1, 7)), first, "value of group 160"},
      {"no bool", longCodes(le(290, 2)), first, "value of group 290"},
      {"unterminated string", longCodes(le(1, 2) + "abc"), first, "value of group 1"},
      {"cut chunk", longCodes(le(310, 2) + le(4, 1) + "abc"), first, "value of group 310"},
      {"no chunk length", longCodes(le(1004, 2)), first, "value of group 1004"},
      {"unused code", longCodes(le(85, 2) + le(0, 4)), first, "group code 85 is not"},
      {"code past the last", longCodes(le(2000, 2)), first, "group code 2000 is not"},
      {"negative code", longCodes(le(0xFFFF, 2)), first, "group code -1 is not"},
      {"cut escape", shortCodes(le(255, 1) + le(1, 1)), 22 + 1 + 8, "ends inside a group code"},
  };
  for (const Case& c : cases) {
    Read read = readAll(c.file);
    EXPECT_EQ(read.last, GroupStep::kError) << c.label;
    const std::string& message = read.error.message();
    EXPECT_EQ(message.rfind("t.dxf: byte " + std::to_string(c.offset) + ": ", 0), 0u)
        << c.label << ": " << message;
    EXPECT_NE(message.find(c.message), std::string::npos) << c.label << ": " << message;
  }
}

}  // namespace
