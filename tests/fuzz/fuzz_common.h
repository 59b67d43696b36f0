// Helpers shared by the image byte fuzzers: an out-of-range view or a field
// that does not match the bytes ends the run with a trap, which libFuzzer
// reports as a crash and saves the input for.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "runtime/image_bytes.h"

namespace fuzz {

inline void check(bool ok) {
  if (!ok) __builtin_trap();
}

// True when view lies wholly inside bytes (an empty view at its very end
// counts as inside).
inline bool inside(std::string_view view, std::string_view bytes) {
  const auto first = reinterpret_cast<std::uintptr_t>(bytes.data());
  const auto last = first + bytes.size();
  const auto begin = reinterpret_cast<std::uintptr_t>(view.data());
  return begin >= first && begin <= last && view.size() <= last - begin;
}

// Little-endian fields, read here independently of the code under test.
inline std::uint32_t le16(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8;
}

inline std::uint32_t le32(const std::uint8_t* p) { return le16(p) | le16(p + 2) << 16; }

// first_icon_image on arbitrary bytes: it must find an image exactly when
// the header and the first directory entry are sound, and then report what
// that entry says.
//
//   0  reserved (0)   2  type (1 icon, 2 cursor)   4  image count
//   6  first entry: width, height, colours, reserved, two 16-bit fields
//      (the hotspot of a cursor), 32-bit image size, 32-bit image offset
inline std::optional<pelvrin::IconImage> check_first_icon_image(const std::uint8_t* data,
                                                                std::size_t size) {
  const std::string_view file(reinterpret_cast<const char*>(data), size);
  const auto image = pelvrin::first_icon_image(file);

  bool sound = size >= 22;
  std::uint32_t type = 0, image_size = 0, image_offset = 0;
  if (sound) {
    type = le16(data + 2);
    image_size = le32(data + 14);
    image_offset = le32(data + 18);
    sound = le16(data) == 0 && (type == 1 || type == 2) && le16(data + 4) != 0 &&
            std::uint64_t{image_offset} + image_size <= size &&
            image_size >= 40;  // room for at least a BITMAPINFOHEADER
  }
  check(image.has_value() == sound);
  if (!image) return image;

  check(inside(image->data, file));
  check(image->data.data() == file.data() + image_offset);
  check(image->data.size() == image_size);
  check(image->width == (data[6] == 0 ? 256 : data[6]));
  check(image->height == (data[7] == 0 ? 256 : data[7]));
  check(image->is_cursor == (type == 2));
  if (image->is_cursor) {
    check(image->hotspot_x == static_cast<int>(le16(data + 10)));
    check(image->hotspot_y == static_cast<int>(le16(data + 12)));
  } else {
    // An icon has planes and a bit count there, not a hotspot.
    check(image->hotspot_x == 0 && image->hotspot_y == 0);
  }
  return image;
}

}  // namespace fuzz
