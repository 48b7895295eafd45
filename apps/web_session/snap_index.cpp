#include "web_session/snap_index.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "host/ac_db_entity.h"
#include "host/ac_ge_point3d_array.h"

namespace web {
namespace {

// An entity needing more samples than this is checked on every query.
constexpr std::size_t kMostSamples = 1 << 14;
// Intersections are computed among at most this many entities near the
// cursor (the nearest ones).
constexpr std::size_t kMostIntersected = 64;

double pointSegmentDistance(double x, double y, const Segment& s) {
  const double dx = s.x2 - s.x1, dy = s.y2 - s.y1;
  const double length2 = dx * dx + dy * dy;
  double t = length2 > 0 ? ((x - s.x1) * dx + (y - s.y1) * dy) / length2 : 0.0;
  t = std::clamp(t, 0.0, 1.0);
  return std::hypot(x - (s.x1 + t * dx), y - (s.y1 + t * dy));
}

double pointArcDistance(double x, double y, const ArcGeometry& arc) {
  if (angleInSpan(std::atan2(y - arc.cy, x - arc.cx), arc.start, arc.end))
    return std::abs(std::hypot(x - arc.cx, y - arc.cy) - arc.r);
  const Segment ends = arcEnds(arc);
  return std::min(std::hypot(x - ends.x1, y - ends.y1), std::hypot(x - ends.x2, y - ends.y2));
}

}  // namespace

const char* snapKindName(Snap::Kind kind) {
  switch (kind) {
    case Snap::Kind::kEnd:
      return "end";
    case Snap::Kind::kIntersection:
      return "intersection";
    case Snap::Kind::kCentre:
      return "centre";
    case Snap::Kind::kMid:
      return "mid";
  }
  return "end";
}

long SnapIndex::Grid::column(double x) const {
  const double c = std::floor((x - originX) / cell);
  if (std::isnan(c)) return 0;
  return static_cast<long>(std::clamp(c, 0.0, static_cast<double>(columns - 1)));
}

long SnapIndex::Grid::row(double y) const {
  const double r = std::floor((y - originY) / cell);
  if (std::isnan(r)) return 0;
  return static_cast<long>(std::clamp(r, 0.0, static_cast<double>(rows - 1)));
}

void SnapIndex::fill(Grid* grid, std::vector<std::pair<std::uint64_t, std::uint32_t>> pairs) {
  std::sort(pairs.begin(), pairs.end());
  pairs.erase(std::unique(pairs.begin(), pairs.end()), pairs.end());
  const auto cells = static_cast<std::size_t>(grid->columns * grid->rows);
  grid->start.assign(cells + 1, 0);
  for (const auto& pair : pairs) ++grid->start[pair.first + 1];
  for (std::size_t i = 0; i < cells; ++i) grid->start[i + 1] += grid->start[i];
  grid->items.reserve(pairs.size());
  for (const auto& pair : pairs) grid->items.push_back(pair.second);
}

SnapIndex::SnapIndex(const DrawingData& data) : data_(data) {
  const Box& box = data.extents;
  const double width = box.maxX - box.minX, height = box.maxY - box.minY;
  const std::size_t count = data.lines.size() + data.arcs.size();
  const double side = std::ceil(std::sqrt(static_cast<double>(std::max<std::size_t>(count, 1))));
  double cell = std::max(width, height) / side;
  if (!(cell > 0) || !std::isfinite(cell)) cell = 1.0;
  for (Grid* grid : {&entities_, &points_}) {
    grid->originX = box.minX;
    grid->originY = box.minY;
    grid->cell = cell;
    // At most side + 1 cells a row and a column, also when the extents are
    // too wide for a double.
    const auto cells = [&](double size) {
      const double n = std::floor(size / cell) + 1;
      return static_cast<long>(std::isfinite(n) ? std::min(n, side + 1) : side + 1);
    };
    grid->columns = cells(width);
    grid->rows = cells(height);
  }
  const auto cellOf = [&](const Grid& grid, double x, double y) {
    return static_cast<std::uint64_t>(grid.row(y) * grid.columns + grid.column(x));
  };

  // Samples along each curve no further apart than half a cell: a point of
  // the curve lies within a quarter cell of a sample.
  std::vector<std::pair<std::uint64_t, std::uint32_t>> pairs;
  const double step = cell / 2;
  const auto enter = [&](std::uint32_t index, double length, auto at) {
    const double samples = std::ceil(length / step) + 1;
    if (!(samples <= kMostSamples)) {
      everywhere_.push_back(index);
      return;
    }
    const auto n = static_cast<std::size_t>(samples);
    for (std::size_t i = 0; i <= n; ++i) {
      const auto [x, y] = at(static_cast<double>(i) / static_cast<double>(n));
      pairs.emplace_back(cellOf(entities_, x, y), index);
    }
  };
  std::uint32_t index = 0;
  for (const Segment& s : data.lines) {
    enter(index++, std::hypot(s.x2 - s.x1, s.y2 - s.y1), [&](double t) {
      return std::pair{s.x1 + t * (s.x2 - s.x1), s.y1 + t * (s.y2 - s.y1)};
    });
    snapPoints_.push_back({Snap::Kind::kEnd, s.x1, s.y1});
    snapPoints_.push_back({Snap::Kind::kEnd, s.x2, s.y2});
    snapPoints_.push_back({Snap::Kind::kMid, (s.x1 + s.x2) / 2, (s.y1 + s.y2) / 2});
  }
  for (const ArcGeometry& a : data.arcs) {
    double sweep = std::fmod(a.end - a.start, 2 * std::numbers::pi);
    if (sweep <= 0) sweep += 2 * std::numbers::pi;
    enter(index++, sweep * a.r, [&](double t) {
      const double angle = a.start + t * sweep;
      return std::pair{a.cx + a.r * std::cos(angle), a.cy + a.r * std::sin(angle)};
    });
    const Segment ends = arcEnds(a);
    snapPoints_.push_back({Snap::Kind::kEnd, ends.x1, ends.y1});
    snapPoints_.push_back({Snap::Kind::kEnd, ends.x2, ends.y2});
    snapPoints_.push_back({Snap::Kind::kCentre, a.cx, a.cy});
  }
  fill(&entities_, std::move(pairs));
  std::vector<std::pair<std::uint64_t, std::uint32_t>> points;
  points.reserve(snapPoints_.size());
  for (std::uint32_t i = 0; i < snapPoints_.size(); ++i)
    points.emplace_back(cellOf(points_, snapPoints_[i].x, snapPoints_[i].y), i);
  fill(&points_, std::move(points));
}

template <class Visit>
void SnapIndex::visitCells(const Grid& grid, double x, double y, double r, Visit visit) const {
  const long c0 = grid.column(x - r), c1 = grid.column(x + r);
  const long r0 = grid.row(y - r), r1 = grid.row(y + r);
  for (long row = r0; row <= r1; ++row)
    for (long column = c0; column <= c1; ++column) {
      const auto cell = static_cast<std::size_t>(row * grid.columns + column);
      for (std::uint32_t i = grid.start[cell]; i < grid.start[cell + 1]; ++i) visit(grid.items[i]);
    }
}

std::vector<std::uint32_t> SnapIndex::near(double x, double y, double r) const {
  std::vector<std::uint32_t> found(everywhere_);
  if (!std::isfinite(x) || !std::isfinite(y) || !(r >= 0)) return {};
  visitCells(entities_, x, y, r + entities_.cell / 4,
             [&](std::uint32_t entity) { found.push_back(entity); });
  std::sort(found.begin(), found.end());
  found.erase(std::unique(found.begin(), found.end()), found.end());
  return found;
}

double SnapIndex::distance(std::uint32_t entity, double x, double y) const {
  if (entity < data_.lines.size()) return pointSegmentDistance(x, y, data_.lines[entity]);
  return pointArcDistance(x, y, data_.arcs[entity - data_.lines.size()]);
}

std::optional<std::uint32_t> SnapIndex::pick(double x, double y, double r) const {
  std::optional<std::uint32_t> best;
  double bestDistance = std::numeric_limits<double>::infinity();
  for (std::uint32_t entity : near(x, y, r)) {
    const double d = distance(entity, x, y);
    if (d <= r && d < bestDistance) {
      best = entity;
      bestDistance = d;
    }
  }
  return best;
}

std::optional<Snap> SnapIndex::snap(double x, double y, double r) const {
  if (!std::isfinite(x) || !std::isfinite(y) || !(r >= 0)) return std::nullopt;
  std::optional<Snap> best;
  double bestDistance = std::numeric_limits<double>::infinity();
  const auto consider = [&](Snap::Kind kind, double px, double py) {
    const double d = std::hypot(px - x, py - y);
    // Ties go to the kind listed first (end before intersection ...).
    if (d <= r && (d < bestDistance || (d == bestDistance && best && kind < best->kind))) {
      best = Snap{kind, px, py};
      bestDistance = d;
    }
  };
  visitCells(points_, x, y, r, [&](std::uint32_t i) {
    consider(snapPoints_[i].kind, snapPoints_[i].x, snapPoints_[i].y);
  });

  std::vector<std::uint32_t> close;
  for (std::uint32_t entity : near(x, y, r))
    if (distance(entity, x, y) <= r) close.push_back(entity);
  if (close.size() > kMostIntersected) {
    std::partial_sort(
        close.begin(), close.begin() + kMostIntersected, close.end(),
        [&](std::uint32_t a, std::uint32_t b) { return distance(a, x, y) < distance(b, x, y); });
    close.resize(kMostIntersected);
  }
  for (std::size_t i = 0; i < close.size(); ++i)
    for (std::size_t j = i + 1; j < close.size(); ++j) {
      AcGePoint3dArray points;
      if (data_.entities[close[i]]->intersectWith(data_.entities[close[j]], AcDb::kOnBothOperands,
                                                  points) != Acad::eOk)
        continue;
      for (int k = 0; k < points.length(); ++k)
        consider(Snap::Kind::kIntersection, points[k].x, points[k].y);
    }
  return best;
}

}  // namespace web
