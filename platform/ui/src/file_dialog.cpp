#include "ui/file_dialog.h"

#include <filesystem>
#include <system_error>

#include "answer_words.h"
#include "cad/code_page.h"
#include "cad/command_line.h"
#include "cad/input_source.h"
#include "text/cp936.h"
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

std::string FileDialog::acceptPath(const std::string& utf8, std::string* pathName) const {
  std::string_view typed = words::trim(utf8);
  if (typed.empty()) return "no file name given";
  std::error_code error;
  fs::path path{std::string(typed)};
  if (path.is_relative()) {
    fs::path here = fs::current_path(error);
    if (error) return "the working folder cannot be read: " + error.message();
    path = here / path;
  }
  path = path.lexically_normal();
  if (!path.has_filename()) return "\"" + path.string() + "\" names a folder, not a file";
  if (path.filename().string().find('.') == std::string::npos && !defaultExtension_.empty())
    path += "." + cad::cp936ToUtf8Lossy(defaultExtension_);
  const fs::path folder = path.parent_path();
  if (!fs::is_directory(folder, error))
    return "the folder \"" + folder.string() + "\" does not exist";
  if (fs::is_directory(path, error)) return "\"" + path.string() + "\" is a folder";
  if ((flags_ & kFileDialogFileMustExist) != 0 && !fs::exists(path, error))
    return "\"" + path.string() + "\" does not exist";
  std::optional<std::string> cp936 = cad::utf8ToCp936(path.string());
  if (!cp936) return "\"" + path.string() + "\" holds characters that code page 936 cannot hold";
  *pathName = std::move(*cp936);
  return {};
}

int FileDialog::doModal() {
  std::vector<Filter> filters;
  if (!parseFilter(filter_, &filters)) {
    cad::commandLine().printUtf8("\nopen-file dialog: the filter \"" +
                                 cad::cp936ToUtf8Lossy(filter_) +
                                 "\" is not of the form description|pattern||\n");
    return -1;
  }
  std::string shown = std::string("\n") + (openDialog_ ? "Open" : "Save As") + " [x]\n";
  shown += "  File name: \"" + cad::cp936ToUtf8Lossy(initialName_) + "\"\n";
  for (const Filter& filter : filters)
    shown += "  Files of type: " + cad::cp936ToUtf8Lossy(filter.description) + " (" +
             cad::cp936ToUtf8Lossy(filter.pattern) + ")\n";
  if (!defaultExtension_.empty())
    shown += "  Default extension: ." + cad::cp936ToUtf8Lossy(defaultExtension_) + "\n";
  if ((flags_ & kFileDialogHideReadOnly) == 0)
    shown += std::string("  [") + (readOnlyTicked() ? "x" : " ") + "] Open as read-only\n";
  shown += "  Answer with a path, or *cancel*.\n";
  cad::commandLine().printUtf8(shown);

  cad::InputSource& input = cad::input();
  for (;;) {
    cad::Answer answer = input.next();
    if (!answer.isLine()) return kIdCancel;
    std::string pathName;
    std::string reason = acceptPath(answer.text, &pathName);
    if (reason.empty() && (flags_ & kFileDialogNoChangeDir) == 0) {
      std::error_code error;
      std::optional<std::string> utf8 = cad::cp936ToUtf8(pathName);
      fs::current_path(fs::path(utf8.value_or("")).parent_path(), error);
      if (error) reason = "cannot make the file's folder the working folder: " + error.message();
    }
    if (!reason.empty()) {
      input.reject(answer, reason);
      continue;
    }
    pathName_ = std::move(pathName);
    return kIdOk;
  }
}

}  // namespace ui
