#pragma once

#include <string>

#include "formats/write_result.h"
#include "host/file_system.h"

namespace tavrin {

// The content of a new Morlen project file: 74 fixed lines (two of them in
// code page 936), each followed by a line feed, so that the text ends with
// "0" and two line ends. Written once, when a project is created; never read.
class ProjectTemplate {
 public:
  // Holds no text until composeText().
  ProjectTemplate() = default;
  virtual ~ProjectTemplate() = default;

  // Replaces the text with the template's 74 lines. Returns true.
  bool composeText();
  // Writes the composed text to `path` (code page 936) through
  // writeTextFile(): 1413 bytes on disk with CR LF line ends. Without a
  // composed text nothing is touched and the result is kWriteFailed.
  WriteResult writeToFile(const std::string& path, FileSystem& files) const;

  // The composed text with LF line ends; empty before composeText().
  const std::string& templateText() const { return templateText_; }

 private:
  std::string templateText_;
};

}  // namespace tavrin
