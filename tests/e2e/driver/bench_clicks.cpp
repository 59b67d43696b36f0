// The click-rate benchmark (run by scripts/bench, not by ctest): for each
// interval, in both modes, how many clicks per second really arrive at a
// window of the driver's own, beside what was asked for and beside what a
// bare SetTimer window manages at the same period (the platform's ceiling);
// and the latency from the F10 key press to the first click.
//
//   e2e_driver.exe bench-clicks PELVRIN_EXE BARE_TIMER_EXE [SECONDS [INTERVALS]]
//
// INTERVALS: a comma-separated list of milliseconds (default
// 1,2,5,10,16,33,100,1000).
//
// Each point measures for SECONDS (default 3; at least 5 for intervals of
// a second and more) from the first click on. Clicks come in bursts when
// the interval is shorter than the platform's timer tick (several periods
// fall due per tick), so the rate is taken between the starts of the first
// and the last burst: clicks after the first burst divided by that time
// (bursts are clicks less than 2 ms apart; with one click per tick this is
// simply clicks after the first divided by the time from the first to the
// last). The clicks are counted twice: by when they arrived (performance
// counter, at the window) and by their message times, which the system
// stamps when the program posts a message or injects an input event. The
// second count is what the program sent; when only the first falls short,
// the receiving side fell behind (it gets every click, late).
// Nothing is asserted: the figures are printed.
#include <algorithm>
#include <cstdio>
#include <cstdint>
#include <cstdlib>

#include "clicking_support.h"
#include "framework.h"
#include "process.h"
#include "windows_util.h"

namespace e2e {
namespace {

const std::vector<int> kIntervals = {1, 2, 5, 10, 16, 33, 100, 1000};
constexpr double kBurstGap = 0.002;

struct Rate {
  bool measured = false;
  long long clicks = 0;    // counted after the first burst
  double seconds = 0;      // from the first burst's start to the last's
  double per_second = 0;
  double sent_per_second = 0;  // by the message times
  double max_gap_ms = 0;   // longest pause between two clicks as received
  long long max_sent_gap_ms = 0;  // the same by the message times (when sent)
  long long bursts = 0;    // after the first
  long long odd = 0;       // messages out of place
};

Rate rate_of(const std::vector<double>& times, const std::vector<DWORD>& stamps,
            double window) {
  Rate r;
  if (times.empty()) return r;
  const double first = times.front();
  std::size_t n = 0;
  while (n < times.size() && times[n] <= first + window) ++n;
  // A burst is never cut: its clicks are the periods due up to its start.
  while (n < times.size() && times[n] - times[n - 1] < kBurstGap) ++n;
  std::size_t first_burst_end = 1;  // clicks of the first burst: [0, first_burst_end)
  while (first_burst_end < n && times[first_burst_end] - times[first_burst_end - 1] < kBurstGap)
    ++first_burst_end;
  std::size_t last_burst_start = n - 1;
  while (last_burst_start > 0 && times[last_burst_start] - times[last_burst_start - 1] < kBurstGap)
    --last_burst_start;
  for (std::size_t i = 1; i < n; ++i) {
    r.max_gap_ms = std::max(r.max_gap_ms, (times[i] - times[i - 1]) * 1000.0);
    r.max_sent_gap_ms = std::max(r.max_sent_gap_ms,
                                 static_cast<long long>(static_cast<DWORD>(stamps[i] - stamps[i - 1])));
  }
  if (last_burst_start >= first_burst_end) {
    r.clicks = static_cast<long long>(n - first_burst_end);
    r.seconds = times[last_burst_start] - first;
  } else {  // one burst only: fall back to the plain count
    r.clicks = static_cast<long long>(n - 1);
    r.seconds = times[n - 1] - first;
  }
  for (std::size_t i = 1; i < n; ++i) r.bursts += times[i] - times[i - 1] >= kBurstGap ? 1 : 0;
  r.measured = r.seconds > 0;
  r.per_second = r.measured ? static_cast<double>(r.clicks) / r.seconds : 0;
  return r;
}

// F10, clicks for `window` seconds from the first one, F11.
Rate measure(const Clicker& app, ClickCounter& counter, int interval, double window) {
  counter.clear();
  if (!app.press_and_wait_status(VK_F10, kStatusStarted)) {
    say("  F10 did not start clicking");
    return Rate{};
  }
  // Half a period of grace, so that a click due right at the end of the
  // window counts whichever side of it its tick falls.
  const double counted = window + interval / 2000.0;
  const bool first = wait_until(static_cast<DWORD>(interval) + 5000,
                                [&] { return !counter.releases().empty(); });
  if (first) {
    const double t0 = counter.releases().front();
    wait_until(static_cast<DWORD>(counted * 1000) + 2000,
               [&] { return seconds_now() - t0 > counted + 0.1; });
  }
  app.press_and_wait_status(VK_F11, kStatusStopped);
  // Let in whatever is still on its way: until nothing more comes for 300 ms.
  for (std::size_t seen = SIZE_MAX; seen != counter.releases().size();) {
    seen = counter.releases().size();
    pump_for(300);
  }
  Rate r = rate_of(counter.releases(), counter.release_stamps(), counted);
  r.odd = counter.odd_messages();
  // The same count by the message times, which the sender's side stamps:
  // what was sent, whether or not this side kept up with receiving it.
  std::vector<double> sent;
  for (DWORD stamp : counter.release_stamps())
    sent.push_back(static_cast<DWORD>(stamp - counter.release_stamps().front()) / 1000.0);
  r.sent_per_second = rate_of(sent, counter.release_stamps(), counted).per_second;
  return r;
}

// Runs the bare timer and reads its line; rate 0 when it failed.
Rate bare_timer(const std::wstring& exe, int period, double window) {
  Rate r;
  SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
  HANDLE read_end = nullptr, write_end = nullptr;
  if (!CreatePipe(&read_end, &write_end, &inheritable, 0)) return r;
  SetHandleInformation(read_end, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = write_end;
  startup.hStdError = write_end;
  std::wstring command = L"\"" + exe + L"\" " + std::to_wstring(period) + L" " +
                         std::to_wstring(window);
  PROCESS_INFORMATION info{};
  const BOOL started = CreateProcessW(exe.c_str(), &command[0], nullptr, nullptr, TRUE, 0, nullptr,
                                      nullptr, &startup, &info);
  CloseHandle(write_end);
  if (!started) {
    say("  cannot start %s (error %lu)", utf8(exe).c_str(), GetLastError());
    CloseHandle(read_end);
    return r;
  }
  std::string output;
  char buffer[256];
  DWORD got = 0;
  while (ReadFile(read_end, buffer, sizeof buffer, &got, nullptr) && got > 0)
    output.append(buffer, got);
  CloseHandle(read_end);
  WaitForSingleObject(info.hProcess, 10000);
  DWORD code = 1;
  GetExitCodeProcess(info.hProcess, &code);
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  double rate = 0;
  if (code != 0 || std::sscanf(output.c_str(), "ticks %lld seconds %lf rate %lf", &r.clicks,
                               &r.seconds, &rate) != 3) {
    say("  the bare timer failed (exit code %lu, output \"%s\")", code, output.c_str());
    return r;
  }
  r.per_second = rate;
  r.measured = true;
  return r;
}

double median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

// Milliseconds from the F10 key press to the first click, `tries` times.
std::vector<double> latencies(const Clicker& app, ClickCounter& counter, int tries) {
  std::vector<double> found;
  for (int i = 0; i < tries; ++i) {
    counter.clear();
    const double pressed = seconds_now();
    app.press_start();
    if (wait_until(5000, [&] { return !counter.releases().empty(); }))
      found.push_back((counter.releases().front() - pressed) * 1000.0);
    app.press_and_wait_status(VK_F11, kStatusStopped);
    pump_for(300);
  }
  return found;
}

std::string cell(const Rate& r, double requested, bool with_sent) {
  if (!r.measured) return with_sent ? format("%10s %6s %6s", "-", "-", "-") : format("%10s %6s", "-", "-");
  if (!with_sent) return format("%10.2f %6.3f", r.per_second, r.per_second / requested);
  return format("%10.2f %6.3f %6.3f", r.per_second, r.per_second / requested,
                r.sent_per_second / requested);
}

void bench_clicks(const CaseContext& context) {
  if (context.args.empty()) fail("usage: bench-clicks PELVRIN_EXE BARE_TIMER_EXE [SECONDS [INTERVALS]]");
  const std::wstring bare_exe = windows_path(context.args[0]);
  const double base_window = context.args.size() > 1 ? std::wcstod(context.args[1].c_str(), nullptr)
                                                     : 3.0;
  std::vector<int> intervals = kIntervals;
  if (context.args.size() > 2) {  // a comma-separated list
    intervals.clear();
    const std::string list = utf8(context.args[2]);
    for (std::size_t at = 0; at < list.size();) {
      const std::size_t comma = std::min(list.find(',', at), list.size());
      const int v = std::atoi(list.substr(at, comma - at).c_str());
      if (v < 1 || v > 30000) fail("intervals are whole numbers from 1 to 30000");
      intervals.push_back(v);
      at = comma + 1;
    }
  }

  Clicker app(context);
  const RECT main_rect = window_rect_of(app.main());
  ClickCounter counter(L"e2e click counter", free_rect(main_rect, 360, 220));
  const POINT client{200, 120};
  const POINT over_counter = counter.to_screen(client);
  const POINT parked = free_point({main_rect, window_rect_of(counter.handle())});
  say("  click counter %s at screen %ld,%ld; cursor parked at %ld,%ld in background mode",
      utf8(handle_text(counter.handle())).c_str(), over_counter.x, over_counter.y, parked.x,
      parked.y);

  auto foreground = [&] {
    app.set_background(false);
    require(move_cursor_to(over_counter), "the cursor is over the click counter");
    pump_for(200);
  };
  auto background = [&] {
    app.set_background(true);
    app.set_target(counter.handle(), client.x, client.y);
    require(move_cursor_to(parked), "the cursor is parked away from the counter");
    pump_for(200);
  };

  struct Row {
    int interval;
    Rate fg, bg, bare;
  };
  std::vector<Row> rows;
  for (int interval : intervals) {
    const double window = interval >= 1000 ? std::max(base_window, 5.0) : base_window;
    Row row{interval, {}, {}, {}};
    app.set_interval(interval);
    row.bare = bare_timer(bare_exe, interval, window);
    foreground();
    row.fg = measure(app, counter, interval, window);
    background();
    row.bg = measure(app, counter, interval, window);
    const double requested = 1000.0 / interval;
    auto detail = [](const Rate& r) {
      return format("%.2f/s (%lld clicks in %lld bursts over %.3f s, longest gap %.1f ms received, "
                    "%lld ms sent; by the message times %.2f/s; %lld odd)",
                    r.per_second, r.clicks, r.bursts, r.seconds, r.max_gap_ms, r.max_sent_gap_ms,
                    r.sent_per_second, r.odd);
    };
    say("  %5d ms: requested %.2f/s; foreground %s; background %s; bare timer %.2f/s (%lld ticks "
        "over %.3f s)",
        interval, requested, detail(row.fg).c_str(), detail(row.bg).c_str(), row.bare.per_second,
        row.bare.clicks, row.bare.seconds);
    rows.push_back(row);
  }

  say("-- latency from the F10 key press to the first click, interval 1 ms");
  app.set_interval(1);
  foreground();
  const std::vector<double> fg_latency = latencies(app, counter, 5);
  background();
  const std::vector<double> bg_latency = latencies(app, counter, 5);
  auto list = [](const std::vector<double>& v) {
    std::string s;
    for (double x : v) s += format(" %.1f", x);
    return s;
  };
  say("  foreground (ms):%s", list(fg_latency).c_str());
  say("  background (ms):%s", list(bg_latency).c_str());

  say("RESULT");
  say("RESULT interval  requested |  foreground (cursor)      |  background (posted)      |  bare SetTimer");
  say("RESULT      ms   clicks/s  |    arrived  ratio   sent  |    arrived  ratio   sent  |    ticks/s  ratio");
  for (const Row& r : rows) {
    const double requested = 1000.0 / r.interval;
    say("RESULT %7d %10.2f  | %s  | %s  | %s", r.interval, requested,
        cell(r.fg, requested, true).c_str(), cell(r.bg, requested, true).c_str(),
        cell(r.bare, requested, false).c_str());
  }
  say("RESULT");
  say("RESULT arrived: clicks/s counted at the window as they arrived (performance counter);");
  say("RESULT sent: the same clicks counted by their message times, i.e. as the program sent");
  say("RESULT them (a shortfall only in 'arrived' is the receiving side falling behind).");
  say("RESULT");
  say("RESULT latency F10 -> first click at 1 ms, median of %zu/%zu: foreground %.1f ms, "
      "background %.1f ms",
      fg_latency.size(), bg_latency.size(), median(fg_latency), median(bg_latency));
  app.close_and_check_exit();
}

const CaseRegistration bench_registration{
    "bench-clicks", "benchmark: click rates per interval and mode, timer ceiling, F10 latency",
    &bench_clicks};

}  // namespace
}  // namespace e2e
