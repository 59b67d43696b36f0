// Fuzzes what the mouse pointer property does with its bytes: decide between
// a pointer code and a cursor file, map a code to a system cursor id, and
// find the first image of a cursor (or icon) file.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_common.h"
#include "runtime/image_bytes.h"

namespace {

using fuzz::check;

bool standard_ids_are_sound() {
  for (std::int32_t code = 1; code <= 14; ++code) {
    const std::int32_t id = pelvrin::system_cursor_id(code);
    // The standard system cursors are numbered 32512 and up.
    if (id < 32512 || id > 32767) return false;
    for (std::int32_t other = 1; other < code; ++other) {
      if (pelvrin::system_cursor_id(other) == id) return false;
    }
  }
  return true;
}

void check_cursor_id(std::int32_t code) {
  const std::int32_t id = pelvrin::system_cursor_id(code);
  if (code >= 1 && code <= 14) {
    check(id >= 32512 && id <= 32767);
  } else {
    check(id == code);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool ids_sound = standard_ids_are_sound();
  check(ids_sound);

  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const pelvrin::PointerForm form = pelvrin::classify_pointer(bytes);

  // Up to 10 bytes are a code; anything longer is a cursor file.
  check(form.is_code == (size <= 10));
  if (form.is_code) {
    if (size == 0) {
      check(form.code == 0);
    } else if (size >= 4) {
      check(static_cast<std::uint32_t>(form.code) == fuzz::le32(data));
    } else {
      // Fewer than four bytes: the first one is still the low byte.
      check(form.code >= 0 && (form.code & 0xFF) == data[0]);
    }
    check_cursor_id(form.code);
  }
  // Every 32-bit code, not only those short inputs give.
  if (size >= 4) check_cursor_id(static_cast<std::int32_t>(fuzz::le32(data)));

  const auto image = fuzz::check_first_icon_image(data, size);
  if (image && !form.is_code) {
    // What the cursor resource will be built from: a 16-bit hotspot each way.
    check(image->hotspot_x >= 0 && image->hotspot_x <= 0xFFFF);
    check(image->hotspot_y >= 0 && image->hotspot_y <= 0xFFFF);
    check(image->width >= 1 && image->width <= 256);
    check(image->height >= 1 && image->height <= 256);
  }
  return 0;
}
