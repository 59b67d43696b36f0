// Native build: CP936 conversions through iconv's GBK tables.
#include <iconv.h>

#include <cerrno>
#include <string>

#include "runtime/text_codec.h"

namespace pelvrin {

namespace {

// Converts with iconv; an input byte sequence that cannot be converted is
// replaced by `replacement` (already in the output encoding) and skipped
// by `skip` input bytes.
std::string convert(const char* to, const char* from, std::string_view in,
                    std::string_view replacement, std::size_t skip) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return {};
  std::string out;
  char buffer[256];
  char* src = const_cast<char*>(in.data());
  std::size_t src_left = in.size();
  while (src_left > 0) {
    char* dst = buffer;
    std::size_t dst_left = sizeof buffer;
    std::size_t r = iconv(cd, &src, &src_left, &dst, &dst_left);
    out.append(buffer, static_cast<std::size_t>(dst - buffer));
    if (r == static_cast<std::size_t>(-1) && errno != E2BIG) {
      out.append(replacement);
      std::size_t n = skip < src_left ? skip : src_left;
      src += n;
      src_left -= n;
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
  }
  iconv_close(cd);
  return out;
}

}  // namespace

std::u16string cp936_to_utf16(std::string_view text) {
  static const char16_t kReplacement = u'\uFFFD';
  std::string raw = convert("UTF-16LE", "GBK", text,
                            std::string_view(reinterpret_cast<const char*>(&kReplacement), 2), 1);
  std::u16string out(raw.size() / 2, u'\0');
  for (std::size_t i = 0; i < out.size(); ++i) {
    out[i] = static_cast<char16_t>(static_cast<unsigned char>(raw[2 * i]) |
                                   (static_cast<unsigned char>(raw[2 * i + 1]) << 8));
  }
  return out;
}

std::string utf16_to_cp936(std::u16string_view text) {
  std::string raw(text.size() * 2, '\0');
  for (std::size_t i = 0; i < text.size(); ++i) {
    raw[2 * i] = static_cast<char>(text[i] & 0xFF);
    raw[2 * i + 1] = static_cast<char>(text[i] >> 8);
  }
  return convert("GBK", "UTF-16LE", raw, "?", 2);
}

}  // namespace pelvrin
