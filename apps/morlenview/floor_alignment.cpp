#include "morlenview/floor_alignment.h"

#include <algorithm>
#include <memory>

namespace morlenview {

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
