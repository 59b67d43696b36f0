#include "picker/target_picker.h"

#include <array>
#include <cassert>
#include <cstddef>
#include <string_view>

#include "app/cursors.h"
#include "app/main_form.h"
#include "app/main_window_layout.h"
#include "picker/picker_platform.h"
#include "runtime/form.h"
#include "runtime/property.h"
#include "runtime/text.h"

namespace pelvrin {

std::int32_t g_dragging = 0;
std::uintptr_t g_hover_window = 0;

namespace {

PickerPlatform* g_picker_platform = nullptr;

PickerPlatform& picker_platform() {
  assert(g_picker_platform != nullptr);
  return *g_picker_platform;
}

// The title buffer: room for 255 bytes of title and the terminating zero.
constexpr std::int32_t kTitleBufferSize = 256;
constexpr std::size_t kLongestTitle = kTitleBufferSize - 1;

// In CP936 a byte 0x81-0xFE starts a two-byte character; every other byte is
// a character of its own. Trail bytes can look like lead bytes, so character
// boundaries are only known by walking from the start.
bool is_lead_byte(char c) {
  const auto b = static_cast<unsigned char>(c);
  return b >= 0x81 && b <= 0xFE;
}

// The longest prefix of `text` of at most `limit` bytes that ends on a
// character boundary: a lead byte whose trail byte would fall beyond the
// limit (or beyond the text) is dropped with it.
Text whole_characters(std::string_view text, std::size_t limit) {
  const std::size_t end = text.size() < limit ? text.size() : limit;
  std::size_t i = 0;
  while (i < end) {
    const std::size_t length = is_lead_byte(text[i]) ? 2 : 1;
    if (i + length > end) break;
    i += length;
  }
  return Text(text.substr(0, i));
}

// The title of `window`, read into a buffer of spaces that ends in a zero
// and taken up to its first zero byte.
Text window_title(std::uintptr_t window) {
  std::array<char, kTitleBufferSize + 1> buffer;
  buffer.fill(' ');
  buffer[kTitleBufferSize] = '\0';
  picker_platform().window_text(window, buffer.data(), kTitleBufferSize);
  const Text title = text_until_zero(std::string_view(buffer.data(), buffer.size()));
  return whole_characters(title, kLongestTitle);
}

// Handles are 32-bit values; the field shows them as signed decimals.
Text handle_text(std::uintptr_t window) {
  return int_to_text(static_cast<std::int32_t>(static_cast<std::uint32_t>(window)));
}

// a - b as a signed 32-bit value, wrapping instead of overflowing.
std::int32_t difference(std::int32_t a, std::int32_t b) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
}

}  // namespace

void set_picker_platform(PickerPlatform* platform) { g_picker_platform = platform; }

// Left button pressed on the picker: the crosshair leaves the box and
// becomes the pointer, and the picker takes all mouse input until release.
void begin_target_drag() {
  Form& form = main_form();
  g_dragging = 1;
  write_bytes(form, 图片框_捕获鼠标, prop::mouse_pointer, crosshair_cursor);
  write_bytes(form, 图片框_捕获鼠标, prop::picture, empty_picture);
  // Show the new pointer and the blank box at once.
  form.dispatch_pending();
  picker_platform().set_capture(form.window_handle(图片框_捕获鼠标));
}

// Mouse moved over (or captured by) the picker: during a drag, note the
// window under the pointer and describe it in the target fields.
void track_target_drag() {
  if (g_dragging == 0) return;
  Form& form = main_form();
  const std::int32_t x = form.mouse_x();
  const std::int32_t y = form.mouse_y();
  g_hover_window = picker_platform().window_from_point(x, y);
  update_target_fields();
}

// Left button released on the picker: the drag ends and the crosshair goes
// back into its box. The target fields keep what the last movement wrote.
void end_target_drag() {
  if (g_dragging == 0) return;
  picker_platform().release_capture();
  g_dragging = 0;
  Form& form = main_form();
  write_bytes(form, 图片框_捕获鼠标, prop::mouse_pointer, idle_pointer);
  write_bytes(form, 图片框_捕获鼠标, prop::picture, crosshair_cursor);
}

// Writes the hovered window's handle and title and the pointer's position
// in client coordinates of the window under it now. Pending messages are
// handled first, so this drag's handlers may run again in between (even the
// release); everything below is read afresh after that.
void update_target_fields() {
  Form& form = main_form();
  PickerPlatform& platform = picker_platform();
  form.dispatch_pending();

  write_text(form, 编辑框_窗口句柄, prop::edit_text, handle_text(g_hover_window));
  write_text(form, 编辑框_窗口标题, prop::edit_text, window_title(g_hover_window));

  // The coordinates are relative to the window under the pointer at this
  // moment, which is normally, but not always, g_hover_window.
  std::int32_t px = 0;
  std::int32_t py = 0;
  platform.cursor_pos(px, py);
  const std::uintptr_t w = platform.window_from_point(px, py);
  std::int32_t origin_x = 0;
  std::int32_t origin_y = 0;
  if (w != 0) platform.client_to_screen(w, origin_x, origin_y);

  platform.cursor_pos(px, py);
  const std::int32_t cx = difference(px, origin_x);
  const std::int32_t cy = difference(py, origin_y);

  // The field named Y holds the x coordinate and the one named X holds y.
  write_text(form, 编辑框_Y, prop::edit_text, int_to_text(cx));
  write_text(form, 编辑框_X, prop::edit_text, int_to_text(cy));
  write_text(form, 标签14, prop::label_caption, read_text(form, 编辑框_X, prop::edit_text));
  write_text(form, 标签15, prop::label_caption, read_text(form, 编辑框_Y, prop::edit_text));
}

}  // namespace pelvrin
