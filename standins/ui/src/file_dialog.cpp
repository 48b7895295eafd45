#include "ui/file_dialog.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "cad/asking.h"
#include "cad/command_line.h"
#include "cad/input_source.h"
#include "cad/typed_forms.h"
#include "text/code_page.h"
#include "text/cp936.h"
#include "text/trim.h"
#include "ui/dialog_view.h"
#include "ui/messages.h"

namespace ui {

namespace fs = std::filesystem;

const RuntimeClass FileDialog::kClass{"FileDialog", &Object::kClass};

FileDialog::FileDialog(bool openDialog, const char* defaultExtension, const char* fileName,
                       unsigned flags, const char* filter)
    : openDialog_(openDialog),
      defaultExtension_(defaultExtension != nullptr ? defaultExtension : ""),
      initialName_(fileName != nullptr ? fileName : ""),
      flags_(flags),
      filter_(filter != nullptr ? filter : "") {}

const RuntimeClass* FileDialog::runtimeClass() const {
  return &kClass;
}

std::string FileDialog::fileName() const {
  std::size_t slash = pathName_.rfind('/');  // '/' is never part of a double-byte character
  return slash == std::string::npos ? pathName_ : pathName_.substr(slash + 1);
}

bool FileDialog::parseFilter(std::string_view filter, std::vector<Filter>* filters) {
  filters->clear();
  if (filter.empty()) return true;
  // Split at '|' character by character: a trail byte may have its value.
  std::vector<std::string> pieces(1);
  for (std::size_t i = 0; i < filter.size();) {
    std::size_t length = text::cp936::characterLength(filter, i);
    if (length == 1 && filter[i] == '|')
      pieces.emplace_back();
    else
      pieces.back().append(filter.substr(i, length));
    i += length;
  }
  // "d|p||" splits into d, p, "", "".
  if (pieces.size() < 4 || pieces.size() % 2 != 0 || !pieces[pieces.size() - 1].empty() ||
      !pieces[pieces.size() - 2].empty())
    return false;
  for (std::size_t i = 0; i + 2 < pieces.size(); i += 2) {
    if (pieces[i].empty() || pieces[i + 1].empty()) return false;
    filters->push_back({pieces[i], pieces[i + 1]});
  }
  return true;
}

base::Result<std::string> FileDialog::acceptPath(const std::string& utf8) const {
  std::string_view typed = text::trimBlanks(utf8);
  if (typed.empty()) return base::Status::error("no file name given");
  std::error_code error;
  fs::path path{std::string(typed)};
  if (path.is_relative()) {
    if (folder_.empty()) return base::Status::error("the working folder cannot be read");
    path = fs::path(folder_) / path;
  }
  path = path.lexically_normal();
  if (!path.has_filename())
    return base::Status::error("\"" + path.string() + "\" names a folder, not a file");
  if (path.filename().string().find('.') == std::string::npos && !defaultExtension_.empty())
    path += "." + text::cp936ToUtf8Lossy(defaultExtension_);
  const fs::path folder = path.parent_path();
  if (!fs::is_directory(folder, error))
    return base::Status::error("the folder \"" + folder.string() + "\" does not exist");
  if (fs::is_directory(path, error))
    return base::Status::error("\"" + path.string() + "\" is a folder");
  if ((flags_ & kFileDialogFileMustExist) != 0 && !fs::exists(path, error))
    return base::Status::error("\"" + path.string() + "\" does not exist");
  std::optional<std::string> cp936 = text::utf8ToCp936(path.string());
  if (!cp936)
    return base::Status::error("\"" + path.string() +
                               "\" holds characters that code page 936 cannot hold");
  return *std::move(cp936);
}

int FileDialog::doModal() {
  std::vector<Filter> filters;
  if (!parseFilter(filter_, &filters)) {
    cad::commandLine().printUtf8("\nopen-file dialog: the filter \"" +
                                 text::cp936ToUtf8Lossy(filter_) +
                                 "\" is not of the form description|pattern||\n");
    return -1;
  }
  cad::commandLine().printUtf8(heading(filters));
  std::error_code error;
  folder_ = fs::current_path(error).string();
  const std::vector<std::string> patterns = patternsOf(filters);
  cad::InputSource& input = cad::input();
  if (input.interactive()) {
    listFolder(folder_, patterns);
    cad::commandLine().printUtf8(
        "  Type a file name (a new name makes a new file), a folder to look in,\n"
        "  a pattern such as *.prj to list, or Esc.\n");
  }
  for (;;) {
    if (input.interactive()) cad::commandLine().printUtf8("File name: ");
    publish(patterns);
    cad::Answer answer = input.next();
    if (!answer.isLine()) return closed(kIdCancel);
    if (cad::isHelpAnswer(answer.text)) {
      cad::commandLine().printUtf8(
          "A file name: a path, absolute or from the folder shown (." +
          text::cp936ToUtf8Lossy(defaultExtension_) +
          " is added when it has none; a new name makes a new file); a folder to\n"
          "look in; or a pattern such as *.prj to list the matches. Esc cancels.\n");
      continue;
    }
    if (looked(std::string(text::trimBlanks(answer.text)), patterns, input.interactive())) continue;
    base::Result<std::string> pathName = takePath(answer.text);
    if (!pathName.isOk()) {
      input.reject(answer, pathName.message());
      continue;
    }
    pathName_ = std::move(pathName).value();
    return closed(kIdOk);
  }
}

void FileDialog::publish(const std::vector<std::string>& patterns) const {
  DialogObserver* observer = dialogObserver();
  if (observer == nullptr) return;
  FileDialogView view;
  view.title = openDialog_ ? "Open" : "Save As";
  view.folder = folder_;
  view.entries = folderEntries(folder_, patterns);
  view.name = text::cp936ToUtf8Lossy(initialName_);
  for (const std::string& p : patterns) view.filter += (view.filter.empty() ? "" : ";") + p;
  observer->fileDialogShown(view);
  cad::publishAsking(cad::Asking{cad::AskKind::kFile, "File name: ", std::nullopt});
}

int FileDialog::closed(int result) {
  if (DialogObserver* observer = dialogObserver()) observer->fileDialogClosed();
  return result;
}

std::string FileDialog::heading(const std::vector<Filter>& filters) const {
  std::string shown = std::string("\n") + (openDialog_ ? "Open" : "Save As") + " [x]\n";
  shown += "  File name: \"" + text::cp936ToUtf8Lossy(initialName_) + "\"\n";
  for (const Filter& filter : filters)
    shown += "  Files of type: " + text::cp936ToUtf8Lossy(filter.description) + " (" +
             text::cp936ToUtf8Lossy(filter.pattern) + ")\n";
  if (!defaultExtension_.empty())
    shown += "  Default extension: ." + text::cp936ToUtf8Lossy(defaultExtension_) + "\n";
  if ((flags_ & kFileDialogHideReadOnly) == 0)
    shown += std::string("  [") + (readOnlyTicked() ? "x" : " ") + "] Open as read-only\n";
  shown += "  Answer with a path, or *cancel*.\n";
  return shown;
}

std::vector<std::string> FileDialog::patternsOf(const std::vector<Filter>& filters) {
  std::vector<std::string> patterns;
  for (const Filter& filter : filters) {
    // "*.prj;*.PRJ" holds several.
    const std::string all = text::cp936ToUtf8Lossy(filter.pattern);
    for (std::size_t start = 0; start <= all.size();) {
      const std::size_t end = std::min(all.find(';', start), all.size());
      if (end > start) patterns.push_back(all.substr(start, end - start));
      start = end + 1;
    }
  }
  return patterns;
}

bool FileDialog::looked(const std::string& typed, const std::vector<std::string>& patterns,
                        bool interactive) {
  if (typed.find_first_of("?*") != std::string::npos) {
    const fs::path pattern(typed);
    listFolder((fs::path(folder_) / pattern.parent_path()).lexically_normal().string(),
               {pattern.filename().string()});
    return true;
  }
  if (!interactive || typed.empty()) return false;
  const fs::path asked = fs::path(folder_) / typed;
  std::error_code error;
  if (!fs::is_directory(asked, error)) return false;
  folder_ = asked.lexically_normal().string();
  if (folder_.size() > 1 && folder_.ends_with('/')) folder_.pop_back();
  listFolder(folder_, patterns);
  return true;
}

base::Result<std::string> FileDialog::takePath(const std::string& utf8) const {
  base::Result<std::string> pathName = acceptPath(utf8);
  if (!pathName.isOk() || (flags_ & kFileDialogNoChangeDir) != 0) return pathName;
  std::error_code changeError;
  std::optional<std::string> folder = text::cp936ToUtf8(*pathName);
  fs::current_path(fs::path(folder.value_or("")).parent_path(), changeError);
  if (changeError)
    return base::Status::error("cannot make the file's folder the working folder: " +
                               changeError.message());
  return pathName;
}

void FileDialog::listFolder(std::string folder, const std::vector<std::string>& patterns) const {
  if (folder.size() > 1 && folder.ends_with('/')) folder.pop_back();
  std::vector<std::string> folders, files;
  std::error_code error;
  for (const FileEntry& entry : folderEntries(folder, patterns, &error))
    (entry.folder ? folders : files).push_back(entry.folder ? entry.name + "/" : entry.name);
  std::string pattern;
  for (const std::string& p : patterns) pattern += (pattern.empty() ? "" : " ") + p;
  std::string shown = "  Look in: " + folder + "/\n";
  if (error) shown += "    (cannot be read: " + error.message() + ")\n";
  constexpr std::size_t kShown = 20;
  const auto list = [&](const std::vector<std::string>& names, const std::string& none) {
    if (names.empty()) shown += "    " + none + "\n";
    for (std::size_t i = 0; i < names.size() && i < kShown; ++i) shown += "    " + names[i] + "\n";
    if (names.size() > kShown)
      shown += "    … and " + std::to_string(names.size() - kShown) + " more\n";
  };
  if (!folders.empty()) list(folders, "");
  list(files, "no file matches " + pattern);
  cad::commandLine().printUtf8(shown);
}

}  // namespace ui
