// Pointer and picture writes release what the previous write made: the
// owners' live counts stay where they were across many writes, shared
// system cursors are never destroyed, and each made handle is destroyed
// exactly once.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "app/cursors.h"
#include "runtime/picture_owner.h"
#include "runtime/pointer_owner.h"

namespace pelvrin {
namespace {

struct FakeCursor {
  int id = 0;
  bool operator==(const FakeCursor&) const = default;
};

struct FakeCursorPlatform {
  using Cursor = FakeCursor;
  static inline int next = 1;
  static inline std::map<int, int> destroyed;  // id -> times
  static inline int system_loads = 0;
  static Cursor load_system(std::int32_t id) {
    ++system_loads;
    return Cursor{100000 + id};  // shared: must never reach destroy()
  }
  static Cursor from_file(std::string_view file) {
    return first_icon_image(file) ? Cursor{next++} : Cursor{};
  }
  static void destroy(Cursor c) { ++destroyed[c.id]; }
};

using Pointer = PointerOwner<FakeCursorPlatform>;

std::string code(std::int32_t c) { return std::string(reinterpret_cast<const char*>(&c), 4); }

TEST(PointerOwner, WritesOfEveryFormLeaveTheLiveCountWhereItWas) {
  const int before = Pointer::live_count();
  {
    Pointer p;
    EXPECT_EQ(p.bytes(), code(0));
    const std::string writes[] = {std::string(crosshair_cursor), std::string(idle_pointer),
                                  code(14),  code(32649), code(0),
                                  std::string(crosshair_cursor), std::string(20, 'x'),
                                  std::string(idle_pointer)};
    for (int round = 0; round < 500; ++round) {
      for (const std::string& w : writes) {
        p.set(w);
        EXPECT_LE(Pointer::live_count(), before + 1);
      }
    }
    EXPECT_EQ(Pointer::live_count(), before + 1);  // the idle pointer, still shown
    EXPECT_EQ(p.bytes(), std::string(idle_pointer));
  }
  EXPECT_EQ(Pointer::live_count(), before);
  for (const auto& [id, times] : FakeCursorPlatform::destroyed) {
    EXPECT_LT(id, 100000) << "a shared system cursor was destroyed";
    EXPECT_EQ(times, 1) << "cursor " << id;
  }
}

TEST(PointerOwner, CodesGiveSharedSystemCursorsAndFilesOwnedOnes) {
  Pointer p;
  p.set(code(14));
  EXPECT_EQ(p.cursor(), FakeCursor{100000 + 32649});
  p.set(code(0));
  EXPECT_EQ(p.cursor(), FakeCursor{}) << "code 0 leaves the class pointer";
  p.set(crosshair_cursor);
  EXPECT_NE(p.cursor(), FakeCursor{});
  EXPECT_LT(p.cursor().id, 100000);
  p.set(std::string(11, '\x01'));  // a cursor file that makes no cursor
  EXPECT_EQ(p.cursor(), FakeCursor{});
}

template <int Tag>
struct FakeHandle {
  int id = 0;
  bool operator==(const FakeHandle&) const = default;
};

struct FakePicturePlatform {
  using Icon = FakeHandle<1>;
  using Bitmap = FakeHandle<2>;
  using Image = FakeHandle<3>;
  struct Size {
    int width, height;
  };
  static inline int next = 1;
  static inline int destroyed = 0;
  static Icon icon_from_file(std::string_view f, Size* s) {
    auto image = first_icon_image(f);
    if (!image) return {};
    *s = Size{image->width, image->height};
    return Icon{next++};
  }
  static Bitmap bitmap_from_file(std::string_view f, Size* s) {
    if (!parse_bitmap_file(f)) return {};
    *s = Size{2, 2};
    return Bitmap{next++};
  }
  static Image image_from_bytes(std::string_view, Size* s) {
    *s = Size{8, 8};
    return Image{next++};
  }
  static void destroy(Icon) { ++destroyed; }
  static void destroy(Bitmap) { ++destroyed; }
  static void destroy(Image) { ++destroyed; }
};

using Picture = PictureOwner<FakePicturePlatform>;

int live_pictures() {
  return Picture::live_icons() + Picture::live_bitmaps() + Picture::live_images();
}

TEST(PictureOwner, DragLikeWritesLeaveTheLiveCountWhereItWas) {
  const int before = live_pictures();
  const int destroyed_before = FakePicturePlatform::destroyed;
  {
    Picture picture;
    picture.set(crosshair_cursor);
    const int shown = live_pictures();
    EXPECT_EQ(shown, before + 1);
    for (int drag = 0; drag < 1000; ++drag) {
      picture.set(empty_picture);  // the box goes blank during a drag
      EXPECT_EQ(live_pictures(), before);
      EXPECT_EQ(picture.size().width, 0);
      picture.set(crosshair_cursor);  // and shows the cross again after it
      EXPECT_EQ(live_pictures(), shown);
      EXPECT_EQ(picture.size().width, 32);
    }
    // Other kinds replace each other too.
    picture.set("GIF89a and the rest");
    EXPECT_EQ(Picture::live_images(), 1);
    EXPECT_EQ(Picture::live_icons(), 0);
    picture.set(std::string("\x0A pcx is recognised but not decoded", 35));
    EXPECT_EQ(live_pictures(), before);
    picture.set("\xFF\xD8 jpeg");
    EXPECT_EQ(Picture::live_images(), 1);
  }
  EXPECT_EQ(live_pictures(), before);
  EXPECT_EQ(FakePicturePlatform::destroyed - destroyed_before, 1000 + 1 + 1 + 1);
}

TEST(PictureOwner, UnrecognisedOrBrokenBytesShowNothing) {
  Picture picture;
  for (std::string_view bytes : {std::string_view{}, std::string_view("hello"),
                                 std::string_view("BM but not a bitmap"),
                                 std::string_view("\0\0\1\0", 4)}) {
    picture.set(bytes);
    EXPECT_EQ(picture.icon(), FakeHandle<1>{}) << bytes;
    EXPECT_EQ(picture.bitmap(), FakeHandle<2>{}) << bytes;
    EXPECT_EQ(picture.size().width, 0) << bytes;
    EXPECT_EQ(picture.bytes(), std::string(bytes));
  }
}

}  // namespace
}  // namespace pelvrin
