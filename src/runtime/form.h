// The seam through which the program's routines reach the live window: read
// and write a control's property by number, the platform handle of a
// control, dispatch of pending messages and the pointer's screen position.
// The Windows run time implements it on real controls; tests use a fake.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/property.h"
#include "runtime/text.h"

namespace pelvrin {

// Index of a control in the window's layout; 0 is the window itself.
using ControlId = int;

class Form {
 public:
  virtual ~Form() = default;

  virtual Value read(ControlId control, int number) = 0;
  virtual void write(ControlId control, int number, const Value& value) = 0;

  // The platform window handle of a control, or of the window for id 0.
  virtual std::uintptr_t window_handle(ControlId control) = 0;

  // Handles the messages that are waiting at this moment, then returns.
  virtual void dispatch_pending() = 0;

  // The mouse pointer's position in screen coordinates.
  virtual std::int32_t mouse_x() = 0;
  virtual std::int32_t mouse_y() = 0;
};

// Typed shorthands for the common value forms.
inline std::int32_t read_int(Form& f, ControlId c, int number) {
  return f.read(c, number).integer;
}
inline Text read_text(Form& f, ControlId c, int number) {
  return f.read(c, number).bytes;
}
inline void write_int(Form& f, ControlId c, int number, std::int32_t v) {
  f.write(c, number, Value::of_int(v));
}
inline void write_text(Form& f, ControlId c, int number, std::string_view t) {
  f.write(c, number, Value::of_text(std::string(t)));
}
inline void write_bytes(Form& f, ControlId c, int number, std::string_view b) {
  f.write(c, number, Value::of_bytes(std::string(b)));
}

}  // namespace pelvrin
