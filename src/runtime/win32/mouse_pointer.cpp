#include "runtime/win32/mouse_pointer.h"

#include <vector>

#include "runtime/image_bytes.h"

namespace pelvrin::win32 {

namespace {

// CreateIconFromResourceEx wants a cursor's image prefixed by its hotspot.
HCURSOR cursor_from_file(std::string_view file) {
  auto image = first_icon_image(file);
  if (!image) return nullptr;
  std::vector<BYTE> resource(4 + image->data.size());
  resource[0] = static_cast<BYTE>(image->hotspot_x & 0xFF);
  resource[1] = static_cast<BYTE>(image->hotspot_x >> 8);
  resource[2] = static_cast<BYTE>(image->hotspot_y & 0xFF);
  resource[3] = static_cast<BYTE>(image->hotspot_y >> 8);
  std::copy(image->data.begin(), image->data.end(), resource.begin() + 4);
  return reinterpret_cast<HCURSOR>(CreateIconFromResourceEx(
      resource.data(), static_cast<DWORD>(resource.size()), FALSE, 0x00030000, image->width,
      image->height, LR_DEFAULTCOLOR));
}

}  // namespace

MousePointer::MousePointer() : bytes_(4, '\0') {}

void MousePointer::set(std::string_view bytes) {
  owned_.reset();
  shared_ = nullptr;
  bytes_.assign(bytes);
  PointerForm form = classify_pointer(bytes);
  if (!form.is_code) {
    owned_.reset(cursor_from_file(bytes));
    return;
  }
  const std::int32_t id = system_cursor_id(form.code);
  if (id > 0 && id <= 0xFFFF) {
    shared_ = LoadCursorW(nullptr, MAKEINTRESOURCEW(id));
  }
}

}  // namespace pelvrin::win32
