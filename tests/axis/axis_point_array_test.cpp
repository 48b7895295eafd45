#include "axis/axis_point_array.h"

#include <gtest/gtest.h>

#include <exception>
#include <vector>

#include "ui/archive.h"

namespace tavrin {

namespace {

AxisPoint point(double x, double y, double z = 0.0, double angle = 0.0) {
  return AxisPoint{x, y, z, angle};
}

void expectZero(const AxisPoint& p, const char* where) {
  EXPECT_EQ(p.x, 0.0) << where;
  EXPECT_EQ(p.y, 0.0) << where;
  EXPECT_EQ(p.z, 0.0) << where;
  EXPECT_EQ(p.angle, 0.0) << where;
}

TEST(AxisPointArray, StartsWithoutBlock) {
  AxisPointArray array;
  EXPECT_EQ(array.data(), nullptr);
  EXPECT_EQ(array.size(), 0);
  EXPECT_EQ(array.capacity(), 0);
  EXPECT_EQ(array.growBy(), 0);
  EXPECT_TRUE(array.isKindOf(&ui::Object::kClass));
}

TEST(AxisPointArray, AddingOneAtATimeGrowsByFourThenByAnEighth) {
  AxisPointArray array;
  std::vector<int> capacities;
  for (int i = 0; i < 60; ++i) {
    array.add(point(i, -i));
    if (capacities.empty() || capacities.back() != array.capacity())
      capacities.push_back(array.capacity());
  }
  // Step 4 while the size at growth time is below 40, then size / 8.
  const std::vector<int> expected = {1, 5, 9, 13, 17, 21, 25, 29, 33, 37, 41, 46, 51, 57, 64};
  EXPECT_EQ(capacities, expected);
  ASSERT_EQ(array.size(), 60);
  for (int i = 0; i < 60; ++i) {
    EXPECT_EQ(array[i].x, i);
    EXPECT_EQ(array[i].y, -i);
  }
}

TEST(AxisPointArray, FiveAddsGiveCapacityFiveAndTheSixthNine) {
  AxisPointArray array;
  for (int i = 0; i < 5; ++i) array.add(point(i, 0));
  EXPECT_EQ(array.size(), 5);
  EXPECT_EQ(array.capacity(), 5);
  array.add(point(5, 0));
  EXPECT_EQ(array.size(), 6);
  EXPECT_EQ(array.capacity(), 9);
}

TEST(AxisPointArray, AutomaticStepIsCappedAt1024) {
  AxisPointArray array;
  array.setSize(10000);
  array.setSize(10001);
  EXPECT_EQ(array.capacity(), 11024);
  EXPECT_EQ(array.size(), 10001);
}

TEST(AxisPointArray, GivenStepOfHundredOnAFullArrayOfTenGives110) {
  AxisPointArray full;
  full.setSize(10);
  ASSERT_EQ(full.capacity(), 10);
  full.setSize(11, 100);
  EXPECT_EQ(full.growBy(), 100);
  EXPECT_EQ(full.capacity(), 110);
  EXPECT_EQ(full.size(), 11);
}

TEST(AxisPointArray, NewSizeBeyondTheStepIsTakenExactly) {
  AxisPointArray array;
  array.add(point(1, 1));
  array.setSize(50);
  EXPECT_EQ(array.capacity(), 50);
  EXPECT_EQ(array[0].x, 1.0);
  for (int i = 1; i < 50; ++i) expectZero(array[i], "grown slot");
}

TEST(AxisPointArray, MinusOneKeepsTheStoredStep) {
  AxisPointArray array;
  array.setSize(2, 7);
  array.setSize(3, -1);
  EXPECT_EQ(array.growBy(), 7);
  EXPECT_EQ(array.capacity(), 9);
}

TEST(AxisPointArray, SizeZeroReleasesTheBlockAndTheNextAddTakesOneSlot) {
  AxisPointArray array;
  for (int i = 0; i < 7; ++i) array.add(point(i, i));
  array.setSize(0);
  EXPECT_EQ(array.data(), nullptr);
  EXPECT_EQ(array.size(), 0);
  EXPECT_EQ(array.capacity(), 0);
  array.add(point(3, 4));
  EXPECT_EQ(array.capacity(), 1);
  EXPECT_EQ(array[0].x, 3.0);
}

TEST(AxisPointArray, ShrinkKeepsCapacityAndRegrowthZeroesReturningSlots) {
  AxisPointArray array;
  for (int i = 1; i <= 5; ++i) array.add(point(i, i, i, i));
  array.setSize(2);
  EXPECT_EQ(array.size(), 2);
  EXPECT_EQ(array.capacity(), 5);
  EXPECT_EQ(array[1].x, 2.0);
  array.setSize(4);
  EXPECT_EQ(array.capacity(), 5);
  EXPECT_EQ(array[0].x, 1.0);
  EXPECT_EQ(array[1].x, 2.0);
  expectZero(array[2], "slot 2");
  expectZero(array[3], "slot 3");
}

TEST(AxisPointArray, RemoveAtMovesLaterPointsDownAndKeepsTheBlock) {
  AxisPointArray array;
  for (int i = 0; i < 4; ++i) array.add(point(i, 10 + i));
  const AxisPoint* block = array.data();
  array.removeAt(1);
  ASSERT_EQ(array.size(), 3);
  EXPECT_EQ(array.capacity(), 5);
  EXPECT_EQ(array.data(), block);
  EXPECT_EQ(array[0].x, 0.0);
  EXPECT_EQ(array[1].x, 2.0);
  EXPECT_EQ(array[2].x, 3.0);
  array.removeAt(2);
  ASSERT_EQ(array.size(), 2);
  EXPECT_EQ(array[1].y, 12.0);
}

TEST(AxisPointArray, AddingAPointOfItsOwnSurvivesGrowth) {
  AxisPointArray array;
  array.add(point(7, 8, 9, 1));
  array.add(array[0]);  // full: the block moves while the source lies in it
  ASSERT_EQ(array.size(), 2);
  EXPECT_EQ(array[1].x, 7.0);
  EXPECT_EQ(array[1].angle, 1.0);
}

TEST(AxisPointArray, SerialisesCountAndRawPointsAndReadsThemBack) {
  AxisPointArray source;
  source.add(point(1.5, -2.25, 0, 3.0));
  source.add(point(1e300, 4, 5, 6));
  ui::Archive store;
  source.serialize(store);
  ASSERT_EQ(store.bytes().size(), 2u + 2 * sizeof(AxisPoint));
  EXPECT_EQ(store.bytes()[0], 2);
  EXPECT_EQ(store.bytes()[1], 0);

  ui::Archive load(store.bytes());
  AxisPointArray copy;
  copy.serialize(load);
  ASSERT_EQ(copy.size(), 2);
  EXPECT_EQ(copy[0].y, -2.25);
  EXPECT_EQ(copy[0].angle, 3.0);
  EXPECT_EQ(copy[1].x, 1e300);
  EXPECT_EQ(copy[1].z, 5.0);
}

TEST(AxisPointArray, ReadingAShortArchiveThrows) {
  AxisPointArray source;
  source.add(point(1, 2));
  ui::Archive store;
  source.serialize(store);
  ui::Archive load(store.bytes().substr(0, store.bytes().size() - 1));
  AxisPointArray copy;
  EXPECT_THROW(copy.serialize(load), ui::ArchiveError);
  // Anyone who catches standard exceptions learns the reason.
  ui::Archive again(store.bytes().substr(0, store.bytes().size() - 1));
  try {
    copy.serialize(again);
    ADD_FAILURE() << "no exception";
  } catch (const std::exception& e) {
    EXPECT_STREQ(e.what(), "archive ends early");
  }
}

}  // namespace

}  // namespace tavrin
