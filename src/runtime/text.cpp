#include "runtime/text.h"

namespace pelvrin {

Text int_to_text(std::int32_t value) { return std::to_string(value); }

std::int32_t text_to_int(std::string_view text) {
  std::size_t i = 0;
  auto is_space = [](char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
  };
  while (i < text.size() && is_space(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  std::uint32_t value = 0;  // unsigned arithmetic wraps modulo 2^32
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10u + static_cast<std::uint32_t>(text[i] - '0');
  }
  if (negative) value = 0u - value;
  return static_cast<std::int32_t>(value);
}

Text text_until_zero(std::string_view bytes) {
  return Text(bytes.substr(0, bytes.find('\0')));
}

}  // namespace pelvrin
