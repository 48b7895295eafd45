#pragma once

#include "plot/scene.h"

namespace plot {

// Where a scene lands in its picture: the picture's size in pixels (points
// in SVG and PDF) and the mapping of world points onto it.
//
// The drawing is sized to the line work: its longer side gets about 14
// pixels per typical segment (the median length of lines and arcs), within
// 600 to 4000 pixels, so a small house and a campus of a thousand axes are
// both legible. Margins hold the title, the extents, the scale bar and the
// legend.
struct PictureLayout {
  int width = 0;
  int height = 0;
  double pixelsPerUnit = 1.0;
  // The world box shown (line work and marks), and the box of the line work
  // alone, whose edges are written on the picture. Both in world units.
  double viewMinX = 0.0, viewMinY = 0.0, viewMaxX = 0.0, viewMaxY = 0.0;
  double extentMinX = 0.0, extentMinY = 0.0, extentMaxX = 0.0, extentMaxY = 0.0;
  bool hasExtent = false;
  // Pixel of the view's upper-left corner.
  double left = 0.0;
  double top = 0.0;

  // The pixel of a world point (y down).
  Point toPixel(Point world) const {
    return Point{left + (world.x - viewMinX) * pixelsPerUnit,
                 top + (viewMaxY - world.y) * pixelsPerUnit};
  }
};

PictureLayout layoutScene(const Scene& scene);

}  // namespace plot
