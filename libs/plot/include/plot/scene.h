#pragma once

#include <string>
#include <vector>

// What a picture shows, in world units (y up): layers of line work, marks
// at single points, and extra legend entries. Texts are ASCII.
namespace plot {

// Red, green and blue from 0 to 1.
struct Colour {
  double red = 0.0;
  double green = 0.0;
  double blue = 0.0;
};

struct Point {
  double x = 0.0;
  double y = 0.0;
};

struct Line {
  Point from;
  Point to;
};

// Counter-clockwise about `centre` from `startRadians` to `endRadians`; an
// end below the start passes direction 0 (355 to 5 degrees is a 10 degree
// arc).
struct Arc {
  Point centre;
  double radius = 0.0;
  double startRadians = 0.0;
  double endRadians = 0.0;
};

// Line work in one colour, named in the legend.
struct Layer {
  std::string name;
  Colour colour;
  std::vector<Line> lines;
  std::vector<Arc> arcs;
  // Drawn as small filled dots.
  std::vector<Point> dots;
};

enum class MarkShape { kCross, kDiamond, kRing };

// A symbol at one point, with `label` beside it when not empty. Marks widen
// the view but not the extents written at the edges.
struct Mark {
  Point at;
  MarkShape shape = MarkShape::kCross;
  Colour colour;
  std::string label;
};

// A legend line for marks: the symbol, then `text`.
struct LegendEntry {
  MarkShape shape = MarkShape::kRing;
  Colour colour;
  std::string text;
};

struct Scene {
  std::string title;
  // The world unit, written after numbers ("m").
  std::string unit = "m";
  std::vector<Layer> layers;
  std::vector<Mark> marks;
  std::vector<LegendEntry> legend;
};

}  // namespace plot
