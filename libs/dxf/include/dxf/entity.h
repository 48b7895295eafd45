#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// One model-space entity as the DXF reader hands it over: geometry in world
// coordinates (object coordinates already resolved), texts in UTF-8.
namespace cad::dxf {

struct Point {
  double x = 0.0;
  double y = 0.0;
  double z = 0.0;
};

enum class EntityType {
  kLine,        // start, end
  kArc,         // centre, radius, startAngle, endAngle
  kCircle,      // centre, radius
  kLwPolyline,  // vertices, closed
  kPolyline,    // vertices (of its VERTEX records), closed
  kText,        // position, text
  kMText,       // position, text (all its chunks joined)
  kInsert,      // position, text = block name
  kPoint,       // position
  kOther,       // typeName only
};

struct Entity {
  EntityType type = EntityType::kOther;
  std::string typeName;      // DXF name, e.g. "LINE", "HATCH"
  std::uint64_t handle = 0;  // group 5; 0 when absent
  std::string layer = "0";   // UTF-8
  std::size_t line = 0;      // line of the entity's "0" group (byte offset in binary DXF)

  Point start;     // LINE start
  Point end;       // LINE end
  Point position;  // centre of ARC and CIRCLE; insertion point otherwise
  double radius = 0.0;
  // ARC: counter-clockwise from startAngle to endAngle about the centre, in
  // the XY plane, radians in [0, 2*pi).
  double startAngle = 0.0;
  double endAngle = 0.0;
  std::vector<Point> vertices;
  bool closed = false;
  std::string text;  // UTF-8
};

}  // namespace cad::dxf
