#include "runtime/property.h"

namespace pelvrin {

std::optional<ValueType> property_type(Kind kind, int number) {
  switch (number) {
    case prop::left:
    case prop::top:
    case prop::width:
    case prop::height:
    case prop::visible:
    case prop::disabled:
      return ValueType::integer;
    case prop::tag:
      return ValueType::text;
    case prop::mouse_pointer:
      return ValueType::bytes;
    default:
      break;
  }
  switch (kind) {
    case Kind::edit_box:
      if (number == prop::edit_text) return ValueType::text;
      break;
    case Kind::label:
      if (number == prop::label_caption) return ValueType::text;
      break;
    case Kind::timer:
      if (number == prop::timer_period) return ValueType::integer;
      break;
    case Kind::picture_box:
      if (number == prop::picture) return ValueType::bytes;
      break;
    case Kind::check_box:
      if (number == prop::check_caption) return ValueType::text;
      if (number == prop::check_ticked) return ValueType::integer;
      break;
    case Kind::slider:
      if (number == prop::slider_position) return ValueType::integer;
      break;
    case Kind::window:
    case Kind::group_box:
    case Kind::hyperlink:
      break;
  }
  return std::nullopt;
}

}  // namespace pelvrin
