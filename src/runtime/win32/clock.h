#pragma once

#include <windows.h>

#include <cstdint>

namespace pelvrin::win32 {

// A monotonic clock in microseconds (the performance counter).
inline std::int64_t now_microseconds() {
  static const std::int64_t frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<std::int64_t>(f.QuadPart);
  }();
  LARGE_INTEGER c;
  QueryPerformanceCounter(&c);
  const std::int64_t ticks = c.QuadPart;
  return ticks / frequency * 1000000 + ticks % frequency * 1000000 / frequency;
}

}  // namespace pelvrin::win32
