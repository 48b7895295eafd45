#include "export/export_flow.h"

#include <cstdio>
#include <string>

#include "export/axis_file.h"
#include "export/export_dialog.h"
#include "export/parameter_file.h"
#include "export/project_files.h"
#include "export/project_parameters.h"
#include "export/project_template.h"
#include "resources/texts.h"
#include "ui/dialog.h"
#include "ui/file_dialog.h"
#include "ui/message_box.h"

namespace tavrin {

namespace {

constexpr unsigned kWarning = ui::kMessageBoxOk | ui::kIconExclamation;

void reportWriteFailure(const WriteResult& result) {
  const int length = std::snprintf(nullptr, 0, resources::kFileWriteFailed, result.file.c_str());
  if (length < 0) {
    // Cannot happen with this format; still, name the file rather than
    // allocate from a negative length.
    ui::applicationMessageBox(result.file, kWarning);
    return;
  }
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  std::snprintf(text.data(), text.size(), resources::kFileWriteFailed, result.file.c_str());
  text.resize(static_cast<std::size_t>(length));
  ui::applicationMessageBox(text, kWarning);
}

// The origin to propose: defaultOrigin of the axes, or the base point when
// there is no axis to take an extent from.
void proposeOrigin(const AxisSet& axes, const ads_point base, double& x, double& y) {
  x = base[X];
  y = base[Y];
  defaultOrigin(axes, x, y);
}

// Ties the project's coordinate system to this drawing: the proposed origin,
// and the base point as reference point, in the dialog and the axes alike.
void takeOriginAndReference(ExportDialog& dialog, AxisSet& axes, const ads_point base) {
  double oX = 0.0, oY = 0.0;
  proposeOrigin(axes, base, oX, oY);
  dialog.originX = axes.originX = oX;
  dialog.originY = axes.originY = oY;
  dialog.referenceX = axes.referenceX = base[X];
  dialog.referenceY = axes.referenceY = base[Y];
}

ProjectParameters parametersShownIn(const ExportDialog& dialog) {
  return ProjectParameters{dialog.originX,    dialog.originY,   dialog.referenceX,
                           dialog.referenceY, dialog.unitIndex, dialog.scale};
}

}  // namespace

void exportAxisGrid(AxisSet& axes, const ads_point base, FileSystem& files) {
  ui::FileDialog chooser(true, resources::kProjectFileExtension, nullptr, ui::kFileDialogExplorer,
                         resources::kProjectFileFilter);
  if (chooser.doModal() != ui::kIdOk) return;
  const std::string projectPath = chooser.pathName();
  const std::string base936 = projectBase(chooser.fileName());
  const std::string folder = projectFolder(projectPath);
  const std::string parameterPath = folder + base936 + ".inf";
  const std::string firstFloorPath = folder + base936 + floorSuffix(1);

  const bool newProject = !files.pathExists(projectPath);
  if (newProject) {
    ProjectTemplate projectTemplate;
    projectTemplate.composeText();
    const WriteResult written = projectTemplate.writeToFile(projectPath, files);
    if (!written.written()) reportWriteFailure(written);
  }

  ExportDialog dialog(nullptr, files);
  dialog.projectName = projectPath;

  // Whether the project's reference point and intrinsic unit and scale are
  // known before the dialog: not when an existing project's parameter file
  // cannot be read.
  bool parametersKnown = true;
  if (newProject) {
    takeOriginAndReference(dialog, axes, base);
    dialog.unitIndex = 3;
    dialog.scale = 1.0;
    axes.IntrinsicScale = 1.0;
    axes.intrinsicUnitExponent = 3;
    axes.unitExponent = 3;
    axes.iScale = 1.0;
    const WriteResult written = writeParameterFile(parameterPath, parametersShownIn(dialog), files);
    if (!written.written()) reportWriteFailure(written);
  } else {
    ProjectParameters read;
    if (readParameterFile(parameterPath, files, &read).isOk()) {
      dialog.originX = read.originX;
      dialog.originY = read.originY;
      dialog.referenceX = axes.referenceX = read.referenceX;
      dialog.referenceY = axes.referenceY = read.referenceY;
      dialog.unitIndex = read.unitIndex;
      dialog.scale = read.scale;
      axes.intrinsicUnitExponent = read.unitIndex;
      axes.IntrinsicScale = read.scale;
    } else {
      parametersKnown = false;
    }
  }

  for (bool retry = true; retry;) {
    retry = false;
    if (dialog.doModal() != ui::kIdOk) break;
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

    if (dialog.floorNumber == 1 && files.pathExists(firstFloorPath)) {
      // Floor 1 again: the project's coordinate system is set anew from this
      // drawing, and this export already uses it.
      takeOriginAndReference(dialog, axes, base);
      axes.unitExponent = axes.intrinsicUnitExponent = dialog.unitIndex;
      axes.iScale = axes.IntrinsicScale = dialog.scale;
      const WriteResult written =
          writeParameterFile(parameterPath, parametersShownIn(dialog), files);
      if (!written.written()) reportWriteFailure(written);
    }

    const std::string axisPath = folder + base936 + floorSuffix(dialog.floorNumber);
    const WriteResult written = writeAxisFile(axes, axisPath, files);
    if (written.outcome == WriteOutcome::kTooLarge) {
      ui::applicationMessageBox(resources::kDataTooLarge, kWarning);
      retry = true;
    } else if (written.outcome == WriteOutcome::kWriteFailed) {
      reportWriteFailure(written);
    }
  }
}

void exportAxisGrid(AxisSet& axes, const ads_point base) {
  exportAxisGrid(axes, base, hostFileSystem());
}

}  // namespace tavrin
