#include "axis/axis.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <set>
#include <utility>
#include <vector>

#include "host/ads.h"

namespace tavrin {

namespace {

// Cells for finding equal points: twice the tolerance wide, so two
// coordinates closer than the tolerance fall in the same or neighbouring
// cells even after the division rounds. Beyond kCellLimit cells from 0 the
// quotient's rounding could break that, and the pairwise form is used.
constexpr double kCellLimit = 1e14 / (2 * Axis::kPointTolerance);
// Below this many points comparing every pair is as quick as hashing.
constexpr std::int32_t kPairwiseBelow = 24;

struct Cell {
  std::int64_t x;
  std::int64_t y;
};

// Open-addressed table from a cell to the latest survivor in it; survivors
// of one cell are chained through `next`, newest first.
class CellTable {
 public:
  explicit CellTable(std::int32_t points) {
    std::size_t capacity = 16;
    while (capacity < 2 * static_cast<std::size_t>(points)) capacity *= 2;
    mask_ = capacity - 1;
    cells_.resize(capacity);
    heads_.assign(capacity, -1);
    next_.resize(static_cast<std::size_t>(points));
  }

  // First survivor of `cell`, or -1.
  std::int32_t first(Cell cell) const { return heads_[find(cell)]; }
  std::int32_t next(std::int32_t survivor) const {
    return next_[static_cast<std::size_t>(survivor)];
  }
  void insert(Cell cell, std::int32_t survivor) {
    const std::size_t slot = find(cell);
    cells_[slot] = cell;
    next_[static_cast<std::size_t>(survivor)] = heads_[slot];
    heads_[slot] = survivor;
  }

 private:
  // The slot holding `cell`, or the empty slot where it would go.
  std::size_t find(Cell cell) const {
    std::uint64_t h = static_cast<std::uint64_t>(cell.x) * 0x9E3779B97F4A7C15ull ^
                      static_cast<std::uint64_t>(cell.y) * 0xC2B2AE3D27D4EB4Full;
    std::size_t slot = static_cast<std::size_t>(h ^ (h >> 29)) & mask_;
    while (heads_[slot] != -1 && (cells_[slot].x != cell.x || cells_[slot].y != cell.y))
      slot = (slot + 1) & mask_;
    return slot;
  }

  std::size_t mask_ = 0;
  std::vector<Cell> cells_;
  std::vector<std::int32_t> heads_;
  std::vector<std::int32_t> next_;
};

// The cell of one coordinate and which neighbours along that axis can hold
// a coordinate closer than the tolerance: half a cell, so only the side the
// coordinate is nearer to, with a margin well above the quotient's rounding
// (under 0.02 of a cell within kCellLimit).
struct CellReach {
  std::int64_t cell;
  std::int64_t from;  // -1 or 0
  std::int64_t to;    // 0 or 1
};

CellReach reachOf(double v, double cellWidth) {
  const double q = v / cellWidth;
  const double cell = std::floor(q);
  const double along = q - cell;
  return {static_cast<std::int64_t>(cell), along < 0.6 ? -1 : 0, along > 0.4 ? 1 : 0};
}

bool hashable(const AxisPoint& p, double cellWidth) {
  return std::fabs(p.x) / cellWidth <= kCellLimit && std::fabs(p.y) / cellWidth <= kCellLimit;
}

}  // namespace

bool Axis::nearlyEqual(double a, double b, double tolerance) {
  return std::fabs(a - b) < tolerance;
}

bool Axis::pointsEqual(const AxisPoint& p, const AxisPoint& q, double tolerance) {
  return nearlyEqual(p.x, q.x, tolerance) && nearlyEqual(p.y, q.y, tolerance) &&
         nearlyEqual(p.z, q.z, tolerance);
}

void Axis::removeDuplicates(double tolerance) {
  const std::int32_t n = points.size();
  const double cellWidth = 2 * tolerance;
  if (n < kPairwiseBelow ||
      !std::all_of(points.data(), points.data() + n,
                   [cellWidth](const AxisPoint& p) { return hashable(p, cellWidth); })) {
    removeDuplicatesPairwise(tolerance);
    return;
  }
  // A point survives exactly when no earlier survivor equals it; survivors
  // are packed to the front in their order.
  CellTable table(n);
  std::int32_t kept = 0;
  for (std::int32_t j = 0; j < n; ++j) {
    const AxisPoint p = points[j];
    const CellReach rx = reachOf(p.x, cellWidth), ry = reachOf(p.y, cellWidth);
    bool duplicate = false;
    for (std::int64_t dx = rx.from; dx <= rx.to && !duplicate; ++dx)
      for (std::int64_t dy = ry.from; dy <= ry.to && !duplicate; ++dy)
        for (std::int32_t s = table.first({rx.cell + dx, ry.cell + dy}); s != -1 && !duplicate;
             s = table.next(s))
          duplicate = pointsEqual(points[s], p, tolerance);
    if (duplicate) continue;
    points[kept] = p;
    table.insert({rx.cell, ry.cell}, kept);
    ++kept;
  }
  points.setSize(kept);
}

void Axis::removeDuplicatesPairwise(double tolerance) {
  for (std::int32_t i = 0; i < points.size(); ++i) {
    std::int32_t j = i + 1;
    while (j < points.size()) {
      // After a removal the point that moved into place j is tested next.
      if (pointsEqual(points[i], points[j], tolerance))
        points.removeAt(j);
      else
        ++j;
    }
  }
}

void Axis::computeAngles() {
  if (kind != AxisKind::Arc) return;
  const ads_point from = {centre.x, centre.y, centre.z};
  for (std::int32_t i = 0; i < points.size(); ++i) {
    AxisPoint& p = points[i];
    const ads_point to = {p.x, p.y, p.z};
    p.angle = ads_angle(from, to);
  }
}

void Axis::swapPoints(std::int32_t i, std::int32_t j) {
  const AxisPoint held = points[i];
  points[i] = points[j];
  points[j] = held;
}

void Axis::orderPoints() {
  if (points.size() < 2) return;
  if (kind == AxisKind::Arc)
    orderArc();
  else
    orderStraight();
}

template <typename Key>
void Axis::sortByKey(Key key, bool ascending) {
  const std::int32_t n = points.size();
  std::vector<double> keys(static_cast<std::size_t>(n));
  for (std::int32_t i = 0; i < n; ++i) keys[static_cast<std::size_t>(i)] = key(points[i]);
  // A NaN compares false both ways, which no sort reproduces: leave those to
  // the selection sort itself.
  if (std::any_of(keys.begin(), keys.end(), [](double k) { return std::isnan(k); }))
    selectionSort(key, ascending);
  else
    sortLikeSelection(keys.data(), ascending);
}

void Axis::sortLikeSelection(const double* keys, bool ascending) {
  const auto n = static_cast<std::size_t>(points.size());
  std::vector<std::int32_t> order(n);
  for (std::size_t i = 0; i < n; ++i) order[i] = static_cast<std::int32_t>(i);
  std::sort(order.begin(), order.end(), [keys](std::int32_t a, std::int32_t b) {
    return keys[a] < keys[b] || (keys[a] == keys[b] && a < b);
  });
  bool ties = false;
  for (std::size_t t = 1; t < n && !ties; ++t) ties = keys[order[t - 1]] == keys[order[t]];

  // `from[i]`: the original index of the point that ends at position i.
  std::vector<std::int32_t> from(n);
  if (!ties) {
    // Distinct keys have one sorted order, whatever the sort.
    for (std::size_t t = 0; t < n; ++t) from[t] = order[ascending ? t : n - 1 - t];
  } else {
    // Replay the selection sort group by group. Step i takes from the group
    // of the smallest (largest) key its first (last) remaining position p;
    // the point at i moves to p, staying in its own group. All remaining
    // positions are at or after i, so each step is a few set operations.
    std::vector<std::int32_t> groupAt(n);
    std::vector<std::set<std::int32_t>> groups;
    for (std::size_t t = 0; t < n; ++t) {
      if (t == 0 || keys[order[t - 1]] != keys[order[t]]) groups.emplace_back();
      groups.back().insert(order[t]);
      groupAt[static_cast<std::size_t>(order[t])] = static_cast<std::int32_t>(groups.size() - 1);
    }
    for (std::size_t i = 0; i < n; ++i) from[i] = static_cast<std::int32_t>(i);
    std::size_t current = ascending ? 0 : groups.size() - 1;
    for (std::size_t i = 0; i < n; ++i) {
      while (groups[current].empty()) current = ascending ? current + 1 : current - 1;
      std::set<std::int32_t>& group = groups[current];
      const std::int32_t p = ascending ? *group.begin() : *group.rbegin();
      group.erase(p);
      const auto position = static_cast<std::int32_t>(i);
      if (p == position) continue;
      const std::int32_t moved = groupAt[i];
      groups[static_cast<std::size_t>(moved)].erase(position);
      groups[static_cast<std::size_t>(moved)].insert(p);
      groupAt[static_cast<std::size_t>(p)] = moved;
      std::swap(from[i], from[static_cast<std::size_t>(p)]);
    }
  }
  std::vector<AxisPoint> arranged(n);
  for (std::size_t i = 0; i < n; ++i) arranged[i] = points[from[i]];
  for (std::size_t i = 0; i < n; ++i) points[static_cast<std::int32_t>(i)] = arranged[i];
}

template <typename Key>
void Axis::selectionSort(Key key, bool ascending) {
  const std::int32_t n = points.size();
  for (std::int32_t i = 0; i < n; ++i) {
    std::int32_t best = i;
    for (std::int32_t j = i + 1; j < n; ++j) {
      const double bestKey = key(points[best]);
      const double candidate = key(points[j]);
      if (ascending ? bestKey > candidate : bestKey <= candidate) best = j;
    }
    if (best != i) swapPoints(best, i);
  }
}

void Axis::orderStraight() {
  const bool byY = std::fabs(points[0].x - points[1].x) < kDirectionTolerance;
  auto key = [byY](const AxisPoint& p) { return byY ? p.y : p.x; };
  sortByKey(key, key(points[0]) < key(points[1]));
}

void Axis::orderArc() {
  auto angle = [](const AxisPoint& p) { return p.angle; };
  if (points[0].angle < points[1].angle) {
    sortByKey(angle, true);
    return;
  }
  // The arc passes direction 0 between its start and its end: lift the
  // points from direction 0 up to the end point by a full turn, sort, and
  // take the turn back.
  const double endAngle = points[1].angle;
  for (std::int32_t i = 0; i < points.size(); ++i)
    if (points[i].angle <= endAngle) points[i].angle += kFullTurn;
  sortByKey(angle, true);
  for (std::int32_t i = 0; i < points.size(); ++i)
    if (points[i].angle >= kFullTurn) points[i].angle -= kFullTurn;
}

}  // namespace tavrin
