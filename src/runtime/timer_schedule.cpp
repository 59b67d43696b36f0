#include "runtime/timer_schedule.h"

#include <algorithm>

namespace pelvrin {

bool TimerSchedule::set_period(std::int32_t period_ms, std::int64_t now_us) {
  period_ms = std::max<std::int32_t>(period_ms, 0);
  if (period_ms == period_ms_) return false;
  period_ms_ = period_ms;
  next_due_us_ = now_us + std::int64_t{period_ms} * 1000;
  return true;
}

std::int64_t TimerSchedule::take_due(std::int64_t now_us) {
  if (!running() || now_us < next_due_us_) return 0;
  const std::int64_t period_us = std::int64_t{period_ms_} * 1000;
  const std::int64_t due = (now_us - next_due_us_) / period_us + 1;
  const std::int64_t bound = std::max<std::int64_t>(kMaxCatchUpUs / period_us, 1);
  if (due > bound) {
    next_due_us_ = now_us + period_us;
    return bound;
  }
  next_due_us_ += due * period_us;
  return due;
}

}  // namespace pelvrin
