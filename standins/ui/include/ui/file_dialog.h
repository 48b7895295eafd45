#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/result.h"
#include "ui/object.h"

namespace ui {

// Options of the open-file dialog.
inline constexpr unsigned kFileDialogReadOnly = 0x00000001;      // box starts ticked
inline constexpr unsigned kFileDialogHideReadOnly = 0x00000004;  // no read-only box
inline constexpr unsigned kFileDialogNoChangeDir = 0x00000008;   // keep the working folder
inline constexpr unsigned kFileDialogFileMustExist = 0x00001000;
inline constexpr unsigned kFileDialogExplorer = 0x00080000;

// The explorer-style open-file dialog. Shown, it prints its title, filters,
// default extension and read-only box on the host's command line and takes a
// path (UTF-8) from the host's input source. A relative path is taken from
// the working folder; a name without extension gets the default extension.
// It refuses (a script then ends, a terminal asks again) an empty answer, a
// path whose folder does not exist, a folder, a missing file when the file
// must exist, and a path that code page 936 cannot hold. An answer holding
// "?" or "*" is never a file name: it is a pattern, and the dialog lists the
// names of the folder shown that match it and asks again. Where a person
// answers, the dialog also lists the folder shown (its subfolders and the
// files of its filters), and answering a folder shows that folder instead.
// On OK, unless kFileDialogNoChangeDir is given, the working folder becomes
// the chosen file's folder. "*cancel*" and the end of the input cancel.
class FileDialog : public Object {
 public:
  static const RuntimeClass kClass;

  // `defaultExtension` without dot, `fileName` the initial name and `filter`
  // pairs of description and pattern in the form "desc|pattern|...||"; all
  // code page 936 and may be null. A filter that does not have this form
  // makes doModal() fail.
  FileDialog(bool openDialog, const char* defaultExtension, const char* fileName, unsigned flags,
             const char* filter);

  const RuntimeClass* runtimeClass() const override;

  // kIdOk or kIdCancel; -1 (with a message on the command line) for a
  // malformed filter.
  int doModal();

  // After OK: the full path and the file name with extension, code page 936.
  const std::string& pathName() const { return pathName_; }
  std::string fileName() const;
  // Whether the read-only box was ticked; shown to the user, for the caller
  // to use or ignore.
  bool readOnlyTicked() const { return (flags_ & kFileDialogReadOnly) != 0; }

  struct Filter {
    std::string description;  // code page 936
    std::string pattern;
  };
  // Parses "desc|pattern|...||"; false for anything else.
  static bool parseFilter(std::string_view filter, std::vector<Filter>* filters);

 private:
  // What the dialog shows first (UTF-8): its kind, the initial name, the
  // filters, the default extension and the read-only box.
  std::string heading(const std::vector<Filter>& filters) const;
  // The patterns of every filter (UTF-8), each of "*.a;*.b" on its own.
  static std::vector<std::string> patternsOf(const std::vector<Filter>& filters);
  // True when the typed answer only looked around: a pattern, listed, or
  // (where a person answers) a folder, which becomes the one shown.
  bool looked(const std::string& typed, const std::vector<std::string>& patterns, bool interactive);
  // Checks one answer (UTF-8): the path it names in code page 936, or why it
  // is not usable.
  base::Result<std::string> acceptPath(const std::string& utf8) const;
  // acceptPath(), then, unless told not to, makes the file's folder the
  // working folder; why when either fails.
  base::Result<std::string> takePath(const std::string& utf8) const;
  // Lists the subfolders of `folder` and its files that match any of
  // `patterns` (UTF-8, "*" and "?" wildcards), on the command line.
  void listFolder(std::string folder, const std::vector<std::string>& patterns) const;

  // Tells the dialog observer, if any, what the dialog shows and that it asks.
  void publish(const std::vector<std::string>& patterns) const;
  // Tells the dialog observer, if any, that the dialog closed; `result`.
  static int closed(int result);

  std::string folder_;  // the folder shown; relative answers start here (UTF-8)
  bool openDialog_;
  std::string defaultExtension_;
  std::string initialName_;
  unsigned flags_;
  std::string filter_;
  std::string pathName_;
};

}  // namespace ui
