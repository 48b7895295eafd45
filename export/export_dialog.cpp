#include "export/export_dialog.h"

#include <strings.h>

#include <climits>

#include "formats/project_files.h"
#include "resources/dialog_texts.h"
#include "resources/export_dialog_template.h"
#include "resources/texts.h"
#include "ui/data_exchange.h"
#include "ui/message_box.h"

namespace tavrin {

namespace {

bool isDigit(std::uintptr_t c) {
  return c >= '0' && c <= '9';
}

}  // namespace

std::string floorAxisFilePath(std::string_view projectName, int floorNumber) {
  return projectSibling(projectName, floorSuffix(floorNumber));
}

ExportDialog::ExportDialog(ui::Window* parent, FileSystem& fileSystem)
    : Dialog(resources::kExportDialogId, parent), fileSystem_(fileSystem) {}

ExportDialog::~ExportDialog() = default;

bool ExportDialog::exchangeData(bool saving) {
  using namespace resources;
  ui::DataExchange dx(*this, saving);

  if (!ui::exchangeInt(dx, kFloorEdit, floorNumber, kInvalidInteger)) return false;
  if (!ui::validateRange(dx, floorNumber, 1, 1000, kFloorOutOfRange)) return false;
  if (!ui::exchangeDouble(dx, kOriginXEdit, originX, kInvalidNumber)) return false;
  if (!ui::exchangeDouble(dx, kOriginYEdit, originY, kInvalidNumber)) return false;
  if (!ui::exchangeText(dx, kProjectNameEdit, projectName)) return false;
  if (!ui::exchangeListIndex(dx, kUnitList, unitIndex)) return false;
  // Without a unit the export would divide by ten to the power -1.
  if (saving && unitIndex < 0) return dx.fail(kNoUnitSelected);
  // A scale of zero, below zero or beyond a double would collapse or corrupt
  // every coordinate: refused like text that is no number, and not stored.
  double newScale = scale;
  if (!ui::exchangeDouble(dx, kScaleEdit, newScale, kInvalidNumber)) return false;
  if (saving && !(newScale > 0.0)) return dx.fail(kInvalidNumber);
  scale = newScale;
  if (!ui::exchangeDouble(dx, kReferenceXEdit, referenceX, kInvalidNumber)) return false;
  if (!ui::exchangeDouble(dx, kReferenceYEdit, referenceY, kInvalidNumber)) return false;
  return true;
}

std::intptr_t ExportDialog::onFloorDelta(int delta) {
  // No upper bound here (saving checks 1 to 1000), but never past what an
  // int holds: a rejected huge floor typed by hand stays in the field.
  if (delta == 1 && floorNumber < INT_MAX)
    ++floorNumber;
  else if (delta == -1 && floorNumber > 1)
    --floorNumber;
  exchangeData(false);
  return 0;
}

void ExportDialog::onSave() {
  if (!exchangeData(true)) return;
  if (fileSystem_.pathExists(floorAxisFilePath(projectName, floorNumber))) {
    // Replacing a floor cannot be undone: Enter alone keeps it.
    int answer = ui::applicationMessageBox(resources::kOverwriteFloor, ui::kMessageBoxYesNo |
                                                                           ui::kIconExclamation |
                                                                           ui::kDefaultButton2);
    if (answer != ui::kIdYes) {
      endDialog(ui::kIdCancel);
      return;
    }
  }
  endDialog(ui::kIdOk);
}

void ExportDialog::onExit() {
  endDialog(ui::kIdCancel);
}

bool ExportDialog::filterKey(const ui::Message& message) {
  using namespace resources;
  if (message.window == nullptr) return false;
  if (message.code == ui::WM_CHAR && message.wParam >= 0x20 && message.wParam <= 0x7E) {
    const std::uintptr_t c = message.wParam;
    switch (message.window->id()) {
      case kFloorEdit:
        return !isDigit(c);
      case kOriginXEdit:
      case kReferenceXEdit:
      case kOriginYEdit:
      case kReferenceYEdit:
      case kScaleEdit:
        return !(isDigit(c) || c == '.');
      default:
        return false;
    }
  }
  if (message.code == ui::WM_KEYDOWN && message.wParam == ui::key::kEnter) {
    char className[32];
    message.window->getClassName(className, sizeof className);
    if (strcasecmp(className, "Edit") == 0) {
      postMessage(this, ui::WM_NEXTDLGCTL, 0, 0);
      return true;
    }
  }
  return false;
}

void ExportDialog::onCommand(int id, int notifyCode) {
  if (id == resources::kSaveButton && notifyCode == ui::BN_CLICKED) return onSave();
  if (id == resources::kExitButton && notifyCode == ui::BN_CLICKED) return onExit();
  Dialog::onCommand(id, notifyCode);
}

std::intptr_t ExportDialog::onNotify(const ui::NotifyHeader& header) {
  if (header.idFrom == resources::kFloorSpin && header.code == ui::UDN_DELTAPOS)
    return onFloorDelta(reinterpret_cast<const ui::NotifyUpDown&>(header).delta);
  return Dialog::onNotify(header);
}

}  // namespace tavrin
