#include "picker_drive.h"

#include <cctype>
#include <cstdlib>
#include <cwctype>
#include <string>
#include <vector>

#include "windows_util.h"

namespace e2e {

std::wstring handle_decimal(HWND window) {
  const LONG value = static_cast<LONG>(reinterpret_cast<LONG_PTR>(window));
  return std::to_wstring(value);
}

PickerFields fields_for(HWND window, const std::wstring& title, long x, long y) {
  PickerFields f;
  f.handle = handle_decimal(window);
  f.title = title;
  f.client_x = f.label_x = std::to_wstring(x);
  f.client_y = f.label_y = std::to_wstring(y);
  return f;
}

std::string describe(const PickerFields& f) {
  return format("handle %s, title %s, 编辑框_Y (x) %s, 编辑框_X (y) %s, 标签14 %s, 标签15 %s",
                quoted(f.handle).c_str(), quoted(f.title).c_str(), quoted(f.client_x).c_str(),
                quoted(f.client_y).c_str(), quoted(f.label_y).c_str(), quoted(f.label_x).c_str());
}

// ---------------------------------------------------------------------------

PickerProgram::PickerProgram(const std::wstring& program)
    : started_(start_program(program)),
      picker_(control(started_.main, kPicker)),
      field_x_(control(started_.main, kFieldClientX)),
      field_y_(control(started_.main, kFieldClientY)) {}

PickerFields PickerProgram::fields() const {
  HWND m = main();
  PickerFields f;
  f.handle = text_of(control(m, kFieldHandle));
  f.title = text_of(control(m, kFieldTitle));
  f.client_x = text_of(control(m, kFieldClientX));
  f.client_y = text_of(control(m, kFieldClientY));
  f.label_x = text_of(control(m, kLabelClientX));
  f.label_y = text_of(control(m, kLabelClientY));
  return f;
}

bool PickerProgram::point_reads(long x, long y) const {
  return text_of(field_x_) == std::to_wstring(x) && text_of(field_y_) == std::to_wstring(y);
}

HWND PickerProgram::capture() const {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(started_.process.main_thread_id(), &info)) return nullptr;
  return info.hwndCapture;
}

void PickerProgram::set_background_mode(bool on) {
  HWND box = control(main(), kBackgroundBox);
  const bool ticked = send(box, BM_GETCHECK) == BST_CHECKED;
  if (ticked != on) {
    say("  BM_CLICK on 选择框1 to turn background mode %s", on ? "on" : "off");
    send(box, BM_CLICK);
  }
  require((send(box, BM_GETCHECK) == BST_CHECKED) == on,
          format("选择框1 is %s", on ? "ticked" : "not ticked"));
  // The program mirrors the check box onto the picker on its next timer tick.
  const bool followed =
      wait_until(3000, [&] { return (IsWindowEnabled(picker_) != FALSE) == on; });
  require(followed, format("the picker is %s within 3 s", on ? "enabled" : "still disabled"));
}

POINT PickerProgram::picker_centre() const {
  RECT r{};
  GetWindowRect(picker_, &r);
  return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

RECT PickerProgram::picker_interior() const {
  RECT r{};
  GetClientRect(picker_, &r);
  MapWindowPoints(picker_, nullptr, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

void PickerProgram::close() {
  say("  WM_CLOSE to the main window");
  PostMessageW(main(), WM_CLOSE, 0, 0);
  process().expect_exit(15000, 0, "after WM_CLOSE");
}

// ---------------------------------------------------------------------------

void pointer_step(POINT p) {
  // The centre of the pixel in the 0..65535 scale, so that the move lands
  // on exactly that pixel.
  const long long width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  SetCursorPos(p.x, p.y);
  mouse_event(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE,
              static_cast<DWORD>((2 * p.x + 1) * 65536LL / (2 * width)),
              static_cast<DWORD>((2 * p.y + 1) * 65536LL / (2 * height)), 0, 0);
}

int pointer_settled(POINT p, DWORD settle_ms) {
  pointer_step(p);
  int again = 0;
  const ULONGLONG end = GetTickCount64() + settle_ms;
  do {
    pump_for(1);
    POINT now{};
    GetCursorPos(&now);
    if (now.x != p.x || now.y != p.y) {
      pointer_step(p);
      ++again;
    }
  } while (GetTickCount64() < end && again < 20);
  return again;
}

void left_down() { mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0); }
void left_up() { mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0); }

namespace {

std::string describe_window(HWND w) {
  if (w == nullptr) return "none";
  return format("%p (id %d, class %s)", static_cast<void*>(w), GetDlgCtrlID(w),
                utf8(class_of(w)).c_str());
}

}  // namespace

void drag_picker_begin(PickerProgram& program, POINT to, int steps) {
  const POINT from = program.picker_centre();
  require(move_cursor_to(from),
          format("the cursor rests on the picker's centre %ld,%ld", from.x, from.y));
  say("  left button down at %ld,%ld", from.x, from.y);
  left_down();
  try {
    if (IsWindowEnabled(program.picker())) {
      const bool captured = wait_until(2000, [&] { return program.capture() != nullptr; });
      check(captured && program.capture() == program.picker(),
            "the picker holds the mouse capture after the press (holder: " +
                describe_window(program.capture()) + ")");
    }
    say("  moving to %ld,%ld in %d steps", to.x, to.y, steps);
    for (int i = 1; i <= steps; ++i) {
      const POINT p{from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps};
      pointer_step(p);
      pump_for(40);
    }
    // The last step once more, the careful way: it must hold when released.
    require(move_cursor_to(to), format("the cursor rests at %ld,%ld", to.x, to.y));
  } catch (...) {
    left_up();
    throw;
  }
}

void drag_picker_end(PickerProgram& program) {
  POINT at{};
  GetCursorPos(&at);
  say("  left button up at %ld,%ld", at.x, at.y);
  left_up();
  const bool released = wait_until(2000, [&] { return program.capture() == nullptr; });
  check(released, "no window of the program holds the capture after the release (holder: " +
                      describe_window(program.capture()) + ")");
  pump_for(100);
}

void drag_picker(PickerProgram& program, POINT to, int steps) {
  drag_picker(program, to, steps, [] {});
}

// ---------------------------------------------------------------------------

int non_white_pixels(const RECT& area) {
  const int w = area.right - area.left, h = area.bottom - area.top;
  if (w <= 0 || h <= 0) return 0;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = -h;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  HDC memory = CreateCompatibleDC(nullptr);
  DWORD* bits = nullptr;
  HBITMAP bitmap =
      CreateDIBSection(memory, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  HDC screen = GetDC(nullptr);
  BitBlt(memory, 0, 0, w, h, screen, area.left, area.top, SRCCOPY);
  ReleaseDC(nullptr, screen);
  GdiFlush();
  int count = 0;
  for (int i = 0; i < w * h; ++i)
    if ((bits[i] & 0xFFFFFFu) != 0xFFFFFFu) ++count;
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  return count;
}

// ---------------------------------------------------------------------------

namespace {

// A whole file of the Linux side (Z:), such as one under /proc.
std::string read_linux_file(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  std::string content;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) content.append(buffer, got);
  CloseHandle(file);
  return content;
}

// The value of `name` in a NUL-separated environment block.
std::string environment_value(const std::string& block, const std::string& name) {
  const std::string key = name + "=";
  std::size_t at = 0;
  while (at < block.size()) {
    std::size_t end = block.find('\0', at);
    if (end == std::string::npos) end = block.size();
    if (block.compare(at, key.size(), key) == 0) return block.substr(at + key.size(), end - at - key.size());
    at = end + 1;
  }
  return {};
}

std::string lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

}  // namespace

long linux_pid_of_program(const std::wstring& program_path) {
  const std::string prefix = environment_value(read_linux_file(L"Z:\\proc\\self\\environ"), "WINEPREFIX");
  std::wstring base = program_path.substr(program_path.find_last_of(L"\\/") + 1);
  const std::string name = lower(utf8(base));
  if (prefix.empty() || name.empty()) return 0;

  std::vector<long> found;
  WIN32_FIND_DATAW entry;
  HANDLE search = FindFirstFileW(L"Z:\\proc\\*", &entry);
  if (search == INVALID_HANDLE_VALUE) return 0;
  do {
    const std::wstring dir = entry.cFileName;
    if (dir.empty() || !std::iswdigit(dir[0])) continue;
    const std::wstring root = L"Z:\\proc\\" + dir + L"\\";
    // The program's Wine process has the program as its argv[0].
    const std::string command = read_linux_file(root + L"cmdline");
    const std::string argv0 = lower(command.substr(0, command.find('\0')));
    const std::size_t slash = argv0.find_last_of("\\/");
    if (argv0.substr(slash == std::string::npos ? 0 : slash + 1) != name) continue;
    if (environment_value(read_linux_file(root + L"environ"), "WINEPREFIX") != prefix) continue;
    found.push_back(std::stol(dir));
    say("  Linux process %s of this prefix runs %s", utf8(dir).c_str(), argv0.c_str());
  } while (FindNextFileW(search, &entry));
  FindClose(search);
  return found.size() == 1 ? found[0] : 0;
}

long resident_kb(long linux_pid) {
  const std::string status = read_linux_file(L"Z:\\proc\\" + std::to_wstring(linux_pid) + L"\\status");
  const std::size_t at = status.find("VmRSS:");
  if (at == std::string::npos) return 0;
  return std::strtol(status.c_str() + at + 6, nullptr, 10);
}

// ---------------------------------------------------------------------------

void check_fields(const PickerFields& seen, const PickerFields& expected) {
  check_equal(seen.handle, expected.handle, "编辑框_窗口句柄 (id 23)");
  check_equal(seen.title, expected.title, "编辑框_窗口标题 (id 25)");
  check_equal(seen.client_x, expected.client_x, "编辑框_Y (id 22), the client x");
  check_equal(seen.client_y, expected.client_y, "编辑框_X (id 21), the client y");
  check_equal(seen.label_y, expected.label_y, "标签14 (id 4), left of the coordinate row");
  check_equal(seen.label_x, expected.label_x, "标签15 (id 3), right of the coordinate row");
}

// A client point of the target on screen, checked to lie over the target.
POINT over_target(const TargetWindow& target, POINT client) {
  const POINT screen = target.to_screen(client);
  require(WindowFromPoint(screen) == target.handle(),
          format("client point %ld,%ld of the target (screen %ld,%ld) lies over the target",
                 client.x, client.y, screen.x, screen.y));
  return screen;
}

std::string list_messages(const std::vector<MouseMessage>& messages, std::size_t limit) {
  std::string s;
  for (std::size_t i = 0; i < messages.size() && i < limit; ++i)
    s += format(" [%s %llu %d,%d]", message_name(messages[i].message).c_str(),
                static_cast<unsigned long long>(messages[i].wparam), messages[i].x(), messages[i].y());
  if (messages.size() > limit) s += format(" ... (%zu in all)", messages.size());
  return s.empty() ? " nothing" : s;
}

// F10 starts background clicking, F11 stops it: every message the target
// receives in between is one of the three of a click, in order, at `client`.
void check_background_clicks(TargetWindow& target, POINT client) {
  require(move_cursor_to(kParking), "the cursor is parked away from both windows");
  pump_for(300);
  target.clear();

  say("  F10 (keybd_event)");
  press_key(VK_F10);
  const bool clicked =
      wait_until(5000, [&] { return target.messages_of(WM_LBUTTONUP).size() >= 5; });
  say("  F11 (keybd_event)");
  press_key(VK_F11);
  pump_for(300);  // clicks posted before F11 arrived are still on their way
  const std::vector<MouseMessage> until_stop = target.messages();
  pump_for(700);
  check(clicked, format("at least 5 clicks arrive within 5 s of F10 (%zu button-ups)",
                        target.messages_of(WM_LBUTTONUP).size()));
  check_equal(static_cast<long long>(target.messages().size()),
              static_cast<long long>(until_stop.size()),
              "messages received in the 700 ms after F11 had taken effect: none more, total");

  const LPARAM point = client.x + 65536 * client.y;
  struct Expected {
    UINT message;
    WPARAM wparam;
  };
  const Expected click[] = {{WM_MOUSEMOVE, 2}, {WM_LBUTTONDOWN, 1}, {WM_LBUTTONUP, 0}};
  std::size_t wrong = 0, first_wrong = 0;
  for (std::size_t i = 0; i < until_stop.size(); ++i) {
    const Expected& e = click[i % 3];
    const MouseMessage& m = until_stop[i];
    if (m.message != e.message || m.wparam != e.wparam || m.lparam != point) {
      if (wrong++ == 0) first_wrong = i;
    }
  }
  check(wrong == 0 && until_stop.size() % 3 == 0,
        format("%zu messages, each click WM_MOUSEMOVE 2, WM_LBUTTONDOWN 1, WM_LBUTTONUP 0 with "
               "lParam %ld (= %ld + 65536*%ld); %zu out of place%s; first:%s",
               until_stop.size(), static_cast<long>(point), client.x, client.y, wrong,
               wrong ? format(" from #%zu", first_wrong).c_str() : "",
               list_messages(until_stop, 6).c_str()));
}

}  // namespace e2e
