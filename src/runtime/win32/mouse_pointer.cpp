#include "runtime/win32/mouse_pointer.h"

#include <algorithm>
#include <vector>

#include "runtime/image_bytes.h"

namespace pelvrin::win32 {

HCURSOR CursorPlatform::load_system(std::int32_t id) {
  return LoadCursorW(nullptr, MAKEINTRESOURCEW(id));
}

// CreateIconFromResourceEx wants a cursor's image prefixed by its hotspot.
HCURSOR CursorPlatform::from_file(std::string_view file) {
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

void CursorPlatform::destroy(HCURSOR cursor) { DestroyCursor(cursor); }

}  // namespace pelvrin::win32
