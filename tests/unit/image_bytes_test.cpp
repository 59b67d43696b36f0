// Recognition of mouse pointer and picture byte strings: pointer codes, the
// standard cursor ids, picture kinds by signature, and the icon/cursor and
// bitmap file headers, honest and lying. Fixtures are built byte by byte.

#include "runtime/image_bytes.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <string_view>

#include "app/cursors.h"

namespace {

using namespace std::string_view_literals;
using pelvrin::classify_picture;
using pelvrin::classify_pointer;
using pelvrin::first_icon_image;
using pelvrin::parse_bitmap_file;
using pelvrin::PictureKind;
using pelvrin::system_cursor_id;

void put16(std::string& out, std::uint32_t v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>((v >> 8) & 0xFF);
}

void put32(std::string& out, std::uint32_t v) {
  put16(out, v & 0xFFFF);
  put16(out, v >> 16);
}

// ---------------------------------------------------------------------------
// Mouse pointer values

struct PointerCase {
  const char* what;
  std::string_view bytes;
  bool is_code;
  std::int32_t code;  // when is_code
};

void PrintTo(const PointerCase& c, std::ostream* os) { *os << c.what; }

class ClassifyPointer : public ::testing::TestWithParam<PointerCase> {};

TEST_P(ClassifyPointer, Classifies) {
  const PointerCase& c = GetParam();
  pelvrin::PointerForm form = classify_pointer(c.bytes);
  EXPECT_EQ(form.is_code, c.is_code);
  if (c.is_code) {
    EXPECT_EQ(form.code, c.code);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ClassifyPointer,
    ::testing::Values(
        PointerCase{"empty", ""sv, true, 0},
        PointerCase{"one byte", "\x0E"sv, true, 14},
        PointerCase{"one high byte", "\xFF"sv, true, 255},
        PointerCase{"two bytes: first only", "\x89\x7F"sv, true, 0x89},
        PointerCase{"three bytes: first only", "\x02\x01\x01"sv, true, 2},
        PointerCase{"four bytes little-endian", "\x89\x7F\x00\x00"sv, true, 32649},
        PointerCase{"four bytes, all bits", "\xFF\xFF\xFF\xFF"sv, true, -1},
        PointerCase{"ten bytes: first four", "\x02\x00\x00\x00\xFF\xFF\xFF\xFF\xFF\xFF"sv, true,
                    2},
        PointerCase{"eleven bytes: a cursor file", "\x02\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00"sv,
                    false, 0}));

TEST(ClassifyPointerFile, EmbeddedCursorsAreFiles) {
  EXPECT_FALSE(classify_pointer(pelvrin::crosshair_cursor).is_code);
  EXPECT_FALSE(classify_pointer(pelvrin::idle_pointer).is_code);
}

TEST(SystemCursorId, StandardPointersInOrder) {
  // arrow, crosshair, I-beam, hourglass, help, app-starting, no, size-all,
  // NE/SW, N/S, NW/SE, W/E, up arrow, hand
  constexpr std::int32_t kIds[] = {32512, 32515, 32513, 32514, 32651, 32650, 32648,
                                   32646, 32643, 32645, 32642, 32644, 32516, 32649};
  for (std::int32_t code = 1; code <= 14; ++code) {
    EXPECT_EQ(system_cursor_id(code), kIds[code - 1]) << "code " << code;
  }
}

TEST(SystemCursorId, OtherValuesPassThrough) {
  for (std::int32_t code : {0, 15, 100, 32512, 32649, 65535, -1, -2147483647 - 1, 2147483647}) {
    EXPECT_EQ(system_cursor_id(code), code);
  }
}

// ---------------------------------------------------------------------------
// Picture signatures

struct PictureCase {
  const char* what;
  std::string_view bytes;
  PictureKind kind;
};

void PrintTo(const PictureCase& c, std::ostream* os) { *os << c.what; }

class ClassifyPicture : public ::testing::TestWithParam<PictureCase> {};

TEST_P(ClassifyPicture, BySignature) {
  const PictureCase& c = GetParam();
  EXPECT_EQ(static_cast<int>(classify_picture(c.bytes)), static_cast<int>(c.kind));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ClassifyPicture,
    ::testing::Values(
        PictureCase{"empty", ""sv, PictureKind::none},
        PictureCase{"JPEG", "\xFF\xD8\xFF\xE0\x00\x10JFIF"sv, PictureKind::jpeg},
        PictureCase{"JPEG signature only", "\xFF\xD8"sv, PictureKind::jpeg},
        PictureCase{"half a JPEG signature", "\xFF"sv, PictureKind::none},
        PictureCase{"bitmap", "BM\x46\x00"sv, PictureKind::bmp},
        PictureCase{"lower-case bm", "bm"sv, PictureKind::none},
        PictureCase{"B alone", "B"sv, PictureKind::none},
        PictureCase{"icon", "\x00\x00\x01\x00\x01\x00"sv, PictureKind::icon},
        PictureCase{"cursor", "\x00\x00\x02\x00\x01\x00"sv, PictureKind::cursor},
        PictureCase{"icon header type 3", "\x00\x00\x03\x00"sv, PictureKind::none},
        PictureCase{"three bytes of an icon header", "\x00\x00\x01"sv, PictureKind::none},
        PictureCase{"GIF87a", "GIF87a\x01\x00"sv, PictureKind::gif},
        PictureCase{"GIF89a", "GIF89a"sv, PictureKind::gif},
        PictureCase{"GIF88a", "GIF88a"sv, PictureKind::none},
        PictureCase{"GIF8 cut short", "GIF8"sv, PictureKind::none},
        PictureCase{"PCX", "\x0A\x05\x01\x08"sv, PictureKind::pcx},
        PictureCase{"PCX first byte only", "\x0A"sv, PictureKind::pcx},
        PictureCase{"PNG", "\x89PNG\r\n\x1A\n"sv, PictureKind::none},
        PictureCase{"text", "hello"sv, PictureKind::none}));

TEST(ClassifyPictureFile, EmbeddedCursorsAreCursors) {
  EXPECT_EQ(classify_picture(pelvrin::crosshair_cursor), PictureKind::cursor);
  EXPECT_EQ(classify_picture(pelvrin::idle_pointer), PictureKind::cursor);
}

// ---------------------------------------------------------------------------
// Icon and cursor files

// One directory entry and whatever follows it; every field can be bent.
struct IconFile {
  std::uint32_t reserved = 0;
  std::uint32_t type = 2;
  std::uint32_t count = 1;
  std::uint8_t width = 32, height = 32;
  std::uint32_t field4 = 7, field6 = 9;  // hotspot for cursors
  std::uint32_t size = 40;
  std::uint32_t offset = 22;
  std::string after_directory = std::string(40, '\x28');

  std::string bytes() const {
    std::string out;
    put16(out, reserved);
    put16(out, type);
    put16(out, count);
    out += static_cast<char>(width);
    out += static_cast<char>(height);
    out += '\0';  // colour count
    out += '\0';  // reserved
    put16(out, field4);
    put16(out, field6);
    put32(out, size);
    put32(out, offset);
    return out + after_directory;
  }
};

struct RealCursor {
  const char* name;
  std::string_view file;
  int hotspot_x, hotspot_y;
  std::size_t data_size;
};

void PrintTo(const RealCursor& c, std::ostream* os) { *os << c.name; }

class FirstIconImageOfEmbedded : public ::testing::TestWithParam<RealCursor> {};

TEST_P(FirstIconImageOfEmbedded, ReadsTheDirectory) {
  const RealCursor& c = GetParam();
  auto image = first_icon_image(c.file);
  ASSERT_TRUE(image.has_value());
  EXPECT_TRUE(image->is_cursor);
  EXPECT_EQ(image->width, 32);
  EXPECT_EQ(image->height, 32);
  EXPECT_EQ(image->hotspot_x, c.hotspot_x);
  EXPECT_EQ(image->hotspot_y, c.hotspot_y);
  EXPECT_EQ(image->data.size(), c.data_size);
  // The image follows the one-entry directory and is a view into the file.
  EXPECT_EQ(image->data.data(), c.file.data() + 22);
  ASSERT_GE(image->data.size(), 4u);
  EXPECT_EQ(image->data.substr(0, 4), "\x28\x00\x00\x00"sv);  // BITMAPINFOHEADER size
}

// Every cut of the file short of its full length points outside the bytes.
TEST_P(FirstIconImageOfEmbedded, EveryTruncationIsRefused) {
  const RealCursor& c = GetParam();
  for (std::size_t n = 0; n < c.file.size(); ++n) {
    ASSERT_FALSE(first_icon_image(c.file.substr(0, n)).has_value()) << "cut at " << n;
  }
}

INSTANTIATE_TEST_SUITE_P(Embedded, FirstIconImageOfEmbedded,
                         ::testing::Values(RealCursor{"crosshair", pelvrin::crosshair_cursor,
                                                      15, 15, 2216},
                                           RealCursor{"idle", pelvrin::idle_pointer, 12, 4,
                                                      4264}),
                         [](const ::testing::TestParamInfo<RealCursor>& info) {
                           return std::string(info.param.name);
                         });

TEST(FirstIconImage, IconFileHasNoHotspotAndZeroSizeMeans256) {
  IconFile f;
  f.type = 1;
  f.width = 16;
  f.height = 0;
  f.field4 = 1;   // planes
  f.field6 = 32;  // bit count
  const std::string file = f.bytes();
  auto image = first_icon_image(file);
  ASSERT_TRUE(image.has_value());
  EXPECT_FALSE(image->is_cursor);
  EXPECT_EQ(image->width, 16);
  EXPECT_EQ(image->height, 256);
  EXPECT_EQ(image->hotspot_x, 0);
  EXPECT_EQ(image->hotspot_y, 0);
  EXPECT_EQ(image->data.data(), file.data() + 22);
  EXPECT_EQ(image->data.size(), 40u);
}

TEST(FirstIconImage, ImageAnywhereInsideTheFileAndOnlyTheFirstEntryCounts) {
  IconFile f;
  f.count = 2;  // the second entry is never read
  f.width = 0;
  f.offset = 30;
  f.size = 40;
  f.after_directory = std::string(8, '\x55') + std::string(40, '\x28');  // ends exactly
  const std::string file = f.bytes();
  auto image = first_icon_image(file);
  ASSERT_TRUE(image.has_value());
  EXPECT_TRUE(image->is_cursor);
  EXPECT_EQ(image->width, 256);
  EXPECT_EQ(image->hotspot_x, 7);
  EXPECT_EQ(image->hotspot_y, 9);
  EXPECT_EQ(image->data.data(), file.data() + 30);
  EXPECT_EQ(image->data.size(), 40u);
}

struct LyingIcon {
  const char* what;
  std::function<void(IconFile&)> bend;
};

void PrintTo(const LyingIcon& c, std::ostream* os) { *os << c.what; }

class FirstIconImageRefuses : public ::testing::TestWithParam<LyingIcon> {};

TEST_P(FirstIconImageRefuses, LyingDirectory) {
  IconFile f;
  ASSERT_TRUE(first_icon_image(f.bytes()).has_value()) << "the unbent fixture must pass";
  GetParam().bend(f);
  EXPECT_FALSE(first_icon_image(f.bytes()).has_value());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FirstIconImageRefuses,
    ::testing::Values(
        LyingIcon{"no images", [](IconFile& f) { f.count = 0; }},
        LyingIcon{"type 3", [](IconFile& f) { f.type = 3; }},
        LyingIcon{"type 0", [](IconFile& f) { f.type = 0; }},
        LyingIcon{"reserved not zero", [](IconFile& f) { f.reserved = 1; }},
        LyingIcon{"offset past the end", [](IconFile& f) { f.offset = 63; }},
        LyingIcon{"offset at the end", [](IconFile& f) { f.offset = 62; }},
        LyingIcon{"offset far out", [](IconFile& f) { f.offset = 0xFFFFFFF0u; }},
        LyingIcon{"size one past the end", [](IconFile& f) { f.size = 41; }},
        LyingIcon{"size one past the end from a later offset",
                  [](IconFile& f) { f.offset = 23; }},
        LyingIcon{"offset plus size wraps to inside",
                  [](IconFile& f) {
                    f.offset = 0x20;
                    f.size = 0xFFFFFFF0u;  // 0x20 + size = 0x10 modulo 2^32
                  }},
        LyingIcon{"size near 2^32", [](IconFile& f) { f.size = 0xFFFFFFFFu; }},
        LyingIcon{"size below a bitmap header",
                  [](IconFile& f) { f.size = 39; }},
        LyingIcon{"empty image", [](IconFile& f) { f.size = 0; }}));

TEST(FirstIconImage, ShorterThanOneDirectoryEntry) {
  const std::string file = IconFile{}.bytes();
  EXPECT_FALSE(first_icon_image(std::string_view(file).substr(0, 21)).has_value());
  EXPECT_FALSE(first_icon_image("").has_value());
  // 22 bytes: the directory is whole but the image it names is not there.
  EXPECT_FALSE(first_icon_image(std::string_view(file).substr(0, 22)).has_value());
}

// ---------------------------------------------------------------------------
// Bitmap files

// A bitmap file with every header field in reach; by default a 2x2 24-bit
// image, bottom-up, no colour table.
struct BmpFile {
  std::string magic = "BM";
  std::uint32_t header_size = 40;  // as the header says
  std::size_t header_bytes = 40;    // as written; the fields past 40 are zeros
  std::int32_t width = 2, height = 2;
  std::uint32_t bit_count = 24;
  std::uint32_t compression = 0;
  std::uint32_t size_image = 0;
  std::uint32_t colours_used = 0;
  std::string table;       // colour table or masks, between header and bits
  std::string pixels = std::string(16, '\x7F');  // two rows of 8 bytes (6 + padding)
  std::int64_t bits_offset = -1;                 // -1: right after the table

  std::string bytes() const {
    std::string info;
    put32(info, header_size);
    put32(info, static_cast<std::uint32_t>(width));
    put32(info, static_cast<std::uint32_t>(height));
    put16(info, 1);  // planes
    put16(info, bit_count);
    put32(info, compression);
    put32(info, size_image);
    put32(info, 2835);  // 72 dpi
    put32(info, 2835);
    put32(info, colours_used);
    put32(info, 0);  // important colours
    info.resize(header_bytes, '\0');
    const std::string body = info + table;
    const std::uint32_t bits = bits_offset < 0 ? static_cast<std::uint32_t>(14 + body.size())
                                               : static_cast<std::uint32_t>(bits_offset);
    std::string out = magic;
    put32(out, static_cast<std::uint32_t>(14 + body.size() + pixels.size()));
    put32(out, 0);  // reserved
    put32(out, bits);
    return out + body + pixels;
  }
};

TEST(ParseBitmapFile, TinyBitmap) {
  const std::string file = BmpFile{}.bytes();
  ASSERT_EQ(file.size(), 70u);
  auto image = parse_bitmap_file(file);
  ASSERT_TRUE(image.has_value());
  EXPECT_EQ(image->dib.data(), file.data() + 14);
  EXPECT_EQ(image->dib.size(), 56u);
  EXPECT_EQ(image->bits_offset, 40u);
}

struct GoodBmp {
  const char* what;
  std::function<void(BmpFile&)> shape;
  std::uint32_t bits_offset;  // within the DIB
};

void PrintTo(const GoodBmp& c, std::ostream* os) { *os << c.what; }

class ParseBitmapFileAccepts : public ::testing::TestWithParam<GoodBmp> {};

TEST_P(ParseBitmapFileAccepts, HonestHeaders) {
  BmpFile f;
  GetParam().shape(f);
  const std::string file = f.bytes();
  auto image = parse_bitmap_file(file);
  ASSERT_TRUE(image.has_value());
  EXPECT_EQ(image->dib.data(), file.data() + 14);
  EXPECT_EQ(image->dib.size(), file.size() - 14);
  EXPECT_EQ(image->bits_offset, GetParam().bits_offset);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ParseBitmapFileAccepts,
    ::testing::Values(
        GoodBmp{"top-down rows", [](BmpFile& f) { f.height = -2; }, 40},
        GoodBmp{"1-bit with its two colours",
                [](BmpFile& f) {
                  f.width = 3;
                  f.height = 1;
                  f.bit_count = 1;
                  f.table = std::string(8, '\0');
                  f.pixels = std::string(4, '\0');
                },
                48},
        GoodBmp{"8-bit with a short colour table",
                [](BmpFile& f) {
                  f.width = 4;
                  f.height = 1;
                  f.bit_count = 8;
                  f.colours_used = 3;
                  f.table = std::string(12, '\0');
                  f.pixels = std::string(4, '\0');
                },
                52},
        GoodBmp{"bytes after the bits", [](BmpFile& f) { f.pixels += "trailing"; }, 40},
        GoodBmp{"gap between table and bits",
                [](BmpFile& f) {
                  f.table = std::string(6, '\0');  // unused bytes
                },
                46},
        GoodBmp{"32-bit bit fields with masks after the header",
                [](BmpFile& f) {
                  f.width = 1;
                  f.height = 1;
                  f.bit_count = 32;
                  f.compression = 3;
                  f.table = std::string(12, '\xFF');
                  f.pixels = std::string(4, '\0');
                },
                52},
        GoodBmp{"larger header",
                [](BmpFile& f) {
                  f.header_size = 108;
                  f.header_bytes = 108;
                  f.width = 1;
                  f.height = 1;
                  f.bit_count = 32;
                  f.compression = 3;  // masks inside the larger header
                  f.pixels = std::string(4, '\0');
                },
                108},
        GoodBmp{"run-length coded with its size",
                [](BmpFile& f) {
                  f.bit_count = 8;
                  f.compression = 1;
                  f.colours_used = 2;
                  f.table = std::string(8, '\0');
                  f.pixels = std::string("\x02\x00\x00\x00\x02\x01\x00\x00\x00\x01", 10);
                  f.size_image = 10;
                },
                48}));

struct LyingBmp {
  const char* what;
  std::function<void(BmpFile&)> bend;
};

void PrintTo(const LyingBmp& c, std::ostream* os) { *os << c.what; }

class ParseBitmapFileRefuses : public ::testing::TestWithParam<LyingBmp> {};

TEST_P(ParseBitmapFileRefuses, LyingHeaders) {
  BmpFile f;
  ASSERT_TRUE(parse_bitmap_file(f.bytes()).has_value()) << "the unbent fixture must pass";
  GetParam().bend(f);
  EXPECT_FALSE(parse_bitmap_file(f.bytes()).has_value());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ParseBitmapFileRefuses,
    ::testing::Values(
        LyingBmp{"not BM", [](BmpFile& f) { f.magic = "BA"; }},
        LyingBmp{"bits offset past the end", [](BmpFile& f) { f.bits_offset = 1000; }},
        LyingBmp{"bits offset at the end", [](BmpFile& f) { f.bits_offset = 70; }},
        LyingBmp{"bits offset near 2^32", [](BmpFile& f) { f.bits_offset = 0xFFFFFFFF; }},
        LyingBmp{"bits offset inside the header", [](BmpFile& f) { f.bits_offset = 20; }},
        LyingBmp{"header size huge", [](BmpFile& f) { f.header_size = 0xFFFFFFFFu; }},
        LyingBmp{"header size past the end", [](BmpFile& f) { f.header_size = 57; }},
        LyingBmp{"header size too small", [](BmpFile& f) { f.header_size = 39; }},
        LyingBmp{"more rows than bits", [](BmpFile& f) { f.height = 3; }},
        LyingBmp{"more top-down rows than bits", [](BmpFile& f) { f.height = -3; }},
        LyingBmp{"wider than the bits", [](BmpFile& f) { f.width = 3; }},
        LyingBmp{"bits cut by one byte", [](BmpFile& f) { f.pixels.pop_back(); }},
        LyingBmp{"width near 2^31", [](BmpFile& f) { f.width = 0x7FFFFFFF; }},
        LyingBmp{"height of -2^31", [](BmpFile& f) { f.height = -2147483647 - 1; }},
        LyingBmp{"no width", [](BmpFile& f) { f.width = 0; }},
        LyingBmp{"negative width", [](BmpFile& f) { f.width = -2; }},
        LyingBmp{"no height", [](BmpFile& f) { f.height = 0; }},
        LyingBmp{"bit count too large", [](BmpFile& f) { f.bit_count = 0xFFFF; }},
        LyingBmp{"colour table runs into the bits",
                 [](BmpFile& f) { f.colours_used = 1; }},
        LyingBmp{"colour count near 2^32",
                 [](BmpFile& f) { f.colours_used = 0xFFFFFFFFu; }},
        LyingBmp{"8-bit without its colour table",
                 [](BmpFile& f) {
                   f.bit_count = 8;
                   f.pixels = std::string(8, '\0');
                 }},
        LyingBmp{"bit-field masks run into the bits",
                 [](BmpFile& f) {
                   f.width = 1;
                   f.height = 1;
                   f.bit_count = 32;
                   f.compression = 3;
                   f.pixels = std::string(16, '\0');
                 }},
        LyingBmp{"run-length size past the end",
                 [](BmpFile& f) {
                   f.bit_count = 8;
                   f.compression = 1;
                   f.colours_used = 2;
                   f.table = std::string(8, '\0');
                   f.size_image = 17;
                   f.pixels = std::string(16, '\0');
                 }},
        LyingBmp{"run-length without a size",
                 [](BmpFile& f) {
                   f.bit_count = 8;
                   f.compression = 1;
                   f.colours_used = 2;
                   f.table = std::string(8, '\0');
                 }}));

TEST(ParseBitmapFile, EveryTruncationIsRefused) {
  const std::string file = BmpFile{}.bytes();
  for (std::size_t n = 0; n < file.size(); ++n) {
    ASSERT_FALSE(parse_bitmap_file(std::string_view(file).substr(0, n)).has_value())
        << "cut at " << n;
  }
}

}  // namespace
