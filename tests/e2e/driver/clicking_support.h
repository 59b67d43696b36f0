// Driving the program's clicking from outside: its hotkeys, the interval
// slider, the background check box and the target fields, as a user (keys,
// clicks) or another program (window messages) would. Used by the clicking
// cases and by the click-rate benchmark.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "framework.h"
#include "process.h"

namespace e2e {

// Control ids of the main window's controls that the clicking uses.
namespace ids {
constexpr int kPicker = 1;          // 图片框_捕获鼠标
constexpr int kStatus = 11;         // 标签7
constexpr int kBackgroundBox = 17;  // 选择框1
constexpr int kSpeed = 18;          // 标签2
constexpr int kSlider = 19;         // 滑块条1
constexpr int kFieldClientY = 21;   // 编辑框_X: holds the client y
constexpr int kFieldClientX = 22;   // 编辑框_Y: holds the client x
constexpr int kFieldHandle = 23;    // 编辑框_窗口句柄
}  // namespace ids

extern const wchar_t kStatusStarted[];     // "自动点击已经开始"
extern const wchar_t kStatusStopped[];     // "自动点击已经停止"
extern const wchar_t kBackgroundOff[];     // "开启后台": the box is unticked
extern const wchar_t kBackgroundOn[];      // "关闭后台": the box is ticked
std::wstring speed_text(int interval_ms);  // "当前速度：<n>毫秒/次"

// A window handle as the target field holds it: signed decimal of its
// 32-bit value.
std::wstring handle_text(HWND window);

// The low 32 bits of x + 65536*y: the lParam of a posted click.
std::uint32_t point_value(long long x, long long y);

// A high-resolution clock in seconds (QueryPerformanceCounter).
double seconds_now();

// The running program and the controls the clicking uses.
class Clicker {
 public:
  explicit Clicker(const CaseContext& context);

  HWND main() const { return started_.main; }
  Process& process() { return started_.process; }
  HWND status() const { return status_; }
  HWND speed() const { return speed_; }
  HWND background_box() const { return box_; }
  HWND slider() const { return slider_; }
  HWND picker() const { return picker_; }

  // Presses F10 or F11 through the input stream (keybd_event), which fires
  // the global hotkey whatever window has the focus.
  void press_start() const;
  void press_stop() const;
  // Presses the key and waits (up to 3 s) for the status label to read
  // `expected`; true when it does.
  bool press_and_wait_status(BYTE key, const std::wstring& expected) const;

  // Moves the slider to `interval_ms` with the keys a user would press
  // (Home, then Page Down and Right) and requires the speed label to follow.
  void set_interval(int interval_ms) const;
  // One key sent to the slider, as its own keyboard handling gets it.
  void slider_key(BYTE key) const;

  // Ticks or unticks the background box with BM_CLICK when it is not as
  // wanted, and requires the caption to follow within 2 s.
  void set_background(bool on) const;
  bool box_ticked() const;

  // Writes the three target fields with WM_SETTEXT.
  void set_target_texts(const std::wstring& handle, const std::wstring& client_x,
                        const std::wstring& client_y) const;
  void set_target(HWND window, int client_x, int client_y) const;

  // True while the process runs and its main window answers a message.
  bool alive() const;

  // Posts WM_CLOSE and checks that the process ends with exit code 0.
  void close_and_check_exit();

 private:
  Started started_;
  HWND status_, speed_, box_, slider_, picker_;
  HWND field_handle_, field_x_, field_y_;
};

// A window's rectangle on the screen.
RECT window_rect_of(HWND window);

// A screen rectangle of the given size that does not overlap `avoid`,
// inside the 1024x768 desktop.
RECT free_rect(const RECT& avoid, int width, int height);
// A screen point outside every rectangle in `avoid`.
POINT free_point(const std::vector<RECT>& avoid);

// A window of the driver's own that counts left clicks as they arrive,
// timing each with the performance counter. The benchmark aims at it.
class ClickCounter {
 public:
  ClickCounter(const std::wstring& caption, const RECT& outer);
  ~ClickCounter();
  ClickCounter(const ClickCounter&) = delete;
  ClickCounter& operator=(const ClickCounter&) = delete;

  HWND handle() const { return window_; }
  POINT to_screen(POINT client) const;

  // Times (seconds_now()) of the WM_LBUTTONUP messages received so far.
  const std::vector<double>& releases() const { return releases_; }
  // Their message times (GetMessageTime, in ms): when each was posted or,
  // for real input, when the event entered the input stream.
  const std::vector<DWORD>& release_stamps() const { return stamps_; }
  // Messages other than a left press or release, and presses and releases
  // that did not alternate.
  long long odd_messages() const { return odd_; }
  void clear();

 private:
  static LRESULT CALLBACK procedure(HWND, UINT, WPARAM, LPARAM);
  HWND window_ = nullptr;
  std::vector<double> releases_;
  std::vector<DWORD> stamps_;
  bool pressed_ = false;
  long long odd_ = 0;
};

// A window of the driver's own that holds a global hotkey, as another
// program would, and counts the WM_HOTKEY messages it receives.
class HotkeyHolder {
 public:
  HotkeyHolder() {
    static bool registered = false;
    if (!registered) {
      WNDCLASSW wc{};
      wc.lpfnWndProc = &HotkeyHolder::procedure;
      wc.hInstance = GetModuleHandleW(nullptr);
      wc.lpszClassName = kClass;
      if (!RegisterClassW(&wc)) fail(format("RegisterClassW failed, error %lu", GetLastError()));
      registered = true;
    }
    window_ = CreateWindowExW(0, kClass, L"e2e hotkey holder", WS_POPUP, 0, 0, 10, 10, nullptr,
                              nullptr, GetModuleHandleW(nullptr), nullptr);
    if (window_ == nullptr) fail(format("CreateWindowExW failed, error %lu", GetLastError()));
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ~HotkeyHolder() {
    UnregisterHotKey(window_, kId);
    DestroyWindow(window_);
  }
  HotkeyHolder(const HotkeyHolder&) = delete;
  HotkeyHolder& operator=(const HotkeyHolder&) = delete;

  bool take(UINT key) { return RegisterHotKey(window_, kId, 0, key) != FALSE; }
  int fired() const { return fired_; }

 private:
  static constexpr wchar_t kClass[] = L"PelvrinE2eHotkeyHolder";
  static constexpr int kId = 0x4E1D;
  static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* self = reinterpret_cast<HotkeyHolder*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self != nullptr && message == WM_HOTKEY && wparam == kId) ++self->fired_;
    return DefWindowProcW(window, message, wparam, lparam);
  }
  HWND window_ = nullptr;
  int fired_ = 0;
};

}  // namespace e2e
