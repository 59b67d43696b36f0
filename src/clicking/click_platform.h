// The few platform calls that the click senders make, behind an interface so
// that the senders themselves stay free of Windows. The Windows adapter is in
// clicking/win32/; tests install a recording fake.
#pragma once

#include <cstdint>

namespace pelvrin {

class ClickPlatform {
 public:
  virtual ~ClickPlatform() = default;

  // GetDesktopWindow: the handle of the desktop window.
  virtual std::uintptr_t desktop_window() = 0;

  // PostMessageA: queues the message for the window's thread and returns at
  // once. Its result is of no interest to the senders.
  virtual void post_message(std::uintptr_t window, std::uint32_t message,
                            std::uintptr_t wparam, std::intptr_t lparam) = 0;

  // mouse_event(flags, 0, 0, 0, 0): one event into the input stream, at the
  // cursor's current position (no move flag is ever given).
  virtual void mouse_event(std::uint32_t flags) = 0;
};

// Installs the platform that the senders use from now on (not owned).
void set_click_platform(ClickPlatform* platform);

}  // namespace pelvrin
