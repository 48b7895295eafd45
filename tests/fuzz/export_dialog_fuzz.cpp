// The export dialog driven by any script of events and message-box answers:
// no crash or hang, and a dialog that ends with OK holds values an export can
// use.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "cad/command_line.h"
#include "cad/input_source.h"
#include "cad/script_input.h"
#include "export/export_dialog.h"
#include "fuzz_check.h"
#include "resources/module_resources.h"
#include "ui/application.h"
#include "ui/library.h"

using namespace tavrin;

namespace {

// Floors 1 and 2 of the project exist; nothing is written.
class TwoFloors final : public FileSystem {
 public:
  FileStatus newWritableFile(const std::string&, std::unique_ptr<WritableFile>*) override {
    return FileStatus::error("read only");
  }
  FileStatus readFile(const std::string&, std::size_t, std::string*) override {
    return FileStatus::error("nothing to read");
  }
  FileStatus renameFile(const std::string&, const std::string&) override {
    return FileStatus::error("read only");
  }
  FileStatus removeFile(const std::string&) override { return FileStatus::error("read only"); }
  bool pathExists(const std::string& path) override {
    return path == "/jobs/house.N1" || path == "/jobs/house.N2";
  }
};

bool startOnce() {
  static ui::Application application;
  static int instance = 0;
  return ui::startLibrary(&instance, &resources::moduleResources(), "");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool started = startOnce();
  FUZZ_CHECK(started);
  cad::commandLine().clear();
  cad::setInput(std::make_unique<cad::ScriptInput>(
      "fuzz.scr", std::string_view(reinterpret_cast<const char*>(data), size)));
  TwoFloors files;
  ExportDialog dialog(nullptr, files);
  dialog.projectName = "/jobs/house.prj";
  dialog.unitIndex = 3;
  dialog.originX = -2500;
  dialog.referenceY = 1.7976931348623157e308;
  // Shown again after each OK, as the export does after a refusal.
  for (int showing = 0; showing < 3; ++showing) {
    const int result = dialog.doModal();
    FUZZ_CHECK(result == ui::kIdOk || result == ui::kIdCancel);
    if (result != ui::kIdOk) break;
    FUZZ_CHECK(dialog.floorNumber >= 1 && dialog.floorNumber <= 1000);
    FUZZ_CHECK(dialog.unitIndex >= 0 && dialog.unitIndex <= 3);
    FUZZ_CHECK(std::isfinite(dialog.scale) && dialog.scale > 0);
    for (double value : {dialog.originX, dialog.originY, dialog.referenceX, dialog.referenceY})
      FUZZ_CHECK(std::isfinite(value));
  }
  cad::setInput(nullptr);
  return 0;
}
