#include "runtime/image_bytes.h"

namespace pelvrin {

namespace {

std::uint32_t u16_at(std::string_view b, std::size_t i) {
  return static_cast<std::uint32_t>(static_cast<unsigned char>(b[i])) |
         static_cast<std::uint32_t>(static_cast<unsigned char>(b[i + 1])) << 8;
}

std::uint32_t u32_at(std::string_view b, std::size_t i) {
  return u16_at(b, i) | u16_at(b, i + 2) << 16;
}

bool starts_with(std::string_view b, std::string_view prefix) {
  return b.substr(0, prefix.size()) == prefix;
}

}  // namespace

PointerForm classify_pointer(std::string_view bytes) {
  if (bytes.size() > 10) return PointerForm{false, 0};
  if (bytes.size() >= 4) return PointerForm{true, static_cast<std::int32_t>(u32_at(bytes, 0))};
  if (!bytes.empty()) return PointerForm{true, static_cast<unsigned char>(bytes[0])};
  return PointerForm{true, 0};
}

std::int32_t system_cursor_id(std::int32_t code) {
  static constexpr std::int32_t kStandard[] = {
      32512,  // 1 arrow
      32515,  // 2 crosshair
      32513,  // 3 text I-beam
      32514,  // 4 hourglass
      32651,  // 5 arrow with question mark
      32650,  // 6 arrow with hourglass
      32648,  // 7 slashed circle
      32646,  // 8 four-way arrow
      32643,  // 9 north-east/south-west
      32645,  // 10 north/south
      32642,  // 11 north-west/south-east
      32644,  // 12 west/east
      32516,  // 13 up arrow
      32649,  // 14 hand
  };
  if (code >= 1 && code <= 14) return kStandard[code - 1];
  return code;
}

PictureKind classify_picture(std::string_view b) {
  using namespace std::string_view_literals;
  if (starts_with(b, "\xFF\xD8"sv)) return PictureKind::jpeg;
  if (starts_with(b, "BM"sv)) return PictureKind::bmp;
  if (starts_with(b, "\x00\x00\x01\x00"sv)) return PictureKind::icon;
  if (starts_with(b, "\x00\x00\x02\x00"sv)) return PictureKind::cursor;
  if (starts_with(b, "GIF87a"sv) || starts_with(b, "GIF89a"sv)) return PictureKind::gif;
  if (starts_with(b, "\x0A"sv)) return PictureKind::pcx;
  return PictureKind::none;
}

std::optional<IconImage> first_icon_image(std::string_view file) {
  constexpr std::size_t kHeader = 6, kEntry = 16;
  if (file.size() < kHeader + kEntry) return std::nullopt;
  if (u16_at(file, 0) != 0) return std::nullopt;
  const std::uint32_t type = u16_at(file, 2);
  if (type != 1 && type != 2) return std::nullopt;
  if (u16_at(file, 4) == 0) return std::nullopt;
  const std::size_t e = kHeader;
  const std::uint32_t size = u32_at(file, e + 8);
  const std::uint32_t offset = u32_at(file, e + 12);
  if (offset > file.size() || size > file.size() - offset || size < 40) return std::nullopt;
  IconImage image;
  image.data = file.substr(offset, size);
  image.width = static_cast<unsigned char>(file[e]) == 0 ? 256 : static_cast<unsigned char>(file[e]);
  image.height =
      static_cast<unsigned char>(file[e + 1]) == 0 ? 256 : static_cast<unsigned char>(file[e + 1]);
  image.is_cursor = type == 2;
  if (image.is_cursor) {
    image.hotspot_x = static_cast<int>(u16_at(file, e + 4));
    image.hotspot_y = static_cast<int>(u16_at(file, e + 6));
  }
  return image;
}

std::optional<BitmapImage> parse_bitmap_file(std::string_view file) {
  constexpr std::size_t kFileHeader = 14;
  if (file.size() < kFileHeader + 40 || !starts_with(file, "BM")) return std::nullopt;
  const std::uint32_t bits = u32_at(file, 10);
  const std::uint32_t header_size = u32_at(file, kFileHeader);
  if (header_size < 40 || header_size > file.size() - kFileHeader) return std::nullopt;
  if (bits < kFileHeader + header_size || bits >= file.size()) return std::nullopt;
  // The colour table (and the masks that follow a 40-byte header with
  // bit-field compression) must end before the bits, and the bits must hold
  // what the header says, or whoever draws it reads past the bytes.
  const std::int32_t width = static_cast<std::int32_t>(u32_at(file, 18));
  const std::int32_t height = static_cast<std::int32_t>(u32_at(file, 22));
  const std::uint32_t bit_count = u16_at(file, 28);
  const std::uint32_t compression = u32_at(file, 30);
  const std::uint32_t size_image = u32_at(file, 34);
  const std::uint32_t colours_used = u32_at(file, 46);
  constexpr std::uint32_t kRgb = 0, kBitFields = 3;
  std::uint64_t table = colours_used != 0 ? colours_used
                        : bit_count <= 8  ? std::uint64_t{1} << bit_count
                                          : 0;
  table *= 4;
  if (compression == kBitFields && header_size == 40) table += 12;
  if (kFileHeader + header_size + table > bits) return std::nullopt;
  const std::uint64_t room = file.size() - bits;
  if (compression == kRgb || compression == kBitFields) {
    if (width <= 0 || height == 0 || bit_count == 0) return std::nullopt;
    const std::uint64_t stride = (static_cast<std::uint64_t>(width) * bit_count + 31) / 32 * 4;
    const std::int64_t h = height;
    const std::uint64_t rows = static_cast<std::uint64_t>(h < 0 ? -h : h);  // top-down if < 0
    if (stride > room / rows) return std::nullopt;
  } else if (size_image == 0 || size_image > room) {
    return std::nullopt;
  }
  BitmapImage image;
  image.dib = file.substr(kFileHeader);
  image.bits_offset = bits - kFileHeader;
  return image;
}

}  // namespace pelvrin
