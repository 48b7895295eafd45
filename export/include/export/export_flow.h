#pragma once

#include "axis/axis_set.h"
#include "export/unit_proposal.h"
#include "host/ads.h"
#include "host/file_system.h"

namespace tavrin {

// The export half of the command: asks for the Morlen project file, creates
// the project (project file from the template and parameter file) or reads the
// parameters of an existing one, lets the user confirm floor, unit and scale
// in the export dialog, and writes the floor's axis file beside the project
// file. A refused conversion (data too large) shows a message and the dialog
// again. Files are addressed in the project file's folder, which stays locked
// against other exporters until the export ends (one that holds it past a
// short wait makes this export say so and write nothing). A file that cannot
// be written is reported in a message box naming it and the reason, and is
// left as it was; after a failed axis file the export ends. Floor 1 again
// rewrites the parameter file only once its axis file is written. An origin
// that is not finite is refused as too large before anything is written. `axes` must be cleaned and
// ordered; its conversion fields and counters are set here. `base` is the
// picked base point (x and y are used). All user interaction goes through the
// user-interface library; files through `files`.
//
// `unit` is this drawing's proposed unit: a new project's dialog opens with
// it (at scale 1), and the project takes the unit and scale of its first
// Save. Its note, or for an existing project a line saying that this
// drawing's declared unit differs from the project's, is shown in the
// dialog's status line and printed on the command line.
void exportAxisGrid(AxisSet& axes, const ads_point base, const UnitProposal& unit,
                    FileSystem& files);

// The same through the host's file system.
void exportAxisGrid(AxisSet& axes, const ads_point base, const UnitProposal& unit);

}  // namespace tavrin
