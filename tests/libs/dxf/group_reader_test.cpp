#include "dxf/group_reader.h"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

using cad::dxf::Group;
using cad::dxf::GroupReader;
using cad::dxf::GroupStep;

struct Pair {
  int code;
  std::string value;
  std::size_t line;
};

// Reads every pair; stops at the first error, which it returns in `error`.
std::vector<Pair> readAll(std::string_view text, base::Status* error = nullptr,
                          GroupStep* last = nullptr) {
  GroupReader reader(text, "t.dxf");
  std::vector<Pair> pairs;
  Group group;
  base::Status e = base::Status::ok();
  GroupStep status;
  while ((status = reader.next(group, e)) == GroupStep::kPair)
    pairs.push_back({group.code, std::string(group.value), group.line});
  if (error != nullptr) *error = e;
  if (last != nullptr) *last = status;
  return pairs;
}

TEST(GroupReader, SplitsPairsWithLfOrCrLfAndTrimsOnlyTheCodeLine) {
  struct Case {
    const char* label;
    std::string text;
  } cases[] = {
      {"lf", "  0\nSECTION\n  1\n  two spaces  \n"},
      {"cr lf", "  0\r\nSECTION\r\n  1\r\n  two spaces  \r\n"},
      {"no final line end", "0\nSECTION\n1\n  two spaces  "},
      {"tabs around code", "\t0 \nSECTION\n 1\t\n  two spaces  \n"},
  };
  for (const Case& c : cases) {
    GroupStep last;
    std::vector<Pair> pairs = readAll(c.text, nullptr, &last);
    ASSERT_EQ(pairs.size(), 2u) << c.label;
    EXPECT_EQ(last, GroupStep::kEndOfText) << c.label;
    EXPECT_EQ(pairs[0].code, 0) << c.label;
    EXPECT_EQ(pairs[0].value, "SECTION") << c.label;
    EXPECT_EQ(pairs[0].line, 1u) << c.label;
    EXPECT_EQ(pairs[1].code, 1) << c.label;
    EXPECT_EQ(pairs[1].value, "  two spaces  ") << c.label;
    EXPECT_EQ(pairs[1].line, 3u) << c.label;
  }
}

TEST(GroupReader, ReadsEveryFormOfTheCodeLine) {
  struct Case {
    const char* line;
    int code;
  } cases[] = {{"0", 0},     {"  8", 8},   {" 10", 10},  {"100", 100}, {"1071", 1071},
               {"0010", 10}, {"   5", 5},  {"+70", 70},  {"-5", -5},   {"\t62", 62},
               {"40 ", 40},  {"  1\r", 1}, {" 999", 999}};
  for (const Case& c : cases) {
    std::vector<Pair> pairs = readAll(std::string(c.line) + "\nvalue\n");
    ASSERT_EQ(pairs.size(), c.code == 999 ? 0u : 1u) << c.line;
    if (c.code != 999) {
      EXPECT_EQ(pairs[0].code, c.code) << c.line;
    }
  }
}

TEST(GroupReader, SkipsCommentsButCountsTheirLines) {
  std::vector<Pair> pairs = readAll("999\nmade by hand\n  0\nEOF\n");
  ASSERT_EQ(pairs.size(), 1u);
  EXPECT_EQ(pairs[0].value, "EOF");
  EXPECT_EQ(pairs[0].line, 3u);
}

TEST(GroupReader, ReadsLinesOfAnyLength) {
  std::string text(100000, 'x');
  std::vector<Pair> pairs = readAll("  1\n" + text + "\n  0\nEOF\n");
  ASSERT_EQ(pairs.size(), 2u);
  EXPECT_EQ(pairs[0].value, text);
  EXPECT_EQ(pairs[1].line, 3u);
}

TEST(GroupReader, ReportsBadCodesAndMissingValuesWithTheirLine) {
  struct Case {
    const char* label;
    std::string text;
    std::size_t line;
    std::string message;
  } cases[] = {
      {"word as code", "  0\nSECTION\nten\n1.0\n", 3, "group code \"ten\" is not an integer"},
      {"number with junk", "  0\nSECTION\n 10x\n1.0\n", 3, "group code \" 10x\" is not an integer"},
      {"real as code", "10.5\n1.0\n", 1, "is not an integer"},
      {"empty code line", "\nvalue\n", 1, "group code \"\" is not an integer"},
      {"code out of range", "5000\nx\n", 1, "group code 5000 is out of range"},
      {"value missing", "  0\nSECTION\n  2\n", 3, "without its value"},
  };
  for (const Case& c : cases) {
    base::Status error = base::Status::ok();
    GroupStep last;
    readAll(c.text, &error, &last);
    EXPECT_EQ(last, GroupStep::kError) << c.label;
    const std::string& message = error.message();
    EXPECT_EQ(message.rfind("t.dxf:" + std::to_string(c.line) + ": ", 0), 0u)
        << c.label << ": " << message;
    EXPECT_NE(message.find(c.message), std::string::npos) << c.label << ": " << message;
  }
}

// DXF values read as text::parseReal and text::parseInteger read numbers,
// and may keep carriage returns at their end.
TEST(DxfNumbers, ReadNumbersAndHandlesStrictly) {
  struct Case {
    const char* text;
    std::optional<double> expected;
  } reals[] = {
      {"512345.678", 512345.678},
      {"  -1.5e3 ", -1500.0},
      {"+2", 2.0},
      {"0.5\r", 0.5},
      {"7 \r\r", 7.0},
      {"1.0abc", std::nullopt},
      {"\r1", std::nullopt},
      {"1\r2", std::nullopt},
      {"inf\r", std::nullopt},
  };
  for (const Case& c : reals) EXPECT_EQ(cad::dxf::parseReal(c.text), c.expected) << c.text;

  struct IntegerCase {
    const char* text;
    std::optional<long long> expected;
  } integers[] = {
      {"     1", 1},
      {"-7", -7},
      {"+3", 3},
      {"70\r", 70},
      {"1.0", std::nullopt},
      {"", std::nullopt},
      {"99999999999999999999", std::nullopt},
  };
  for (const IntegerCase& c : integers)
    EXPECT_EQ(cad::dxf::parseInteger(c.text), c.expected) << c.text;

  struct HandleCase {
    const char* text;
    std::optional<std::uint64_t> expected;
  } handles[] = {
      {"2F", 0x2F},
      {"ffffffffffffffff", 0xFFFFFFFFFFFFFFFFull},
      {"10000000000", 0x10000000000ull},
      {"1ffffffffffffffff", std::nullopt},
      {"", std::nullopt},
      {"-1", std::nullopt},
      {"G1", std::nullopt},
      {" 2F \r", 0x2F},
  };
  for (const HandleCase& c : handles)
    EXPECT_EQ(cad::dxf::parseHandle(c.text), c.expected) << c.text;
}

}  // namespace
