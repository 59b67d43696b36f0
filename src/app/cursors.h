// The picker's two cursor images, embedded from resources/*.cur at build
// time, and the empty picture.
#pragma once

#include <string_view>

namespace pelvrin {

extern const std::string_view crosshair_cursor;  // 32x32, 8 bpp, hotspot 15,15
extern const std::string_view idle_pointer;      // 32x32, 32 bpp, hotspot 12,4
inline constexpr std::string_view empty_picture{};

}  // namespace pelvrin
