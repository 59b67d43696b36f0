// Clicking, end to end: F10 and F11 pressed on the keyboard start and stop
// it from whatever window has the focus; the slider sets the interval and
// the speed label follows at once; the background box switches between
// clicks at the cursor (real input) and clicks posted to the window and
// client point held in the target fields. And the program keeps going when
// the input is bad: a hotkey taken by another program, a target window
// that goes away, target fields holding anything at all.
#include <memory>

#include "clicking_support.h"
#include "framework.h"
#include "process.h"
#include "target_window.h"
#include "windows_util.h"

#include <commctrl.h>

namespace e2e {
namespace {

std::string describe_message(const MouseMessage& m) {
  return format("%s wParam %llu lParam 0x%08lX", message_name(m.message).c_str(),
                static_cast<unsigned long long>(m.wparam),
                static_cast<unsigned long>(static_cast<std::uint32_t>(m.lparam)));
}

std::string describe_from(const std::vector<MouseMessage>& ms, std::size_t first, std::size_t n) {
  std::string out;
  for (std::size_t i = first; i < ms.size() && i < first + n; ++i)
    out += format(" [%zu: %s]", i, describe_message(ms[i]).c_str());
  return out.empty() ? " nothing" : out;
}

std::size_t count_of(const TargetWindow& target, UINT message) {
  return target.messages_of(message).size();
}

// Waits until `target` has received `at_least` left releases in all.
bool check_clicks_arrive(const TargetWindow& target, std::size_t at_least, DWORD timeout_ms,
                         const char* where) {
  const bool arrived =
      wait_until(timeout_ms, [&] { return count_of(target, WM_LBUTTONUP) >= at_least; });
  return check(arrived, format("clicks arrive at %s: %zu, %zu wanted", where,
                               count_of(target, WM_LBUTTONUP), at_least));
}

// Presses F11, waits for the status, then makes sure that nothing more
// arrives at `target`: what was already under way is let in first.
void stop_and_check_quiet(const Clicker& app, const TargetWindow& target) {
  check(app.press_and_wait_status(VK_F11, kStatusStopped), "F11: the status reads 自动点击已经停止");
  pump_for(300);
  const std::size_t after_stop = target.messages().size();
  pump_for(1000);
  check_equal(static_cast<long long>(target.messages().size()),
              static_cast<long long>(after_stop),
              "mouse messages at the target, 300 ms after F11 and 1 s later");
}

// The messages are whole background clicks, each exactly WM_MOUSEMOVE with
// wParam 2, WM_LBUTTONDOWN with 1 and WM_LBUTTONUP with 0, all three with
// the same point value, nothing between. The point values are `points`
// in that order (the clicks may move on from one to the next, never back).
// Returns the number of clicks at each point.
std::vector<std::size_t> check_background_clicks(const std::vector<MouseMessage>& ms,
                                                 const std::vector<std::uint32_t>& points) {
  static const struct {
    UINT message;
    WPARAM wparam;
  } kClick[3] = {{WM_MOUSEMOVE, 2}, {WM_LBUTTONDOWN, 1}, {WM_LBUTTONUP, 0}};
  std::vector<std::size_t> counts(points.size(), 0);
  std::size_t at = 0;  // index into points
  for (std::size_t i = 0; i < ms.size(); i += 3) {
    if (i + 3 > ms.size()) {
      check(false, format("the messages end inside a click:%s", describe_from(ms, i, 3).c_str()));
      return counts;
    }
    const auto p = static_cast<std::uint32_t>(ms[i].lparam);
    while (at < points.size() && points[at] != p) ++at;
    bool whole = at < points.size();
    for (int k = 0; k < 3 && whole; ++k)
      whole = ms[i + k].message == kClick[k].message && ms[i + k].wparam == kClick[k].wparam &&
              static_cast<std::uint32_t>(ms[i + k].lparam) == p;
    if (!whole) {
      check(false, format("message %zu on should be a whole click at one of the expected points:%s",
                          i, describe_from(ms, i > 3 ? i - 3 : 0, 9).c_str()));
      return counts;
    }
    ++counts[at];
  }
  std::string summary;
  for (std::size_t k = 0; k < points.size(); ++k)
    summary += format(" %zu at 0x%08lX", counts[k], static_cast<unsigned long>(points[k]));
  check(true, format("%zu messages, all whole clicks (move 2, down 1, up 0) in order:%s", ms.size(),
                     summary.c_str()));
  return counts;
}

// ---------------------------------------------------------------------------

void hotkeys_and_labels(const CaseContext& context) {
  Clicker app(context);
  // F10 with the box unticked clicks wherever the cursor is: keep it on a
  // window of the driver's own, which also shows that clicking started.
  TargetWindow sink(L"e2e click sink", free_rect(window_rect_of(app.main()), 300, 180));
  const POINT parked = sink.to_screen(POINT{100, 60});
  require(move_cursor_to(parked), format("the cursor is parked on the sink at %ld,%ld", parked.x,
                                         parked.y));

  say("-- the status label follows F10 and F11, pressed on the keyboard");
  check_equal(text_of(app.status()), L"", "the status before any hotkey");
  struct HotkeyStep {
    const char* what;
    BYTE key;
    const wchar_t* status;
  };
  const HotkeyStep hotkey_steps[] = {
      {"F11 while idle", VK_F11, kStatusStopped},
      {"F10", VK_F10, kStatusStarted},
      {"F11", VK_F11, kStatusStopped},
      {"F10 again", VK_F10, kStatusStarted},
      {"F11 again", VK_F11, kStatusStopped},
  };
  for (const HotkeyStep& step : hotkey_steps) {
    sink.clear();
    const ULONGLONG t0 = GetTickCount64();
    const bool changed = app.press_and_wait_status(step.key, step.status);
    const std::wstring seen = text_of(app.status());
    check(changed, format("%s: the status reads %s after %llu ms%s", step.what,
                          quoted(seen).c_str(), GetTickCount64() - t0,
                          changed ? "" : (", not " + quoted(step.status)).c_str()));
    if (step.key == VK_F10) {
      // The slider is at 1 ms: clicks arrive at the cursor within moments.
      check_clicks_arrive(sink, 5, 2000, "the window under the cursor");
    }
  }
  pump_for(300);
  sink.clear();
  pump_for(500);
  check_equal(static_cast<long long>(sink.messages().size()), 0,
              "mouse messages at the sink in 0.5 s after the last F11");

  say("-- the speed label follows each move of the slider at once");
  check_equal(text_of(app.speed()), speed_text(1), "the speed label at start");
  struct SliderStep {
    const char* key_name;
    BYTE key;
    int position;
  };
  const SliderStep slider_steps[] = {
      {"Right", VK_RIGHT, 2},         {"Right", VK_RIGHT, 3},     {"Page Down", VK_NEXT, 8},
      {"End", VK_END, 30000},         {"Left", VK_LEFT, 29999},   {"Page Up", VK_PRIOR, 29994},
      {"Home", VK_HOME, 1},           {"Left at 1", VK_LEFT, 1},  {"Page Down", VK_NEXT, 6},
  };
  for (const SliderStep& step : slider_steps) {
    app.slider_key(step.key);
    // Read as soon as the key has been handled: no timer is waited for.
    const std::wstring label = text_of(app.speed());
    const LRESULT position = send(app.slider(), TBM_GETPOS);
    check(label == speed_text(step.position) && position == step.position,
          format("%s: slider at %ld, label %s right after the key (expected %d, %s)", step.key_name,
                 static_cast<long>(position), quoted(label).c_str(), step.position,
                 quoted(speed_text(step.position)).c_str()));
  }

  say("-- the background box: caption and picker follow within a short time");
  check(!app.box_ticked(), "the box starts unticked");
  check_equal(text_of(app.background_box()), kBackgroundOff, "the box's caption at start");
  check(!IsWindowEnabled(app.picker()), "the picker starts disabled");
  for (int round = 0; round < 2; ++round) {
    for (bool tick : {true, false}) {
      const double t0 = seconds_now();
      send(app.background_box(), BM_CLICK);
      const std::wstring caption = tick ? kBackgroundOn : kBackgroundOff;
      const bool followed = wait_until(1000, [&] {
        return text_of(app.background_box()) == caption &&
               (IsWindowEnabled(app.picker()) != FALSE) == tick;
      });
      check(app.box_ticked() == tick, format("BM_CLICK %s the box", tick ? "ticks" : "unticks"));
      check(followed,
            format("%s: caption %s and picker %s after %.0f ms (caption reads %s, picker %s)",
                   tick ? "ticked" : "unticked", quoted(caption).c_str(),
                   tick ? "enabled" : "disabled", (seconds_now() - t0) * 1000.0,
                   quoted(text_of(app.background_box())).c_str(),
                   IsWindowEnabled(app.picker()) ? "enabled" : "disabled"));
    }
  }
  check_equal(text_of(app.status()), kStatusStopped, "the status after the slider and box moves");
  app.close_and_check_exit();
}

// ---------------------------------------------------------------------------

void foreground_clicks(const CaseContext& context) {
  Clicker app(context);
  TargetWindow target(L"e2e foreground target", free_rect(window_rect_of(app.main()), 320, 200));
  const POINT client{70, 50};
  const POINT screen = target.to_screen(client);
  app.set_interval(20);
  require(!app.box_ticked(), "the background box is unticked");
  require(move_cursor_to(screen),
          format("the cursor is on the target at %ld,%ld (client %ld,%ld)", screen.x, screen.y,
                 client.x, client.y));
  pump_for(300);
  target.clear();

  require(app.press_and_wait_status(VK_F10, kStatusStarted), "F10: the status reads 自动点击已经开始");
  const double t0 = seconds_now();
  const bool arrived = wait_until(5000, [&] { return count_of(target, WM_LBUTTONUP) >= 25; });
  const double t1 = seconds_now();
  const std::size_t seen = count_of(target, WM_LBUTTONUP);
  check(arrived, format("25 clicks arrive at the target (%zu in %.2f s)", seen, t1 - t0));
  stop_and_check_quiet(app, target);

  const std::vector<MouseMessage>& ms = target.messages();
  std::size_t downs = 0, ups = 0, moves = 0;
  bool in_order = true, at_point = true;
  std::string first_odd;
  for (std::size_t i = 0; i < ms.size(); ++i) {
    const MouseMessage& m = ms[i];
    const bool here = m.x() == client.x && m.y() == client.y;
    if (m.message == WM_LBUTTONDOWN && m.wparam == MK_LBUTTON && here) {
      in_order = in_order && downs == ups;
      ++downs;
    } else if (m.message == WM_LBUTTONUP && m.wparam == 0 && here) {
      in_order = in_order && downs == ups + 1;
      ++ups;
    } else if (m.message == WM_MOUSEMOVE && here) {
      ++moves;  // what the system adds to input at an unmoved cursor
    } else {
      at_point = false;
      if (first_odd.empty()) first_odd = format("%zu: %s", i, describe_message(m).c_str());
    }
  }
  check(at_point, format("every message is a left press (MK_LBUTTON), a left release (0) or a "
                         "move, at client %ld,%ld%s",
                         client.x, client.y, first_odd.empty() ? "" : (", not " + first_odd).c_str()));
  check(in_order && downs == ups && downs > 0,
        format("presses and releases alternate, press first: %zu presses, %zu releases (and %zu "
               "moves)", downs, ups, moves));
  POINT now{};
  GetCursorPos(&now);
  check(now.x == screen.x && now.y == screen.y,
        format("the cursor did not move (at %ld,%ld, parked at %ld,%ld)", now.x, now.y, screen.x,
               screen.y));
  app.close_and_check_exit();
}

// ---------------------------------------------------------------------------

void background_clicks(const CaseContext& context) {
  Clicker app(context);
  const RECT main_rect = window_rect_of(app.main());
  TargetWindow target(L"e2e background target", free_rect(main_rect, 320, 200));
  const POINT parked = free_point({main_rect, window_rect_of(target.handle())});
  require(move_cursor_to(parked), format("the cursor is parked away at %ld,%ld", parked.x, parked.y));
  app.set_background(true);
  app.set_interval(10);
  app.set_target(target.handle(), 120, 45);
  say("  target %s = %p, client x 120 in 编辑框_Y, y 45 in 编辑框_X",
      utf8(handle_text(target.handle())).c_str(), static_cast<void*>(target.handle()));
  pump_for(300);
  target.clear();

  const std::uint32_t first_point = point_value(120, 45), second_point = point_value(130, 45);
  require(app.press_and_wait_status(VK_F10, kStatusStarted), "F10: the status reads 自动点击已经开始");
  check_clicks_arrive(target, 20, 5000, "the target");
  say("-- a new point in the fields takes effect at the next click");
  app.set_target(target.handle(), 130, 45);
  const std::size_t before = count_of(target, WM_LBUTTONUP);
  check_clicks_arrive(target, before + 20, 5000, "the target");
  stop_and_check_quiet(app, target);
  const std::vector<std::size_t> counts =
      check_background_clicks(target.messages(), {first_point, second_point});
  check(counts[0] >= 20 && counts[1] >= 15,
        format("clicks at 120,45 (%zu) and then at 130,45 (%zu)", counts[0], counts[1]));
  POINT now{};
  GetCursorPos(&now);
  check(now.x == parked.x && now.y == parked.y,
        format("the cursor did not move (at %ld,%ld)", now.x, now.y));

  say("-- with the handle field empty the clicks go to the desktop window");
  app.set_target_texts(L"", L"120", L"45");
  target.clear();
  check(app.press_and_wait_status(VK_F10, kStatusStarted), "F10: the status reads 自动点击已经开始");
  pump_for(1500);
  check(app.alive(), "the program runs and answers while clicking the desktop window");
  check_equal(static_cast<long long>(target.messages().size()), 0,
              "mouse messages at the driver's target meanwhile");
  check(app.press_and_wait_status(VK_F11, kStatusStopped), "F11: the status reads 自动点击已经停止");
  app.close_and_check_exit();
}

// ---------------------------------------------------------------------------
// Bad input

void hotkey_taken(const CaseContext& context) {
  HotkeyHolder owner;
  require(owner.take(VK_F10), "the driver registers F10 for itself before the program starts");
  Clicker app(context);
  TargetWindow target(L"e2e target under the cursor", free_rect(window_rect_of(app.main()), 300, 180));
  const POINT screen = target.to_screen(POINT{60, 40});
  require(move_cursor_to(screen), "the cursor is on the target");
  pump_for(300);
  target.clear();

  for (int round = 1; round <= 2; ++round) {
    say("-- round %d", round);
    press_key(VK_F10);
    const bool fired = wait_until(2000, [&] { return owner.fired() == round; });
    check(fired, format("F10 fires the driver's own hotkey (%d times so far)", owner.fired()));
    pump_for(700);
    check_equal(text_of(app.status()), round == 1 ? L"" : kStatusStopped,
                "the program's status after F10");
    check_equal(static_cast<long long>(count_of(target, WM_LBUTTONDOWN)), 0,
                "clicks at the cursor after F10");
    check(app.press_and_wait_status(VK_F11, kStatusStopped),
          "F11 still works: the status reads 自动点击已经停止");
  }
  check(app.alive(), "the program runs and answers");
  app.close_and_check_exit();
}

void target_destroyed(const CaseContext& context) {
  Clicker app(context);
  const RECT main_rect = window_rect_of(app.main());
  const RECT place = free_rect(main_rect, 320, 200);
  require(move_cursor_to(free_point({main_rect, place})), "the cursor is parked away");
  app.set_background(true);
  app.set_interval(10);

  auto first = std::make_unique<TargetWindow>(L"e2e first target", place);
  app.set_target(first->handle(), 30, 20);
  pump_for(200);
  first->clear();
  require(app.press_and_wait_status(VK_F10, kStatusStarted), "F10: the status reads 自动点击已经开始");
  check_clicks_arrive(*first, 10, 3000, "the first target");
  const std::wstring gone = handle_text(first->handle());
  first.reset();
  say("  destroyed the first target (%s) while the clicks go on", utf8(gone).c_str());
  pump_for(1500);
  check(app.alive(), "the program runs and answers, clicking a window that is gone");
  check_equal(text_of(app.status()), kStatusStarted, "the status meanwhile");
  check(app.press_and_wait_status(VK_F11, kStatusStopped), "F11: the status reads 自动点击已经停止");

  say("-- a new target");
  TargetWindow second(L"e2e second target", place);
  app.set_target(second.handle(), 40, 25);
  pump_for(300);
  second.clear();
  require(app.press_and_wait_status(VK_F10, kStatusStarted), "F10: the status reads 自动点击已经开始");
  check_clicks_arrive(second, 10, 3000, "the second target");
  stop_and_check_quiet(app, second);
  check_background_clicks(second.messages(), {point_value(40, 25)});
  app.close_and_check_exit();
}

// The value the program's decimal reading gives a text of digits: modulo
// 2^32, as a signed 32-bit integer.
long long wrapped(const std::wstring& digits) {
  std::uint32_t v = 0;
  for (wchar_t c : digits) v = v * 10 + static_cast<std::uint32_t>(c - L'0');
  return static_cast<std::int32_t>(v);
}

void garbage_fields(const CaseContext& context) {
  Clicker app(context);
  const RECT main_rect = window_rect_of(app.main());
  const RECT place = free_rect(main_rect, 320, 200);
  require(move_cursor_to(free_point({main_rect, place})), "the cursor is parked away");
  TargetWindow target(L"e2e target", place);
  app.set_background(true);
  app.set_interval(10);
  const std::wstring own = handle_text(target.handle());
  const std::wstring long_digits(10000, L'7');
  const std::wstring long_letters(10000, L'q');

  struct Row {
    const char* what;
    std::wstring handle, client_x, client_y;
    bool reaches_target;
    std::uint32_t point;  // when it does
  };
  const Row rows[] = {
      {"handle \" +12abc\"", L" +12abc", L"120", L"45", false, 0},
      {"handle \"-5\"", L"-5", L"120", L"45", false, 0},
      {"handle \"99999999999\"", L"99999999999", L"120", L"45", false, 0},
      {"handle \"\" (the desktop window)", L"", L"120", L"45", false, 0},
      {"handle of 10000 letters", long_letters, long_letters, long_letters, false, 0},
      {"handle of 10000 digits", long_digits, L"1", L"2", false, 0},
      {"the target's handle after blanks and \"+\", then letters; x \" +12abc\", y \"-5\"",
       L" \t+" + own + L"abc", L" +12abc", L"-5", true, point_value(12, -5)},
      {"the target's handle then 10000 letters; x 10000 digits, y \"99999999999\"",
       own + long_letters, long_digits, L"99999999999", true,
       point_value(wrapped(long_digits), wrapped(L"99999999999"))},
      {"the target's handle; x \"\", y \"abc\"", own, L"", L"abc", true, point_value(0, 0)},
  };
  for (const Row& row : rows) {
    say("-- %s", row.what);
    app.set_target_texts(row.handle, row.client_x, row.client_y);
    target.clear();
    check(app.press_and_wait_status(VK_F10, kStatusStarted), "F10: the status reads 自动点击已经开始");
    if (row.reaches_target) {
      check_clicks_arrive(target, 10, 3000, "the target");
    } else {
      pump_for(700);
      check_equal(static_cast<long long>(target.messages().size()), 0,
                  "mouse messages at the driver's target");
    }
    check(app.alive(), "the program runs and answers");
    if (row.reaches_target) {
      stop_and_check_quiet(app, target);
      check_background_clicks(target.messages(), {row.point});
    } else {
      check(app.press_and_wait_status(VK_F11, kStatusStopped),
            "F11: the status reads 自动点击已经停止");
    }
  }
  app.close_and_check_exit();
}

const CaseRegistration hotkeys_registration{
    "hotkeys-and-labels", "F10/F11 set the status; slider and box update their labels",
    &hotkeys_and_labels};
const CaseRegistration foreground_registration{
    "foreground-clicks", "F10 clicks at the cursor until F11; the cursor stays",
    &foreground_clicks};
const CaseRegistration background_registration{
    "background-clicks", "F10 posts whole clicks to the target fields' window and point",
    &background_clicks};
const CaseRegistration hotkey_taken_registration{
    "bad-input-hotkey-taken", "F10 held by another program: F11 works, nothing breaks",
    &hotkey_taken};
const CaseRegistration target_destroyed_registration{
    "bad-input-target-gone", "the target window goes away while clicking: program goes on",
    &target_destroyed};
const CaseRegistration garbage_registration{
    "bad-input-fields", "garbage in the target fields: program goes on, parsable handles work",
    &garbage_fields};

}  // namespace
}  // namespace e2e
