#pragma once

#include <optional>
#include <string>
#include <string_view>

// What a DWG file's first six bytes say: the file's version ("AC1015") and
// the release that wrote it. A file is taken as DWG by these bytes alone,
// whatever its name.
namespace cad::dwg {

struct DwgVersion {
  std::string code;     // the signature as in the file, e.g. "AC1015", "AC2.10"
  std::string release;  // e.g. "R14", "2000", "R2.10"; "unknown" for codes not listed
  // True for R13 (AC1012) to 2018 (AC1032), the versions the importer opens.
  bool opens = false;
  // True for the releases before R13.
  bool older = false;
};

// The version named by `head`, the first bytes of a file; null when they
// are no DWG signature ("AC" and four digits or dots).
std::optional<DwgVersion> dwgVersionOf(std::string_view head);

// "DWG 2000 (AC1015)", for messages.
std::string describe(const DwgVersion& version);

}  // namespace cad::dwg
