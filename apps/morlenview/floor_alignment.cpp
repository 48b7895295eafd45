#include "morlenview/floor_alignment.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "morlenview/point_tree.h"

namespace morlenview {

bool AlignmentResult::linesUp() const {
  return std::all_of(pairs.begin(), pairs.end(),
                     [](const FloorPairFinding& pair) { return pair.linesUp(); });
}

namespace {

// Near misses of the points of floor `from` against the tree of floor `to`;
// their offsets, seen from the pair's first floor, go to `offsets`.
void findNearMisses(const std::vector<const AlignmentFloor*>& floors, std::size_t from,
                    std::size_t to, const PointTree& toTree, FloorPairFinding& pair,
                    std::vector<NearMiss>& nearMisses, std::vector<PlanePoint>& offsets) {
  const auto& toPoints = floors[to]->points;
  const double sign = from == pair.first ? 1.0 : -1.0;
  for (const PlanePoint& p : floors[from]->points) {
    const auto nearest = toTree.nearest(p, kNearMissLimit);
    if (!nearest || nearest->distance < kCoincidence) continue;
    const PlanePoint& q = toPoints[nearest->index];
    nearMisses.push_back(NearMiss{from, p, to, q, nearest->distance});
    offsets.push_back(PlanePoint{sign * (q.x - p.x), sign * (q.y - p.y)});
    ++pair.nearMisses;
    pair.largestOffset = std::max(pair.largestOffset, nearest->distance);
  }
}

double median(std::vector<double>& values) {
  auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
  std::nth_element(values.begin(), middle, values.end());
  return *middle;
}

void measureShift(const std::vector<PlanePoint>& offsets, FloorPairFinding& pair) {
  if (offsets.empty()) return;
  std::vector<double> values(offsets.size());
  std::transform(offsets.begin(), offsets.end(), values.begin(),
                 [](const PlanePoint& o) { return o.x; });
  pair.shiftX = median(values);
  std::transform(offsets.begin(), offsets.end(), values.begin(),
                 [](const PlanePoint& o) { return o.y; });
  pair.shiftY = median(values);
  pair.oneShift = std::all_of(offsets.begin(), offsets.end(), [&](const PlanePoint& o) {
    return std::hypot(o.x - pair.shiftX, o.y - pair.shiftY) < kCoincidence;
  });
}

// The floor every failing pair includes, when the pairs without it all line
// up and it fails against each of them.
std::optional<std::size_t> findOddFloor(const std::vector<const AlignmentFloor*>& floors,
                                        const std::vector<FloorPairFinding>& pairs) {
  std::size_t withPoints = 0;
  for (const AlignmentFloor* floor : floors) withPoints += floor->points.empty() ? 0 : 1;
  if (withPoints < 3) return std::nullopt;
  for (std::size_t odd = 0; odd < floors.size(); ++odd) {
    if (floors[odd]->points.empty()) continue;
    const bool alone = std::all_of(pairs.begin(), pairs.end(), [&](const FloorPairFinding& pair) {
      const bool involved = pair.first == odd || pair.second == odd;
      return involved != pair.linesUp();
    });
    if (alone) return odd;
  }
  return std::nullopt;
}

}  // namespace

AlignmentResult checkAlignment(const std::vector<const AlignmentFloor*>& floors) {
  // Trees only where there are pairs to check.
  std::vector<std::unique_ptr<PointTree>> trees(floors.size());
  const auto withPoints = std::count_if(floors.begin(), floors.end(),
                                        [](const AlignmentFloor* f) { return !f->points.empty(); });
  for (std::size_t k = 0; k < floors.size() && withPoints > 1; ++k)
    if (!floors[k]->points.empty()) trees[k] = std::make_unique<PointTree>(floors[k]->points);
  AlignmentResult result;
  std::vector<PlanePoint> offsets;
  for (std::size_t a = 0; a < floors.size(); ++a) {
    if (floors[a]->points.empty()) continue;
    for (std::size_t b = a + 1; b < floors.size(); ++b) {
      if (floors[b]->points.empty()) continue;
      FloorPairFinding pair;
      pair.first = a;
      pair.second = b;
      pair.extentsOverlap = floors[a]->extent.overlaps(floors[b]->extent);
      offsets.clear();
      findNearMisses(floors, a, b, *trees[b], pair, result.nearMisses, offsets);
      findNearMisses(floors, b, a, *trees[a], pair, result.nearMisses, offsets);
      measureShift(offsets, pair);
      result.pairs.push_back(pair);
    }
  }
  result.oddFloor = findOddFloor(floors, result.pairs);
  return result;
}

AlignmentResult checkAlignment(const std::vector<AlignmentFloor>& floors) {
  std::vector<const AlignmentFloor*> pointers;
  for (const AlignmentFloor& floor : floors) pointers.push_back(&floor);
  return checkAlignment(pointers);
}

}  // namespace morlenview
