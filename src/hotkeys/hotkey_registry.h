// System-wide hotkeys named by identifier texts and bound to routines.
//
// A hotkey is registered on a window under the address of the caller's
// identifier text and recorded in g_hotkey_table. The first recorded hotkey
// makes hotkey_window_procedure the window procedure of its window; from then
// on a hotkey message runs the routine of its entry and every other message
// goes on to the procedure that was replaced.
//
// Everything here runs on the one GUI thread.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace pelvrin {

using HotkeyCallback = void (*)();

// The message that carries a pressed hotkey; its wParam is the hotkey's id.
inline constexpr std::uint32_t kHotkeyMessage = 786;

// One registered hotkey.
struct HotkeyEntry {
  std::uintptr_t window = 0;      // the window the hotkey was registered on
  std::string identifier;         // own copy of the caller's identifier text
  HotkeyCallback callback = nullptr;
};

// The recorded hotkeys in registration order; owns its entries.
extern std::vector<std::unique_ptr<HotkeyEntry>> g_hotkey_table;

// The window procedure that hotkey_window_procedure replaced; 0 until then.
extern std::uintptr_t g_previous_window_procedure;

// Registers a system-wide hotkey named by the zero-terminated CP936 text at
// `标识文本` (nullptr counts as the empty text); the address of that text is
// the hotkey id, so the text must stay alive and unchanged at that address
// for as long as the hotkey can fire. Returns 1 when the hotkey was
// registered and recorded, 0 otherwise (refused by the platform, or the
// identifier or its id is already recorded); on 0 nothing has changed.
int 窗口_热键注册(std::uintptr_t window, std::uint32_t modifiers,
                  std::uint32_t key_code, HotkeyCallback callback,
                  const char* 标识文本);

// Starts an empty table.
void create_hotkey_table();

// Frees every entry and the table, and forgets the ids and the replaced
// window procedure. Hotkeys stay registered and the window keeps its
// procedure; this runs when the window is gone.
void release_hotkey_table();

// Position (from 1) of the first entry whose identifier equals `identifier`
// byte for byte, or 0 when there is none.
std::int32_t find_hotkey_entry(std::string_view identifier);

// The window procedure installed on the window of the first registration.
std::intptr_t hotkey_window_procedure(std::uintptr_t window,
                                      std::uint32_t message,
                                      std::uintptr_t wparam,
                                      std::intptr_t lparam);

}  // namespace pelvrin
