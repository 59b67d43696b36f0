// The start-up and memory benchmark (run by scripts/bench-idle, not by
// ctest): how long each program takes from CreateProcess to a visible
// top-level window, and its working set once it has settled, for the
// program under test beside yardstick programs.
//
//   e2e_driver.exe bench-startup PELVRIN_EXE ROUNDS NAME=EXE...
//
// The programs start in turn, ROUNDS times each, after one start of each
// that is not counted (the first start after a fresh prefix also starts
// Wine's own services). Nothing is asserted: the figures are printed as
// "BENCH <name> <figure> <value>" lines for the script, the program under
// test under the name "pelvrin".
#include <windows.h>
// (psapi.h needs windows.h first)
#include <psapi.h>

#include <algorithm>
#include <cwchar>
#include <string>
#include <vector>

#include "framework.h"
#include "process.h"
#include "windows_util.h"

namespace e2e {
namespace {

double now_ms() {
  static const double frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
  }();
  LARGE_INTEGER c;
  QueryPerformanceCounter(&c);
  return static_cast<double>(c.QuadPart) * 1000.0 / frequency;
}

// The first visible top-level window of the process, or nullptr.
HWND visible_window(DWORD pid) {
  for (HWND w : top_level_windows(pid))
    if (IsWindowVisible(w)) return w;
  return nullptr;
}

struct Start {
  double ms = 0;               // CreateProcess to a visible window
  double working_set_kib = 0;  // after settling
};

// Starts the program once, waits for its window (polling every
// millisecond), lets it settle, reads its memory and ends it.
Start start_once(const std::wstring& program) {
  Start s;
  const double t0 = now_ms();
  Process p = Process::start(program);
  HWND window = nullptr;
  while ((window = visible_window(p.id())) == nullptr) {
    if (!p.running()) fail("the program ended before showing a window");
    if (now_ms() - t0 > 30000) fail("no visible window within 30 s");
    Sleep(1);
  }
  s.ms = now_ms() - t0;
  say("  window %s visible after %.1f ms", quoted(caption_of(window)).c_str(), s.ms);
  WaitForInputIdle(p.handle(), 10000);
  Sleep(1500);
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  if (GetProcessMemoryInfo(p.handle(), &counters, sizeof counters)) {
    s.working_set_kib = static_cast<double>(counters.WorkingSetSize) / 1024.0;
  } else {
    say("  GetProcessMemoryInfo failed, error %lu", GetLastError());
  }
  p.terminate();
  return s;
}

double median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  const std::size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

struct Contender {
  std::string name;
  std::wstring exe;
  std::vector<Start> starts;
};

void report(const Contender& c) {
  std::vector<double> ms, ws;
  std::string all;
  for (const Start& s : c.starts) {
    ms.push_back(s.ms);
    ws.push_back(s.working_set_kib);
    all += format("%s%.0f", all.empty() ? "" : ",", s.ms);
  }
  const char* name = c.name.c_str();
  say("BENCH %s startup_ms_median %.1f", name, median(ms));
  say("BENCH %s startup_ms_min %.1f", name, *std::min_element(ms.begin(), ms.end()));
  say("BENCH %s startup_ms_all %s", name, all.c_str());
  say("BENCH %s working_set_kib %.0f", name, median(ws));
}

void bench_startup(const CaseContext& context) {
  const char* usage = "usage: bench-startup PELVRIN_EXE ROUNDS NAME=EXE...";
  if (context.args.size() < 2) fail(usage);
  const int rounds = std::max(1, static_cast<int>(std::wcstol(context.args[0].c_str(), nullptr, 10)));
  std::vector<Contender> contenders{{"pelvrin", context.program, {}}};
  for (std::size_t i = 1; i < context.args.size(); ++i) {
    const std::wstring& a = context.args[i];
    const std::size_t eq = a.find(L'=');
    if (eq == std::wstring::npos || eq == 0) fail(usage);
    contenders.push_back({utf8(a.substr(0, eq)), windows_path(a.substr(eq + 1)), {}});
  }
  say("warming up (not counted)");
  for (const Contender& c : contenders) start_once(c.exe);
  for (int i = 0; i < rounds; ++i) {
    say("round %d of %d", i + 1, rounds);
    for (Contender& c : contenders) {
      c.starts.push_back(start_once(c.exe));
      Sleep(300);
    }
  }
  for (const Contender& c : contenders) report(c);
}

const CaseRegistration reg{"bench-startup",
                           "benchmark: start-up time and working set beside a bare window",
                           &bench_startup};

}  // namespace
}  // namespace e2e
