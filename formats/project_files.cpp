#include "formats/project_files.h"

namespace tavrin {

namespace {

bool isLeadByte(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte >= 0x81 && byte <= 0xFE;
}

// Index of the first (or last) single-byte `wanted` in `text`, or npos.
std::size_t findCharacter(std::string_view text, char wanted, bool last) {
  std::size_t found = std::string_view::npos;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (isLeadByte(text[i]) && i + 1 < text.size()) {
      ++i;  // the trail byte belongs to the same character
      continue;
    }
    if (text[i] == wanted) {
      found = i;
      if (!last) break;
    }
  }
  return found;
}

}  // namespace

std::string projectFolder(std::string_view projectPath) {
  const std::size_t slash = findCharacter(projectPath, '/', true);
  return slash == std::string_view::npos ? std::string()
                                         : std::string(projectPath.substr(0, slash + 1));
}

std::string projectFileName(std::string_view projectPath) {
  const std::size_t slash = findCharacter(projectPath, '/', true);
  return std::string(slash == std::string_view::npos ? projectPath : projectPath.substr(slash + 1));
}

std::string projectBase(std::string_view fileName) {
  const std::size_t dot = findCharacter(fileName, '.', false);
  return dot == std::string_view::npos ? std::string() : std::string(fileName.substr(0, dot));
}

std::string projectSibling(std::string_view projectPath, std::string_view suffix) {
  return projectFolder(projectPath) + projectBase(projectFileName(projectPath)) +
         std::string(suffix);
}

std::string floorSuffix(int floorNumber) {
  return ".N" + std::to_string(floorNumber);
}

}  // namespace tavrin
