#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "host/file_system.h"
#include "ui/dialog.h"

namespace tavrin {

// The export dialog (template 102): the user confirms the floor, the drawing
// unit and the drawing scale of one export; origin, reference point and
// project file are shown read-only. It writes no file; the export flow sets
// its fields before showing it and reads them after OK.
class ExportDialog : public ui::Dialog {
 public:
  // `parent` is not used. `fileSystem` answers whether the floor's axis file
  // exists; not owned, must outlive the dialog.
  explicit ExportDialog(ui::Window* parent = nullptr, FileSystem& fileSystem = hostFileSystem());
  ~ExportDialog() override;

  // The fields, in exchange order; the export flow sets and reads them
  // between showings.
  int floorNumber = 1;  // 1 to 1000 once saved
  double originX = 0.0;
  double originY = 0.0;
  std::string projectName;  // full path of the project file, code page 936
  int unitIndex = -1;       // power of ten of the metre (0 m ... 3 mm); -1 none
  double scale = 1.0;       // the XXX of XXX:1; above 0 once saved
  double referenceX = 0.0;
  double referenceY = 0.0;

  // Writes the fields into the controls (saving false), or reads and checks
  // them (saving true): floor (a whole number, 1 to 1000), origin, project
  // name, unit (one must be selected), scale (a number above 0), reference
  // point. Stops at the first invalid field with a warning and the focus on
  // it; false then. Fields read before it keep their new values.
  bool exchangeData(bool saving) override;

  // The up-down proposes `delta`: +1 raises the floor, -1 lowers it down to
  // 1; then every field is written back into its control. Answers 0, which
  // lets the up-down move.
  std::intptr_t onFloorDelta(int delta);
  // Save: reads and checks the fields (the unit among them), and when the floor's axis file exists
  // asks whether to overwrite it (No ends the dialog with Cancel); then ends with OK.
  void onSave();
  // Exit: ends with Cancel without reading the controls.
  void onExit();
  // Sees every message for the dialog or its controls first; true when it
  // consumed it. Printable characters are filtered per field (digits for the
  // floor; digits and "." for the numbers); Enter in an edit moves the focus
  // to the next tab stop instead of closing.
  bool filterKey(const ui::Message& message);

 protected:
  bool preTranslateMessage(const ui::Message& message) override { return filterKey(message); }
  void onCommand(int id, int notifyCode) override;
  // Every other way to OK (Enter on the unit list, a default OK) is Save, so
  // no path replaces an existing axis file without asking.
  void onOK() override { onSave(); }
  std::intptr_t onNotify(const ui::NotifyHeader& header) override;

 private:
  FileSystem& fileSystem_;
};

// The axis file of `floorNumber` for the project file `projectName` (code
// page 936): in the project file's folder, the file name up to its first "."
// (empty when it has none) followed by ".N" and the floor in decimal.
std::string floorAxisFilePath(std::string_view projectName, int floorNumber);

}  // namespace tavrin
