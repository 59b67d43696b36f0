// What a picture box shows, made from the picture property's bytes by their
// kind: icon and cursor files become an icon drawn with its mask, BMP a
// bitmap, JPEG and GIF a picture of the platform's own loader. PCX is
// recognised but not decoded; it and unrecognised bytes show nothing.
//
// Platform provides, each with a null value for "none" and its own destroy:
//   using Icon, Bitmap, Image;  struct Size { int width, height; };
//   static Icon icon_from_file(std::string_view, Size*);  static void destroy(Icon);
//   static Bitmap bitmap_from_file(std::string_view, Size*);  static void destroy(Bitmap);
//   static Image image_from_bytes(std::string_view, Size*);  static void destroy(Image);
#pragma once

#include <string>
#include <string_view>

#include "runtime/image_bytes.h"
#include "runtime/unique_handle.h"

namespace pelvrin {

template <class Platform>
class PictureOwner {
 public:
  using Icon = typename Platform::Icon;
  using Bitmap = typename Platform::Bitmap;
  using Image = typename Platform::Image;
  using Size = typename Platform::Size;

  // Replaces the picture, releasing the previous one first.
  void set(std::string_view bytes) {
    icon_.reset();
    bitmap_.reset();
    image_.reset();
    size_ = Size{0, 0};
    bytes_.assign(bytes);
    switch (classify_picture(bytes)) {
      case PictureKind::icon:
      case PictureKind::cursor:
        icon_.reset(Platform::icon_from_file(bytes, &size_));
        break;
      case PictureKind::bmp:
        bitmap_.reset(Platform::bitmap_from_file(bytes, &size_));
        break;
      case PictureKind::jpeg:
      case PictureKind::gif:
        image_.reset(Platform::image_from_bytes(bytes, &size_));
        break;
      case PictureKind::pcx:
      case PictureKind::none:
        break;
    }
    if (!icon_ && !bitmap_ && !image_) size_ = Size{0, 0};
  }

  const std::string& bytes() const { return bytes_; }
  Icon icon() const { return icon_.get(); }
  Bitmap bitmap() const { return bitmap_.get(); }
  Image image() const { return image_.get(); }
  Size size() const { return size_; }

  // Handles of each kind alive right now, across all owners.
  static int live_icons() { return IconOwner::live_count(); }
  static int live_bitmaps() { return BitmapOwner::live_count(); }
  static int live_images() { return ImageOwner::live_count(); }

 private:
  template <class H>
  struct Traits {
    using Handle = H;
    static Handle empty() { return Handle{}; }
    static void close(Handle h) { Platform::destroy(h); }
  };
  using IconOwner = UniqueHandle<Traits<Icon>>;
  using BitmapOwner = UniqueHandle<Traits<Bitmap>>;
  using ImageOwner = UniqueHandle<Traits<Image>>;

  std::string bytes_;
  IconOwner icon_;
  BitmapOwner bitmap_;
  ImageOwner image_;
  Size size_{0, 0};
};

}  // namespace pelvrin
