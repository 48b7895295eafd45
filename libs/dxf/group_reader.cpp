#include "dxf/group_reader.h"

#include <charconv>

#include "text/trim.h"

namespace cad::dxf {

std::optional<std::uint64_t> parseHandle(std::string_view text) {
  text = text::trimBlanksAndTrailingCr(text);
  if (text.empty() || text.size() > 16 || text[0] == '-' || text[0] == '+') return std::nullopt;
  std::uint64_t value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

}  // namespace cad::dxf
