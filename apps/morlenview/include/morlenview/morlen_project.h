#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/result.h"
#include "base/status.h"
#include "formats/axis_file_segment.h"
#include "formats/project_parameters.h"
#include "host/file_system.h"
#include "morlenview/point_grid.h"

// A Morlen project as the export leaves it on disk: the project file, its
// parameter file and the axis files of its floors beside it.
namespace morlenview {

using tavrin::AxisFileSegment;
using tavrin::ProjectParameters;

// One floor's axis file, read or not.
struct ProjectFloor {
  int number = 0;
  // The file's name, UTF-8.
  std::string fileName;
  // Failed when the file could not be read, naming the file, the line and
  // the reason.
  base::Status status = base::Status::ok();
  std::vector<AxisFileSegment> segments;

  bool read() const { return status.isOk(); }
};

struct MorlenProject {
  std::string path;  // the project file, UTF-8
  std::string name;  // its name up to the first "."
  // The parameter file's values, or why they could not be read.
  base::Result<ProjectParameters> parameters = base::Status::error("not read yet");
  // In floor order.
  std::vector<ProjectFloor> floors;
};

// Loads the project file `projectPath` (UTF-8): reads its parameter file and
// every axis file NAME.N<k> beside it (only floors in `onlyFloors` when that
// is not empty). A floor that cannot be read is kept with its error; the
// others are read all the same. Fails, saying why, when the project file is
// not there, or a floor asked for has no axis file.
base::Result<MorlenProject> loadMorlenProject(const std::string& projectPath,
                                              const std::vector<int>& onlyFloors,
                                              FileSystem& files);

// The project's reference point in Morlen metres: where every floor's base
// point lands, (reference - origin) * scale / 10^unit.
PlanePoint referencePointInMetres(const ProjectParameters& parameters);

}  // namespace morlenview
