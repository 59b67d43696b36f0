#include "app/click_controller.h"

#include <cstdint>

#include "app/cursors.h"
#include "app/main_form.h"
#include "app/main_window_layout.h"
#include "clicking/click_senders.h"
#include "hotkeys/hotkey_registry.h"
#include "runtime/form.h"
#include "runtime/text.h"

namespace pelvrin {

namespace {

constexpr std::uint32_t kVkF10 = 121;
constexpr std::uint32_t kVkF11 = 122;

// The hotkeys' identifier texts. The registry uses their addresses as the
// hotkey ids, so they must stay where they are for the life of the process.
const char kStartHotkeyIdentifier[] = "啊啊啊啊啊啊啊啊啊啊啊啊啊啊啊啊啊啊";
const char kStopHotkeyIdentifier[] = "暗暗";

bool background_mode(Form& form) { return read_int(form, 选择框1, prop::check_ticked) != 0; }

// Handles are 32-bit values; widening sign-extends them as the platform does.
std::uintptr_t handle_from_int(std::int32_t handle) {
  return static_cast<std::uintptr_t>(static_cast<std::intptr_t>(handle));
}

}  // namespace

void init_click_controller() {
  窗口_热键注册(main_form().window_handle(main_window), 0, kVkF10, start_clicking,
                kStartHotkeyIdentifier);
  窗口_热键注册(main_form().window_handle(main_window), 0, kVkF11, stop_clicking,
                kStopHotkeyIdentifier);
  update_speed_label();
  Form& form = main_form();
  write_int(form, 图片框_捕获鼠标, prop::disabled, 1);
  write_bytes(form, 图片框_捕获鼠标, prop::mouse_pointer, idle_pointer);
}

void update_speed_label() {
  Form& form = main_form();
  const Text interval = int_to_text(read_int(form, 滑块条1, prop::slider_position));
  write_text(form, 标签2, prop::label_caption, "当前速度：" + interval + "毫秒/次");
}

void mirror_background_mode() {
  Form& form = main_form();
  if (background_mode(form)) {
    write_int(form, 图片框_捕获鼠标, prop::disabled, 0);
    write_text(form, 选择框1, prop::check_caption, "关闭后台");
  } else {
    write_int(form, 图片框_捕获鼠标, prop::disabled, 1);
    write_text(form, 选择框1, prop::check_caption, "开启后台");
  }
}

void start_clicking() {
  Form& form = main_form();
  write_text(form, 标签7, prop::label_caption, "自动点击已经开始");
  if (background_mode(form)) {
    write_int(form, 时钟1, prop::timer_period, read_int(form, 滑块条1, prop::slider_position));
    write_int(form, 时钟2, prop::timer_period, 0);
  } else {
    write_int(form, 时钟2, prop::timer_period, read_int(form, 滑块条1, prop::slider_position));
    write_int(form, 时钟1, prop::timer_period, 0);
  }
}

void stop_clicking() {
  Form& form = main_form();
  write_text(form, 标签7, prop::label_caption, "自动点击已经停止");
  write_int(form, 时钟1, prop::timer_period, 0);
  write_int(form, 时钟2, prop::timer_period, 0);
}

void background_click_tick() {
  Form& form = main_form();
  const std::int32_t target = text_to_int(read_text(form, 编辑框_窗口句柄, prop::edit_text));
  // The field named Y holds the x coordinate and the one named X holds y.
  const std::int32_t x = text_to_int(read_text(form, 编辑框_Y, prop::edit_text));
  const std::int32_t y = text_to_int(read_text(form, 编辑框_X, prop::edit_text));
  send_background_click(handle_from_int(target), x, y);
}

void foreground_click_tick() { send_foreground_click(); }

}  // namespace pelvrin
