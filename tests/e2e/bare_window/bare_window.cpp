// The yardstick for the idle and start-up figures: the least a Windows
// program with one window does. One visible top-level window the size of
// the main window, centred, and a message loop.
//
//   bare_window.exe [PERIOD_MS]
//
// With PERIOD_MS > 0 the window also runs one SetTimer of that period whose
// WM_TIMER does nothing, the cost of simply keeping a fast timer running.
//
// Built with BARE_WINDOW_COMMON_CONTROLS (as bare_window_v6.exe, which also
// carries pelvrin.exe's manifest) it links to Common Controls as programs
// with a manifest for version 6 do, so that the start-up work that comes
// with that DLL is counted too.
#include <windows.h>
#ifdef BARE_WINDOW_COMMON_CONTROLS
#include <commctrl.h>
#endif

#include <cstdlib>
#include <cwchar>

namespace {

constexpr wchar_t kClass[] = L"BareWindow";
constexpr wchar_t kCaption[] = L"bare window";
constexpr UINT_PTR kTimerId = 1;
constexpr int kWidth = 269, kHeight = 278;

LRESULT CALLBACK window_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_TIMER:
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(hwnd, message, wparam, lparam);
  }
}

// The first argument as a period in milliseconds; 0 when absent or not a
// number. (The C run time's argument vector: no shell DLL for this.)
UINT period_argument() {
  if (__argc < 2 || __wargv == nullptr) return 0;
  const wchar_t* text = __wargv[1];
  if (*text < L'0' || *text > L'9') return 0;
  return static_cast<UINT>(std::wcstoul(text, nullptr, 10));
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
#ifdef BARE_WINDOW_COMMON_CONTROLS
  InitCommonControls();
#endif
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = window_proc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // arrow
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kClass;
  if (!RegisterClassExW(&wc)) return 1;

  const int x = (GetSystemMetrics(SM_CXSCREEN) - kWidth) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - kHeight) / 2;
  HWND hwnd = CreateWindowExW(0, kClass, kCaption, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, x, y,
                              kWidth, kHeight, nullptr, nullptr, instance, nullptr);
  if (hwnd == nullptr) return 1;
  const UINT period = period_argument();
  if (period > 0) SetTimer(hwnd, kTimerId, period, nullptr);
  ShowWindow(hwnd, SW_SHOW);
  UpdateWindow(hwnd);

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}
