#pragma once

#include <vector>

#include "cad/database.h"
#include "host/ac_db_object_id.h"
#include "plot/scene.h"

// The host's "plot" command: a picture of the drawing's lines and arcs, so a
// user sees what would become an axis before exporting.

// The LINE and ARC entities of `drawing` (erased ones left out), in drawing
// units: those in `selected` in the selection colour on a layer of their own,
// the others grey.
plot::Scene drawingScene(const cad::Database& drawing, const std::vector<AcDbObjectId>& selected);

// Asks for a picture file (.png, .svg or .pdf) and draws the current drawing
// into it, with the last selection highlighted. A name of another kind is
// rejected (asked again at a terminal, the end of a script). Throws
// std::runtime_error naming the file when the picture cannot be written.
void runPlotCommand();
