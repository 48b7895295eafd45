#include "export/project_template.h"

#include "export/text_file.h"
#include "resources/project_template_text.h"

namespace tavrin {

bool ProjectTemplate::composeText() {
  templateText_.clear();
  for (const char* line : resources::kProjectTemplateLines) {
    templateText_ += line;
    templateText_ += '\n';
  }
  return true;
}

WriteResult ProjectTemplate::writeToFile(const std::string& path, FileSystem& files) const {
  if (templateText_.empty())
    return WriteResult{WriteOutcome::kWriteFailed, path, "the project text was not composed"};
  return writeTextFile(path, templateText_, files);
}

}  // namespace tavrin
