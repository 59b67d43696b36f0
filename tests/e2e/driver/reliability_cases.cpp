// Reliability: what other programs and bad input can throw at the program
// must neither crash it nor stop it working. Hotkey messages forged by
// another process; background targets that are gone, hidden, never were
// windows, or the program's own picker; hotkeys that another program holds;
// target fields full of garbage while the clicks run. Every case ends by
// checking that F10 and F11 still click and stop and that WM_CLOSE ends the
// program with exit code 0.
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "clicking_support.h"
#include "framework.h"
#include "process.h"
#include "reliability_support.h"
#include "target_window.h"
#include "windows_util.h"

namespace e2e {
namespace {

// A handle as the program widens the 32-bit value of its handle field.
HWND widened(std::int32_t value) {
  return reinterpret_cast<HWND>(static_cast<std::intptr_t>(value));
}

// ---------------------------------------------------------------------------
// Forged hotkey messages

void forged_hotkey(const CaseContext& context) {
  Clicker app(context);
  const RECT main_rect = window_rect_of(app.main());
  TargetWindow target(L"e2e forged-hotkey target", free_rect(main_rect, 300, 180));
  const POINT parked = free_point({main_rect, window_rect_of(target.handle())});
  require(move_cursor_to(parked), "the cursor is parked away from both windows");
  app.set_background(true);
  app.set_interval(10);
  app.set_target(target.handle(), 50, 30);
  const std::uint32_t point = point_value(50, 30);

  say("-- the hotkey ids: addresses of the identifier texts in the program's image");
  const HotkeyIds ids = find_hotkey_ids(app, context.program);
  // Another constant text of the program. The compiler may build a short
  // text out of immediate operands instead of keeping it in the image, so
  // the first of these that is there as a text of its own is taken.
  std::uintptr_t other = 0;
  std::wstring other_text;
  for (const wchar_t* text :
       {kStatusStarted, L"当前速度：", kBackgroundOff, kBackgroundOn, L"毫秒/次"}) {
    const std::vector<std::uintptr_t> at = constant_text_addresses(
        app.process().handle(), app.process().id(), context.program, cp936(text));
    if (at.empty()) continue;
    other = at[0];
    other_text = text;
    break;
  }
  require(other != 0, "another constant text of the program lies in its image");
  say("  the program's text %s at 0x%llx", quoted(other_text).c_str(),
      static_cast<unsigned long long>(other));
  // The same bytes as F10's identifier, at an address of the driver's own.
  static char driver_copy[64];
  const std::string f10 = f10_identifier_bytes();
  std::memcpy(driver_copy, f10.c_str(), f10.size() + 1);
  say("  a copy of F10's identifier in the driver's memory at %p", static_cast<void*>(driver_copy));

  struct Forged {
    const char* what;
    WPARAM wparam;
  };
  const Forged forged[] = {
      {"wParam 0", 0},
      {"wParam 1", 1},
      {"wParam 0xDEADBEEF", 0xDEADBEEF},
      {"the address of another text of the program", id_of_address(other)},
      {"the address of F10's identifier copied into the driver's memory",
       id_of_address(reinterpret_cast<std::uintptr_t>(driver_copy))},
  };
  for (const Forged& f : forged) {
    require(f.wparam != ids.start && f.wparam != ids.stop,
            format("%s (0x%llx) is neither real id", f.what,
                   static_cast<unsigned long long>(f.wparam)));
  }

  pump_for(200);
  target.clear();
  const std::wstring status_before = text_of(app.status());
  say("-- idle: forged hotkey messages start nothing (status %s)", quoted(status_before).c_str());
  for (const Forged& f : forged) {
    post_hotkey_and_sync(app, f.wparam);
    check_equal(text_of(app.status()), status_before,
                format("status after WM_HOTKEY with %s, once handled", f.what));
  }
  pump_for(300);
  check_equal(static_cast<long long>(target.messages().size()), 0,
              "mouse messages at the target after the forged messages");
  check(app.alive(), "the program runs and answers");

  say("-- the real F10 id, posted by the driver, starts clicking");
  post_hotkey_and_sync(app, ids.start);
  check_equal(text_of(app.status()), kStatusStarted, "status after WM_HOTKEY with F10's id");
  check_releases(target, 5, "the target");

  say("-- clicking: forged hotkey messages stop nothing");
  for (const Forged& f : forged) {
    post_hotkey_and_sync(app, f.wparam);
    check_equal(text_of(app.status()), kStatusStarted,
                format("status after WM_HOTKEY with %s, once handled", f.what));
    const std::size_t before = releases_at(target, point);
    check_soon(
        5000, [&] { return releases_at(target, point) >= before + 5; },
        [&] {
          return format("clicks go on after %s: %zu, then %zu", f.what, before,
                        releases_at(target, point));
        });
  }

  say("-- the real F11 id, posted by the driver, stops clicking");
  post_hotkey_and_sync(app, ids.stop);
  check_equal(text_of(app.status()), kStatusStopped, "status after WM_HOTKEY with F11's id");
  pump_for(300);
  const std::size_t after_stop = target.messages().size();
  pump_for(1000);
  check_equal(static_cast<long long>(target.messages().size()), static_cast<long long>(after_stop),
              "mouse messages at the target once F11's id was handled, and 1 s later");
  check_click_sequence(target.messages(), {point}, "the target");

  check_works_afterwards(app);
}

// ---------------------------------------------------------------------------
// Bad background targets

void bad_targets(const CaseContext& context) {
  Clicker app(context);
  const RECT main_rect = window_rect_of(app.main());
  const RECT place = free_rect(main_rect, 320, 200);
  require(move_cursor_to(free_point({main_rect, place})), "the cursor is parked away");
  app.set_background(true);
  app.set_interval(10);

  // After each bad target: F11 has stopped the clicks; a good target gets
  // whole clicks from the next F10.
  auto good_target_gets_clicks = [&](const std::string& after) {
    TargetWindow good(L"e2e good target", place);
    app.set_target(good.handle(), 40, 25);
    pump_for(200);
    good.clear();
    require(app.press_and_wait_status(VK_F10, kStatusStarted),
            "F10: the status reads 自动点击已经开始");
    check_releases(good, 5, "a good target after " + after);
    stop_and_check_quiet(app, good);
    check_click_sequence(good.messages(), {point_value(40, 25)}, "the good target");
  };
  // Clicking runs at a bad target for a while: the program must stay.
  auto click_for_a_while = [&](const std::string& what) {
    require(app.press_and_wait_status(VK_F10, kStatusStarted),
            "F10: the status reads 自动点击已经开始");
    pump_for(1500);
    check(app.alive(), format("the program runs and answers, clicking %s", what.c_str()));
    check_equal(text_of(app.status()), kStatusStarted, "the status meanwhile");
    check(app.press_and_wait_status(VK_F11, kStatusStopped),
          "F11: the status reads 自动点击已经停止");
  };

  say("-- (a) the target window is closed while the clicks go on");
  {
    auto doomed = std::make_unique<TargetWindow>(L"e2e doomed target", place);
    app.set_target(doomed->handle(), 30, 20);
    pump_for(200);
    doomed->clear();
    require(app.press_and_wait_status(VK_F10, kStatusStarted),
            "F10: the status reads 自动点击已经开始");
    check_releases(*doomed, 5, "the target");
    const std::wstring gone = handle_text(doomed->handle());
    doomed.reset();
    say("  closed the target (handle %s) while clicking", utf8(gone).c_str());
    pump_for(1500);
    check(app.alive(), "the program runs and answers, clicking a window that is gone");
    check_equal(text_of(app.status()), kStatusStarted, "the status meanwhile");
    check(app.press_and_wait_status(VK_F11, kStatusStopped),
          "F11: the status reads 自动点击已经停止");
  }
  good_target_gets_clicks("the closed target");

  say("-- (b) a hidden window of another process (one of the driver's)");
  {
    TargetWindow hidden(L"e2e hidden target", place);
    ShowWindow(hidden.handle(), SW_HIDE);
    pump_for(100);
    require(!IsWindowVisible(hidden.handle()), "the driver's window is hidden");
    app.set_target(hidden.handle(), 30, 20);
    hidden.clear();
    click_for_a_while("a hidden window");
    pump_for(300);
    say("  the hidden window received %zu mouse messages (%zu releases)", hidden.messages().size(),
        hidden.messages_of(WM_LBUTTONUP).size());
    check_click_sequence(hidden.messages(), {point_value(30, 20)}, "the hidden window");
  }
  good_target_gets_clicks("the hidden window");

  say("-- (c) handles that were never windows");
  struct Bad {
    const wchar_t* text;
    std::int32_t value;
  };
  const Bad bad[] = {{L"12345678", 12345678}, {L"-1", -1}, {L"2147483647", 0x7FFFFFFF}};
  for (const Bad& b : bad) {
    say("-- handle %s", utf8(b.text).c_str());
    require(!IsWindow(widened(b.value)), format("%s is no window", utf8(b.text).c_str()));
    app.set_target_texts(b.text, L"30", L"20");
    click_for_a_while(format("handle %s", utf8(b.text).c_str()));
    good_target_gets_clicks(format("handle %s", utf8(b.text).c_str()));
  }

  say("-- (d) the program's own picker, clicked at 1 ms");
  {
    // What a drag that never leaves the picker picks. Each posted press
    // starts a drag there, and the picker's handlers dispatch the messages
    // pending meanwhile, among them the next clicks.
    app.set_interval(1);
    app.set_target(app.picker(), 19, 17);
    require(app.press_and_wait_status(VK_F10, kStatusStarted),
            "F10: the status reads 自动点击已经开始");
    bool alive = true;
    for (int i = 0; i < 32 && alive; ++i) {
      pump_for(250);
      alive = app.alive();
    }
    check(alive, "the program runs and answers after 8 s of clicks posted to its own picker");
    if (!alive) fail("the program is gone");
    check_equal(text_of(app.status()), kStatusStarted, "the status meanwhile");
    check(app.press_and_wait_status(VK_F11, kStatusStopped),
          "F11: the status reads 自动点击已经停止");
    app.set_interval(10);
    app.set_background(true);
  }
  good_target_gets_clicks("the program's own picker");

  check_works_afterwards(app);
}

// ---------------------------------------------------------------------------
// A hotkey held by another program

// Argument F10 or F11: the key the driver holds.
void hotkey_held(const CaseContext& context) {
  const std::wstring which = context.args.empty() ? L"" : context.args[0];
  require(which == L"F10" || which == L"F11", "the held key is named: F10 or F11");
  const bool start_held = which == L"F10";
  const BYTE held = start_held ? VK_F10 : VK_F11;
  const char* held_name = start_held ? "F10" : "F11";
  const char* free_name = start_held ? "F11" : "F10";

  HotkeyHolder holder;
  require(holder.take(held), format("the driver registers %s on a window of its own before the "
                                    "program starts",
                                    held_name));
  Clicker app(context);
  check(app.alive(), "the program started and answers");
  const RECT main_rect = window_rect_of(app.main());
  TargetWindow target(L"e2e held-hotkey target", free_rect(main_rect, 300, 180));
  require(move_cursor_to(free_point({main_rect, window_rect_of(target.handle())})),
          "the cursor is parked away from both windows");
  app.set_background(true);
  app.set_interval(10);
  app.set_target(target.handle(), 44, 22);
  const std::uint32_t point = point_value(44, 22);
  pump_for(200);
  target.clear();

  say("-- %s, the free key, works", free_name);
  if (start_held) {
    check(app.press_and_wait_status(VK_F11, kStatusStopped),
          "F11: the status reads 自动点击已经停止");
  } else {
    require(app.press_and_wait_status(VK_F10, kStatusStarted),
            "F10: the status reads 自动点击已经开始");
    check_releases(target, 5, "the target");
  }

  say("-- %s, the held key, reaches the driver and not the program", held_name);
  for (int round = 1; round <= 2; ++round) {
    press_key(held);
    const bool fired = wait_until(3000, [&] { return holder.fired() == round; });
    check(fired, format("%s press %d fires the driver's hotkey (%d so far)", held_name, round,
                        holder.fired()));
    if (start_held) {
      pump_for(700);
      check_equal(text_of(app.status()), kStatusStopped, "the program's status after F10");
      check_equal(static_cast<long long>(target.messages().size()), 0,
                  "mouse messages at the target after F10");
    } else {
      pump_for(300);
      check_equal(text_of(app.status()), kStatusStarted, "the program's status after F11");
      const std::size_t before = releases_at(target, point);
      check_soon(
          5000, [&] { return releases_at(target, point) >= before + 10; },
          [&] {
            return format("clicks go on after F11: %zu, then %zu", before,
                          releases_at(target, point));
          });
    }
  }
  check(app.alive(), "the program runs and answers");

  if (start_held) {
    // F10 was never the program's: the rest of the usual check that needs
    // it cannot apply. F11 once more, then the close.
    check(app.press_and_wait_status(VK_F11, kStatusStopped),
          "F11 still works: the status reads 自动点击已经停止");
    app.close_and_check_exit();
  } else {
    say("-- F11 belongs to the driver: the program is closed while it clicks");
    app.close_and_check_exit();
    pump_for(300);
    check_click_sequence(target.messages(), {point}, "the target");
  }
}

// ---------------------------------------------------------------------------
// Garbage in the target fields while the clicks run

// The program's reading of a decimal text: blanks, a sign, digits up to the
// first other character, modulo 2^32.
std::int32_t decimal_value(const std::wstring& text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == L' ' || text[i] == L'\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) negative = text[i++] == L'-';
  std::uint32_t v = 0;
  for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i)
    v = v * 10u + static_cast<std::uint32_t>(text[i] - L'0');
  return static_cast<std::int32_t>(negative ? 0u - v : v);
}

void field_garbage(const CaseContext& context) {
  Clicker app(context);
  const RECT main_rect = window_rect_of(app.main());
  TargetWindow target(L"e2e field-garbage target", free_rect(main_rect, 320, 200));
  require(move_cursor_to(free_point({main_rect, window_rect_of(target.handle())})),
          "the cursor is parked away from both windows");
  app.set_background(true);
  app.set_interval(10);
  const std::wstring good_handle = handle_text(target.handle());
  const int good_x = 70, good_y = 40;
  const std::uint32_t good_point = point_value(good_x, good_y);
  app.set_target(target.handle(), good_x, good_y);

  std::wstring long_text = L"  -";
  while (long_text.size() < 10000) long_text += L"1234567890"[long_text.size() % 10];
  long_text.resize(10000);
  struct Garbage {
    const char* what;
    std::wstring text;
    std::int32_t value;  // what the program reads from it
  };
  const Garbage garbage[] = {
      {"\" +12abc\"", L" +12abc", 12},
      {"\"-5\"", L"-5", -5},
      {"\"99999999999\"", L"99999999999", static_cast<std::int32_t>(99999999999LL & 0xFFFFFFFF)},
      {"\"\"", L"", 0},
      {"10000 characters: blanks, \"-\" and digits", long_text, decimal_value(long_text)},
  };
  enum Field { kHandle, kClientX, kClientY };
  const struct {
    Field field;
    const char* name;
  } fields[] = {
      {kHandle, "编辑框_窗口句柄"}, {kClientX, "编辑框_Y (x)"}, {kClientY, "编辑框_X (y)"}};

  pump_for(200);
  target.clear();
  require(app.press_and_wait_status(VK_F10, kStatusStarted),
          "F10: the status reads 自动点击已经开始");
  require(check_releases(target, 5, "the target"), "clicking runs");

  for (const auto& f : fields) {
    for (const Garbage& g : garbage) {
      say("-- %s := %s, while clicking", f.name, g.what);
      target.clear();
      app.set_target_texts(f.field == kHandle ? g.text : good_handle,
                           f.field == kClientX ? g.text : std::to_wstring(good_x),
                           f.field == kClientY ? g.text : std::to_wstring(good_y));
      std::vector<std::uint32_t> expected{good_point};
      if (f.field == kHandle) {
        const HWND h = widened(g.value);
        say("  the handle reads as %ld: %s", static_cast<long>(g.value),
            g.value == 0  ? "the desktop window is clicked instead"
            : IsWindow(h) ? "a window (not the target)"
                          : "no window");
        // What was posted before the field changed is in the queue by now.
        pump_for(200);
        const std::size_t in_flight = target.messages().size();
        pump_for(700);
        check_equal(static_cast<long long>(target.messages().size()),
                    static_cast<long long>(in_flight),
                    "mouse messages at the target once the handle field changed, and 0.7 s later");
      } else {
        const std::uint32_t p =
            f.field == kClientX ? point_value(g.value, good_y) : point_value(good_x, g.value);
        expected.push_back(p);
        check_soon(
            5000, [&] { return releases_at(target, p) >= 5; },
            [&] {
              return format("clicks arrive at the parsed point (x %lld, y %lld): %zu",
                            f.field == kClientX ? static_cast<long long>(g.value) : good_x,
                            f.field == kClientY ? static_cast<long long>(g.value) : good_y,
                            releases_at(target, p));
            });
      }
      check(app.alive(), "the program runs and answers");
      check_equal(text_of(app.status()), kStatusStarted, "the status");
      // Good values again: the clicks come back to the good point.
      app.set_target(target.handle(), good_x, good_y);
      const std::size_t before = releases_at(target, good_point);
      if (f.field != kHandle) expected.push_back(good_point);
      check_soon(
          5000, [&] { return releases_at(target, good_point) >= before + 5; },
          [&] {
            return format("clicks come back to the good point: %zu, then %zu", before,
                          releases_at(target, good_point));
          });
      check_click_sequence(target.messages(), expected, "the target", true);
    }
  }
  target.clear();
  stop_and_check_quiet(app, target);
  check_works_afterwards(app);
}

const CaseRegistration forged_registration{"reliability-forged-hotkey",
                                           "WM_HOTKEY from another process: only the real ids act",
                                           &forged_hotkey};
const CaseRegistration bad_targets_registration{
    "reliability-bad-targets", "targets closed, hidden, never windows: the program goes on",
    &bad_targets};
const CaseRegistration hotkey_held_registration{
    "reliability-hotkey-held", "F10 or F11 (argument) held by the driver before the start",
    &hotkey_held};
const CaseRegistration field_garbage_registration{
    "reliability-field-garbage", "garbage in the target fields while clicking: clicks go on",
    &field_garbage};

}  // namespace
}  // namespace e2e
