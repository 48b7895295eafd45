#include "export/export_flow.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <system_error>

#include "export/axis_file.h"
#include "export/export_dialog.h"
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

// The origin to propose: defaultOrigin of the axes, or the base point when
// there is no axis to take an extent from.
void proposeOrigin(const AxisSet& axes, const ads_point base, double& x, double& y) {
  x = base[X];
  y = base[Y];
  defaultOrigin(axes, x, y);
}

// The coordinate system of the project as the dialog and the axes hold it.
struct CoordinateSystem {
  double originX, originY, referenceX, referenceY;
  int intrinsicUnitExponent;
  double intrinsicScale;

  static CoordinateSystem of(const ExportDialog& dialog, const AxisSet& axes) {
    return {dialog.originX,
            dialog.originY,
            dialog.referenceX,
            dialog.referenceY,
            axes.intrinsicUnitExponent,
            axes.IntrinsicScale};
  }
  void restore(ExportDialog& dialog, AxisSet& axes) const {
    dialog.originX = axes.originX = originX;
    dialog.originY = axes.originY = originY;
    dialog.referenceX = axes.referenceX = referenceX;
    dialog.referenceY = axes.referenceY = referenceY;
    axes.intrinsicUnitExponent = intrinsicUnitExponent;
    axes.IntrinsicScale = intrinsicScale;
  }
};

// Ties the project's coordinate system to this drawing: the proposed origin,
// and the base point as reference point, in the dialog and the axes alike.
// False, changing nothing, when a value is not finite (a drawing whose
// extent overflows): such a value must never reach a file.
bool takeOriginAndReference(ExportDialog& dialog, AxisSet& axes, const ads_point base) {
  double oX = 0.0, oY = 0.0;
  proposeOrigin(axes, base, oX, oY);
  for (double value : {oX, oY, base[X], base[Y]})
    if (!std::isfinite(value)) return false;
  dialog.originX = axes.originX = oX;
  dialog.originY = axes.originY = oY;
  dialog.referenceX = axes.referenceX = base[X];
  dialog.referenceY = axes.referenceY = base[Y];
  return true;
}

ProjectParameters parametersShownIn(const ExportDialog& dialog) {
  return ProjectParameters{dialog.originX,    dialog.originY,   dialog.referenceX,
                           dialog.referenceY, dialog.unitIndex, dialog.scale};
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

// Asks for the project file; null when the user cancels.
std::optional<Project> chooseProject() {
  ui::FileDialog chooser(true, resources::kProjectFileExtension, nullptr, ui::kFileDialogExplorer,
                         resources::kProjectFileFilter);
  if (chooser.doModal() != ui::kIdOk) return std::nullopt;
  const std::string path = chooser.pathName();
  return Project{path, projectFolder(path), projectBase(chooser.fileName())};
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

// A new project: its coordinate system from this drawing, millimetres at 1:1,
// the project template and the parameter file. False, after saying so, when
// the drawing's values are too large to place.
bool startNewProject(const Project& project, ExportDialog& dialog, AxisSet& axes,
                     const ads_point base, FileSystem& files) {
  if (!takeOriginAndReference(dialog, axes, base)) {
    ui::applicationMessageBox(resources::kDataTooLarge, kWarning);
    return false;
  }
  ProjectTemplate projectTemplate;
  projectTemplate.composeText();
  const WriteResult templateWritten = projectTemplate.writeToFile(project.path, files);
  if (!templateWritten.written()) reportWriteFailure(templateWritten);

  dialog.unitIndex = 3;
  dialog.scale = 1.0;
  axes.IntrinsicScale = 1.0;
  axes.intrinsicUnitExponent = 3;
  axes.unitExponent = 3;
  axes.iScale = 1.0;
  const WriteResult written =
      writeParameterFile(project.parameterPath(), parametersShownIn(dialog), files);
  if (!written.written()) reportWriteFailure(written);
  return true;
}

// An existing project's coordinate system, from its parameter file. False
// when that cannot be read: the project's reference point, unit and scale are
// then not known before the dialog.
bool loadProjectParameters(const Project& project, ExportDialog& dialog, AxisSet& axes,
                           FileSystem& files) {
  ProjectParameters read;
  if (!readParameterFile(project.parameterPath(), files, &read).isOk()) return false;
  dialog.originX = read.originX;
  dialog.originY = read.originY;
  dialog.referenceX = axes.referenceX = read.referenceX;
  dialog.referenceY = axes.referenceY = read.referenceY;
  dialog.unitIndex = read.unitIndex;
  dialog.scale = read.scale;
  axes.intrinsicUnitExponent = read.unitIndex;
  axes.IntrinsicScale = read.scale;
  return true;
}

// Save in the dialog: writes the chosen floor's axis file. True when the
// dialog must be shown again (a value too large to write).
bool saveFloor(const Project& project, ExportDialog& dialog, AxisSet& axes, const ads_point base,
               bool parametersKnown, FileSystem& files) {
  axes.iScale = dialog.scale;
  axes.unitExponent = dialog.unitIndex;
  axes.originX = dialog.originX;
  axes.originY = dialog.originY;
  axes.baseX = base[X];
  axes.baseY = base[Y];
  if (!parametersKnown) {
    // The picked base point lands on the shown reference point, in the
    // unit and scale the user confirmed.
    axes.referenceX = dialog.referenceX;
    axes.referenceY = dialog.referenceY;
    axes.intrinsicUnitExponent = dialog.unitIndex;
    axes.IntrinsicScale = dialog.scale;
  }

  // Floor 1 again: the project's coordinate system is set anew from this
  // drawing, and this export already uses it. The parameter file follows
  // only once the axis file is in place; until then the project keeps its
  // old coordinate system, on disk and here.
  const bool newCoordinates = dialog.floorNumber == 1 && files.pathExists(project.floorPath(1));
  const CoordinateSystem previous = CoordinateSystem::of(dialog, axes);
  if (newCoordinates) {
    if (!takeOriginAndReference(dialog, axes, base)) {
      ui::applicationMessageBox(resources::kDataTooLarge, kWarning);
      return true;
    }
    axes.unitExponent = axes.intrinsicUnitExponent = dialog.unitIndex;
    axes.iScale = axes.IntrinsicScale = dialog.scale;
  }

  const std::string axisPath = project.floorPath(dialog.floorNumber);
  const WriteResult written = writeAxisFile(axes, axisPath, files);
  if (!written.written() && newCoordinates) previous.restore(dialog, axes);
  if (written.outcome == WriteOutcome::kTooLarge) {
    ui::applicationMessageBox(resources::kDataTooLarge, kWarning);
    return true;
  }
  if (written.outcome == WriteOutcome::kWriteFailed) {
    reportWriteFailure(written);
    return false;
  }
  bool coordinatesReset = false;
  if (newCoordinates) {
    const WriteResult parameters =
        writeParameterFile(project.parameterPath(), parametersShownIn(dialog), files);
    if (!parameters.written()) reportWriteFailure(parameters);
    coordinatesReset = parameters.written();
  }
  reportWritten(axes, axisPath, coordinatesReset);
  return false;
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

void exportAxisGrid(AxisSet& axes, const ads_point base, FileSystem& files) {
  const std::optional<Project> project = chooseProject();
  if (!project) return;
  std::unique_ptr<FolderLock> lock;
  if (!lockProject(*project, files, lock)) return;

  ExportDialog dialog(nullptr, files);
  dialog.projectName = project->path;
  bool parametersKnown = true;
  if (!files.pathExists(project->path)) {
    if (!startNewProject(*project, dialog, axes, base, files)) return;
  } else {
    parametersKnown = loadProjectParameters(*project, dialog, axes, files);
  }
  while (showWithBasePoint(dialog, base) == ui::kIdOk)
    if (!saveFloor(*project, dialog, axes, base, parametersKnown, files)) break;
}

void exportAxisGrid(AxisSet& axes, const ads_point base) {
  exportAxisGrid(axes, base, hostFileSystem());
}

}  // namespace tavrin
