// Recognition of the byte strings that the mouse pointer and picture
// properties take. Pure parsing, no platform calls: every offset and length
// is checked against the bytes actually given.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace pelvrin {

// A mouse pointer value is either a pointer code (up to 10 bytes) or the
// bytes of a cursor file.
struct PointerForm {
  bool is_code = true;
  std::int32_t code = 0;  // when is_code
};
PointerForm classify_pointer(std::string_view bytes);

// The system cursor id that a pointer code names: 0 for the control's class
// default, the standard pointers for 1-14, and any other value as it is.
std::int32_t system_cursor_id(std::int32_t code);

enum class PictureKind { none, jpeg, bmp, icon, cursor, gif, pcx };
PictureKind classify_picture(std::string_view bytes);

// The first image of an icon (.ico) or cursor (.cur) file.
struct IconImage {
  std::string_view data;  // the image's bytes (a DIB or PNG)
  int width = 0;          // from the directory; 0 there means 256
  int height = 0;
  int hotspot_x = 0;      // cursor files only (planes/bit count for icons)
  int hotspot_y = 0;
  bool is_cursor = false;
};
// Nothing when the file is too short, has no image, or its directory points
// outside the bytes.
std::optional<IconImage> first_icon_image(std::string_view file);

// A bitmap file (.bmp): the packed DIB after the 14-byte file header, and the
// offset of the pixel bits within that DIB. Nothing when the headers lie.
struct BitmapImage {
  std::string_view dib;  // header + palette + bits
  std::uint32_t bits_offset = 0;
};
std::optional<BitmapImage> parse_bitmap_file(std::string_view file);

}  // namespace pelvrin
