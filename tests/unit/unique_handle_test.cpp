// The handle owner with fake traits: every owned handle is closed exactly
// once, moves and release close nothing, and the live count follows.

#include "runtime/unique_handle.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <utility>
#include <vector>

namespace {

// Handles are plain ints, 0 is empty; close() only records the call.
struct FakeTraits {
  using Handle = int;
  static Handle empty() { return 0; }
  static void close(Handle h) { closed().push_back(h); }
  static std::vector<int>& closed() {
    static std::vector<int> log;
    return log;
  }
};
using Owner = pelvrin::UniqueHandle<FakeTraits>;

// A second kind, to see that the counts are kept per kind.
struct OtherTraits {
  using Handle = int;
  static Handle empty() { return -1; }
  static void close(Handle) {}
};
using OtherOwner = pelvrin::UniqueHandle<OtherTraits>;

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class UniqueHandleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FakeTraits::closed().clear();
    start_ = Owner::live_count();
  }
  void TearDown() override { EXPECT_EQ(Owner::live_count(), start_) << "a handle leaked"; }

  int live() const { return Owner::live_count() - start_; }
  const std::vector<int>& closed() const { return FakeTraits::closed(); }

  int start_ = 0;
};

TEST_F(UniqueHandleTest, OwnsFromConstructionAndClosesOnDestruction) {
  {
    Owner a(7);
    EXPECT_EQ(a.get(), 7);
    EXPECT_TRUE(a);
    EXPECT_EQ(live(), 1);
    EXPECT_THAT(closed(), IsEmpty());
  }
  EXPECT_THAT(closed(), ElementsAre(7));
  EXPECT_EQ(live(), 0);
}

TEST_F(UniqueHandleTest, EmptyOwnersCountNothingAndCloseNothing) {
  {
    Owner a;
    Owner b(0);
    EXPECT_FALSE(a);
    EXPECT_FALSE(b);
    EXPECT_EQ(live(), 0);
    a.reset();
    b.reset(0);
    EXPECT_EQ(live(), 0);
  }
  EXPECT_THAT(closed(), IsEmpty());
}

TEST_F(UniqueHandleTest, ResetClosesTheOldHandleAndTakesTheNew) {
  Owner a(1);
  a.reset(2);
  EXPECT_THAT(closed(), ElementsAre(1));
  EXPECT_EQ(a.get(), 2);
  EXPECT_EQ(live(), 1);

  a.reset();
  EXPECT_THAT(closed(), ElementsAre(1, 2));
  EXPECT_FALSE(a);
  EXPECT_EQ(live(), 0);

  a.reset(3);  // from empty: nothing to close
  EXPECT_THAT(closed(), ElementsAre(1, 2));
  EXPECT_EQ(live(), 1);
}

TEST_F(UniqueHandleTest, MoveConstructionHandsOverWithoutClosing) {
  {
    Owner a(5);
    Owner b(std::move(a));
    EXPECT_FALSE(a);  // NOLINT(bugprone-use-after-move): the moved-from state is the point
    EXPECT_EQ(b.get(), 5);
    EXPECT_EQ(live(), 1);
    EXPECT_THAT(closed(), IsEmpty());
  }
  EXPECT_THAT(closed(), ElementsAre(5));
}

TEST_F(UniqueHandleTest, MoveAssignmentClosesOnlyTheTargetsOldHandle) {
  {
    Owner a(10);
    Owner b(20);
    EXPECT_EQ(live(), 2);
    b = std::move(a);
    EXPECT_THAT(closed(), ElementsAre(20));
    EXPECT_EQ(b.get(), 10);
    EXPECT_FALSE(a);  // NOLINT(bugprone-use-after-move)
    EXPECT_EQ(live(), 1);

    Owner empty;
    b = std::move(empty);  // an empty source empties the target
    EXPECT_THAT(closed(), ElementsAre(20, 10));
    EXPECT_FALSE(b);
    EXPECT_EQ(live(), 0);
  }
  EXPECT_THAT(closed(), ElementsAre(20, 10));
}

TEST_F(UniqueHandleTest, SelfMoveKeepsTheHandle) {
  {
    Owner a(9);
    Owner& alias = a;
    a = std::move(alias);
    EXPECT_EQ(a.get(), 9);
    EXPECT_EQ(live(), 1);
    EXPECT_THAT(closed(), IsEmpty());
  }
  EXPECT_THAT(closed(), ElementsAre(9));
}

TEST_F(UniqueHandleTest, ReleaseGivesUpOwnershipWithoutClosing) {
  {
    Owner a(4);
    EXPECT_EQ(a.release(), 4);
    EXPECT_FALSE(a);
    EXPECT_EQ(live(), 0);
    EXPECT_EQ(a.release(), 0);  // nothing left to give
    EXPECT_EQ(live(), 0);
  }
  EXPECT_THAT(closed(), IsEmpty());
}

TEST_F(UniqueHandleTest, ManyReplaceCyclesCloseEachHandleOnce) {
  constexpr int kCycles = 1000;
  {
    Owner a;
    std::vector<Owner> pool(3);
    for (int h = 1; h <= kCycles; ++h) {
      a.reset(h);
      // Shuffle it through moves as well: into a slot of the pool and back.
      Owner& slot = pool[static_cast<std::size_t>(h) % pool.size()];
      slot = std::move(a);
      a = std::move(slot);
      ASSERT_EQ(live(), 1) << "after handle " << h;
    }
  }
  std::map<int, int> times;
  for (int h : closed()) ++times[h];
  ASSERT_EQ(times.size(), static_cast<std::size_t>(kCycles));
  for (const auto& [h, n] : times) EXPECT_EQ(n, 1) << "handle " << h;
}

TEST_F(UniqueHandleTest, EachKindKeepsItsOwnCount) {
  const int other_start = OtherOwner::live_count();
  OtherOwner o(0);  // 0 is a real handle for this kind; -1 is its empty value
  EXPECT_TRUE(o);
  EXPECT_EQ(OtherOwner::live_count(), other_start + 1);
  EXPECT_EQ(live(), 0);
  o.reset();
  EXPECT_EQ(OtherOwner::live_count(), other_start);
}

}  // namespace
