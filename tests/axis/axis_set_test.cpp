#include "axis/axis_set.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace tavrin {

namespace {

// Records its own destruction, so the tests see every axis released once.
class TrackedAxis : public Axis {
 public:
  explicit TrackedAxis(std::vector<int>* destroyed, int id) : destroyed_(destroyed), id_(id) {}
  ~TrackedAxis() override { destroyed_->push_back(id_); }

 private:
  std::vector<int>* destroyed_;
  int id_;
};

TEST(AxisSet, NewSetIsEmpty) {
  AxisSet set;
  EXPECT_TRUE(set.isEmpty());
  EXPECT_EQ(set.count(), 0);
  EXPECT_EQ(set.last(), nullptr);
  EXPECT_EQ(set.head(), nullptr);
}

TEST(AxisSet, AppendKeepsTheOrderOfAppending) {
  AxisSet set;
  auto first = std::make_unique<Axis>();
  Axis* firstAxis = first.get();
  EXPECT_EQ(set.append(std::move(first)), 1);
  EXPECT_FALSE(set.isEmpty());
  EXPECT_EQ(set.head(), firstAxis);
  EXPECT_EQ(set.last(), firstAxis);
  EXPECT_EQ(set.count(), 1);

  auto second = std::make_unique<Axis>();
  auto third = std::make_unique<Axis>();
  Axis* secondAxis = second.get();
  Axis* thirdAxis = third.get();
  EXPECT_EQ(set.append(std::move(second)), 1);
  EXPECT_EQ(set.append(std::move(third)), 1);
  EXPECT_EQ(set.count(), 3);
  EXPECT_EQ(set.head(), firstAxis);
  EXPECT_EQ(firstAxis->next, secondAxis);
  EXPECT_EQ(secondAxis->next, thirdAxis);
  EXPECT_EQ(set.last(), thirdAxis);
  EXPECT_EQ(thirdAxis->next, nullptr);
}

TEST(AxisSet, StaleNextOfAnAppendedAxisIsCleared) {
  Axis stranger;
  for (bool emptySet : {true, false}) {
    AxisSet set;
    if (!emptySet) set.append(std::make_unique<Axis>());
    auto axis = std::make_unique<Axis>();
    axis->next = &stranger;
    Axis* appended = axis.get();
    set.append(std::move(axis));
    EXPECT_EQ(appended->next, nullptr) << (emptySet ? "empty set" : "filled set");
    EXPECT_EQ(set.last(), appended);
    EXPECT_EQ(set.count(), emptySet ? 1 : 2);
  }
}

TEST(AxisSet, NullAxisAppendsNothing) {
  AxisSet set;
  EXPECT_EQ(set.append(nullptr), 1);
  EXPECT_TRUE(set.isEmpty());
}

TEST(AxisSet, DestructionReleasesEveryAxisOnceInListOrder) {
  std::vector<int> destroyed;
  {
    AxisSet set;
    for (int id = 0; id < 4; ++id) {
      auto axis = std::make_unique<TrackedAxis>(&destroyed, id);
      for (int k = 0; k < 6; ++k) axis->points.add(AxisPoint{double(k), 0, 0, 0});
      set.append(std::move(axis));
    }
    EXPECT_TRUE(destroyed.empty());
  }
  // The sanitizer build checks that every point block went with its axis.
  EXPECT_EQ(destroyed, (std::vector<int>{0, 1, 2, 3}));
}

}  // namespace

}  // namespace tavrin
