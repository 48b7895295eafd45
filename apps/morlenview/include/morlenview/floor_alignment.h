#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "geometry/plane_box.h"
#include "morlenview/point_grid.h"

// Whether the floors of a project line up in its coordinate system. Floors
// exported with another base point, unit or scale land beside the others:
// their extents miss each other, or their points lie a little off the
// points of the other floors.
namespace morlenview {

// Points closer than this coincide (metres).
inline constexpr double kCoincidence = 0.001;
// A point that does not coincide with any point of another floor but lies
// within this of one is a near miss (metres).
inline constexpr double kNearMissLimit = 0.3;

// The box of a floor's line work, in metres.
using Extent = geometry::PlaneBox;

// One floor as the check sees it: its distinct points and its extent.
struct AlignmentFloor {
  std::vector<PlanePoint> points;
  Extent extent;
};

// A point of `floor` whose nearest point of `otherFloor` (indices into the
// checked floors) lies `offset` metres away, kCoincidence <= offset <=
// kNearMissLimit, while no point of that floor coincides with it.
struct NearMiss {
  std::size_t floor = 0;
  PlanePoint at;
  std::size_t otherFloor = 0;
  PlanePoint nearest;
  double offset = 0.0;
};

// The findings for two floors, first < second.
struct FloorPairFinding {
  std::size_t first = 0;
  std::size_t second = 0;
  bool extentsOverlap = true;
  // Near misses of either floor against the other.
  std::size_t nearMisses = 0;
  double largestOffset = 0.0;
  // With near misses: where the second floor lies against the first, in
  // metres (the median of the offsets from a point of the first to the
  // nearest of the second, each near miss counted once per direction), and
  // whether every offset is that one within kCoincidence. A floor exported
  // with another base point is one shift; one with another unit or scale is
  // not.
  double shiftX = 0.0;
  double shiftY = 0.0;
  bool oneShift = false;

  bool linesUp() const { return extentsOverlap && nearMisses == 0; }
};

struct AlignmentResult {
  // Every pair of floors that both have points.
  std::vector<FloorPairFinding> pairs;
  // Every near miss, both directions, in floor and point order.
  std::vector<NearMiss> nearMisses;
  // Of three floors or more with points: the one that lines up with none of
  // the others while they all line up with each other.
  std::optional<std::size_t> oddFloor;

  bool linesUp() const;
};

// Checks every pair of floors. Each floor's points are indexed once in a
// k-d tree (point_tree.h), so a pair costs about n log n for n points,
// whatever the coordinates and however densely the points lie.
AlignmentResult checkAlignment(const std::vector<const AlignmentFloor*>& floors);
AlignmentResult checkAlignment(const std::vector<AlignmentFloor>& floors);

}  // namespace morlenview
