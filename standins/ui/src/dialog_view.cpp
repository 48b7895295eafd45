#include "ui/dialog_view.h"

#include <fnmatch.h>

#include <algorithm>
#include <filesystem>
#include <utility>

#include "text/code_page.h"
#include "ui/button.h"
#include "ui/combo_box.h"
#include "ui/dialog.h"
#include "ui/edit.h"
#include "ui/library.h"
#include "ui/styles.h"
#include "ui/up_down.h"

namespace ui {
namespace {

DialogObserver* observer = nullptr;

// The short class names a front end knows.
std::string viewClassName(const Window& window) {
  if (dynamic_cast<const UpDown*>(&window) != nullptr) return "UpDown";
  return window.className();
}

constexpr std::uint32_t kDefaultPushButton = 0x0001;

// The library models neither disabled nor hidden controls: every control is
// enabled and visible.
ControlView viewOf(const Window& control, const Window* focus) {
  ControlView view;
  view.id = control.id();
  view.className = viewClassName(control);
  view.rect = control.rect();
  view.text = text::cp936ToUtf8Lossy(control.text());
  view.focus = &control == focus;
  if (const auto* edit = dynamic_cast<const Edit*>(&control)) view.readOnly = edit->isReadOnly();
  if (const auto* list = dynamic_cast<const ComboBox*>(&control)) {
    for (const std::string& entry : list->entries())
      view.items.push_back(text::cp936ToUtf8Lossy(entry));
    view.selected = list->currentSelection();
  }
  if (const auto* spin = dynamic_cast<const UpDown*>(&control)) view.selected = spin->position();
  if (const auto* button = dynamic_cast<const Button*>(&control))
    view.isDefault =
        !button->isGroupBox() && (control.style() & style::kButtonTypeMask) == kDefaultPushButton;
  return view;
}

}  // namespace

DialogObserver* setDialogObserver(DialogObserver* next) {
  return std::exchange(observer, next);
}

DialogObserver* dialogObserver() {
  return observer;
}

DialogView viewOf(const Dialog& dialog) {
  DialogView view;
  view.templateId = dialog.templateId();
  view.caption = text::cp936ToUtf8Lossy(dialog.text());
  // A page is looked at by a person: the note and the person's status lines.
  std::string note = dialog.note();
  for (const std::string& line : dialog.statusLines()) note += (note.empty() ? "" : "\n") + line;
  view.note = text::cp936ToUtf8Lossy(note);
  view.open = dialog.isOpen() && !dialog.hasEnded();
  if (const ResourceTable* resources = resourceTable())
    if (const DialogTemplate* found = resources->findDialog(dialog.templateId())) {
      view.width = found->rect.width;
      view.height = found->rect.height;
    }
  if (!view.open) return view;
  for (const auto& control : dialog.controls())
    view.controls.push_back(viewOf(*control, dialog.focus()));
  return view;
}

std::vector<FileEntry> folderEntries(const std::string& folder,
                                     const std::vector<std::string>& patterns,
                                     std::error_code* errorOut) {
  namespace fs = std::filesystem;
  std::vector<FileEntry> folders, files;
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    const std::string name = it->path().filename().string();
    if (name.starts_with('.')) continue;
    std::error_code kindError;
    if (it->is_directory(kindError)) {
      folders.push_back({name, true});
      continue;
    }
    for (const std::string& pattern : patterns)
      if (fnmatch(pattern.c_str(), name.c_str(), 0) == 0) {
        files.push_back({name, false});
        break;
      }
  }
  const auto byName = [](const FileEntry& a, const FileEntry& b) { return a.name < b.name; };
  std::sort(folders.begin(), folders.end(), byName);
  std::sort(files.begin(), files.end(), byName);
  folders.insert(folders.end(), files.begin(), files.end());
  if (errorOut != nullptr) *errorOut = error;
  return folders;
}

}  // namespace ui
