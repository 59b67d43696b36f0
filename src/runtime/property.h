// The control property model: every control is read and written by
// property number; numbers 0-7 are common to all kinds, the kind-specific
// ones start at 8.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

namespace pelvrin {

enum class Kind {
  window,
  picture_box,
  group_box,
  label,
  hyperlink,
  check_box,
  slider,
  edit_box,
  timer,
};

namespace prop {
// Common to every kind.
inline constexpr int left = 0;
inline constexpr int top = 1;
inline constexpr int width = 2;
inline constexpr int height = 3;
inline constexpr int tag = 4;
inline constexpr int visible = 5;
inline constexpr int disabled = 6;
inline constexpr int mouse_pointer = 7;
// Kind-specific.
inline constexpr int edit_text = 8;        // edit box
inline constexpr int label_caption = 8;    // label
inline constexpr int timer_period = 8;     // timer
inline constexpr int picture = 10;         // picture box
inline constexpr int check_caption = 11;   // check box
inline constexpr int check_ticked = 18;    // check box
inline constexpr int slider_position = 19; // slider bar
}  // namespace prop

enum class ValueType { integer, text, bytes };

// A property value: an integer (booleans are 0/1), a text (CP936) or a byte
// string (length and bytes, zeros allowed).
struct Value {
  ValueType type = ValueType::integer;
  std::int32_t integer = 0;
  std::string bytes;  // text or byte string

  static Value of_int(std::int32_t v) { return Value{ValueType::integer, v, {}}; }
  static Value of_text(std::string t) { return Value{ValueType::text, 0, std::move(t)}; }
  static Value of_bytes(std::string b) { return Value{ValueType::bytes, 0, std::move(b)}; }

  bool operator==(const Value& o) const {
    return type == o.type && integer == o.integer && bytes == o.bytes;
  }
};

// The type of property `number` of a control of `kind`, or nothing when that
// kind has no such property.
std::optional<ValueType> property_type(Kind kind, int number);

}  // namespace pelvrin
