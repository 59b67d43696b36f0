// Owners of the platform handles the run time creates. Child windows are
// not among them: a parent window destroys its children itself. Shared
// system cursors and stock objects are never put in an owner.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include "runtime/unique_handle.h"

namespace pelvrin::win32 {

struct WindowTraits {
  using Handle = HWND;
  static Handle empty() { return nullptr; }
  static void close(Handle h) { DestroyWindow(h); }
};
struct CursorTraits {
  using Handle = HCURSOR;
  static Handle empty() { return nullptr; }
  static void close(Handle h) { DestroyCursor(h); }
};
struct IconTraits {
  using Handle = HICON;
  static Handle empty() { return nullptr; }
  static void close(Handle h) { DestroyIcon(h); }
};
struct FontTraits {
  using Handle = HFONT;
  static Handle empty() { return nullptr; }
  static void close(Handle h) { DeleteObject(h); }
};
struct BitmapTraits {
  using Handle = HBITMAP;
  static Handle empty() { return nullptr; }
  static void close(Handle h) { DeleteObject(h); }
};
struct PictureTraits {
  using Handle = IPicture*;
  static Handle empty() { return nullptr; }
  static void close(Handle h) { h->Release(); }
};

using UniqueWindow = UniqueHandle<WindowTraits>;
using UniqueCursor = UniqueHandle<CursorTraits>;
using UniqueIcon = UniqueHandle<IconTraits>;
using UniqueFont = UniqueHandle<FontTraits>;
using UniqueBitmap = UniqueHandle<BitmapTraits>;
using UniquePicture = UniqueHandle<PictureTraits>;

}  // namespace pelvrin::win32
