// The few platform calls that the target picker makes, behind an interface so
// that the picker itself stays free of Windows. The Windows adapter is in
// picker/win32/; unit tests install a fake.
#pragma once

#include <cstdint>

namespace pelvrin {

class PickerPlatform {
 public:
  virtual ~PickerPlatform() = default;

  // SetCapture: from now on all mouse input goes to `window`, wherever the
  // pointer is, until the capture is released.
  virtual void set_capture(std::uintptr_t window) = 0;

  // ReleaseCapture: mouse input goes to the window under the pointer again.
  virtual void release_capture() = 0;

  // WindowFromPoint: the window that contains the screen point, as the
  // system determines it (hidden and disabled windows are passed over), or 0
  // when there is none.
  virtual std::uintptr_t window_from_point(std::int32_t x, std::int32_t y) = 0;

  // GetCursorPos: the pointer's position in screen coordinates.
  virtual void cursor_pos(std::int32_t& x, std::int32_t& y) = 0;

  // ClientToScreen: turns a point of the window's client area into screen
  // coordinates, in place.
  virtual void client_to_screen(std::uintptr_t window, std::int32_t& x, std::int32_t& y) = 0;

  // The window's title as CP936 bytes, with the buffer rules of
  // GetWindowTextA: at most size - 1 bytes are copied, always followed by a
  // terminating zero (when size > 0). Returns the number of bytes copied,
  // without the zero. The cut at size - 1 may fall inside a double-byte
  // character; the caller deals with that.
  virtual std::int32_t window_text(std::uintptr_t window, char* buffer, std::int32_t size) = 0;
};

// Installs the platform that the picker uses from now on (not owned).
void set_picker_platform(PickerPlatform* platform);

}  // namespace pelvrin
