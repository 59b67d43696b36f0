// What the reliability cases share: the program's hotkey ids read out of
// its memory, its live-handle counts, forged hotkey messages with a way to
// know they have been handled, checks of posted clicks, and the check that
// the program still works at the end of a case.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "clicking_support.h"
#include "framework.h"
#include "target_window.h"

namespace e2e {

// The bytes of a text in code page 936, as the program keeps its own texts.
std::string cp936(const std::wstring& text);

// The identifier texts the program registers its hotkeys under: 18 times
// "啊" for F10, "暗暗" for F11.
std::string f10_identifier_bytes();
std::string f11_identifier_bytes();

// Where the zero-terminated text `bytes` lies in the program's image as a
// text of its own (preceded by a zero byte or starting at a 4-byte aligned
// address) in an initialised, non-executable section. The image is the
// module of `program` (a path; its file name is matched) in a module
// snapshot of the process, its sections come from its PE headers read out of
// the process. Fails the case when the image cannot be read.
std::vector<std::uintptr_t> constant_text_addresses(HANDLE process, DWORD pid,
                                                    const std::wstring& program,
                                                    const std::string& bytes);

// The hotkey id the platform carries for a text at `address`: its low 32 bits.
std::uint32_t id_of_address(std::uintptr_t address);

// The program's two hotkey ids, found in its memory (each must be there
// exactly once).
struct HotkeyIds {
  std::uint32_t start = 0;  // F10
  std::uint32_t stop = 0;   // F11
};
HotkeyIds find_hotkey_ids(Clicker& app, const std::wstring& program);

// The counts that the program's "Pelvrin.LiveHandles" message reports:
// cursors, icons, bitmaps, OLE pictures, fonts and timer windows.
struct LiveHandles {
  static constexpr int kKinds = 6;
  long long count[kKinds] = {};
  bool operator==(const LiveHandles& o) const;
  bool operator!=(const LiveHandles& o) const { return !(*this == o); }
};
const char* live_handle_name(int kind);
LiveHandles live_handles(HWND main);
std::string describe(const LiveHandles& h);

// Posts WM_HOTKEY with `wparam` to the main window, then a key to the
// interval slider behind it in the same queue, and waits until the speed
// label shows the slider's move: by then the hotkey message has been
// handled. The slider goes between 10 and 11 ms, the interval the forged
// cases click with.
void post_hotkey_and_sync(const Clicker& app, WPARAM wparam);

// Waits up to `timeout_ms` for `ready` and checks it, described by what
// `what()` says after the wait (so that it can show the counts then).
template <typename F, typename W>
bool check_soon(DWORD timeout_ms, F ready, W what) {
  const bool ok = wait_until(timeout_ms, ready);
  return check(ok, what());
}

// Left-button releases at `target` at point value `point`.
std::size_t releases_at(const TargetWindow& target, std::uint32_t point);

// Checks that `target` receives `at_least` left-button releases within 5 s.
bool check_releases(const TargetWindow& target, std::size_t at_least, const std::string& where);

// Every message is part of a whole posted click (WM_MOUSEMOVE 2,
// WM_LBUTTONDOWN 1, WM_LBUTTONUP 0, one point value), and the point values
// follow `points` in order (each may repeat, and may be skipped). A click
// cut off at the very start (the messages were cleared mid-click) is let
// through, and so is one cut off at the end when `still_clicking` (the rest
// of it is on its way). Returns the number of whole clicks at each point.
std::vector<std::size_t> check_click_sequence(const std::vector<MouseMessage>& messages,
                                              const std::vector<std::uint32_t>& points,
                                              const std::string& where,
                                              bool still_clicking = false);

// Presses F11, requires the status to read 自动点击已经停止, and checks that
// nothing more arrives at `target` after what was already on its way.
void stop_and_check_quiet(const Clicker& app, const TargetWindow& target);

// The end of every reliability case: the program is alive; in background
// mode at 10 ms, F10 makes clicks arrive at a new window of the driver's
// own and F11 stops them; WM_CLOSE then ends it with exit code 0.
void check_works_afterwards(Clicker& app);

}  // namespace e2e
