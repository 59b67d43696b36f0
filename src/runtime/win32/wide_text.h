#pragma once

#include <string>
#include <string_view>

#include "runtime/text_codec.h"

namespace pelvrin::win32 {

// A CP936 text as the wide string the platform's W functions take.
inline std::wstring wide(std::string_view cp936) {
  std::u16string u = cp936_to_utf16(cp936);
  return std::wstring(u.begin(), u.end());
}

}  // namespace pelvrin::win32
