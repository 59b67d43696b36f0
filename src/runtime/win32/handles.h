// Owners of windows and fonts the run time creates. Child windows are not
// among them: a parent window destroys its children itself. Stock objects
// are never put in an owner. Cursors, icons and pictures have owners of
// their own (pointer_owner.h, picture_owner.h).
#pragma once

#include <windows.h>

#include "runtime/unique_handle.h"

namespace pelvrin::win32 {

struct WindowTraits {
  using Handle = HWND;
  static Handle empty() { return nullptr; }
  static void close(Handle h) { DestroyWindow(h); }
};
struct FontTraits {
  using Handle = HFONT;
  static Handle empty() { return nullptr; }
  static void close(Handle h) { DeleteObject(h); }
};

using UniqueWindow = UniqueHandle<WindowTraits>;
using UniqueFont = UniqueHandle<FontTraits>;

}  // namespace pelvrin::win32
