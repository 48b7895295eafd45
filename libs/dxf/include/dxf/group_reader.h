#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "base/status.h"
#include "text/decimal.h"
#include "text/trim.h"

// Splits DXF text into its group-code/value pairs. Each pair is two lines: the
// group code (an integer, blanks around it allowed) and the value (only a
// trailing CR is stripped, so blanks in texts survive). Lines end with LF or
// CR LF and have no length limit. Comments (group 999) are skipped.
namespace cad::dxf {

struct Group {
  // How the value came: as text (ASCII DXF, and strings of binary DXF) or as
  // a number already decoded (binary DXF).
  enum class Kind : unsigned char { kText, kReal, kInteger };

  int code = 0;
  Kind kind = Kind::kText;
  std::string_view value;  // kText: points into the drawing being read
  double real = 0.0;       // kReal
  long long integer = 0;   // kInteger
  // Where the group code and its value are: 1-based lines in ASCII DXF, byte
  // offsets from the start of the file in binary DXF.
  std::size_t line = 0;
  std::size_t valueLine = 0;
};

// What one call of a group reader's next() found. Reading a group is the
// reader's inner loop, so the step answers this enum; only a kError fills the
// caller's base::Status, which says why.
enum class GroupStep : unsigned char { kPair, kEndOfText, kError };

class GroupReader {
 public:
  // `text` must outlive the reader and every Group it hands out. `fileName`
  // only names the text in failure messages.
  explicit GroupReader(std::string_view text, std::string_view fileName = {})
      : data_(text.data()), size_(text.size()), fileName_(fileName) {}

  // kPair with `group` filled; kEndOfText when no line is left; kError with
  // `failure` set ("<file>:<line>: <what>") for a code line that is not an
  // integer or a code line with no value line after it.
  GroupStep next(Group& group, base::Status& failure) {
    for (;;) {
      std::string_view codeLine;
      if (!takeLine(codeLine)) return GroupStep::kEndOfText;
      const std::size_t codeLineNumber = line_;
      std::optional<long long> code = parseCode(codeLine);
      if (!code)
        return fail(failure, codeLineNumber,
                    "group code \"" + printable(codeLine) + "\" is not an integer");
      if (*code < -5 || *code > 1071)
        return fail(failure, codeLineNumber,
                    "group code " + std::to_string(*code) + " is out of range");
      std::string_view value;
      if (!takeLine(value))
        return fail(failure, codeLineNumber,
                    "the file ends after group code " + std::to_string(*code) +
                        " without its value (truncated?)");
      if (*code == 999) continue;
      group.code = static_cast<int>(*code);
      group.value = value;
      group.line = codeLineNumber;
      group.valueLine = codeLineNumber + 1;
      return GroupStep::kPair;
    }
  }

  // Number of lines consumed so far: where the text ended.
  std::size_t endLocation() const { return line_; }

  // "<file>:<line>", or `fileName` alone for line 0 (no place applies).
  static std::string where(std::string_view fileName, std::size_t line) {
    std::string text(fileName);
    if (line > 0) {
      text += ':';
      text += std::to_string(line);
    }
    return text;
  }

  // A short excerpt of `text` for messages, valid UTF-8 whatever the bytes:
  // control bytes become '?', bytes 0x80 to 0xFF "\xNN" (their code page is
  // not known here), long texts are cut.
  static std::string printable(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    const std::size_t limit = 40;
    for (std::size_t i = 0; i < text.size() && i < limit; ++i) {
      unsigned char c = static_cast<unsigned char>(text[i]);
      if (c >= 0x80) {
        out += "\\x";
        out.push_back(kHex[c >> 4]);
        out.push_back(kHex[c & 0xF]);
      } else {
        out.push_back(c < 0x20 || c == 0x7F ? '?' : static_cast<char>(c));
      }
    }
    if (text.size() > limit) out += "...";
    return out;
  }

 private:
  // The first LF in [p, end), or null. DXF lines are mostly short: the
  // first 32 bytes are searched eight at a time, the rest by memchr.
  static const char* findNewline(const char* p, const char* end) {
    static_assert(std::endian::native == std::endian::little);
    constexpr std::uint64_t kOnes = 0x0101010101010101ull;
    for (int word = 0; word < 4 && end - p >= 8; ++word, p += 8) {
      std::uint64_t bytes;
      std::memcpy(&bytes, p, 8);
      const std::uint64_t x = bytes ^ (kOnes * '\n');  // zero where a byte is LF
      const std::uint64_t zero = (x - kOnes) & ~x & (kOnes << 7);
      if (zero != 0) return p + (std::countr_zero(zero) >> 3);
    }
    return static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
  }

  bool takeLine(std::string_view& line) {
    if (pos_ >= size_) return false;
    const char* start = data_ + pos_;
    const std::size_t left = size_ - pos_;
    const char* newline = findNewline(start, start + left);
    std::size_t length = newline ? static_cast<std::size_t>(newline - start) : left;
    pos_ += newline ? length + 1 : length;
    if (length > 0 && start[length - 1] == '\r') --length;
    line = std::string_view(start, length);
    ++line_;
    return true;
  }

  static std::optional<long long> parseCode(std::string_view text);

  GroupStep fail(base::Status& failure, std::size_t line, const std::string& message) const {
    failure = base::Status::error(where(fileName_, line) + ": " + message);
    return GroupStep::kError;
  }

  const char* data_;
  std::size_t size_;
  std::string_view fileName_;
  std::size_t pos_ = 0;
  std::size_t line_ = 0;
};

// Strict number parsing of DXF values: the syntax of text::parseReal and
// text::parseInteger (blanks around the number allowed, anything else that is
// not part of it makes it none: null), except that a DXF value may also keep
// carriage returns at its end, among the blanks.
//
// Inline, as the reader parses most values: a value the text library reads
// holds no CR, so the CRs are trimmed only for the few values it refuses.
inline std::optional<double> parseReal(std::string_view text) {
  if (std::optional<double> number = text::parseReal(text)) return number;
  return text::parseReal(text::trimBlanksAndTrailingCr(text));
}
inline std::optional<long long> parseInteger(std::string_view text) {
  if (std::optional<long long> number = text::parseInteger(text)) return number;
  return text::parseInteger(text::trimBlanksAndTrailingCr(text));
}
// A handle: 1 to 16 hexadecimal digits, blanks and trailing carriage returns
// around them allowed.
std::optional<std::uint64_t> parseHandle(std::string_view text);

// Most code lines are one to three digits, right-aligned in three columns;
// those take the short way, everything else the general parse.
inline std::optional<long long> GroupReader::parseCode(std::string_view text) {
  const char* p = text.data();
  const char* end = p + text.size();
  while (p < end && *p == ' ') ++p;
  if (p < end && end - p <= 4) {
    long long code = 0;
    const char* digit = p;
    while (digit < end && *digit >= '0' && *digit <= '9') code = code * 10 + (*digit++ - '0');
    if (digit == end) return code;
  }
  return parseInteger(text);
}

}  // namespace cad::dxf
