#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

// Splits DXF text into its group-code/value pairs. Each pair is two lines: the
// group code (an integer, blanks around it allowed) and the value (only a
// trailing CR is stripped, so blanks in texts survive). Lines end with LF or
// CR LF and have no length limit. Comments (group 999) are skipped.
namespace cad::dxf {

struct Group {
  int code = 0;
  std::string_view value;  // points into the text being read
  std::size_t line = 0;    // 1-based line of the group code
};

// Why a pair could not be read: the line it concerns and what was wrong.
struct GroupError {
  std::size_t line = 0;
  std::string message;
};

class GroupReader {
 public:
  // `text` must outlive the reader and every Group it hands out.
  explicit GroupReader(std::string_view text) : data_(text.data()), size_(text.size()) {}

  enum class Status { kPair, kEndOfText, kError };

  // kPair with `group` filled; kEndOfText when no line is left; kError with
  // `error` set for a code line that is not an integer or a code line with no
  // value line after it.
  Status next(Group& group, GroupError& error) {
    for (;;) {
      std::string_view codeLine;
      if (!takeLine(codeLine)) return Status::kEndOfText;
      const std::size_t codeLineNumber = line_;
      std::optional<long long> code = parseCode(codeLine);
      if (!code) {
        error = {codeLineNumber, "group code \"" + printable(codeLine) + "\" is not an integer"};
        return Status::kError;
      }
      if (*code < -5 || *code > 1071) {
        error = {codeLineNumber, "group code " + std::to_string(*code) + " is out of range"};
        return Status::kError;
      }
      std::string_view value;
      if (!takeLine(value)) {
        error = {codeLineNumber, "the file ends after group code " + std::to_string(*code) +
                                     " without its value (truncated?)"};
        return Status::kError;
      }
      if (*code == 999) continue;
      group.code = static_cast<int>(*code);
      group.value = value;
      group.line = codeLineNumber;
      return Status::kPair;
    }
  }

  // Number of lines consumed so far.
  std::size_t linesRead() const { return line_; }

  // A short, printable excerpt of `text` for messages: control bytes become
  // '?', long texts are cut.
  static std::string printable(std::string_view text) {
    std::string out;
    const std::size_t limit = 40;
    for (std::size_t i = 0; i < text.size() && i < limit; ++i) {
      unsigned char c = static_cast<unsigned char>(text[i]);
      out.push_back(c < 0x20 || c == 0x7F ? '?' : static_cast<char>(c));
    }
    if (text.size() > limit) out += "...";
    return out;
  }

 private:
  bool takeLine(std::string_view& line) {
    if (pos_ >= size_) return false;
    const char* start = data_ + pos_;
    const std::size_t left = size_ - pos_;
    const void* newline = std::memchr(start, '\n', left);
    std::size_t length =
        newline ? static_cast<std::size_t>(static_cast<const char*>(newline) - start) : left;
    pos_ += newline ? length + 1 : length;
    if (length > 0 && start[length - 1] == '\r') --length;
    line = std::string_view(start, length);
    ++line_;
    return true;
  }

  static std::optional<long long> parseCode(std::string_view text);

  const char* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
  std::size_t line_ = 0;
};

// Strict number parsing of DXF values: blanks around the number are allowed,
// anything else that is not part of the number is an error (null).
std::string_view trimBlanks(std::string_view text);
// A finite decimal floating-point number; a leading '+' is allowed.
std::optional<double> parseReal(std::string_view text);
// A decimal integer; a leading '+' is allowed.
std::optional<long long> parseInteger(std::string_view text);
// A handle: 1 to 16 hexadecimal digits.
std::optional<std::uint64_t> parseHandle(std::string_view text);

inline std::optional<long long> GroupReader::parseCode(std::string_view text) {
  return parseInteger(text);
}

}  // namespace cad::dxf
