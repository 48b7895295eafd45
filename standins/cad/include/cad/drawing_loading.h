#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "base/result.h"
#include "cad/database.h"
#include "dwg/dwg_importer.h"

// Opening a drawing file, DXF or DWG, for every command that takes one.
namespace cad {

// The code page of drawings that name none, and why it is that one.
struct FallbackCodePage {
  std::string name;    // "ANSI_936", ...
  std::string source;  // e.g. "from --codepage", "from the locale (LANG=zh_CN.UTF-8)"
};

// Looks up an environment variable: null when it is not set (getenv's
// contract).
using Environment = std::function<const char*(const char*)>;

// The fallback code page: `option` (--codepage NAME) when given, failed
// with the known names when it is no code page; else the locale's, from the
// first of LC_ALL, LC_CTYPE and LANG that is set and not empty (zh_CN and
// zh_SG ANSI_936, zh_TW and zh_HK ANSI_950, ja ANSI_932, ko ANSI_949); else
// ANSI_1252.
base::Result<FallbackCodePage> chooseFallbackCodePage(const std::optional<std::string>& option,
                                                      const Environment& environment);

struct DrawingOptions {
  FallbackCodePage codePage{"ANSI_1252", "the default"};
  dwg::ImporterSettings importer;
};

// Loads the drawing at `path` (UTF-8): a DWG by its first bytes (see
// dwg::dwgVersionOf), whatever its name, through the importer; anything
// else as DXF. The database is the same either way; its code page and
// source say which was read and how. On failure the status names the file
// and why; no partial drawing is ever returned.
base::Result<std::unique_ptr<Database>> loadDrawing(const std::string& path,
                                                    const DrawingOptions& options);

}  // namespace cad
