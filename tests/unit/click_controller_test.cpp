// The click controller against an in-memory form, a recording click platform
// and a recording hotkey platform.

#include "app/click_controller.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/cursors.h"
#include "app/main_window_layout.h"
#include "clicking/click_senders.h"
#include "fake_click_platform.h"
#include "fake_form.h"
#include "hotkeys/hotkey_platform.h"
#include "hotkeys/hotkey_registry.h"
#include "runtime/property.h"

namespace {

using namespace pelvrin;
using fakes::FakeClickPlatform;
using fakes::FakeForm;
using fakes::MainFormGuard;
using Call = FakeForm::Call;
using Calls = std::vector<Call>;
using Post = FakeClickPlatform::Post;

constexpr std::uintptr_t kMainWindow = 0x000300A2;

Call write_int_of(ControlId c, int n, std::int32_t v) {
  return FakeForm::write_of(c, n, Value::of_int(v));
}
Call write_text_of(ControlId c, int n, std::string t) {
  return FakeForm::write_of(c, n, Value::of_text(std::move(t)));
}
Call status(std::string text) { return write_text_of(标签7, prop::label_caption, std::move(text)); }
Call period(ControlId timer, std::int32_t ms) { return write_int_of(timer, prop::timer_period, ms); }

class FakeHotkeyPlatform : public HotkeyPlatform {
 public:
  struct Registration {
    std::uintptr_t window;
    std::int32_t id;
    std::uint32_t modifiers;
    std::uint32_t key_code;
  };
  bool accept = true;
  std::vector<Registration> registrations;

  bool register_hot_key(std::uintptr_t window, std::int32_t id, std::uint32_t modifiers,
                        std::uint32_t key_code) override {
    registrations.push_back({window, id, modifiers, key_code});
    return accept;
  }
  std::uintptr_t set_window_procedure(std::uintptr_t) override { return 0x7F000010; }
  std::intptr_t call_window_procedure(std::uintptr_t, std::uintptr_t, std::uint32_t,
                                      std::uintptr_t, std::intptr_t) override {
    return 0;
  }
};

class ClickController : public ::testing::Test {
 protected:
  ClickController() {
    form.handles[main_window] = kMainWindow;
    // The layout's state at load.
    form.set_int(滑块条1, prop::slider_position, 1);
    form.set_int(选择框1, prop::check_ticked, 0);
  }

  // The writes made by `handler` alone.
  Calls writes_of(void (*handler)()) {
    form.calls.clear();
    handler();
    return form.writes();
  }

  void set_interval(std::int32_t ms) { form.set_int(滑块条1, prop::slider_position, ms); }
  void set_background(bool on) { form.set_int(选择框1, prop::check_ticked, on ? 1 : 0); }
  std::int32_t period_of(ControlId timer) const {
    return form.get(timer, prop::timer_period).integer;
  }
  std::string status_text() const { return form.get(标签7, prop::label_caption).bytes; }

  FakeForm form;
  MainFormGuard guard{form};
  FakeClickPlatform clicks;
};

TEST_F(ClickController, F10StartsTheTimerOfTheCurrentModeAndStopsTheOther) {
  struct Case {
    bool background;
    ControlId runs, stops;
  };
  for (const Case& c : {Case{false, 时钟2, 时钟1}, Case{true, 时钟1, 时钟2}}) {
    set_background(c.background);
    set_interval(250);
    EXPECT_EQ(writes_of(start_clicking),
              (Calls{status("自动点击已经开始"), period(c.runs, 250), period(c.stops, 0)}))
        << "background " << c.background;
    EXPECT_EQ(writes_of(stop_clicking),
              (Calls{status("自动点击已经停止"), period(时钟1, 0), period(时钟2, 0)}))
        << "background " << c.background;
  }
}

TEST_F(ClickController, F10AgainWritesTheSamePeriodAgainOrTheNewOne) {
  set_interval(40);
  start_clicking();
  // Same interval: the same period is written again; keeping the schedule is
  // the timer's business.
  EXPECT_EQ(writes_of(start_clicking),
            (Calls{status("自动点击已经开始"), period(时钟2, 40), period(时钟1, 0)}));
  set_interval(30000);
  EXPECT_EQ(writes_of(start_clicking),
            (Calls{status("自动点击已经开始"), period(时钟2, 30000), period(时钟1, 0)}));
}

TEST_F(ClickController, TickingBackgroundBetweenF10sMovesClickingToTheBackgroundTimer) {
  set_interval(75);
  start_clicking();
  ASSERT_EQ(period_of(时钟2), 75);
  set_background(true);
  start_clicking();
  EXPECT_EQ(period_of(时钟1), 75);
  EXPECT_EQ(period_of(时钟2), 0);
  set_background(false);
  start_clicking();
  EXPECT_EQ(period_of(时钟1), 0);
  EXPECT_EQ(period_of(时钟2), 75);
}

TEST_F(ClickController, F11WhileIdleOnlyRewritesTheStatusAndTheStoppedPeriods) {
  EXPECT_EQ(writes_of(stop_clicking),
            (Calls{status("自动点击已经停止"), period(时钟1, 0), period(时钟2, 0)}));
  EXPECT_EQ(period_of(时钟1), 0);
  EXPECT_EQ(period_of(时钟2), 0);
}

TEST_F(ClickController, SpeedLabelShowsTheSliderPosition) {
  struct Case {
    std::int32_t position;
    std::string label;
  };
  for (const Case& c : {Case{1, "当前速度：1毫秒/次"}, Case{250, "当前速度：250毫秒/次"},
                        Case{30000, "当前速度：30000毫秒/次"}, Case{-3, "当前速度：-3毫秒/次"}}) {
    set_interval(c.position);
    EXPECT_EQ(writes_of(update_speed_label),
              (Calls{write_text_of(标签2, prop::label_caption, c.label)}));
  }
}

TEST_F(ClickController, MovingTheSliderWhileClickingLeavesThePeriodAlone) {
  set_interval(250);
  start_clicking();
  set_interval(900);
  EXPECT_EQ(writes_of(update_speed_label),
            (Calls{write_text_of(标签2, prop::label_caption, "当前速度：900毫秒/次")}));
  EXPECT_EQ(period_of(时钟2), 250);
  EXPECT_EQ(period_of(时钟1), 0);
}

TEST_F(ClickController, MirrorBackgroundModeWritesPickerStateThenCaptionOnEveryTick) {
  struct Case {
    std::int32_t ticked;
    std::int32_t picker_disabled;
    std::string caption;
  };
  for (const Case& c : {Case{1, 0, "关闭后台"}, Case{0, 1, "开启后台"}}) {
    form.set_int(选择框1, prop::check_ticked, c.ticked);
    const Calls expected{write_int_of(图片框_捕获鼠标, prop::disabled, c.picker_disabled),
                         write_text_of(选择框1, prop::check_caption, c.caption)};
    EXPECT_EQ(writes_of(mirror_background_mode), expected) << "ticked " << c.ticked;
    // Unchanged state: written again all the same.
    EXPECT_EQ(writes_of(mirror_background_mode), expected) << "ticked " << c.ticked;
  }
}

TEST_F(ClickController, BackgroundTickClicksAtTheTargetFields) {
  struct Case {
    std::string handle, y_field, x_field;  // 编辑框_窗口句柄, 编辑框_Y, 编辑框_X
    std::uintptr_t target;
    std::uint32_t point;
  };
  const auto desktop = FakeClickPlatform::kDesktop;
  const auto minus_two = static_cast<std::uintptr_t>(static_cast<std::intptr_t>(-2));
  for (const Case& c : {
           Case{"", "", "", desktop, 0},                          // nothing picked yet
           Case{"0", "0", "0", desktop, 0},
           Case{"66100", "120", "45", 66100, 0x002D0078},         // x 120 from Y, y 45 from X
           Case{"abc", " 12px", "-7", desktop, 0xFFF9000C},       // garbage reads as far as it can
           Case{"-2", "3", "4", minus_two, 0x00040003},           // handles sign-extend
           Case{"4294967297", "65536", "x", 1, 0x00010000},       // wraps modulo 2^32
       }) {
    form.set_text(编辑框_窗口句柄, prop::edit_text, c.handle);
    form.set_text(编辑框_Y, prop::edit_text, c.y_field);
    form.set_text(编辑框_X, prop::edit_text, c.x_field);
    clicks.posts.clear();

    EXPECT_TRUE(writes_of(background_click_tick).empty());

    const auto p = static_cast<std::intptr_t>(static_cast<std::uintptr_t>(c.point));
    EXPECT_EQ(clicks.posts, (std::vector<Post>{{c.target, 0x0200, 2, p},
                                               {c.target, 0x0201, 1, p},
                                               {c.target, 0x0202, 0, p}}))
        << '"' << c.handle << "\" \"" << c.y_field << "\" \"" << c.x_field << '"';
  }
  EXPECT_TRUE(clicks.mouse_events.empty());
}

TEST_F(ClickController, BackgroundTickReadsTheFieldsAfreshEachTime) {
  form.set_text(编辑框_窗口句柄, prop::edit_text, "500");
  form.set_text(编辑框_Y, prop::edit_text, "1");
  form.set_text(编辑框_X, prop::edit_text, "2");
  background_click_tick();
  form.set_text(编辑框_窗口句柄, prop::edit_text, "600");
  form.set_text(编辑框_Y, prop::edit_text, "10");
  background_click_tick();
  ASSERT_EQ(clicks.posts.size(), 6u);
  EXPECT_EQ(clicks.posts[0].window, 500u);
  EXPECT_EQ(clicks.posts[0].lparam, 0x00020001);
  EXPECT_EQ(clicks.posts[3].window, 600u);
  EXPECT_EQ(clicks.posts[3].lparam, 0x0002000A);
}

TEST_F(ClickController, ForegroundTickIsOneClickAtTheCursorAndNothingElse) {
  EXPECT_TRUE(writes_of(foreground_click_tick).empty());
  EXPECT_TRUE(form.calls.empty());
  EXPECT_EQ(clicks.mouse_events, (std::vector<std::uint32_t>{0x0002, 0x0004}));
  EXPECT_TRUE(clicks.posts.empty());
}

class ClickControllerInit : public ClickController {
 protected:
  ClickControllerInit() {
    create_hotkey_table();
    set_hotkey_platform(&hotkeys);
  }
  ~ClickControllerInit() override {
    set_hotkey_platform(nullptr);
    release_hotkey_table();
  }
  FakeHotkeyPlatform hotkeys;
};

TEST_F(ClickControllerInit, RegistersF10ThenF11OnTheMainWindow) {
  init_click_controller();

  ASSERT_EQ(hotkeys.registrations.size(), 2u);
  const auto& f10 = hotkeys.registrations[0];
  const auto& f11 = hotkeys.registrations[1];
  EXPECT_EQ(f10.window, kMainWindow);
  EXPECT_EQ(f10.modifiers, 0u);
  EXPECT_EQ(f10.key_code, 121u);
  EXPECT_EQ(f11.window, kMainWindow);
  EXPECT_EQ(f11.modifiers, 0u);
  EXPECT_EQ(f11.key_code, 122u);
  EXPECT_NE(f10.id, f11.id);

  ASSERT_EQ(g_hotkey_table.size(), 2u);
  EXPECT_EQ(g_hotkey_table[0]->identifier, "啊啊啊啊啊啊啊啊啊啊啊啊啊啊啊啊啊啊");
  EXPECT_EQ(g_hotkey_table[0]->identifier.size(), 36u);
  EXPECT_EQ(g_hotkey_table[0]->callback, &start_clicking);
  EXPECT_EQ(g_hotkey_table[1]->identifier, "暗暗");
  EXPECT_EQ(g_hotkey_table[1]->callback, &stop_clicking);

  // The main window's handle is asked for once per registration.
  Calls handle_calls;
  for (const Call& call : form.calls) {
    if (call.kind == Call::handle) handle_calls.push_back(call);
  }
  EXPECT_EQ(handle_calls, (Calls{{Call::handle, main_window, 0, {}},
                                 {Call::handle, main_window, 0, {}}}));
}

TEST_F(ClickControllerInit, RegisteredHotkeysRunStartAndStop) {
  set_interval(33);
  init_click_controller();
  const auto delivered = [&](std::size_t n) {
    return static_cast<std::uintptr_t>(
        static_cast<std::uint32_t>(hotkeys.registrations.at(n).id));
  };

  hotkey_window_procedure(kMainWindow, kHotkeyMessage, delivered(0), 0);
  EXPECT_EQ(status_text(), "自动点击已经开始");
  EXPECT_EQ(period_of(时钟2), 33);

  hotkey_window_procedure(kMainWindow, kHotkeyMessage, delivered(1), 0);
  EXPECT_EQ(status_text(), "自动点击已经停止");
  EXPECT_EQ(period_of(时钟2), 0);
}

TEST_F(ClickControllerInit, SetsUpSpeedLabelAndIdlePickerWhetherOrNotHotkeysRegister) {
  for (bool accept : {true, false}) {
    release_hotkey_table();
    create_hotkey_table();
    hotkeys.accept = accept;
    set_interval(1);
    form.calls.clear();

    init_click_controller();

    EXPECT_EQ(form.writes(),
              (Calls{write_text_of(标签2, prop::label_caption, "当前速度：1毫秒/次"),
                     write_int_of(图片框_捕获鼠标, prop::disabled, 1),
                     FakeForm::write_of(图片框_捕获鼠标, prop::mouse_pointer,
                                        Value::of_bytes(std::string(idle_pointer)))}))
        << "accept " << accept;
    EXPECT_EQ(form.get(时钟1, prop::timer_period).integer, 0);
    EXPECT_EQ(form.get(时钟2, prop::timer_period).integer, 0);
  }
}

}  // namespace
