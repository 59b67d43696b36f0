#include "clicking/win32/click_platform_win32.h"

#include <windows.h>

#include "clicking/click_platform.h"

namespace pelvrin {

namespace {

HWND to_hwnd(std::uintptr_t window) { return reinterpret_cast<HWND>(window); }

class Win32ClickPlatform final : public ClickPlatform {
 public:
  std::uintptr_t desktop_window() override {
    return reinterpret_cast<std::uintptr_t>(GetDesktopWindow());
  }

  void post_message(std::uintptr_t window, std::uint32_t message, std::uintptr_t wparam,
                    std::intptr_t lparam) override {
    PostMessageA(to_hwnd(window), message, static_cast<WPARAM>(wparam),
                 static_cast<LPARAM>(lparam));
  }

  void mouse_event(std::uint32_t flags) override { ::mouse_event(flags, 0, 0, 0, 0); }
};

Win32ClickPlatform g_win32_click_platform;

}  // namespace

void install_win32_click_platform() { set_click_platform(&g_win32_click_platform); }

}  // namespace pelvrin
