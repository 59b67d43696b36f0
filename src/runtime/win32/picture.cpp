#include "runtime/win32/picture.h"

#include <algorithm>

#include "runtime/image_bytes.h"
#include "runtime/win32/ole.h"

namespace pelvrin::win32 {

HICON PicturePlatform::icon_from_file(std::string_view file, Size* size) {
  auto image = first_icon_image(file);
  if (!image) return nullptr;
  // Drawn as an icon whatever the file type: the image data is the same DIB.
  HICON icon = CreateIconFromResourceEx(
      reinterpret_cast<PBYTE>(const_cast<char*>(image->data.data())),
      static_cast<DWORD>(image->data.size()), TRUE, 0x00030000, image->width, image->height,
      LR_DEFAULTCOLOR);
  *size = Size{image->width, image->height};
  return icon;
}

HBITMAP PicturePlatform::bitmap_from_file(std::string_view file, Size* size) {
  auto image = parse_bitmap_file(file);
  if (!image) return nullptr;
  const auto* info = reinterpret_cast<const BITMAPINFO*>(image->dib.data());
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateDIBitmap(screen, &info->bmiHeader, CBM_INIT,
                                  image->dib.data() + image->bits_offset, info, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  if (bitmap) {
    BITMAP bm{};
    GetObjectW(bitmap, sizeof bm, &bm);
    *size = Size{bm.bmWidth, bm.bmHeight};
  }
  return bitmap;
}

IPicture* PicturePlatform::image_from_bytes(std::string_view bytes, Size* size) {
  ensure_ole_initialised();
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  if (!memory) return nullptr;
  void* p = GlobalLock(memory);
  std::copy(bytes.begin(), bytes.end(), static_cast<char*>(p));
  GlobalUnlock(memory);
  IStream* stream = nullptr;
  if (FAILED(CreateStreamOnHGlobal(memory, TRUE, &stream))) {
    GlobalFree(memory);
    return nullptr;
  }
  IPicture* picture = nullptr;
  HRESULT hr = OleLoadPicture(stream, static_cast<LONG>(bytes.size()), FALSE, IID_IPicture,
                              reinterpret_cast<void**>(&picture));
  stream->Release();
  if (FAILED(hr) || !picture) return nullptr;
  OLE_XSIZE_HIMETRIC hw = 0;
  OLE_YSIZE_HIMETRIC hh = 0;
  picture->get_Width(&hw);
  picture->get_Height(&hh);
  HDC screen = GetDC(nullptr);
  *size = Size{MulDiv(hw, GetDeviceCaps(screen, LOGPIXELSX), 2540),
               MulDiv(hh, GetDeviceCaps(screen, LOGPIXELSY), 2540)};
  ReleaseDC(nullptr, screen);
  return picture;
}

void PicturePlatform::destroy(HICON icon) { DestroyIcon(icon); }
void PicturePlatform::destroy(HBITMAP bitmap) { DeleteObject(bitmap); }
void PicturePlatform::destroy(IPicture* image) { image->Release(); }

void draw_picture(const Picture& picture, HDC dc, const RECT& box) {
  const int width = picture.size().width, height = picture.size().height;
  if (width <= 0 || height <= 0) return;
  const int box_w = box.right - box.left, box_h = box.bottom - box.top;
  int w = width, h = height;
  if (w > box_w || h > box_h) {  // scale down, keeping the proportions
    if (static_cast<long long>(w) * box_h > static_cast<long long>(h) * box_w) {
      h = std::max(1, MulDiv(h, box_w, w));
      w = box_w;
    } else {
      w = std::max(1, MulDiv(w, box_h, h));
      h = box_h;
    }
  }
  const int x = box.left + (box_w - w) / 2, y = box.top + (box_h - h) / 2;
  if (HICON icon = picture.icon()) {
    DrawIconEx(dc, x, y, icon, w, h, 0, nullptr, DI_NORMAL);
  } else if (HBITMAP bitmap = picture.bitmap()) {
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(memory, bitmap);
    SetStretchBltMode(dc, HALFTONE);
    StretchBlt(dc, x, y, w, h, memory, 0, 0, width, height, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
  } else if (IPicture* image = picture.image()) {
    OLE_XSIZE_HIMETRIC hw = 0;
    OLE_YSIZE_HIMETRIC hh = 0;
    image->get_Width(&hw);
    image->get_Height(&hh);
    image->Render(dc, x, y, w, h, 0, hh, hw, -hh, nullptr);
  }
}

}  // namespace pelvrin::win32
