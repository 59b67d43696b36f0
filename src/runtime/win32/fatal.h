#pragma once

namespace pelvrin::win32 {

// A property number that the control's kind does not have: a fault in the
// program itself, reported as a fatal run-time error.
[[noreturn]] void fatal_error_bad_property();

}  // namespace pelvrin::win32
