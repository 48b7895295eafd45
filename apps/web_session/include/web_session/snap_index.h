#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "web_session/drawing_data.h"

namespace web {

struct Snap {
  enum class Kind { kEnd, kIntersection, kCentre, kMid };
  Kind kind = Kind::kEnd;
  double x = 0.0;
  double y = 0.0;
};

// "end", "intersection", "centre", "mid".
const char* snapKindName(Snap::Kind kind);

// Uniform grids over the drawing's lines and arcs (each entity is entered in
// the cells its curve passes through, not its whole box) and over their snap
// points, so that a query looks at the cells round the cursor only.
class SnapIndex {
 public:
  // `data` (and the database it was read from) must outlive the index.
  explicit SnapIndex(const DrawingData& data);

  // The snap point nearest (x, y) within `r`: end points and midpoints of
  // lines, end points and centres of arcs, and points where two lines or
  // arcs near the cursor meet, computed by the entities' own intersectWith.
  std::optional<Snap> snap(double x, double y, double r) const;
  // The line or arc nearest (x, y) within `r`, by its entity index.
  std::optional<std::uint32_t> pick(double x, double y, double r) const;
  // Entity indexes of every line and arc that may come within `r` of (x, y)
  // (a superset; each once).
  std::vector<std::uint32_t> near(double x, double y, double r) const;

  // Distance from (x, y) to the line or arc `entity`.
  double distance(std::uint32_t entity, double x, double y) const;

 private:
  struct Grid {
    double originX = 0.0, originY = 0.0, cell = 1.0;
    long columns = 1, rows = 1;
    std::vector<std::uint32_t> start;  // per cell: its first item in `items`; one more at the end
    std::vector<std::uint32_t> items;
    long column(double x) const;
    long row(double y) const;
  };
  struct SnapPoint {
    Snap::Kind kind;
    double x, y;
  };
  // Fills `grid` from (cell, item) pairs.
  static void fill(Grid* grid, std::vector<std::pair<std::uint64_t, std::uint32_t>> pairs);
  template <class Visit>
  void visitCells(const Grid& grid, double x, double y, double r, Visit visit) const;

  const DrawingData& data_;
  Grid entities_;
  std::vector<std::uint32_t> everywhere_;  // too long to enter cell by cell: always checked
  Grid points_;
  std::vector<SnapPoint> snapPoints_;
};

}  // namespace web
