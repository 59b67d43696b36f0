// Pictures on Windows: icons with their mask, bitmaps, and JPEG/GIF through
// the system's OLE picture loader; drawn centred at their own size, scaled
// down proportionally when larger than the box.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include <string_view>

#include "runtime/picture_owner.h"

namespace pelvrin::win32 {

struct PicturePlatform {
  using Icon = HICON;
  using Bitmap = HBITMAP;
  using Image = IPicture*;
  struct Size {
    int width, height;
  };
  static Icon icon_from_file(std::string_view file, Size* size);
  static Bitmap bitmap_from_file(std::string_view file, Size* size);
  static Image image_from_bytes(std::string_view bytes, Size* size);
  static void destroy(Icon icon);
  static void destroy(Bitmap bitmap);
  static void destroy(Image image);
};

using Picture = PictureOwner<PicturePlatform>;

void draw_picture(const Picture& picture, HDC dc, const RECT& box);

}  // namespace pelvrin::win32
