#include "cad/point_answer.h"

#include <charconv>
#include <cmath>
#include <system_error>
#include <vector>

#include "answer_text.h"

namespace cad {
namespace {

// One coordinate: a plain decimal number with an optional sign and exponent.
// from_chars also takes "inf", "nan" and hexadecimal forms; those are refused
// by allowing only the characters of a decimal number.
bool parseCoordinate(std::string_view text, double* value) {
  text = detail::trimBlanks(text);
  if (text.starts_with('+')) text.remove_prefix(1);
  if (text.empty() || text.find_first_not_of("0123456789.eE+-") != std::string_view::npos)
    return false;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), *value);
  return error == std::errc() && end == text.data() + text.size() && std::isfinite(*value);
}

}  // namespace

std::variant<AcGePoint3d, std::string> parsePointAnswer(std::string_view text) {
  std::vector<std::string_view> parts;
  for (std::string_view rest = text;;) {
    const auto comma = rest.find(',');
    parts.push_back(rest.substr(0, comma));
    if (comma == std::string_view::npos) break;
    rest.remove_prefix(comma + 1);
  }
  const std::string quoted = "\"" + std::string(text) + "\"";
  if (parts.size() < 2 || parts.size() > 3)
    return quoted + " is not a point: expected x,y or x,y,z";
  double coordinates[3] = {0.0, 0.0, 0.0};
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (!parseCoordinate(parts[i], &coordinates[i]))
      return quoted + " is not a point: \"" + std::string(detail::trimBlanks(parts[i])) +
             "\" is not a number";
  }
  return AcGePoint3d(coordinates[0], coordinates[1], coordinates[2]);
}

}  // namespace cad
