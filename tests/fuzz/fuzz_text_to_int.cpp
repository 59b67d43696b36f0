// Fuzzes the decimal conversions in runtime/text.h.
//
// text_to_int must accept any bytes at all and agree with the small reference
// reader below, which works in 64-bit unsigned arithmetic and reduces modulo
// 2^32 after every step. Every value it gives must survive int_to_text and
// come back unchanged, and int_to_text must print exactly what "%d" prints.
// text_until_zero is checked on the same bytes.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "runtime/text.h"

namespace {

void check(bool ok) {
  if (!ok) __builtin_trap();
}

bool is_blank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

std::int32_t reference_text_to_int(std::string_view s) {
  constexpr std::uint64_t kModulus = std::uint64_t{1} << 32;
  std::size_t i = 0;
  while (i < s.size() && is_blank(s[i])) ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
  std::uint64_t value = 0;  // always below 2^32
  while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
    value = (value * 10 + static_cast<std::uint64_t>(s[i] - '0')) % kModulus;
    ++i;
  }
  if (negative) value = (kModulus - value) % kModulus;
  // Two's complement reading of the low 32 bits, without relying on a cast.
  const std::int64_t signed_value = value >= kModulus / 2
                                        ? static_cast<std::int64_t>(value) - static_cast<std::int64_t>(kModulus)
                                        : static_cast<std::int64_t>(value);
  return static_cast<std::int32_t>(signed_value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);

  const std::int32_t value = pelvrin::text_to_int(bytes);
  check(value == reference_text_to_int(bytes));

  const pelvrin::Text printed = pelvrin::int_to_text(value);
  char expected[16];
  std::snprintf(expected, sizeof expected, "%d", static_cast<int>(value));
  check(printed == expected);
  check(pelvrin::text_to_int(printed) == value);

  // Everything up to the first zero byte, or all of it when there is none.
  const pelvrin::Text until_zero = pelvrin::text_until_zero(bytes);
  check(until_zero.size() <= size);
  check(until_zero.find('\0') == pelvrin::Text::npos);
  check(bytes.substr(0, until_zero.size()) == until_zero);
  check(until_zero.size() == size || data[until_zero.size()] == 0);
  return 0;
}
