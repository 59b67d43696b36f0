// bare_timer.exe PERIOD_MS SECONDS
// The platform's own timer ceiling, for comparison with the program's click
// rates: one window, one SetTimer with PERIOD_MS, and a count of its
// WM_TIMER messages from the first one on, timed with the performance
// counter. After SECONDS it prints one line to standard output
//   ticks N seconds S rate R
// (N ticks after the first, S seconds from the first to the last, R = N/S)
// and exits 0. Exit code 2: bad arguments; 1: no window or timer.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cwchar>

namespace {

double g_frequency = 1.0;
double g_seconds_wanted = 3.0;
long long g_first = -1, g_last = -1;
long long g_ticks = 0;  // after the first

long long now() {
  LARGE_INTEGER c;
  QueryPerformanceCounter(&c);
  return c.QuadPart;
}

LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_TIMER) {
    const long long t = now();
    if (g_first < 0) {
      g_first = t;
    } else {
      ++g_ticks;
      g_last = t;
      if (static_cast<double>(t - g_first) / g_frequency >= g_seconds_wanted) {
        KillTimer(window, wparam);
        PostQuitMessage(0);
      }
    }
    return 0;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (argv == nullptr || argc != 3) return 2;
  const unsigned period = static_cast<unsigned>(std::wcstoul(argv[1], nullptr, 10));
  g_seconds_wanted = std::wcstod(argv[2], nullptr);
  LocalFree(argv);
  if (period == 0 || g_seconds_wanted <= 0) return 2;
  LARGE_INTEGER f;
  QueryPerformanceFrequency(&f);
  g_frequency = static_cast<double>(f.QuadPart);

  WNDCLASSW wc{};
  wc.lpfnWndProc = procedure;
  wc.hInstance = instance;
  wc.lpszClassName = L"BareTimer";
  if (!RegisterClassW(&wc)) return 1;
  HWND window = CreateWindowExW(0, L"BareTimer", L"bare timer", WS_OVERLAPPED, 0, 0, 100, 100,
                                nullptr, nullptr, instance, nullptr);
  if (window == nullptr || SetTimer(window, 1, period, nullptr) == 0) return 1;

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);

  const double seconds = static_cast<double>(g_last - g_first) / g_frequency;
  char line[128];
  const int n = std::snprintf(line, sizeof line, "ticks %lld seconds %.6f rate %.4f\n", g_ticks,
                              seconds, seconds > 0 ? static_cast<double>(g_ticks) / seconds : 0.0);
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), line, static_cast<DWORD>(n), &written, nullptr);
  DestroyWindow(window);
  return 0;
}
