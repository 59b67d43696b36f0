#include "target_window.h"

#include "framework.h"

namespace e2e {
namespace {

const wchar_t kClassName[] = L"PelvrinE2eTarget";

void register_class_once() {
  static bool done = false;
  if (done) return;
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;  // replaced per window below
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = kClassName;
  if (!RegisterClassW(&wc)) fail(format("RegisterClassW failed, error %lu", GetLastError()));
  done = true;
}

}  // namespace

std::string message_name(UINT message) {
  switch (message) {
    case WM_MOUSEMOVE: return "WM_MOUSEMOVE";
    case WM_LBUTTONDOWN: return "WM_LBUTTONDOWN";
    case WM_LBUTTONUP: return "WM_LBUTTONUP";
    case WM_LBUTTONDBLCLK: return "WM_LBUTTONDBLCLK";
    case WM_RBUTTONDOWN: return "WM_RBUTTONDOWN";
    case WM_RBUTTONUP: return "WM_RBUTTONUP";
    case WM_RBUTTONDBLCLK: return "WM_RBUTTONDBLCLK";
    case WM_MBUTTONDOWN: return "WM_MBUTTONDOWN";
    case WM_MBUTTONUP: return "WM_MBUTTONUP";
    case WM_MBUTTONDBLCLK: return "WM_MBUTTONDBLCLK";
    case WM_MOUSEWHEEL: return "WM_MOUSEWHEEL";
    case WM_XBUTTONDOWN: return "WM_XBUTTONDOWN";
    case WM_XBUTTONUP: return "WM_XBUTTONUP";
    case WM_XBUTTONDBLCLK: return "WM_XBUTTONDBLCLK";
    case WM_MOUSEHWHEEL: return "WM_MOUSEHWHEEL";
    default: return format("message 0x%04X", message);
  }
}

TargetWindow::TargetWindow(const std::wstring& caption, const RECT& outer) {
  register_class_once();
  window_ = CreateWindowExW(0, kClassName, caption.c_str(), WS_OVERLAPPEDWINDOW, outer.left,
                            outer.top, outer.right - outer.left, outer.bottom - outer.top, nullptr,
                            nullptr, GetModuleHandleW(nullptr), nullptr);
  if (window_ == nullptr) fail(format("CreateWindowExW failed, error %lu", GetLastError()));
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TargetWindow::procedure));
  ShowWindow(window_, SW_SHOWNORMAL);
  SetForegroundWindow(window_);
  UpdateWindow(window_);
  pump_for(50);
}

TargetWindow::~TargetWindow() {
  if (window_ != nullptr) DestroyWindow(window_);
}

std::vector<MouseMessage> TargetWindow::messages_of(UINT message) const {
  std::vector<MouseMessage> found;
  for (const MouseMessage& m : messages_)
    if (m.message == message) found.push_back(m);
  return found;
}

POINT TargetWindow::to_screen(POINT client) const {
  ClientToScreen(window_, &client);
  return client;
}

LRESULT CALLBACK TargetWindow::procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* self = reinterpret_cast<TargetWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self != nullptr && message >= WM_MOUSEFIRST && message <= WM_MOUSELAST)
    self->messages_.push_back(
        MouseMessage{message, wparam, lparam, static_cast<DWORD>(GetMessageTime())});
  return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace e2e
