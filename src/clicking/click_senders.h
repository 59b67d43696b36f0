// One left click per call: either synthesized at the cursor (foreground) or
// posted as mouse messages to a window at a point of its client area
// (background).
#pragma once

#include <array>
#include <cstdint>

namespace pelvrin {

// Message numbers and flags of a click, named after their Windows macros.
namespace mouse_message {
inline constexpr std::uint32_t move = 0x0200;       // WM_MOUSEMOVE
inline constexpr std::uint32_t left_down = 0x0201;  // WM_LBUTTONDOWN
inline constexpr std::uint32_t left_up = 0x0202;    // WM_LBUTTONUP
}  // namespace mouse_message
namespace mouse_keys {
inline constexpr std::uintptr_t none = 0;
inline constexpr std::uintptr_t left_button = 0x0001;   // MK_LBUTTON
inline constexpr std::uintptr_t right_button = 0x0002;  // MK_RBUTTON
}  // namespace mouse_keys
namespace mouse_event_flags {
inline constexpr std::uint32_t left_down = 0x0002;  // MOUSEEVENTF_LEFTDOWN
inline constexpr std::uint32_t left_up = 0x0004;    // MOUSEEVENTF_LEFTUP
}  // namespace mouse_event_flags

// The lParam of the posted mouse messages: the low 32 bits of the arithmetic
// sum x + 65536 * y. For 0 <= x <= 65535 that is x in the low half and y in
// the high half; a negative x borrows from the high half and an x of 65536 or
// more carries into it.
std::uint32_t pack_point(std::int32_t x, std::int32_t y);

struct PostedMessage {
  std::uint32_t message;
  std::uintptr_t wparam;
  std::intptr_t lparam;  // the 32-bit point value, zero-extended

  bool operator==(const PostedMessage& o) const {
    return message == o.message && wparam == o.wparam && lparam == o.lparam;
  }
};

// The three messages of one background click at client point (x, y), in the
// order in which they are posted.
std::array<PostedMessage, 3> background_click_messages(std::int32_t x, std::int32_t y);

// Posts one click's messages to `target` (the desktop window when target is
// 0) at client point (x, y). Nothing is checked, retried or reported.
void send_background_click(std::uintptr_t target, std::int32_t x, std::int32_t y);

// A left press and then a left release through the input stream, at the
// cursor.
void send_foreground_click();

}  // namespace pelvrin
