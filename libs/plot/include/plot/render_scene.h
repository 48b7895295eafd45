#pragma once

#include <cstddef>
#include <functional>
#include <string_view>

#include "base/status.h"
#include "plot/picture_format.h"
#include "plot/scene.h"

namespace plot {

// Receives a picture's bytes in order, a piece at a time; returns false when
// it could not keep them, which ends the picture as failed.
using PictureSink = std::function<bool(std::string_view bytes)>;

// SVG and PDF pictures hold at most this many lines, arcs and marks: their
// files and the memory to make them grow with every one. A PNG picture draws
// any number in bounded memory.
inline constexpr std::size_t kVectorPictureSegmentLimit = 200000;

// Draws `scene` (laid out by layoutScene()) in `format` and hands the bytes
// to `sink`: white ground, the title, each layer's lines, arcs and dots, the
// marks, the extents of the line work written at its edges, a scale bar and
// a legend. A PNG is drawn a band of rows at a time and sent as it is made,
// so its memory does not grow with its size or with the line work; line
// work and dots that fall on a pixel already drawn in the same colour are
// passed over. Lines and arcs that are not finite are left out.
//
// Fails, saying why, when the sink refuses bytes, cairo or the PNG encoder
// fails, or an SVG or PDF picture would hold more than
// kVectorPictureSegmentLimit lines, arcs and marks. The sink may have had
// part of the picture by then.
base::Status renderScene(const Scene& scene, PictureFormat format, const PictureSink& sink);

}  // namespace plot
