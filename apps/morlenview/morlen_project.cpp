#include "morlenview/morlen_project.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "formats/axis_file_reader.h"
#include "formats/parameter_file.h"
#include "formats/power_of_ten.h"
#include "formats/project_files.h"
#include "text/code_page.h"

namespace morlenview {

using tavrin::floorSuffix;
using tavrin::powerOfTen;
using tavrin::projectBase;
using tavrin::projectFileName;
using tavrin::projectSibling;
namespace {

namespace fs = std::filesystem;

// The floor number of `fileName` when it is `base` + ".N" + a floor in
// decimal as the export writes it (no sign, no leading zero).
std::optional<int> floorOfFileName(const std::string& fileName, const std::string& base) {
  const std::string prefix = base + ".N";
  if (!fileName.starts_with(prefix)) return std::nullopt;
  const std::string digits = fileName.substr(prefix.size());
  if (digits.empty() || digits.size() > 9 || digits[0] == '0') return std::nullopt;
  int number = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    number = number * 10 + (c - '0');
  }
  return number;
}

// The floors of the project `name` whose axis files lie beside `projectPath`,
// ascending; with `onlyFloors`, those of them, each of which must be there.
// Fails, saying why, when one is missing or the folder cannot be listed.
base::Result<std::vector<int>> floorNumbers(const std::string& projectPath, const std::string& name,
                                            const std::vector<int>& onlyFloors) {
  const fs::path folder = fs::path(projectPath).parent_path();
  std::vector<int> numbers;
  std::error_code code;
  for (fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, code), end;
       !code && it != end; it.increment(code)) {
    const std::optional<int> floor = floorOfFileName(it->path().filename().string(), name);
    if (!floor) continue;
    if (!onlyFloors.empty() &&
        std::find(onlyFloors.begin(), onlyFloors.end(), *floor) == onlyFloors.end())
      continue;
    numbers.push_back(*floor);
  }
  if (code)
    return base::Status::error("cannot list the folder of " + projectPath + ": " + code.message());
  for (int wanted : onlyFloors) {
    if (std::find(numbers.begin(), numbers.end(), wanted) == numbers.end())
      return base::Status::error("floor " + std::to_string(wanted) + ": no axis file " + name +
                                 ".N" + std::to_string(wanted) + " beside " + projectPath);
  }
  std::sort(numbers.begin(), numbers.end());
  return numbers;
}

}  // namespace

base::Result<MorlenProject> loadMorlenProject(const std::string& projectPath,
                                              const std::vector<int>& onlyFloors,
                                              FileSystem& files) {
  const std::optional<std::string> cp936Path = text::utf8ToCp936(projectPath);
  if (!cp936Path) {
    return base::Status::error("the project file name \"" + projectPath +
                               "\" has characters outside code page 936");
  }
  std::error_code code;
  if (!fs::is_regular_file(fs::path(projectPath), code)) {
    return base::Status::error("no project file " + projectPath);
  }
  MorlenProject project;
  project.path = projectPath;
  project.name = text::cp936ToUtf8Lossy(projectBase(projectFileName(*cp936Path)));
  if (project.name.empty()) {
    return base::Status::error("the project file name " + projectPath +
                               " has no \".\": no floors can be beside it");
  }

  ProjectParameters parameters;
  const FileStatus status =
      readParameterFile(projectSibling(*cp936Path, ".inf"), files, &parameters);
  if (status.isOk())
    project.parameters = parameters;
  else
    project.parameters = base::Status::error(status.message());

  const base::Result<std::vector<int>> numbers =
      floorNumbers(projectPath, project.name, onlyFloors);
  if (!numbers.isOk()) return numbers.status();
  for (int number : *numbers) {
    ProjectFloor floor;
    floor.number = number;
    floor.fileName = project.name + floorSuffix(number);
    const FileStatus read =
        readAxisFile(projectSibling(*cp936Path, floorSuffix(number)), files, &floor.segments);
    if (!read.isOk()) floor.status = base::Status::error(read.message());
    project.floors.push_back(std::move(floor));
  }
  return project;
}

PlanePoint referencePointInMetres(const ProjectParameters& parameters) {
  const double factor = parameters.scale / powerOfTen(parameters.unitIndex);
  return PlanePoint{(parameters.referenceX - parameters.originX) * factor,
                    (parameters.referenceY - parameters.originY) * factor};
}

}  // namespace morlenview
