// A control's mouse pointer, made from the pointer property's bytes: a
// shared system cursor for a pointer code, or a cursor of its own made from
// cursor-file bytes. Code 0, or bytes that make no cursor, leave the
// control's class pointer in place.
//
// Platform provides:
//   using Cursor = ...;                          // a cursor handle, null when none
//   static Cursor load_system(std::int32_t id);  // shared: never destroyed
//   static Cursor from_file(std::string_view);   // owned: destroyed by destroy()
//   static void destroy(Cursor);
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/image_bytes.h"
#include "runtime/unique_handle.h"

namespace pelvrin {

template <class Platform>
class PointerOwner {
 public:
  using Cursor = typename Platform::Cursor;

  // A control whose pointer was never written has the 4-byte code 0.
  PointerOwner() : bytes_(4, '\0') {}

  // Replaces the pointer, releasing the previous one first.
  void set(std::string_view bytes) {
    owned_.reset();
    shared_ = Cursor{};
    bytes_.assign(bytes);
    const PointerForm form = classify_pointer(bytes);
    if (!form.is_code) {
      owned_.reset(Platform::from_file(bytes));
      return;
    }
    const std::int32_t id = system_cursor_id(form.code);
    if (id > 0 && id <= 0xFFFF) shared_ = Platform::load_system(id);
  }

  const std::string& bytes() const { return bytes_; }

  // The cursor to show, or null for the class default.
  Cursor cursor() const { return owned_ ? owned_.get() : shared_; }

  // Cursors made from files and alive right now, across all owners.
  static int live_count() { return Owned::live_count(); }

 private:
  struct OwnedTraits {
    using Handle = Cursor;
    static Handle empty() { return Handle{}; }
    static void close(Handle h) { Platform::destroy(h); }
  };
  using Owned = UniqueHandle<OwnedTraits>;

  std::string bytes_;
  Cursor shared_{};
  Owned owned_;
};

}  // namespace pelvrin
