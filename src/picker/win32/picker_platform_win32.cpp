#include "picker/win32/picker_platform_win32.h"

#include <windows.h>

#include <climits>
#include <cstring>
#include <string>

#include "picker/picker_platform.h"
#include "runtime/text_codec.h"

namespace pelvrin {

namespace {

HWND to_hwnd(std::uintptr_t window) { return reinterpret_cast<HWND>(window); }

class Win32PickerPlatform final : public PickerPlatform {
 public:
  void set_capture(std::uintptr_t window) override { SetCapture(to_hwnd(window)); }

  void release_capture() override { ReleaseCapture(); }

  std::uintptr_t window_from_point(std::int32_t x, std::int32_t y) override {
    return reinterpret_cast<std::uintptr_t>(WindowFromPoint(POINT{x, y}));
  }

  void cursor_pos(std::int32_t& x, std::int32_t& y) override {
    POINT p{0, 0};
    GetCursorPos(&p);
    x = p.x;
    y = p.y;
  }

  void client_to_screen(std::uintptr_t window, std::int32_t& x, std::int32_t& y) override {
    POINT p{x, y};
    ClientToScreen(to_hwnd(window), &p);
    x = p.x;
    y = p.y;
  }

  // Titles of other programs' windows are read as UTF-16 and converted to
  // CP936 here, so that they come out the same whatever the system's ANSI
  // code page. Each UTF-16 unit gives at least one byte, so reading `size`
  // units is enough to fill size - 1 bytes; a surrogate pair cut at the end
  // of that read lies beyond what is copied.
  std::int32_t window_text(std::uintptr_t window, char* buffer, std::int32_t size) override {
    if (buffer == nullptr || size <= 0) return 0;
    const int capacity = size < INT_MAX ? size + 1 : size;  // room for the zero
    std::u16string wide(static_cast<std::size_t>(capacity), u'\0');
    int units = GetWindowTextW(to_hwnd(window), reinterpret_cast<wchar_t*>(wide.data()), capacity);
    if (units < 0) units = 0;
    if (units > size) units = size;
    wide.resize(static_cast<std::size_t>(units));
    const std::string title = utf16_to_cp936(wide);
    std::size_t n = title.size();
    if (n > static_cast<std::size_t>(size) - 1) n = static_cast<std::size_t>(size) - 1;
    std::memcpy(buffer, title.data(), n);
    buffer[n] = '\0';
    return static_cast<std::int32_t>(n);
  }
};

Win32PickerPlatform g_win32_picker_platform;

}  // namespace

void install_win32_picker_platform() { set_picker_platform(&g_win32_picker_platform); }

}  // namespace pelvrin
