// The parameter file reader on any first line: a line it takes gives finite
// values, and what is written back from them reads back as written.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "formats/parameter_file.h"
#include "fuzz_check.h"

using namespace tavrin;

namespace {

// One file, in memory.
class OneFile final : public FileSystem {
 public:
  std::string contents;
  FileStatus newWritableFile(const std::string&, std::unique_ptr<WritableFile>*) override {
    return FileStatus::error("read only");
  }
  FileStatus readFile(const std::string&, std::size_t limit, std::string* out) override {
    *out = contents.substr(0, limit);
    return FileStatus::ok();
  }
  FileStatus renameFile(const std::string&, const std::string&) override {
    return FileStatus::error("read only");
  }
  FileStatus removeFile(const std::string&) override { return FileStatus::error("read only"); }
  bool pathExists(const std::string&) override { return true; }
};

bool finite(const ProjectParameters& p) {
  return std::isfinite(p.originX) && std::isfinite(p.originY) && std::isfinite(p.referenceX) &&
         std::isfinite(p.referenceY) && std::isfinite(p.scale);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  OneFile files;
  files.contents.assign(reinterpret_cast<const char*>(data), size);
  ProjectParameters read;
  if (!readParameterFile("fuzz.inf", files, &read).isOk()) return 0;
  FUZZ_CHECK(finite(read));
  const std::string line = formatParameterLine(read);
  const ProjectParameters again = parseParameterLine(line);
  FUZZ_CHECK(finite(again));
  FUZZ_CHECK(formatParameterLine(again) == line);
  return 0;
}
