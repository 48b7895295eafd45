#include "text/trim.h"

namespace text {
namespace {

bool isBlank(char c) {
  return c == ' ' || c == '\t';
}

}  // namespace

std::string_view trimBlanks(std::string_view text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && isBlank(text[begin])) ++begin;
  while (end > begin && isBlank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

std::string_view trimBlanksAndTrailingCr(std::string_view text) {
  std::size_t end = text.size();
  while (end > 0 && (isBlank(text[end - 1]) || text[end - 1] == '\r')) --end;
  return trimBlanks(text.substr(0, end));
}

}  // namespace text
