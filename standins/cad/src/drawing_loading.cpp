#include "cad/drawing_loading.h"

#include <array>
#include <fstream>
#include <string_view>

#include "dwg/dwg_version.h"
#include "dxf/text_decoder.h"

namespace cad {
namespace {

// Whether `locale` is `language`, or `language` followed by a territory,
// code set or modifier; `language` may name a territory ("zh_CN").
bool localeIs(std::string_view locale, std::string_view language) {
  if (!locale.starts_with(language)) return false;
  if (locale.size() == language.size()) return true;
  const char next = locale[language.size()];
  return next == '.' || next == '@' || (next == '_' && language.find('_') == std::string::npos);
}

std::string codePageOfLocale(std::string_view locale) {
  struct Entry {
    std::string_view language;
    std::string_view codePage;
  };
  static constexpr Entry kEntries[] = {
      {"zh_CN", "ANSI_936"}, {"zh_SG", "ANSI_936"}, {"zh_TW", "ANSI_950"},
      {"zh_HK", "ANSI_950"}, {"ja", "ANSI_932"},    {"ko", "ANSI_949"},
  };
  for (const Entry& e : kEntries)
    if (localeIs(locale, e.language)) return std::string(e.codePage);
  return {};
}

// The first bytes of the file, enough for a DWG signature; empty when it
// cannot be read (the DXF reader then says why).
std::string headOf(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::array<char, 6> head{};
  file.read(head.data(), head.size());
  return std::string(head.data(), static_cast<std::size_t>(file.gcount()));
}

// Records why the drawing is read in its code page, for the drawing summary.
void explainCodePage(Database& database, const FallbackCodePage& fallback) {
  DrawingCodePage codePage = database.codePage();
  if (codePage.fromDrawing)
    codePage.reason = codePage.name == "UTF-8" ? "as every drawing from AC1021 (2007) on"
                                               : "declared by the drawing ($DWGCODEPAGE)";
  else
    codePage.reason = (codePage.declared.empty()
                           ? std::string("the drawing names none")
                           : "the drawing names \"" + codePage.declared + "\", no code page") +
                      "; " + fallback.source;
  database.setCodePage(std::move(codePage));
}

}  // namespace

base::Result<FallbackCodePage> chooseFallbackCodePage(const std::optional<std::string>& option,
                                                      const Environment& environment) {
  if (option) {
    if (dxf::encodingForCodePage(*option).empty())
      return base::Status::error("--codepage " + *option +
                                 ": not a code page; one of: " + dxf::knownCodePages());
    std::string upper = *option;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return FallbackCodePage{upper, "from --codepage"};
  }
  for (const char* variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
    const char* value = environment(variable);
    if (value == nullptr || *value == 0) continue;
    const std::string setting = std::string(variable) + "=" + value;
    const std::string codePage = codePageOfLocale(value);
    if (codePage.empty())
      return FallbackCodePage{"ANSI_1252", "the default, as the locale (" + setting +
                                               ") names no other; --codepage NAME sets one"};
    return FallbackCodePage{codePage, "from the locale (" + setting + ")"};
  }
  return FallbackCodePage{"ANSI_1252", "the default; --codepage NAME sets another"};
}

base::Result<std::unique_ptr<Database>> loadDrawing(const std::string& path,
                                                    const DrawingOptions& options) {
  const std::optional<dwg::DwgVersion> version = dwg::dwgVersionOf(headOf(path));
  if (!version) {
    auto database = Database::loadDxf(path, options.codePage.name);
    if (database.isOk()) explainCodePage(**database, options.codePage);
    return database;
  }
  dwg::TemporaryFolder folder;
  if (const base::Status made = dwg::TemporaryFolder::make(folder); !made.isOk())
    return base::Status::error(path + ": " + describe(*version) + ": " + made.message());
  const std::string dxf = (folder.path() / "drawing.dxf").string();
  if (const base::Status imported = dwg::importDwg(path, *version, dxf, options.importer);
      !imported.isOk())
    return imported;
  auto database = Database::loadDxf(dxf, options.codePage.name, path + " (as DXF)");
  if (!database.isOk()) return database;
  explainCodePage(**database, options.codePage);
  (*database)->setSource(describe(*version) + ", read through the DWG importer");
  return database;
}

}  // namespace cad
