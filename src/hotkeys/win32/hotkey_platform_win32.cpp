// The hotkey registry's platform calls on Windows: one thin call each.
#include "hotkeys/win32/hotkey_platform_win32.h"

#include <windows.h>

#include "hotkeys/hotkey_platform.h"
#include "hotkeys/hotkey_registry.h"

namespace pelvrin {
namespace {

HWND as_window(std::uintptr_t window) { return reinterpret_cast<HWND>(window); }

LRESULT CALLBACK hotkey_procedure_entry(HWND window, UINT message,
                                        WPARAM wparam, LPARAM lparam) {
  return static_cast<LRESULT>(hotkey_window_procedure(
      reinterpret_cast<std::uintptr_t>(window), message,
      static_cast<std::uintptr_t>(wparam), static_cast<std::intptr_t>(lparam)));
}

class Win32HotkeyPlatform final : public HotkeyPlatform {
 public:
  bool register_hot_key(std::uintptr_t window, std::int32_t id,
                        std::uint32_t modifiers,
                        std::uint32_t key_code) override {
    return RegisterHotKey(as_window(window), id, modifiers, key_code) != 0;
  }

  std::uintptr_t set_window_procedure(std::uintptr_t window) override {
#ifdef _WIN64
    const LONG_PTR previous =
        SetWindowLongPtrA(as_window(window), GWLP_WNDPROC,
                          reinterpret_cast<LONG_PTR>(&hotkey_procedure_entry));
    return static_cast<std::uintptr_t>(previous);
#else
    const LONG previous =
        SetWindowLongA(as_window(window), GWL_WNDPROC,
                       reinterpret_cast<LONG>(&hotkey_procedure_entry));
    return static_cast<std::uintptr_t>(static_cast<ULONG>(previous));
#endif
  }

  std::intptr_t call_window_procedure(std::uintptr_t procedure,
                                      std::uintptr_t window,
                                      std::uint32_t message,
                                      std::uintptr_t wparam,
                                      std::intptr_t lparam) override {
    return static_cast<std::intptr_t>(CallWindowProcA(
        reinterpret_cast<WNDPROC>(procedure), as_window(window), message,
        static_cast<WPARAM>(wparam), static_cast<LPARAM>(lparam)));
  }
};

Win32HotkeyPlatform g_win32_hotkey_platform;

}  // namespace

void install_win32_hotkey_platform() {
  set_hotkey_platform(&g_win32_hotkey_platform);
}

}  // namespace pelvrin
