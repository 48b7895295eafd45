#include "axis/extent_index.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace tavrin {

namespace {

using Rng = std::mt19937_64;

// Mixes the kinds of boxes the index files differently: small ones (in the
// cells), boxes over most of the bounds (kept aside), unbounded ones, points.
std::vector<ExtentBox> randomBoxes(Rng& rng, int n, int hugeEvery, int everywhereEvery) {
  std::uniform_real_distribution<double> at(-1000, 1000), small(0, 40);
  std::vector<ExtentBox> boxes;
  for (int i = 0; i < n; ++i) {
    ExtentBox b;
    b.minX = at(rng);
    b.minY = at(rng);
    if (hugeEvery > 0 && i % hugeEvery == 0) {
      b.maxX = b.minX + 1500;
      b.maxY = b.minY + 1800;
    } else if (i % 11 == 0) {
      b.maxX = b.minX;  // a point
      b.maxY = b.minY;
    } else {
      b.maxX = b.minX + small(rng);
      b.maxY = b.minY + small(rng);
    }
    b.everywhere = everywhereEvery > 0 && i % everywhereEvery == 1;
    boxes.push_back(b);
  }
  return boxes;
}

TEST(ExtentIndex, FindsExactlyTheOverlappingBoxesInAscendingOrder) {
  struct Case {
    const char* name;
    int count, hugeEvery, everywhereEvery;
  } cases[] = {
      {"one box", 1, 0, 0},
      {"small boxes", 400, 0, 0},
      {"with huge boxes", 400, 7, 0},
      {"with unbounded boxes", 300, 0, 13},
      {"everything mixed", 600, 5, 17},
      {"all unbounded", 20, 0, 1},
  };
  Rng rng(3);
  for (const Case& c : cases) {
    std::vector<ExtentBox> boxes = randomBoxes(rng, c.count, c.hugeEvery, c.everywhereEvery);
    if (c.everywhereEvery == 1)
      for (ExtentBox& b : boxes) b.everywhere = true;
    ExtentIndex index(boxes);
    std::vector<std::uint32_t> found;
    std::size_t pairs = 0;
    for (std::uint32_t i = 0; i < boxes.size(); ++i) {
      std::vector<std::uint32_t> expected;
      for (std::uint32_t j = 0; j < boxes.size(); ++j)
        if (boxes[i].overlaps(boxes[j])) expected.push_back(j);
      index.overlapping(i, found);
      ASSERT_EQ(found, expected) << c.name << ", box " << i;
      pairs += found.size();
    }
    EXPECT_GE(pairs, boxes.size()) << c.name;  // every box overlaps itself
  }
}

TEST(ExtentBox, OverlapIncludesTouchingEdgesAndUnboundedBoxes) {
  const ExtentBox unit{0, 0, 1, 1, false};
  struct Case {
    ExtentBox other;
    bool overlaps;
  } cases[] = {
      {{1, 1, 2, 2, false}, true},      // corner on corner
      {{1, 0.5, 2, 0.7, false}, true},  // edge on edge
      {{std::nextafter(1.0, 2.0), 0, 2, 1, false}, false},
      {{0.2, -5, 0.3, 5, false}, true},  // crosses without a corner inside
      {{50, 50, 60, 60, true}, true},    // unbounded
  };
  for (const Case& c : cases) {
    EXPECT_EQ(unit.overlaps(c.other), c.overlaps);
    EXPECT_EQ(c.other.overlaps(unit), c.overlaps);
  }
}

}  // namespace

}  // namespace tavrin
