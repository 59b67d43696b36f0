// The timers' catch-up arithmetic, driven by a fake microsecond clock.

#include "runtime/timer_schedule.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <vector>

namespace {

using pelvrin::TimerSchedule;

struct RateCase {
  std::int32_t period_ms;
  std::vector<std::int64_t> tick_gaps_us;  // cycled
};

void PrintTo(const RateCase& c, std::ostream* os) {
  *os << c.period_ms << " ms period, tick gaps";
  for (std::int64_t gap : c.tick_gaps_us) *os << ' ' << gap << " us";
}

class TimerScheduleRate : public ::testing::TestWithParam<RateCase> {};

// Whatever the platform's tick spacing, after every tick the number of events
// raised equals the number of whole periods since the period was written: no
// event lost, none early, no drift.
TEST_P(TimerScheduleRate, EventsSoFarAreTheWholePeriodsSinceTheWrite) {
  const RateCase& c = GetParam();
  const std::int64_t start = 864'000'000'005;  // the clock has run for ten days
  TimerSchedule schedule;
  ASSERT_TRUE(schedule.set_period(c.period_ms, start));

  const std::int64_t period_us = std::int64_t{c.period_ms} * 1000;
  std::int64_t now = start;
  std::int64_t total = 0;
  for (int i = 0; i < 200'000; ++i) {
    now += c.tick_gaps_us[i % c.tick_gaps_us.size()];
    total += schedule.take_due(now);
    ASSERT_EQ(total, (now - start) / period_us) << "tick " << i << " at +" << now - start;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TimerScheduleRate,
    ::testing::Values(RateCase{1, {10'000}}, RateCase{1, {15'600}}, RateCase{1, {15'625}},
                      RateCase{7, {10'000}}, RateCase{10, {15'600}},
                      RateCase{1, {9'800, 10'200, 15'600, 31'200, 1'000, 0}},
                      RateCase{30'000, {15'600}}));

TEST(TimerSchedule, CountsExactlyPerTickAtOneMillisecond) {
  struct Case {
    std::int64_t tick_gap_us;
    std::vector<std::int64_t> counts;
  };
  // 15.6 ms ticks give 15 or 16 events each; 10 ms ticks exactly 10.
  for (const Case& c : {Case{10'000, {10, 10, 10, 10, 10}},
                        Case{15'600, {15, 16, 15, 16, 16, 15, 16, 15, 16, 16}}}) {
    TimerSchedule schedule;
    schedule.set_period(1, 0);
    std::vector<std::int64_t> counts;
    for (std::size_t i = 1; i <= c.counts.size(); ++i) {
      counts.push_back(schedule.take_due(static_cast<std::int64_t>(i) * c.tick_gap_us));
    }
    EXPECT_EQ(counts, c.counts) << "tick gap " << c.tick_gap_us;
  }
}

TEST(TimerSchedule, FirstEventIsDueOnePeriodAfterTheWrite) {
  TimerSchedule schedule;
  EXPECT_TRUE(schedule.set_period(10, 1'000));
  EXPECT_EQ(schedule.take_due(10'999), 0);
  EXPECT_EQ(schedule.take_due(11'000), 1);
  EXPECT_EQ(schedule.take_due(11'000), 0);
  EXPECT_EQ(schedule.take_due(20'999), 0);
  EXPECT_EQ(schedule.take_due(21'000), 1);
}

TEST(TimerSchedule, StartsStopped) {
  TimerSchedule schedule;
  EXPECT_FALSE(schedule.running());
  EXPECT_EQ(schedule.period(), 0);
  EXPECT_EQ(schedule.take_due(1'000'000'000), 0);
}

TEST(TimerSchedule, WritingTheSamePeriodKeepsTheSchedule) {
  TimerSchedule schedule;
  ASSERT_TRUE(schedule.set_period(10, 0));
  EXPECT_EQ(schedule.take_due(7'000), 0);
  EXPECT_FALSE(schedule.set_period(10, 7'000));
  EXPECT_EQ(schedule.take_due(10'000), 1);  // not 17'000
  EXPECT_EQ(schedule.period(), 10);
  EXPECT_TRUE(schedule.running());
}

TEST(TimerSchedule, ChangingThePeriodRestartsFromTheWrite) {
  TimerSchedule schedule;
  schedule.set_period(10, 0);
  EXPECT_EQ(schedule.take_due(25'000), 2);
  EXPECT_TRUE(schedule.set_period(7, 26'000));
  EXPECT_EQ(schedule.period(), 7);
  EXPECT_EQ(schedule.take_due(30'000), 0);  // the old schedule's event is gone
  EXPECT_EQ(schedule.take_due(32'999), 0);
  EXPECT_EQ(schedule.take_due(33'000), 1);
  EXPECT_EQ(schedule.take_due(54'000), 3);
}

TEST(TimerSchedule, ZeroStopsAndNegativeCountsAsZero) {
  struct Case {
    std::int32_t stop_with;
  };
  for (const Case& c : {Case{0}, Case{-1}, Case{-30'000}}) {
    TimerSchedule schedule;
    schedule.set_period(5, 0);
    EXPECT_TRUE(schedule.set_period(c.stop_with, 3'000)) << c.stop_with;
    EXPECT_FALSE(schedule.running());
    EXPECT_EQ(schedule.period(), 0);
    EXPECT_EQ(schedule.take_due(1'000'000), 0);
    // Stopped already: another zero or negative write changes nothing.
    EXPECT_FALSE(schedule.set_period(0, 4'000));
    EXPECT_FALSE(schedule.set_period(-7, 4'000));
    // Restarting counts from the new write, not from the first one.
    EXPECT_TRUE(schedule.set_period(5, 10'000));
    EXPECT_EQ(schedule.take_due(14'999), 0);
    EXPECT_EQ(schedule.take_due(15'000), 1);
  }
}

TEST(TimerSchedule, AStallRaisesAtMostTheCatchUpBoundAndDropsTheRest) {
  struct Case {
    std::int32_t period_ms;
    std::int64_t stall_us;
    std::int64_t raised;
  };
  for (const Case& c : {Case{1, 500'000, 100}, Case{30, 1'000'000, 3}, Case{50, 1'000'000, 2},
                        Case{30'000, 95'000'000, 1}}) {
    TimerSchedule schedule;
    schedule.set_period(c.period_ms, 0);
    EXPECT_EQ(schedule.take_due(c.stall_us), c.raised) << c.period_ms;
    // Rescheduled from the stalled tick: the next event is one period later.
    const std::int64_t period_us = std::int64_t{c.period_ms} * 1000;
    EXPECT_EQ(schedule.take_due(c.stall_us + period_us - 1), 0) << c.period_ms;
    EXPECT_EQ(schedule.take_due(c.stall_us + period_us), 1) << c.period_ms;
  }
}

TEST(TimerSchedule, ExactlyTheBoundIsRaisedInFullAndKeepsThePhase) {
  TimerSchedule schedule;
  schedule.set_period(50, 0);
  EXPECT_EQ(schedule.take_due(100'000), 2);  // 100 ms worth: not more than the bound
  EXPECT_EQ(schedule.take_due(149'999), 0);
  EXPECT_EQ(schedule.take_due(150'000), 1);
  EXPECT_EQ(schedule.take_due(250'000), 2);
  EXPECT_EQ(schedule.take_due(400'000), 2);  // 2 of 3 due: the third is dropped
  EXPECT_EQ(schedule.take_due(449'999), 0);
  EXPECT_EQ(schedule.take_due(450'000), 1);
}

TEST(TimerSchedule, HugeStallsCostNothingExtra) {
  // A loop per due period would never finish these.
  TimerSchedule schedule;
  schedule.set_period(1, 0);
  const std::int64_t far = std::int64_t{1} << 62;
  EXPECT_EQ(schedule.take_due(far), 100);
  EXPECT_EQ(schedule.take_due(far + 999), 0);
  EXPECT_EQ(schedule.take_due(far + 1'000), 1);

  TimerSchedule slow;
  slow.set_period(30'000, 0);
  EXPECT_EQ(slow.take_due(3'600'000'000), 1);  // an hour
  EXPECT_EQ(slow.take_due(3'629'999'999), 0);
  EXPECT_EQ(slow.take_due(3'630'000'000), 1);
}

}  // namespace
