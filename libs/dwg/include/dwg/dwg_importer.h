#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "base/status.h"
#include "dwg/dwg_version.h"

// The DWG importer: a separate program (Node.js around a WebAssembly DWG
// reader) that reads a DWG and writes the same drawing as DXF. It is run as
// a child process with a time limit and never linked, so its licence stays
// its own.
namespace cad::dwg {

// How to run the importer.
struct ImporterSettings {
  // The program and its first arguments; the DWG path and the DXF path to
  // write are added. Empty: no importer is installed (`missing` says why).
  std::vector<std::string> command;
  // Why there is no command, e.g. "Node.js (node) is not installed".
  std::string missing;
  // The importer is stopped after this long and the drawing refused. The
  // slowest drawing measured took 16 s of processor time, 90 s on a busy
  // machine.
  std::chrono::milliseconds timeLimit{std::chrono::seconds(300)};
};

// The settings cadhost uses: `node` from PATH with dwg-import/dwg-import.mjs
// beside the program in `programFolder`, or the script named by the
// environment variable TAVRIN_DWG_IMPORTER; the time limit in seconds from
// TAVRIN_DWG_TIME_LIMIT (300 when unset or not a positive number).
ImporterSettings defaultImporterSettings(const std::filesystem::path& programFolder);

// Writes the DWG at `dwgPath` (a file-system path), whose version is
// `version`, as DXF to `dxfPath`. Failed when the version does not open, the
// importer is missing, fails, crashes or runs past the time limit: the
// message names the file, its version and what to do, e.g.
// "a.dwg: DWG R11/R12 (AC1009) is older than R13 and cannot be opened; save
// it as DXF in the program that made it and open the DXF". UTF-8.
base::Status importDwg(const std::string& dwgPath, const DwgVersion& version,
                       const std::string& dxfPath, const ImporterSettings& settings);

// A folder of its own under the system's temporary folder, removed with all
// it holds when this goes.
class TemporaryFolder {
 public:
  // Failed, saying why, when no folder could be made.
  static base::Status make(TemporaryFolder& folder);
  TemporaryFolder() = default;
  ~TemporaryFolder();
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace cad::dwg
