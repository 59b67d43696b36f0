// The click senders: the point value, the three posted messages of a
// background click and the two input events of a foreground click.

#include "clicking/click_senders.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <ostream>
#include <vector>

#include "fake_click_platform.h"

namespace {

using pelvrin::background_click_messages;
using pelvrin::pack_point;
using pelvrin::PostedMessage;
using pelvrin::fakes::FakeClickPlatform;
using Post = FakeClickPlatform::Post;

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

// The lParam that carries a 32-bit point value: zero-extended where LPARAM is
// wider than 32 bits.
std::intptr_t as_lparam(std::uint32_t point) {
  return static_cast<std::intptr_t>(static_cast<std::uintptr_t>(point));
}

struct PointCase {
  std::int32_t x, y;
  std::uint32_t expected;
};

void PrintTo(const PointCase& c, std::ostream* os) { *os << "(" << c.x << ", " << c.y << ")"; }

class PackPoint : public ::testing::TestWithParam<PointCase> {};

TEST_P(PackPoint, IsTheLow32BitsOfXPlus65536TimesY) {
  const PointCase& c = GetParam();
  EXPECT_EQ(pack_point(c.x, c.y), c.expected) << "x=" << c.x << " y=" << c.y;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PackPoint,
    ::testing::Values(PointCase{0, 0, 0x00000000u},
                      PointCase{100, 200, 0x00C80064u},
                      PointCase{-5, 10, 0x0009FFFBu},   // x borrows from the high half
                      PointCase{5, -3, 0xFFFD0005u},
                      PointCase{-1, -1, 0xFFFEFFFFu},
                      PointCase{65536, 0, 0x00010000u},  // x carries into the high half
                      PointCase{65535, 32767, 0x7FFFFFFFu},
                      PointCase{-65536, 1, 0x00000000u},
                      PointCase{0, 65536, 0x00000000u},  // y's bits above 16 fall off
                      PointCase{0x12345, 0x10, 0x00112345u},
                      // Extremes must not overflow on the way.
                      PointCase{kMax, kMax, 0x7FFEFFFFu},
                      PointCase{kMin, kMin, 0x80000000u},
                      PointCase{kMin, kMax, 0x7FFF0000u}));

TEST(BackgroundClickMessages, AreMoveDownUpWithTheirKeyFlagsAndThePointValue) {
  struct Case {
    std::int32_t x, y;
    std::uint32_t point;
  };
  for (const Case& c : {Case{100, 200, 0x00C80064u}, Case{-1, -1, 0xFFFEFFFFu},
                        Case{5, -3, 0xFFFD0005u}, Case{0, 0, 0u}}) {
    const std::intptr_t p = as_lparam(c.point);
    const auto messages = background_click_messages(c.x, c.y);
    EXPECT_EQ(messages[0], (PostedMessage{0x0200, 2, p})) << c.x << "," << c.y;
    EXPECT_EQ(messages[1], (PostedMessage{0x0201, 1, p})) << c.x << "," << c.y;
    EXPECT_EQ(messages[2], (PostedMessage{0x0202, 0, p})) << c.x << "," << c.y;
  }
}

TEST(BackgroundClickMessages, PointValueIsNotSignExtendedOnWideBuilds) {
  const auto messages = background_click_messages(-1, -1);
  for (const PostedMessage& m : messages) {
    EXPECT_EQ(static_cast<std::uint32_t>(m.lparam), 0xFFFEFFFFu);
    if (sizeof(std::intptr_t) > 4) {
      EXPECT_GT(m.lparam, 0);
    }
  }
}

TEST(SendBackgroundClick, PostsExactlyThreeMessagesInOrderToTheTarget) {
  FakeClickPlatform platform;
  pelvrin::send_background_click(0x000A0B0C, 100, 200);

  const std::intptr_t p = as_lparam(0x00C80064u);
  EXPECT_EQ(platform.posts, (std::vector<Post>{{0x000A0B0C, 0x0200, 2, p},
                                               {0x000A0B0C, 0x0201, 1, p},
                                               {0x000A0B0C, 0x0202, 0, p}}));
  EXPECT_EQ(platform.desktop_queries, 0);
  EXPECT_TRUE(platform.mouse_events.empty());
}

TEST(SendBackgroundClick, TargetZeroGoesToTheDesktopWindow) {
  FakeClickPlatform platform;
  pelvrin::send_background_click(0, 0, 0);

  EXPECT_EQ(platform.desktop_queries, 1);
  EXPECT_EQ(platform.posts, (std::vector<Post>{{FakeClickPlatform::kDesktop, 0x0200, 2, 0},
                                               {FakeClickPlatform::kDesktop, 0x0201, 1, 0},
                                               {FakeClickPlatform::kDesktop, 0x0202, 0, 0}}));
}

TEST(SendBackgroundClick, AnyNonZeroTargetIsUsedUnchecked) {
  // A sign-extended 32-bit handle, as a negative handle field gives on a
  // 64-bit build, must reach the platform as it is.
  const auto odd = static_cast<std::uintptr_t>(static_cast<std::intptr_t>(-2));
  for (std::uintptr_t target : {std::uintptr_t{1}, odd}) {
    FakeClickPlatform platform;
    pelvrin::send_background_click(target, 3, 4);
    ASSERT_EQ(platform.posts.size(), 3u);
    for (const Post& post : platform.posts) EXPECT_EQ(post.window, target);
    EXPECT_EQ(platform.desktop_queries, 0);
  }
}

TEST(SendForegroundClick, IsALeftPressThenALeftReleaseAndNothingElse) {
  FakeClickPlatform platform;
  pelvrin::send_foreground_click();

  EXPECT_EQ(platform.mouse_events, (std::vector<std::uint32_t>{0x0002, 0x0004}));
  EXPECT_TRUE(platform.posts.empty());
  EXPECT_EQ(platform.desktop_queries, 0);
}

}  // namespace
