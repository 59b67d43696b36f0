// The embedded cursor files: their headers, the size of every part, and the
// pixels that matter (the hotspot is drawn, the rest of the mask agrees with
// the colour bitmap). Everything is read little-endian by hand.

#include "app/cursors.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>

namespace {

std::uint32_t byte_at(std::string_view file, std::size_t at) {
  return static_cast<unsigned char>(file.at(at));
}

std::uint32_t u16(std::string_view file, std::size_t at) {
  return byte_at(file, at) | byte_at(file, at + 1) << 8;
}

std::uint32_t u32(std::string_view file, std::size_t at) {
  return u16(file, at) | u16(file, at + 2) << 16;
}

std::int32_t i32(std::string_view file, std::size_t at) {
  return static_cast<std::int32_t>(u32(file, at));
}

constexpr int kSide = 32;
constexpr std::size_t kDirectorySize = 6 + 16;
constexpr std::size_t kInfoHeaderSize = 40;
constexpr std::size_t kMaskSize = kSide * kSide / 8;  // rows of 4 bytes

struct CursorCase {
  const char* name;
  std::string_view file;
  std::size_t file_size;
  unsigned hotspot_x;
  unsigned hotspot_y;
  std::size_t image_size;
  unsigned bit_count;
  std::size_t palette_size;
};

void PrintTo(const CursorCase& c, std::ostream* os) { *os << c.name; }

// Where the parts of the single image start, from the headers.
struct Layout {
  std::size_t image;    // the BITMAPINFOHEADER
  std::size_t palette;
  std::size_t colour;   // colour bitmap, bottom-up
  std::size_t mask;     // AND mask, bottom-up
};

Layout layout_of(const CursorCase& c) {
  Layout l;
  l.image = u32(c.file, 18);
  l.palette = l.image + kInfoHeaderSize;
  l.colour = l.palette + c.palette_size;
  l.mask = l.colour + kSide * kSide * c.bit_count / 8;
  return l;
}

// True when the AND mask leaves the screen pixel (x, y) unchanged, that is
// the cursor is transparent there. y counts from the top.
bool transparent(std::string_view file, const Layout& l, int x, int y) {
  std::size_t row = l.mask + static_cast<std::size_t>(kSide - 1 - y) * 4;
  return (byte_at(file, row + x / 8) >> (7 - x % 8)) & 1;
}

// The colour bitmap's blue, green, red and (for 32 bpp) alpha at (x, y).
struct Bgra {
  std::uint32_t b, g, r, a;
};

Bgra colour_at(const CursorCase& c, const Layout& l, int x, int y) {
  std::size_t row = static_cast<std::size_t>(kSide - 1 - y);
  if (c.bit_count == 8) {
    std::size_t index = byte_at(c.file, l.colour + row * kSide + x);
    std::size_t entry = l.palette + index * 4;
    return {byte_at(c.file, entry), byte_at(c.file, entry + 1),
            byte_at(c.file, entry + 2), 255};
  }
  std::size_t at = l.colour + (row * kSide + x) * 4;
  return {byte_at(c.file, at), byte_at(c.file, at + 1),
          byte_at(c.file, at + 2), byte_at(c.file, at + 3)};
}

const CursorCase kCursors[] = {
    {"crosshair", pelvrin::crosshair_cursor, 2238, 15, 15, 2216, 8, 1024},
    {"idle", pelvrin::idle_pointer, 4286, 12, 4, 4264, 32, 0},
};

class CursorFileTest : public ::testing::TestWithParam<CursorCase> {};

TEST_P(CursorFileTest, DirectoryDescribesOneThirtyTwoPixelImage) {
  const CursorCase& c = GetParam();
  ASSERT_EQ(c.file.size(), c.file_size);

  EXPECT_EQ(u16(c.file, 0), 0u);  // reserved
  EXPECT_EQ(u16(c.file, 2), 2u);  // type: cursor
  EXPECT_EQ(u16(c.file, 4), 1u);  // image count

  EXPECT_EQ(byte_at(c.file, 6), 32u);  // width
  EXPECT_EQ(byte_at(c.file, 7), 32u);  // height
  EXPECT_EQ(byte_at(c.file, 8), 0u);   // colour count
  EXPECT_EQ(byte_at(c.file, 9), 0u);   // reserved
  EXPECT_EQ(u16(c.file, 10), c.hotspot_x);
  EXPECT_EQ(u16(c.file, 12), c.hotspot_y);
  EXPECT_EQ(u32(c.file, 14), c.image_size);
  EXPECT_EQ(u32(c.file, 18), kDirectorySize);
  EXPECT_EQ(kDirectorySize + c.image_size, c.file.size());
}

TEST_P(CursorFileTest, BitmapHeaderAndPartsFillTheImage) {
  const CursorCase& c = GetParam();
  ASSERT_EQ(c.file.size(), c.file_size);
  const std::size_t h = kDirectorySize;

  EXPECT_EQ(u32(c.file, h + 0), kInfoHeaderSize);  // biSize
  EXPECT_EQ(i32(c.file, h + 4), 32);               // biWidth
  EXPECT_EQ(i32(c.file, h + 8), 64);               // biHeight: bitmap + mask
  EXPECT_EQ(u16(c.file, h + 12), 1u);              // biPlanes
  EXPECT_EQ(u16(c.file, h + 14), c.bit_count);     // biBitCount
  EXPECT_EQ(u32(c.file, h + 16), 0u);              // biCompression: BI_RGB

  // A palette is there exactly when its entries fill the room left over
  // after the header, the colour bitmap and the mask.
  const std::size_t colour_size = kSide * kSide * c.bit_count / 8;
  ASSERT_GE(c.image_size, kInfoHeaderSize + colour_size + kMaskSize);
  EXPECT_EQ(c.image_size - kInfoHeaderSize - colour_size - kMaskSize,
            c.palette_size);
  if (c.palette_size != 0) {
    // biClrUsed: 0 means the full 2^bits table.
    std::uint32_t used = u32(c.file, h + 32);
    EXPECT_EQ((used == 0 ? 1u << c.bit_count : used) * 4, c.palette_size);
  }
}

TEST_P(CursorFileTest, HotspotIsDrawnAndCornersAreClear) {
  const CursorCase& c = GetParam();
  ASSERT_EQ(c.file.size(), c.file_size);
  Layout l = layout_of(c);

  EXPECT_FALSE(transparent(c.file, l, static_cast<int>(c.hotspot_x),
                           static_cast<int>(c.hotspot_y)));
  for (int y : {0, kSide - 1})
    for (int x : {0, kSide - 1})
      EXPECT_TRUE(transparent(c.file, l, x, y)) << x << "," << y;
}

TEST_P(CursorFileTest, TransparentPixelsLeaveTheScreenAlone) {
  const CursorCase& c = GetParam();
  ASSERT_EQ(c.file.size(), c.file_size);
  Layout l = layout_of(c);

  // Where the mask is set, the colour must be black (and, with alpha, fully
  // transparent) or the screen would be XOR-ed; where it is clear, a pixel
  // with alpha must be opaque.
  for (int y = 0; y < kSide; ++y) {
    for (int x = 0; x < kSide; ++x) {
      Bgra p = colour_at(c, l, x, y);
      if (transparent(c.file, l, x, y)) {
        EXPECT_EQ(p.b | p.g | p.r, 0u) << x << "," << y;
        if (c.bit_count == 32) {
          EXPECT_EQ(p.a, 0u) << x << "," << y;
        }
      } else {
        EXPECT_EQ(p.a, 255u) << x << "," << y;
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Embedded, CursorFileTest, ::testing::ValuesIn(kCursors),
                         [](const ::testing::TestParamInfo<CursorCase>& info) {
                           return std::string(info.param.name);
                         });

TEST(CrosshairCursorTest, CrossAndRingAreBlackThroughTheHotspot) {
  CursorCase c = kCursors[0];
  ASSERT_EQ(c.file.size(), c.file_size);
  Layout l = layout_of(c);
  const int cx = 15, cy = 15;

  // The cross runs through the hotspot in both directions, and the ring
  // crosses each arm a few pixels out; all of it is black.
  for (int d : {-8, -4, -1, 0, 1, 4, 8}) {
    for (auto [x, y] : {std::pair{cx + d, cy}, std::pair{cx, cy + d}}) {
      ASSERT_FALSE(transparent(c.file, l, x, y)) << x << "," << y;
      Bgra p = colour_at(c, l, x, y);
      EXPECT_EQ(p.b | p.g | p.r, 0u) << x << "," << y;
    }
  }
  // Off the cross, between the arms, the ring shows on the diagonals while
  // the inside next to the centre stays clear.
  EXPECT_TRUE(transparent(c.file, l, cx + 3, cy + 3));
  EXPECT_FALSE(transparent(c.file, l, cx + 7, cy + 7));
  EXPECT_FALSE(transparent(c.file, l, cx - 7, cy - 7));
}

}  // namespace
