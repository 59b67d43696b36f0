// The soak: background clicking at 1 ms into a window of the driver's own
// for some minutes, with crosshair drags onto that window spread over the
// run (F11 pauses the clicks for each drag and F10 resumes them at the
// picked point), sampled every minute: the resident memory of the program's
// Wine process, its live-handle counts and the clicks received in the minute.
//
//   e2e_driver.exe reliability-soak PROGRAM [MINUTES [DRAGS]]   (default 10 and 1000)
//
// Checks what must hold however long it runs: every drag picks its point,
// clicks arrive in every minute, F11 stops them, the live-handle counts at
// the end equal those at the start, and WM_CLOSE ends the program with exit
// code 0. The memory figures are printed with a verdict ("flat" or "grows")
// and not checked here; scripts/soak judges by the verdict.
// Lines for scripts/soak: "SOAK-ROW ..." (the table) and "SOAK-VERDICT ...".
#include <algorithm>
#include <string>
#include <vector>

#include "clicking_support.h"
#include "framework.h"
#include "picker_drive.h"
#include "process.h"
#include "reliability_support.h"
#include "windows_util.h"

namespace e2e {
namespace {

// What a drag needs of the program: its picker, the fields the picker
// writes, and the thread that holds the capture during a drag.
struct DragHost {
  HWND main, picker, field_handle, field_x, field_y;
  DWORD thread;

  HWND capture() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(thread, &info)) return nullptr;
    return info.hwndCapture;
  }
  bool point_reads(long x, long y) const {
    return text_of(field_x) == std::to_wstring(x) && text_of(field_y) == std::to_wstring(y);
  }
};

// The quick drag of the picker's drag-loop case: the pointer jumps into the
// target and moves to the point in `steps` steps, each held in place against
// the desktop putting it back; a press the picker did not get is made again,
// and the last step until the fields show the point.
struct QuickDrag {
  bool pressed = false, picked = false, released = false, kept = false;
  int presses = 0, final_moves = 0, put_back = 0;
  std::string trouble;
  void note(const std::string& what) {
    if (trouble.empty()) trouble = what;
  }
};

void drag_on_target(const DragHost& host, const ClickCounter& target, POINT client, int steps,
                    QuickDrag& d) {
  const POINT entry{client.x + 20, client.y + 15};
  for (int s = 0; s <= steps; ++s) {
    const POINT p{entry.x + (client.x - entry.x) * s / steps,
                  entry.y + (client.y - entry.y) * s / steps};
    d.put_back += pointer_settled(target.to_screen(p), 2);
  }
  const POINT to = target.to_screen(client);
  auto shown = [&] { return host.point_reads(client.x, client.y); };
  while (!d.picked && d.final_moves < 30) {
    if (++d.final_moves > 1) {
      d.note(format("the fields showed another point: x %s, y %s",
                    quoted(text_of(host.field_x)).c_str(), quoted(text_of(host.field_y)).c_str()));
      d.put_back += pointer_settled(to, 2);
    }
    d.picked = wait_briefly(50, shown) && (pump_for(5), shown());
  }
}

QuickDrag quick_drag(const DragHost& host, const ClickCounter& target, POINT from, POINT client,
                     int steps) {
  QuickDrag d;
  while (!d.pressed && d.presses < 5) {
    ++d.presses;
    d.put_back += pointer_settled(from, 4);
    left_down();
    d.pressed = wait_briefly(200, [&] { return host.capture() == host.picker; });
    if (!d.pressed) {
      POINT now{};
      GetCursorPos(&now);
      d.note(
          format("press %d: the picker did not take the capture; cursor at %ld,%ld over %p, "
                 "capture held by %p",
                 d.presses, now.x, now.y, static_cast<void*>(WindowFromPoint(now)),
                 static_cast<void*>(host.capture())));
      left_up();
      pump_for(20);
    }
  }
  if (!d.pressed) return d;
  try {
    drag_on_target(host, target, client, steps, d);
  } catch (...) {
    left_up();
    throw;
  }
  left_up();
  d.released = wait_briefly(2000, [&] { return host.capture() == nullptr; });
  send(host.main, WM_NULL);
  d.kept = host.point_reads(client.x, client.y);
  if (!d.kept) d.note("after the release the fields showed another point");
  return d;
}

struct Sample {
  double minute;
  long rss_kb;
  LiveHandles handles;
  std::size_t clicks;  // received since the previous sample
  long drags;          // made so far
};

void print_table(const std::vector<Sample>& samples) {
  std::string head = "SOAK-ROW minute  VmRSS_kB";
  for (int k = 0; k < LiveHandles::kKinds; ++k) head += format(" %8s", live_handle_name(k));
  head += "   clicks  drags";
  say("%s", head.c_str());
  for (const Sample& s : samples) {
    std::string row = format("SOAK-ROW %6.2f %9ld", s.minute, s.rss_kb);
    for (int k = 0; k < LiveHandles::kKinds; ++k) row += format(" %8lld", s.handles.count[k]);
    row += format(" %8zu %6ld", s.clicks, s.drags);
    say("%s", row.c_str());
  }
}

// Growth of the resident memory from the first sample after a minute of
// warm-up to the last; within the tolerance it is "flat".
void print_verdict(const std::vector<Sample>& samples) {
  constexpr long kToleranceKb = 1024;
  constexpr double kToleranceShare = 0.01;
  const Sample* warm = nullptr;
  for (const Sample& s : samples)
    if (s.minute >= 1.0 && s.rss_kb > 0) {
      warm = &s;
      break;
    }
  const Sample& last = samples.back();
  if (warm == nullptr || last.minute - warm->minute < 1.0 || last.rss_kb <= 0) {
    say("SOAK-VERDICT none: too short to judge (a sample at 1 minute and one at least a minute "
        "later are needed)");
    return;
  }
  const long growth = last.rss_kb - warm->rss_kb;
  const long tolerance = std::max(
      kToleranceKb, static_cast<long>(kToleranceShare * static_cast<double>(warm->rss_kb)));
  say("SOAK-VERDICT %s: VmRSS %ld kB at minute %.2f (after warm-up), %ld kB at minute %.2f: "
      "%+ld kB (%+.2f%%); tolerance %ld kB (the larger of %ld kB and %.0f%%)",
      growth > tolerance ? "grows" : "flat", warm->rss_kb, warm->minute, last.rss_kb, last.minute,
      growth, 100.0 * static_cast<double>(growth) / static_cast<double>(warm->rss_kb), tolerance,
      kToleranceKb, 100.0 * kToleranceShare);
}

void soak_case(const CaseContext& context) {
  const double minutes = context.args.size() > 0 ? std::stod(context.args[0]) : 10.0;
  const long drags = context.args.size() > 1 ? std::stol(context.args[1]) : 1000;
  require(minutes > 0 && drags >= 0,
          format("%.2f minutes (> 0) and %ld drags (>= 0)", minutes, drags));
  say("  %.2f minutes of clicking at 1 ms, %ld drags spread over the run", minutes, drags);

  Clicker app(context);
  const RECT main_rect = window_rect_of(app.main());
  ClickCounter counter(L"e2e soak target", free_rect(main_rect, 320, 240));
  const POINT points[] = {{120, 45}, {10, 5}, {250, 150}, {60, 100}};
  for (POINT p : points) {
    const POINT screen = counter.to_screen(p);
    require(WindowFromPoint(screen) == counter.handle(),
            format("client point %ld,%ld of the target lies over it", p.x, p.y));
  }
  app.set_background(true);
  app.set_interval(1);
  app.set_target(counter.handle(), points[0].x, points[0].y);
  const DragHost host{app.main(),
                      app.picker(),
                      control(app.main(), ids::kFieldHandle),
                      control(app.main(), ids::kFieldClientX),
                      control(app.main(), ids::kFieldClientY),
                      app.process().main_thread_id()};
  require(wait_until(3000, [&] { return IsWindowEnabled(host.picker) != FALSE; }),
          "the picker is enabled in background mode");
  RECT picker_rect{};
  GetWindowRect(host.picker, &picker_rect);
  const POINT picker_centre{(picker_rect.left + picker_rect.right) / 2,
                            (picker_rect.top + picker_rect.bottom) / 2};
  require(move_cursor_to(picker_centre), "the cursor rests on the picker");

  const long linux_pid = linux_pid_of_program(context.program);
  if (linux_pid == 0) say("  (the program's Linux process was not found: no memory figures)");
  const LiveHandles at_start = live_handles(app.main());
  say("  live handles at the start: %s", describe(at_start).c_str());

  std::vector<Sample> samples;
  std::size_t counted = 0;
  long drags_done = 0, drags_failed = 0, drags_noted = 0, put_back = 0;
  const ULONGLONG t0 = GetTickCount64();
  auto sample = [&] {
    Sample s;
    s.minute = static_cast<double>(GetTickCount64() - t0) / 60000.0;
    s.rss_kb = linux_pid != 0 ? resident_kb(linux_pid) : 0;
    s.handles = live_handles(app.main());
    s.clicks = counter.releases().size() - counted;
    counted = counter.releases().size();
    s.drags = drags_done;
    samples.push_back(s);
    say("  minute %.2f: VmRSS %ld kB; %s; %zu clicks since the last sample; %ld drags", s.minute,
        s.rss_kb, describe(s.handles).c_str(), s.clicks, s.drags);
  };
  sample();

  counter.clear();
  counted = 0;
  require(app.press_and_wait_status(VK_F10, kStatusStarted),
          "F10: the status reads 自动点击已经开始");
  const ULONGLONG duration = static_cast<ULONGLONG>(minutes * 60000.0);
  ULONGLONG next_sample = t0 + 60000;
  const std::wstring target_handle = handle_text(counter.handle());
  for (;;) {
    const ULONGLONG now = GetTickCount64();
    const bool time_up = now >= t0 + duration;
    if (time_up && drags_done >= drags) break;
    if (now >= next_sample && !time_up) {
      sample();
      next_sample += 60000;
      continue;
    }
    const ULONGLONG due = drags == 0 ? ~0ULL : t0 + duration * drags_done / drags;
    if (drags_done < drags && now >= due) {
      // The clicks pause for the drag: while the pointer is still over the
      // picker the fields name the picker, and a click posted there then
      // would end the drag before it reaches the target.
      if (!app.press_and_wait_status(VK_F11, kStatusStopped))
        fail(format("F11 before drag %ld: the status reads %s", drags_done + 1,
                    quoted(text_of(app.status())).c_str()));
      const POINT client = points[drags_done % 4];
      const QuickDrag d = quick_drag(host, counter, picker_centre, client, 4);
      ++drags_done;
      if (!app.press_and_wait_status(VK_F10, kStatusStarted))
        fail(format("F10 after drag %ld: the status reads %s", drags_done,
                    quoted(text_of(app.status())).c_str()));
      put_back += d.put_back;
      const bool handle_right = text_of(host.field_handle) == target_handle;
      if (!(d.pressed && d.picked && d.released && d.kept && handle_right)) {
        ++drags_failed;
        say("  drag %ld to %ld,%ld failed:%s%s%s%s%s (%s)", drags_done, client.x, client.y,
            d.pressed ? "" : " the picker never took the capture",
            d.pressed && !d.picked ? " the fields never showed the point" : "",
            d.pressed && !d.released ? " the capture stayed after the release" : "",
            d.picked && !d.kept ? " the fields changed at the release" : "",
            handle_right ? "" : " the handle field names another window", d.trouble.c_str());
        if (drags_failed >= 5) break;
      } else if (!d.trouble.empty() && ++drags_noted <= 3) {
        say("  (drag %ld made good: %s)", drags_done, d.trouble.c_str());
      }
      continue;
    }
    pump_for(20);
  }
  if (drags_failed < 5) sample();
  say("  %ld drags, %ld failed; steps made again after the desktop put the cursor back: %ld",
      drags_done, drags_failed, put_back);

  say("-- F11 stops the clicks");
  check(app.press_and_wait_status(VK_F11, kStatusStopped),
        "F11: the status reads 自动点击已经停止");
  pump_for(300);
  const std::size_t after_stop = counter.releases().size();
  pump_for(1000);
  check_equal(static_cast<long long>(counter.releases().size()), static_cast<long long>(after_stop),
              "clicks once F11 was handled, and 1 s later");
  const LiveHandles at_end = live_handles(app.main());
  say("  live handles at the end: %s", describe(at_end).c_str());

  print_table(samples);
  print_verdict(samples);

  check_equal(drags_failed, 0, "drags that failed");
  check_equal(drags_done, drags, "drags made");
  for (std::size_t i = 1; i < samples.size(); ++i)
    check(samples[i].clicks > 0, format("clicks arrived before the sample at minute %.2f: %zu",
                                        samples[i].minute, samples[i].clicks));
  // Not checked: a drag's real press can land on the target when the
  // desktop puts the pointer back at the wrong moment (the drag then presses
  // again), which leaves a press there without its release.
  say("  messages at the target other than alternating presses and releases (and moves): %lld",
      counter.odd_messages());
  for (int k = 0; k < LiveHandles::kKinds; ++k)
    check_equal(at_end.count[k], at_start.count[k],
                format("live %s at the end, as at the start", live_handle_name(k)));
  check(app.alive(), "the program runs and answers");
  app.close_and_check_exit();
}

const CaseRegistration soak_registration{
    "reliability-soak", "1 ms clicks for MINUTES with DRAGS drags: memory, handles, clicks",
    &soak_case};

}  // namespace
}  // namespace e2e
