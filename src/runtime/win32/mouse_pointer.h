// A control's mouse pointer, made from the pointer property's bytes: a
// shared system cursor for a pointer code, or a cursor of its own made from
// cursor-file bytes. Code 0 (or bytes that make no cursor) leaves the
// control's class pointer in place.
#pragma once

#include <string>
#include <string_view>

#include "runtime/win32/handles.h"

namespace pelvrin::win32 {

class MousePointer {
 public:
  MousePointer();
  // Replaces the pointer: releases the previous one first.
  void set(std::string_view bytes);
  const std::string& bytes() const { return bytes_; }
  // The cursor to show, or nullptr for the class default.
  HCURSOR cursor() const { return owned_ ? owned_.get() : shared_; }

 private:
  std::string bytes_;
  HCURSOR shared_ = nullptr;  // system cursor: never destroyed
  UniqueCursor owned_;
};

}  // namespace pelvrin::win32
