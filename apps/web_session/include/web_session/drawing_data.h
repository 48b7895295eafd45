#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "cad/database.h"
#include "host/ac_db_entity.h"

namespace web {

struct Segment {
  double x1 = 0.0, y1 = 0.0, x2 = 0.0, y2 = 0.0;
};

struct ArcGeometry {
  double cx = 0.0, cy = 0.0, r = 0.0;
  double start = 0.0, end = 0.0;  // radians, counter-clockwise from start to end
};

struct LayerInfo {
  std::string name;  // UTF-8
  int aci = 7;       // colour index
  std::uint32_t lines = 0, arcs = 0, others = 0;
};

struct Box {
  double minX = 0.0, minY = 0.0, maxX = 0.0, maxY = 0.0;
};

// The drawing as the page draws it, read once from a database that must
// outlive it. Entity indexes number the lines first, then the arcs; other
// entities are only drawn, as faint segments.
struct DrawingData {
  std::vector<Segment> lines;
  std::vector<ArcGeometry> arcs;
  std::vector<Segment> others;
  std::vector<std::uint32_t> lineLayer, arcLayer, otherLayer;  // indexes into layers
  std::vector<LayerInfo> layers;                               // in order of first use
  // Per entity index: the database entity and its DXF handle.
  std::vector<const AcDbEntity*> entities;
  std::vector<unsigned long long> handles;
  std::unordered_map<std::uint64_t, std::uint32_t> indexOfId;  // object id -> entity index
  Box extents;  // of everything drawn; all zero for an empty drawing

  static DrawingData read(const cad::Database& database);

  // The compact form of GET /api/drawing.bin (little-endian, header "TVDR").
  std::string encode() const;
};

// True when `angle` (radians) lies on the counter-clockwise span from
// `start` to `end`.
bool angleInSpan(double angle, double start, double end);

// The end points of an arc: at its start and its end angle.
Segment arcEnds(const ArcGeometry& arc);

// Red, green, blue of the ACI colour `index` (1..255); 7 (white/black) and
// anything unknown give white, as on a dark background.
std::array<std::uint8_t, 3> aciColour(int index);

// "mm", "cm", "m", "in", "ft", ... for an $INSUNITS code; "" when unknown.
std::string unitAbbreviation(int insUnits);

}  // namespace web
