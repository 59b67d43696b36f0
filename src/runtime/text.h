// Texts of the program: zero-terminated byte strings in code page 936.
// Inside the program a text is a std::string of those bytes (without the
// terminating zero). These helpers are the only decimal conversions used.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace pelvrin {

using Text = std::string;

// Plain decimal, with a leading '-' for negative values.
Text int_to_text(std::int32_t value);

// Skips leading white space, takes an optional sign and then decimal digits
// up to the first other character. No digits gives 0. Wraps modulo 2^32.
std::int32_t text_to_int(std::string_view text);

// A text ends at its first zero byte; anything after it is not part of it.
Text text_until_zero(std::string_view bytes);

}  // namespace pelvrin
