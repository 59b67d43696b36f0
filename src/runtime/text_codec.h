// Conversion between the program's CP936 texts and UTF-16, which is what the
// platform's wide APIs show. One implementation per platform: the Windows
// one uses the system's code page 936 tables, the native one iconv (GBK).
#pragma once

#include <string>
#include <string_view>

namespace pelvrin {

// Bytes that are not valid CP936 become U+FFFD (or the platform's default
// character); conversion never fails and never reads past the input.
std::u16string cp936_to_utf16(std::string_view text);

// Characters without a CP936 form become '?'.
std::string utf16_to_cp936(std::u16string_view text);

}  // namespace pelvrin
