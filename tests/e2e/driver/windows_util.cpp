#include "windows_util.h"

#include "framework.h"

namespace e2e {

LRESULT send(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(window, message, wparam, lparam, SMTO_ABORTIFHUNG, 5000, &result)) {
    const DWORD error = GetLastError();
    fail(format("window %p did not answer message 0x%04X: %s (error %lu)", static_cast<void*>(window),
                message, IsWindow(window) ? "no answer within 5 s" : "the window is gone", error));
  }
  return static_cast<LRESULT>(result);
}

std::wstring text_of(HWND window) {
  LRESULT length = send(window, WM_GETTEXTLENGTH);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  LRESULT got = send(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]));
  text.resize(static_cast<std::size_t>(got));
  return text;
}

std::wstring caption_of(HWND window) {
  wchar_t text[512] = {};
  GetWindowTextW(window, text, 512);
  return text;
}

std::wstring class_of(HWND window) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  return name;
}

namespace {

// A named callback: it must have the platform's calling convention.
BOOL CALLBACK collect_window(HWND w, LPARAM p) {
  reinterpret_cast<std::vector<HWND>*>(p)->push_back(w);
  return TRUE;
}

}  // namespace

std::vector<HWND> descendants(HWND parent) {
  std::vector<HWND> found;
  EnumChildWindows(parent, collect_window, reinterpret_cast<LPARAM>(&found));
  return found;
}

std::map<int, std::vector<HWND>> descendants_by_id(HWND parent) {
  std::map<int, std::vector<HWND>> by_id;
  for (HWND w : descendants(parent)) by_id[GetDlgCtrlID(w)].push_back(w);
  return by_id;
}

HWND control(HWND main, int id) {
  std::vector<HWND> found;
  for (HWND w : descendants(main))
    if (GetDlgCtrlID(w) == id) found.push_back(w);
  if (found.size() != 1)
    fail(format("expected one descendant of the main window with control id %d, found %zu", id,
                found.size()));
  return found[0];
}

RECT rect_in_client(HWND main, HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  POINT corners[2] = {{r.left, r.top}, {r.right, r.bottom}};
  for (POINT& p : corners) ScreenToClient(main, &p);
  return RECT{corners[0].x, corners[0].y, corners[1].x, corners[1].y};
}

std::string describe(const RECT& r) {
  return format("%ld,%ld %ldx%ld", r.left, r.top, r.right - r.left, r.bottom - r.top);
}

HWND focus_window(HWND window) {
  HWND top = GetAncestor(window, GA_ROOT);
  DWORD target_thread = GetWindowThreadProcessId(window, nullptr);
  DWORD own_thread = GetCurrentThreadId();
  // Sharing the input state with the target thread lets this thread set
  // the focus there, as a click would.
  // On a loaded machine the activation can take a moment to settle and
  // take the focus back to the top window: try again a few times.
  HWND focused = nullptr;
  for (int attempt = 0; attempt < 10; ++attempt) {
    AttachThreadInput(own_thread, target_thread, TRUE);
    SetForegroundWindow(top);
    SetActiveWindow(top);
    SetFocus(window);
    AttachThreadInput(own_thread, target_thread, FALSE);
    pump_for(100);
    AttachThreadInput(own_thread, target_thread, TRUE);
    focused = GetFocus();
    AttachThreadInput(own_thread, target_thread, FALSE);
    if (focused == window) break;
  }
  return focused;
}

bool move_cursor_to(POINT screen) {
  auto there = [&] {
    POINT now{};
    GetCursorPos(&now);
    return now.x == screen.x && now.y == screen.y;
  };
  // Moved the way a mouse moves it, to the centre of the pixel in the
  // 0..65535 scale, so that Wine and the X pointer agree on the place.
  const long long width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  auto move = [&](LONG x, LONG y) {
    mouse_event(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE,
                static_cast<DWORD>((2 * x + 1) * 65536LL / (2 * width)),
                static_cast<DWORD>((2 * y + 1) * 65536LL / (2 * height)), 0, 0);
  };
  const ULONGLONG end = GetTickCount64() + 5000;
  while (GetTickCount64() < end) {
    move(screen.x, screen.y);
    pump_for(200);
    // Wine keeps two places: its own and the X pointer's. A late X motion
    // event can move its own place back, so the move is made once more; it
    // moves nothing on the X side when the pointer is already there.
    move(screen.x, screen.y);
    pump_for(200);
    // After 100 ms without moves GetCursorPos reports the X pointer.
    if (there()) return true;
    // The X part of the move was lost, and Wine does not redo a move to
    // where it believes the cursor already is: first agree with the X
    // pointer, where it really is, then try again.
    POINT now{};
    GetCursorPos(&now);
    move(now.x, now.y);
    pump_for(100);
  }
  return false;
}

void press_key(BYTE virtual_key) {
  const BYTE scan = static_cast<BYTE>(MapVirtualKeyW(virtual_key, MAPVK_VK_TO_VSC));
  keybd_event(virtual_key, scan, 0, 0);
  pump_for(30);
  keybd_event(virtual_key, scan, KEYEVENTF_KEYUP, 0);
}

}  // namespace e2e
