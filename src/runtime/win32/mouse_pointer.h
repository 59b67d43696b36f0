// Mouse pointers on Windows: system cursors by id, and cursors made from
// cursor-file bytes with the platform's own CreateIconFromResourceEx.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string_view>

#include "runtime/pointer_owner.h"

namespace pelvrin::win32 {

struct CursorPlatform {
  using Cursor = HCURSOR;
  static Cursor load_system(std::int32_t id);
  static Cursor from_file(std::string_view file);
  static void destroy(Cursor cursor);
};

using MousePointer = PointerOwner<CursorPlatform>;

}  // namespace pelvrin::win32
