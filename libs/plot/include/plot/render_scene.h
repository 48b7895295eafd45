#pragma once

#include <string>

#include "base/status.h"
#include "plot/picture_format.h"
#include "plot/scene.h"

namespace plot {

// Draws `scene` (laid out by layoutScene()) into the file `path` (UTF-8) in
// `format`: white ground, the title, each layer's lines, arcs and dots, the
// marks, the extents of the line work written at its edges, a scale bar and
// a legend. The picture is written to a temporary file beside `path` and
// renamed over it when complete, so a failure leaves the file that was there.
// On failure the status names the file and the reason.
base::Status renderScene(const Scene& scene, const std::string& path, PictureFormat format);

}  // namespace plot
