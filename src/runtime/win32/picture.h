// What a picture box shows: made from the picture property's bytes and
// drawn centred at its own size (scaled down to fit if larger).
#pragma once

#include <string>
#include <string_view>

#include "runtime/win32/handles.h"

namespace pelvrin::win32 {

class Picture {
 public:
  // Replaces the picture: releases the previous one first.
  void set(std::string_view bytes);
  const std::string& bytes() const { return bytes_; }
  void draw(HDC dc, const RECT& box) const;

 private:
  std::string bytes_;
  UniqueIcon icon_;        // icon and cursor files
  UniqueBitmap bitmap_;    // BMP
  UniquePicture ole_;      // JPEG and GIF, through the system's picture loader
  int width_ = 0, height_ = 0;
};

}  // namespace pelvrin::win32
