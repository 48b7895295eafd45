#include "export/export_flow.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <system_error>

#include "export/axis_file.h"
#include "export/coordinate_frame.h"
#include "export/export_dialog.h"
#include "export/unit_proposal.h"
#include "formats/parameter_file.h"
#include "formats/project_files.h"
#include "formats/project_parameters.h"
#include "formats/project_template.h"
#include "host/ads.h"
#include "resources/texts.h"
#include "ui/dialog.h"
#include "ui/file_dialog.h"
#include "ui/message_box.h"

namespace tavrin {

namespace {

constexpr unsigned kWarning = ui::kMessageBoxOk | ui::kIconExclamation;

// Another exporter of the same project gets this long to finish.
constexpr int kLockWaitMilliseconds = 3000;

std::string formatted(const char* format, const char* first, const char* second = nullptr) {
  const int length = std::snprintf(nullptr, 0, format, first, second);
  // Cannot happen with the module's formats; still, never size a string from
  // a negative length: the first argument (the file) is the message then.
  if (length < 0) return first;
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  std::snprintf(text.data(), text.size(), format, first, second);
  text.resize(static_cast<std::size_t>(length));
  return text;
}

bool isAscii(const std::string& text) {
  for (const char c : text)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

// Why a write failed, for the user (code page 936): the common reasons in
// the module's language, others in the system's words.
std::string failureReason(const WriteResult& result) {
  if (result.status.isReadOnly()) return resources::kReasonReadOnly;
  switch (result.status.systemError()) {
    case EACCES:
    case EPERM:
      return resources::kReasonNoPermission;
    case ENOSPC:
    case EDQUOT:
      return resources::kReasonDiskFull;
    case EROFS:
      return resources::kReasonReadOnlyDisk;
    case ENOENT:
    case ENOTDIR:
      return resources::kReasonNoFolder;
    case EISDIR:
      return resources::kReasonFolderInTheWay;
    case ENAMETOOLONG:
      return resources::kReasonNameTooLong;
    case 0:
      // The file layer's own words name the path in UTF-8, which a code
      // page 936 message cannot show unless it is plain ASCII.
      return !result.status.message().empty() && isAscii(result.status.message())
                 ? result.status.message()
                 : resources::kReasonUnknown;
    default:
      return std::generic_category().message(result.status.systemError());
  }
}

void reportWriteFailure(const WriteResult& result) {
  const std::string reason = failureReason(result);
  ui::applicationMessageBox(
      formatted(resources::kFileWriteFailed, result.file.c_str(), reason.c_str()), kWarning);
}

// One line on what Save wrote, and one when floor 1 set the project's
// coordinate system anew.
void reportWritten(const AxisSet& axes, const std::string& axisPath, bool coordinatesReset) {
  ads_printf(resources::kAxisFileWritten, axisPath.c_str(), static_cast<int>(axes.count()),
             static_cast<int>(axes.lineCount + axes.arcCount));
  if (coordinatesReset)
    ads_printf(resources::kCoordinatesReset, axes.originX, axes.originY, axes.referenceX,
               axes.referenceY);
}

// The project file the user picked and the files beside it (code page 936).
struct Project {
  std::string path;
  std::string folder;
  std::string base936;

  std::string sibling(const std::string& suffix) const { return folder + base936 + suffix; }
  std::string parameterPath() const { return sibling(".inf"); }
  std::string floorPath(int floor) const { return sibling(floorSuffix(floor)); }
};

// Asks for the project file until one lies in a folder this user can create
// files in (every write goes through a new file beside its target); null
// when the user cancels.
std::optional<Project> chooseProject(FileSystem& files) {
  for (;;) {
    ui::FileDialog chooser(true, resources::kProjectFileExtension, nullptr, ui::kFileDialogExplorer,
                           resources::kProjectFileFilter);
    if (chooser.doModal() != ui::kIdOk) return std::nullopt;
    const std::string path = chooser.pathName();
    Project project{path, projectFolder(path), projectBase(chooser.fileName())};
    if (files.canCreateFilesIn(project.folder)) return project;
    const std::string folder = project.folder.empty() ? std::string(".") : project.folder;
    ui::applicationMessageBox(formatted(resources::kFolderNotWritable, folder.c_str()), kWarning);
  }
}

// One exporter per project at a time, until the command ends: otherwise two
// could leave one's parameter file beside the other's axis file. False, after
// saying so, when another exporter holds the project. A folder that cannot be
// opened cannot be written either; the writes report that.
bool lockProject(const Project& project, FileSystem& files, std::unique_ptr<FolderLock>& lock) {
  if (FileStatus locked = files.lockFolder(project.folder, kLockWaitMilliseconds, &lock);
      !locked.isOk() && locked.systemError() == EWOULDBLOCK) {
    ui::applicationMessageBox(formatted(resources::kProjectInUse, project.path.c_str()), kWarning);
    return false;
  }
  return true;
}

// An existing project's coordinate system, from its parameter file; nothing
// when that cannot be read.
std::optional<CoordinateFrame> loadProject(const Project& project, const ads_point base,
                                           FileSystem& files) {
  ProjectParameters read;
  if (!readParameterFile(project.parameterPath(), files, &read).isOk()) return std::nullopt;
  return frameOfProject(read, base[X], base[Y]);
}

enum class SaveOutcome { kDone, kShowDialogAgain };

// What the flow knows of the project before the dialog.
enum class ProjectState {
  kNew,           // no project file: it and the parameter file go with the first axis file
  kNoParameters,  // a project file without its parameter file: set up as a new project,
                  // the parameter file goes with the axis file, the project file stays
  kKnown,         // its parameter file was read
  kUnknown,       // its parameter file could not be read
};

// Save in the dialog: writes the chosen floor's axis file in `frame`, which
// holds what the dialog confirmed, together with the project's files that go
// with it (a new project's project and parameter files; the parameter file
// when it was missing or floor 1 moves the coordinate system). They are
// written completely first and then put in place together, so a failure or a
// signal never leaves a floor beside parameters it does not match, nor half a
// project. An unknown project takes the unit and scale confirmed here.
SaveOutcome saveFloor(const Project& project, CoordinateFrame& frame, ProjectState state,
                      int floorNumber, AxisSet& axes, FileSystem& files) {
  // A new project is measured in the unit and scale of its first Save.
  if (state != ProjectState::kKnown) {
    frame.projectUnit = frame.unit;
    frame.projectScale = frame.scale;
  }
  // Floor 1 again: the project's coordinate system is set anew from this
  // drawing, and this export already uses it.
  CoordinateFrame attempt = frame;
  const bool newCoordinates = floorNumber == 1 && files.pathExists(project.floorPath(1));
  if (newCoordinates && !rebaseOnDrawing(attempt, axes)) {
    ui::applicationMessageBox(resources::kDataTooLarge, kWarning);
    return SaveOutcome::kShowDialogAgain;
  }
  applyToAxes(attempt, axes);
  const std::string axisPath = project.floorPath(floorNumber);
  FileGroup group(files);
  WriteResult written = addAxisFile(axes, axisPath, group);
  if (written.written() && state == ProjectState::kNew) {
    ProjectTemplate projectTemplate;
    projectTemplate.composeText();
    written = group.addText(project.path, projectTemplate.templateText());
  }
  const bool writesParameters =
      state == ProjectState::kNew || state == ProjectState::kNoParameters || newCoordinates;
  if (written.written() && writesParameters)
    written = addParameterFile(group, project.parameterPath(), projectParametersOf(attempt));
  if (written.outcome == WriteOutcome::kTooLarge) {
    ui::applicationMessageBox(resources::kDataTooLarge, kWarning);
    return SaveOutcome::kShowDialogAgain;
  }
  if (written.written()) written = group.putInPlace();
  if (!written.written()) {
    reportWriteFailure(written);
    return SaveOutcome::kDone;
  }
  frame = attempt;
  reportWritten(axes, axisPath, newCoordinates && state != ProjectState::kNew);
  return SaveOutcome::kDone;
}

// Shows the dialog with this drawing's base point beside the project's
// reference point in its status line, so that a mistyped base point is seen
// before Save.
int showWithBasePoint(ExportDialog& dialog, const ads_point base) {
  const auto number = [](double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.10g", value == 0.0 ? 0.0 : value);
    return std::string(text);
  };
  char line[160];
  std::snprintf(line, sizeof line, resources::kBasePointBesideReference, number(base[X]).c_str(),
                number(base[Y]).c_str(), number(dialog.referenceX).c_str(),
                number(dialog.referenceY).c_str());
  dialog.setStatusLine("base point", line);
  return dialog.doModal();
}

}  // namespace

// The line about this drawing's unit (code page 936), or empty: the
// proposal's own note, or for a known project whose unit differs from the
// unit this drawing declares, that difference.
std::string unitNote(const UnitProposal& unit, ProjectState state, const CoordinateFrame& frame) {
  if (!unit.note.empty() || state != ProjectState::kKnown) return unit.note;
  static const char* const names[] = {resources::kUnitMetre, resources::kUnitDecimetre,
                                      resources::kUnitCentimetre, resources::kUnitMillimetre};
  if (!unit.declared || unit.unitExponent == frame.projectUnit || frame.projectUnit < 0 ||
      frame.projectUnit > 3)
    return {};
  return formatted(resources::kUnitDiffersFromProject, names[unit.unitExponent],
                   names[frame.projectUnit]);
}

void exportAxisGrid(AxisSet& axes, const ads_point base, const UnitProposal& unit,
                    FileSystem& files) {
  const std::optional<Project> project = chooseProject(files);
  if (!project) return;
  std::unique_ptr<FolderLock> lock;
  if (!lockProject(*project, files, lock)) return;

  ExportDialog dialog(nullptr, files);
  dialog.projectName = project->path;
  CoordinateFrame frame;
  frame.baseX = base[X];
  frame.baseY = base[Y];
  ProjectState state = ProjectState::kKnown;
  if (!files.pathExists(project->path) || !files.pathExists(project->parameterPath())) {
    // The proposed unit at 1:1, placed by this drawing; written only at Save.
    state = files.pathExists(project->path) ? ProjectState::kNoParameters : ProjectState::kNew;
    frame.unit = frame.projectUnit = unit.unitExponent;
    if (!rebaseOnDrawing(frame, axes)) {
      ui::applicationMessageBox(resources::kDataTooLarge, kWarning);
      return;
    }
    showInDialog(frame, dialog);
  } else if (std::optional<CoordinateFrame> loaded = loadProject(*project, base, files)) {
    frame = *loaded;
    showInDialog(frame, dialog);
  } else {
    // The dialog keeps its own initial values, and so does the frame.
    state = ProjectState::kUnknown;
  }
  if (const std::string note = unitNote(unit, state, frame); !note.empty()) {
    ads_printf("%s\n", note.c_str());
    dialog.setNote(note);
  }
  while (showWithBasePoint(dialog, base) == ui::kIdOk) {
    takeFromDialog(dialog, frame);
    if (saveFloor(*project, frame, state, dialog.floorNumber, axes, files) == SaveOutcome::kDone)
      break;
  }
}

void exportAxisGrid(AxisSet& axes, const ads_point base, const UnitProposal& unit) {
  exportAxisGrid(axes, base, unit, hostFileSystem());
}

}  // namespace tavrin
