// A window of the driver's own that records every mouse message it
// receives, whether posted, sent or produced by real input. Cases that
// click, or that post clicks to a picked window, aim at it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

struct MouseMessage {
  UINT message;
  WPARAM wparam;
  LPARAM lparam;
  DWORD time;  // GetMessageTime() when it was handled
  int x() const { return static_cast<short>(LOWORD(lparam)); }
  int y() const { return static_cast<short>(HIWORD(lparam)); }
};

// "WM_LBUTTONDOWN" etc.
std::string message_name(UINT message);

class TargetWindow {
 public:
  // A visible top-level window with the given caption and outer
  // rectangle (screen coordinates), brought to the front.
  TargetWindow(const std::wstring& caption, const RECT& outer);
  ~TargetWindow();
  TargetWindow(const TargetWindow&) = delete;
  TargetWindow& operator=(const TargetWindow&) = delete;

  HWND handle() const { return window_; }

  // Client mouse messages (WM_MOUSEFIRST..WM_MOUSELAST) received so far.
  // Messages are only received while the driver pumps (pump_for,
  // wait_until, Process::wait_exit).
  const std::vector<MouseMessage>& messages() const { return messages_; }
  std::vector<MouseMessage> messages_of(UINT message) const;
  void clear() { messages_.clear(); }

  // A client point in screen coordinates.
  POINT to_screen(POINT client) const;

 private:
  static LRESULT CALLBACK procedure(HWND, UINT, WPARAM, LPARAM);
  HWND window_ = nullptr;
  std::vector<MouseMessage> messages_;
};

}  // namespace e2e
