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
// legend. Text is sized for the picture shown whole: 12 pixels up to a
// drawing 1,200 pixels across, and as much more as the picture is larger,
// so a label keeps its size on the screen however big the floor.
//
// Any finite coordinates lay out, up to the largest doubles: the mapping
// works from the middle of the view and never forms a width that overflows.
// Line work and marks that are not finite are left out.
struct PictureLayout {
  int width = 0;
  int height = 0;
  double pixelsPerUnit = 1.0;
  // The world point in the middle of the drawing area.
  double centreX = 0.0, centreY = 0.0;
  // The drawing area in pixels: its upper-left corner and its size.
  double left = 0.0;
  double top = 0.0;
  double drawingWidth = 0.0;
  double drawingHeight = 0.0;
  // The box of the line work, whose edges are written on the picture; world
  // units.
  double extentMinX = 0.0, extentMinY = 0.0, extentMaxX = 0.0, extentMaxY = 0.0;
  bool hasExtent = false;
  // The size of ordinary text, in pixels; titles are larger, and marks and
  // margins grow with it.
  double textSize = 12.0;

  // The pixel of a world point (y down).
  Point toPixel(Point world) const {
    return Point{left + drawingWidth / 2 + (world.x - centreX) * pixelsPerUnit,
                 top + drawingHeight / 2 - (world.y - centreY) * pixelsPerUnit};
  }
  // Pixels per point of text: textSize / 12.
  double textScale() const { return textSize / 12.0; }
};

PictureLayout layoutScene(const Scene& scene);

}  // namespace plot
