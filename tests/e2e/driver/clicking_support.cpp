#include "clicking_support.h"

#include <commctrl.h>

#include "windows_util.h"

namespace e2e {

const wchar_t kStatusStarted[] = L"自动点击已经开始";
const wchar_t kStatusStopped[] = L"自动点击已经停止";
const wchar_t kBackgroundOff[] = L"开启后台";
const wchar_t kBackgroundOn[] = L"关闭后台";

std::wstring speed_text(int interval_ms) {
  return L"当前速度：" + std::to_wstring(interval_ms) + L"毫秒/次";
}

std::wstring handle_text(HWND window) {
  const auto value = static_cast<std::int32_t>(reinterpret_cast<std::intptr_t>(window));
  return std::to_wstring(value);
}

std::uint32_t point_value(long long x, long long y) {
  return static_cast<std::uint32_t>(static_cast<unsigned long long>(x + 65536LL * y));
}

double seconds_now() {
  static const double frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
  }();
  LARGE_INTEGER c;
  QueryPerformanceCounter(&c);
  return static_cast<double>(c.QuadPart) / frequency;
}

// ---------------------------------------------------------------------------

Clicker::Clicker(const CaseContext& context) : started_(start_program(context.program)) {
  HWND m = started_.main;
  status_ = control(m, ids::kStatus);
  speed_ = control(m, ids::kSpeed);
  box_ = control(m, ids::kBackgroundBox);
  slider_ = control(m, ids::kSlider);
  picker_ = control(m, ids::kPicker);
  field_handle_ = control(m, ids::kFieldHandle);
  field_x_ = control(m, ids::kFieldClientX);
  field_y_ = control(m, ids::kFieldClientY);
}

void Clicker::press_start() const { press_key(VK_F10); }
void Clicker::press_stop() const { press_key(VK_F11); }

bool Clicker::press_and_wait_status(BYTE key, const std::wstring& expected) const {
  press_key(key);
  return wait_until(3000, [&] { return text_of(status_) == expected; });
}

void Clicker::slider_key(BYTE key) const {
  // Sent rather than posted, so that the label can be read as soon as the
  // key has been handled.
  send(slider_, WM_KEYDOWN, key, 1);
  send(slider_, WM_KEYUP, key, 0xC0000001);
}

void Clicker::set_interval(int interval_ms) const {
  slider_key(VK_HOME);
  for (int i = 0; i < (interval_ms - 1) / 5; ++i) slider_key(VK_NEXT);  // page size 5
  for (int i = 0; i < (interval_ms - 1) % 5; ++i) slider_key(VK_RIGHT);
  const std::wstring label = text_of(speed_);
  if (label != speed_text(interval_ms))
    fail(format("the slider should be at %d ms, but the speed label reads %s", interval_ms,
                quoted(label).c_str()));
}

bool Clicker::box_ticked() const { return send(box_, BM_GETCHECK) == BST_CHECKED; }

void Clicker::set_background(bool on) const {
  if (box_ticked() != on) send(box_, BM_CLICK);
  require(box_ticked() == on, format("the background box is %s", on ? "ticked" : "unticked"));
  const std::wstring caption = on ? kBackgroundOn : kBackgroundOff;
  const bool followed = wait_until(2000, [&] { return text_of(box_) == caption; });
  require(followed, format("the box's caption became %s (it reads %s)", quoted(caption).c_str(),
                           quoted(text_of(box_)).c_str()));
}

void Clicker::set_target_texts(const std::wstring& handle, const std::wstring& client_x,
                               const std::wstring& client_y) const {
  send(field_handle_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(handle.c_str()));
  send(field_x_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(client_x.c_str()));
  send(field_y_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(client_y.c_str()));
  require(text_of(field_handle_) == handle && text_of(field_x_) == client_x &&
              text_of(field_y_) == client_y,
          "the target fields hold the written texts");
}

void Clicker::set_target(HWND window, int client_x, int client_y) const {
  set_target_texts(handle_text(window), std::to_wstring(client_x), std::to_wstring(client_y));
}

bool Clicker::alive() const {
  if (!started_.process.running()) return false;
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(started_.main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &result) != 0;
}

void Clicker::close_and_check_exit() {
  PostMessageW(started_.main, WM_CLOSE, 0, 0);
  started_.process.expect_exit(15000, 0, "after WM_CLOSE");
}

// ---------------------------------------------------------------------------

RECT window_rect_of(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return r;
}

RECT free_rect(const RECT& avoid, int width, int height) {
  const int margin = 8;
  const RECT candidates[] = {
      {margin, margin, margin + width, margin + height},
      {1024 - margin - width, 768 - margin - height, 1024 - margin, 768 - margin},
      {1024 - margin - width, margin, 1024 - margin, margin + height},
      {margin, 768 - margin - height, margin + width, 768 - margin},
  };
  for (const RECT& r : candidates) {
    RECT overlap;
    if (!IntersectRect(&overlap, &r, &avoid)) return r;
  }
  fail(format("no free place of %dx%d beside the window at %s", width, height,
              describe(avoid).c_str()));
}

POINT free_point(const std::vector<RECT>& avoid) {
  for (int y = 20; y < 760; y += 37) {
    for (int x = 20; x < 1010; x += 41) {
      const POINT p{x, y};
      bool inside = false;
      for (const RECT& r : avoid) inside = inside || PtInRect(&r, p);
      if (!inside) return p;
    }
  }
  fail("no free point on the desktop");
}

// ---------------------------------------------------------------------------

namespace {
const wchar_t kCounterClass[] = L"PelvrinE2eClickCounter";
}

ClickCounter::ClickCounter(const std::wstring& caption, const RECT& outer) {
  static bool registered = false;
  if (!registered) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = &ClickCounter::procedure;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kCounterClass;
    if (!RegisterClassW(&wc)) fail(format("RegisterClassW failed, error %lu", GetLastError()));
    registered = true;
  }
  releases_.reserve(1 << 16);
  stamps_.reserve(1 << 16);
  window_ = CreateWindowExW(0, kCounterClass, caption.c_str(), WS_OVERLAPPEDWINDOW, outer.left,
                            outer.top, outer.right - outer.left, outer.bottom - outer.top, nullptr,
                            nullptr, GetModuleHandleW(nullptr), this);
  if (window_ == nullptr) fail(format("CreateWindowExW failed, error %lu", GetLastError()));
  ShowWindow(window_, SW_SHOWNORMAL);
  SetForegroundWindow(window_);
  UpdateWindow(window_);
  pump_for(50);
}

ClickCounter::~ClickCounter() {
  if (window_ != nullptr) DestroyWindow(window_);
}

POINT ClickCounter::to_screen(POINT client) const {
  ClientToScreen(window_, &client);
  return client;
}

void ClickCounter::clear() {
  releases_.clear();
  stamps_.clear();
  pressed_ = false;
  odd_ = 0;
}

LRESULT CALLBACK ClickCounter::procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lparam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<ClickCounter*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self != nullptr) {
    switch (message) {
      case WM_LBUTTONDOWN:
        if (self->pressed_) ++self->odd_;
        self->pressed_ = true;
        break;
      case WM_LBUTTONUP:
        if (!self->pressed_) ++self->odd_;
        self->pressed_ = false;
        self->releases_.push_back(seconds_now());
        self->stamps_.push_back(static_cast<DWORD>(GetMessageTime()));
        break;
      case WM_MOUSEMOVE:
        break;
      default:
        if (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ++self->odd_;
        break;
    }
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace e2e
