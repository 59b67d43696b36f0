// When a timer's periodic events are due. Window timers fire at most about
// every 10 ms (often every 15.6 ms), so at each platform tick the run time
// asks how many periods have come due since the last event and raises the
// event that many times. Periods are counted from the write of the period on
// a monotonic microsecond clock that the caller passes in, so the long-run
// rate is exact whatever the tick granularity.
#pragma once

#include <cstdint>

namespace pelvrin {

class TimerSchedule {
 public:
  static constexpr std::int64_t kMaxCatchUpUs = 100000;  // at most ~100 ms of periods per tick

  // Negative counts as 0. Writing the current period changes nothing and returns false
  // (the schedule is kept). Otherwise the schedule restarts from now_us (first event due at
  // now_us + period) and it returns true: the platform timer must be restarted (or stopped for 0).
  bool set_period(std::int32_t period_ms, std::int64_t now_us);
  std::int32_t period() const { return period_ms_; }
  bool running() const { return period_ms_ > 0; }

  // At a platform tick: how many periodic events are due at now_us; advances the schedule
  // past them. When more than kMaxCatchUpUs worth of periods (at least 1) are due, it returns
  // that bound and drops the rest, rescheduling from now, so a stall never bursts.
  std::int64_t take_due(std::int64_t now_us);

 private:
  std::int32_t period_ms_ = 0;
  std::int64_t next_due_us_ = 0;  // time of the next event while running
};

}  // namespace pelvrin
