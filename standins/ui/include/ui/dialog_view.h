#pragma once

#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "ui/resource_table.h"

// The state of the open dialog, message box or open-file dialog as a front
// end draws it (the web page). The library publishes it to the installed
// observer each time the host waits for an answer in one of them, and when
// one closes; with no observer nothing changes. Texts are UTF-8.
namespace ui {

class Dialog;

struct ControlView {
  int id = 0;
  std::string className;  // "Edit", "Static", "Button", "ComboBox", "UpDown"
  DialogRect rect;        // dialog units
  std::string text;
  bool enabled = true;
  bool visible = true;
  bool readOnly = false;
  std::vector<std::string> items;  // a combo box's entries
  int selected = -1;               // a combo box's selection; an up-down's position
  bool focus = false;
  bool isDefault = false;  // the push button Enter presses
};

struct DialogView {
  int templateId = 0;
  std::string caption;
  int width = 0;  // dialog units
  int height = 0;
  std::vector<ControlView> controls;
  std::string note;
  bool open = false;
};

struct MessageBoxView {
  std::string caption;
  std::string text;
  std::string icon;                  // "warning", "error", "information" or "question"
  std::vector<std::string> buttons;  // "Yes", "No", "OK"
  std::string defaultButton;         // the one Enter gives: one of `buttons`
};

struct FileEntry {
  std::string name;
  bool folder = false;
};

struct FileDialogView {
  std::string title;               // "Open" or "Save As"
  std::string folder;              // absolute
  std::vector<FileEntry> entries;  // subfolders first, then files of the filter; sorted
  std::string name;                // the initial file name
  std::string filter;              // the patterns, e.g. "*.prj"
};

// Called on the host's thread.
class DialogObserver {
 public:
  virtual ~DialogObserver() = default;
  virtual void dialogChanged(const DialogView& view) = 0;
  virtual void messageBoxShown(const MessageBoxView& view) = 0;
  virtual void messageBoxClosed() = 0;
  virtual void fileDialogShown(const FileDialogView& view) = 0;
  virtual void fileDialogClosed() = 0;
};

// Installs `observer` (not owned; null: none) and returns the previous one.
DialogObserver* setDialogObserver(DialogObserver* observer);
// The installed observer, or null.
DialogObserver* dialogObserver();

// What `dialog` shows now; open false (and no controls) once it has closed.
DialogView viewOf(const Dialog& dialog);

// The subfolders of `folder` and its files matching any of `patterns`
// ("*", "?" wildcards), hidden names left out, folders first, each part by
// name. When the folder cannot be read: what was read before, and the reason
// in `*error` (when given).
std::vector<FileEntry> folderEntries(const std::string& folder,
                                     const std::vector<std::string>& patterns,
                                     std::error_code* error = nullptr);

}  // namespace ui
