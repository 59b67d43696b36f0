// Fuzzes what the picture property does with its bytes: recognise the kind
// of file, then take the first image of an icon or cursor file or the DIB of
// a bitmap file.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_common.h"
#include "runtime/image_bytes.h"

namespace {

using fuzz::check;
using fuzz::le32;

// The fields of a bitmap file that say how much will be read from it.
//
//   0  "BM"   2  file size   6  reserved   10  offset of the pixel bits
//   14 the DIB: header size (40 or more), width, height, planes, bit count,
//      compression, image size, two resolutions, colours used, ...
//   then the colour table (or three masks after a 40-byte header with bit
//   fields), then, at the bits offset, the pixels
struct BitmapFields {
  std::uint32_t bits, header_size, bit_count, compression, size_image, colours_used;
  std::int32_t width, height;
};

constexpr std::uint32_t kRgb = 0, kBitFields = 3;

BitmapFields fields_of(const std::uint8_t* data) {
  BitmapFields f;
  f.bits = le32(data + 10);
  f.header_size = le32(data + 14);
  f.width = static_cast<std::int32_t>(le32(data + 18));
  f.height = static_cast<std::int32_t>(le32(data + 22));
  f.bit_count = fuzz::le16(data + 28);
  f.compression = le32(data + 30);
  f.size_image = le32(data + 34);
  f.colours_used = le32(data + 46);
  return f;
}

// Bytes of colour table and masks that sit between the header and the bits.
std::uint64_t table_bytes(const BitmapFields& f) {
  std::uint64_t entries = f.colours_used;
  if (entries == 0 && f.bit_count >= 1 && f.bit_count <= 8) entries = std::uint64_t{1} << f.bit_count;
  std::uint64_t bytes = entries * 4;
  if (f.compression == kBitFields && f.header_size == 40) bytes += 12;
  return bytes;
}

// Bytes of pixels an uncompressed image needs: rows padded to 32 bits.
unsigned __int128 pixel_bytes(const BitmapFields& f) {
  const unsigned __int128 row_bits = static_cast<unsigned __int128>(f.width) * f.bit_count;
  const unsigned __int128 stride = (row_bits + 31) / 32 * 4;
  const std::int64_t rows = f.height < 0 ? -std::int64_t{f.height} : std::int64_t{f.height};
  return stride * static_cast<std::uint64_t>(rows);
}

// parse_bitmap_file on arbitrary bytes. Whatever it accepts must keep every
// read the drawing code makes inside the bytes: the header, the colour
// table before the bits, and the pixels after them. And every honest plain
// bitmap must be accepted.
void check_bitmap(const std::uint8_t* data, std::size_t size) {
  const std::string_view file(reinterpret_cast<const char*>(data), size);
  const auto bitmap = pelvrin::parse_bitmap_file(file);

  const bool framed = size >= 14 + 40 && data[0] == 'B' && data[1] == 'M';
  if (!framed) {
    check(!bitmap);
    return;
  }
  const BitmapFields f = fields_of(data);
  const bool headers_fit = f.header_size >= 40 && std::uint64_t{f.header_size} <= size - 14 &&
                           std::uint64_t{f.bits} >= 14 + std::uint64_t{f.header_size} &&
                           f.bits < size;
  const bool table_fits =
      headers_fit && 14 + std::uint64_t{f.header_size} + table_bytes(f) <= f.bits;
  const std::uint64_t room = headers_fit ? size - f.bits : 0;
  const bool uncompressed = f.compression == kRgb || f.compression == kBitFields;
  const bool pixels_fit =
      uncompressed ? f.width > 0 && f.height != 0 && f.bit_count != 0 && pixel_bytes(f) <= room
                   : f.size_image != 0 && f.size_image <= room;

  if (bitmap) {
    check(headers_fit && table_fits && pixels_fit);
    check(fuzz::inside(bitmap->dib, file));
    check(bitmap->dib.data() == file.data() + 14);
    check(bitmap->dib.size() == size - 14);
    check(bitmap->dib.size() >= 40);
    check(bitmap->bits_offset < bitmap->dib.size());
    check(bitmap->bits_offset == f.bits - 14);
    // The pixel bits come after the whole DIB header.
    check(bitmap->bits_offset >= le32(reinterpret_cast<const std::uint8_t*>(bitmap->dib.data())));
  }

  const bool plain_depth = f.bit_count == 1 || f.bit_count == 4 || f.bit_count == 8 ||
                           f.bit_count == 16 || f.bit_count == 24 || f.bit_count == 32;
  const bool honest_palette =
      f.colours_used == 0 || (f.bit_count <= 8 && f.colours_used <= (1u << f.bit_count));
  if (f.compression == kRgb && plain_depth && honest_palette && headers_fit && table_fits &&
      pixels_fit) {
    check(bitmap.has_value());
  }
}

// The kind a file's signature names.
pelvrin::PictureKind kind_by_signature(std::string_view b) {
  using pelvrin::PictureKind;
  struct Signature {
    std::string_view bytes;
    PictureKind kind;
  };
  static constexpr Signature kSignatures[] = {
      {{"\xFF\xD8", 2}, PictureKind::jpeg},       {{"BM", 2}, PictureKind::bmp},
      {{"\0\0\1\0", 4}, PictureKind::icon},      {{"\0\0\2\0", 4}, PictureKind::cursor},
      {{"GIF87a", 6}, PictureKind::gif},          {{"GIF89a", 6}, PictureKind::gif},
      {{"\x0A", 1}, PictureKind::pcx},
  };
  for (const Signature& s : kSignatures) {
    if (b.size() >= s.bytes.size() && b.compare(0, s.bytes.size(), s.bytes) == 0) return s.kind;
  }
  return PictureKind::none;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const pelvrin::PictureKind kind = pelvrin::classify_picture(bytes);

  check(kind == kind_by_signature(bytes));
  // The kind is decided by the first six bytes alone.
  check(pelvrin::classify_picture(bytes.substr(0, std::min<std::size_t>(size, 6))) == kind);

  check_bitmap(data, size);
  if (pelvrin::parse_bitmap_file(bytes)) check(kind == pelvrin::PictureKind::bmp);

  if (const auto image = fuzz::check_first_icon_image(data, size)) {
    check(kind == (image->is_cursor ? pelvrin::PictureKind::cursor : pelvrin::PictureKind::icon));
  }
  return 0;
}
