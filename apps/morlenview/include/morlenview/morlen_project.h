#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/result.h"
#include "base/status.h"
#include "formats/project_parameters.h"
#include "host/file_system.h"
#include "morlenview/floor_summary.h"
#include "morlenview/point_grid.h"
#include "plot/scene.h"

// A Morlen project as the export leaves it on disk: the project file, its
// parameter file and the axis files of its floors beside it.
namespace morlenview {

using tavrin::ProjectParameters;

// One floor's axis file, read or not. The file is read a piece at a time and
// its segments kept as line work only, so a floor takes less memory than its
// file.
struct ProjectFloor {
  int number = 0;
  // The file's name, UTF-8.
  std::string fileName;
  // Failed when the file could not be read, naming the file, the line and
  // the reason; the floor is then empty.
  base::Status status = base::Status::ok();
  FloorSummary summary;
  // The straight and the arc segments, each in file order, in Morlen metres
  // (arcs' angles in radians).
  std::vector<plot::Line> lines;
  std::vector<plot::Arc> arcs;

  bool read() const { return status.isOk(); }
};

struct MorlenProject {
  std::string path;  // the project file, UTF-8
  std::string name;  // its name up to the first "."
  // The parameter file's values, or why they could not be read: the file is
  // missing or unreadable, or it is not what the export writes (the value
  // and the reason named, see tavrin::parameterFileFault()).
  base::Result<ProjectParameters> parameters = base::Status::error("not read yet");
  // True when the parameter file is there but not what the export writes.
  bool parametersFaulty = false;
  // In floor order.
  std::vector<ProjectFloor> floors;
};

// Loads the project file `projectPath` (UTF-8): reads and checks its
// parameter file and reads every axis file NAME.N<k> beside it, of any size (only floors in
// `onlyFloors` when that is not empty). A floor that cannot be read is kept with its error; the
// others are read all the same. Fails, saying why, when the project file is
// not there, or a floor asked for has no axis file.
base::Result<MorlenProject> loadMorlenProject(const std::string& projectPath,
                                              const std::vector<int>& onlyFloors,
                                              FileSystem& files);

// The project's reference point in Morlen metres: where every floor's base
// point lands, (reference - origin) * scale / 10^unit.
PlanePoint referencePointInMetres(const ProjectParameters& parameters);

}  // namespace morlenview
