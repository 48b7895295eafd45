#include "cad/point_answer.h"

#include <optional>
#include <vector>

#include "cad/typed_forms.h"
#include "dxf/group_reader.h"
#include "text/trim.h"

namespace cad {
namespace {

// One coordinate: a finite decimal number with one optional sign and an
// exponent, the drawing reader's syntax ("+-5", "inf" and "nan" are none).
bool parseCoordinate(std::string_view text, double* value) {
  const std::optional<double> read = dxf::parseReal(text);
  if (read) *value = *read;
  return read.has_value();
}

}  // namespace

base::Result<AcGePoint3d> parsePointAnswer(std::string_view typed) {
  const std::string normalized = withAsciiForms(typed);
  const std::string_view text = normalized;
  std::vector<std::string_view> parts;
  for (std::string_view rest = text;;) {
    const auto comma = rest.find(',');
    parts.push_back(rest.substr(0, comma));
    if (comma == std::string_view::npos) break;
    rest.remove_prefix(comma + 1);
  }
  std::string quoted(1, '"');
  quoted.append(text).push_back('"');
  if (parts.size() < 2 || parts.size() > 3)
    return base::Status::error(quoted + " is not a point: expected x,y or x,y,z");
  double coordinates[3] = {0.0, 0.0, 0.0};
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (!parseCoordinate(parts[i], &coordinates[i]))
      return base::Status::error(quoted + " is not a point: \"" +
                                 std::string(text::trimBlanks(parts[i])) + "\" is not a number");
  }
  return AcGePoint3d(coordinates[0], coordinates[1], coordinates[2]);
}

}  // namespace cad
