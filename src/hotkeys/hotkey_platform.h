// The few platform calls the hotkey registry makes. The Windows adapter is
// in hotkeys/win32/; unit tests put a recording fake in its place.
#pragma once

#include <cstdint>

namespace pelvrin {

class HotkeyPlatform {
 public:
  virtual ~HotkeyPlatform() = default;

  // Registers a system-wide hotkey for `window` under `id`; `modifiers` are
  // the platform's modifier flags, passed on unchanged. True when the hotkey
  // is now registered, false when not (for instance when another program
  // already holds the key combination).
  virtual bool register_hot_key(std::uintptr_t window, std::int32_t id,
                                std::uint32_t modifiers,
                                std::uint32_t key_code) = 0;

  // Makes hotkey_window_procedure the window procedure of `window` and
  // returns the procedure it replaced.
  virtual std::uintptr_t set_window_procedure(std::uintptr_t window) = 0;

  // Runs `procedure` (one returned by set_window_procedure) with the four
  // message values and returns its result.
  virtual std::intptr_t call_window_procedure(std::uintptr_t procedure,
                                              std::uintptr_t window,
                                              std::uint32_t message,
                                              std::uintptr_t wparam,
                                              std::intptr_t lparam) = 0;
};

// The platform the registry uses from now on; nullptr for none. The registry
// does not own it. Without a platform nothing can be registered and every
// message gives 0.
void set_hotkey_platform(HotkeyPlatform* platform);

}  // namespace pelvrin
