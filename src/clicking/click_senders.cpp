#include "clicking/click_senders.h"

#include <cassert>

#include "clicking/click_platform.h"

namespace pelvrin {

namespace {

ClickPlatform* g_click_platform = nullptr;

ClickPlatform& click_platform() {
  assert(g_click_platform != nullptr);
  return *g_click_platform;
}

}  // namespace

void set_click_platform(ClickPlatform* platform) { g_click_platform = platform; }

std::uint32_t pack_point(std::int32_t x, std::int32_t y) {
  // The exact sum needs at most 49 bits; keep its low 32.
  const std::int64_t sum = static_cast<std::int64_t>(x) + 65536 * static_cast<std::int64_t>(y);
  return static_cast<std::uint32_t>(sum);
}

std::array<PostedMessage, 3> background_click_messages(std::int32_t x, std::int32_t y) {
  // Going through uintptr_t zero-extends the 32-bit value on 64-bit builds
  // instead of sign-extending it.
  const auto p = static_cast<std::intptr_t>(static_cast<std::uintptr_t>(pack_point(x, y)));
  // The move carries MK_RBUTTON (not 0), the press MK_LBUTTON, the release no
  // key flags.
  return {{
      {mouse_message::move, mouse_keys::right_button, p},
      {mouse_message::left_down, mouse_keys::left_button, p},
      {mouse_message::left_up, mouse_keys::none, p},
  }};
}

void send_background_click(std::uintptr_t target, std::int32_t x, std::int32_t y) {
  ClickPlatform& platform = click_platform();
  if (target == 0) target = platform.desktop_window();
  for (const PostedMessage& m : background_click_messages(x, y)) {
    platform.post_message(target, m.message, m.wparam, m.lparam);
  }
}

void send_foreground_click() {
  ClickPlatform& platform = click_platform();
  platform.mouse_event(mouse_event_flags::left_down);
  platform.mouse_event(mouse_event_flags::left_up);
}

}  // namespace pelvrin
