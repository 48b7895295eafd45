#include "morlenview/floor_alignment.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace morlenview {

void Extent::add(PlanePoint p) {
  if (!std::isfinite(p.x) || !std::isfinite(p.y)) return;
  if (empty) {
    minX = maxX = p.x;
    minY = maxY = p.y;
    empty = false;
    return;
  }
  minX = std::min(minX, p.x);
  maxX = std::max(maxX, p.x);
  minY = std::min(minY, p.y);
  maxY = std::max(maxY, p.y);
}

bool Extent::overlaps(const Extent& other) const {
  if (empty || other.empty) return false;
  return minX <= other.maxX && other.minX <= maxX && minY <= other.maxY && other.minY <= maxY;
}

bool AlignmentResult::linesUp() const {
  return std::all_of(pairs.begin(), pairs.end(),
                     [](const FloorPairFinding& pair) { return pair.linesUp(); });
}

namespace {

// Near misses of the points of floor `from` against the grid of floor `to`.
void findNearMisses(const std::vector<AlignmentFloor>& floors, std::size_t from, std::size_t to,
                    const PointGrid& toGrid, FloorPairFinding& pair,
                    std::vector<NearMiss>& nearMisses) {
  for (const PlanePoint& p : floors[from].points) {
    const auto nearest = toGrid.nearest(p, kNearMissLimit);
    if (!nearest || nearest->distance < kCoincidence) continue;
    nearMisses.push_back(NearMiss{from, p, to, toGrid.points()[nearest->index], nearest->distance});
    ++pair.nearMisses;
    pair.largestOffset = std::max(pair.largestOffset, nearest->distance);
  }
}

}  // namespace

AlignmentResult checkAlignment(const std::vector<AlignmentFloor>& floors) {
  std::vector<std::unique_ptr<PointGrid>> grids;
  for (const AlignmentFloor& floor : floors) {
    auto grid = std::make_unique<PointGrid>(kNearMissLimit);
    for (const PlanePoint& p : floor.points) grid->add(p);
    grids.push_back(std::move(grid));
  }
  AlignmentResult result;
  for (std::size_t a = 0; a < floors.size(); ++a) {
    if (floors[a].points.empty()) continue;
    for (std::size_t b = a + 1; b < floors.size(); ++b) {
      if (floors[b].points.empty()) continue;
      FloorPairFinding pair;
      pair.first = a;
      pair.second = b;
      pair.extentsOverlap = floors[a].extent.overlaps(floors[b].extent);
      findNearMisses(floors, a, b, *grids[b], pair, result.nearMisses);
      findNearMisses(floors, b, a, *grids[a], pair, result.nearMisses);
      result.pairs.push_back(pair);
    }
  }
  return result;
}

}  // namespace morlenview
