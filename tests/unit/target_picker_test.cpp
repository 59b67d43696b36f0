// The crosshair target picker against an in-memory form and a fake of its
// platform calls. Both fakes feed one trace, so that the tests can check the
// order in which the picker acts on the form and on the platform.

#include "picker/target_picker.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <deque>
#include <map>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "app/cursors.h"
#include "app/main_window_layout.h"
#include "fake_form.h"
#include "picker/picker_platform.h"
#include "runtime/property.h"

namespace {

using namespace pelvrin;
using fakes::FakeForm;
using fakes::MainFormGuard;
using Trace = std::vector<std::string>;

constexpr std::uintptr_t kPickerHandle = 0x000A0B0C;
constexpr std::uintptr_t kNotepad = 0x00020010;
constexpr std::uintptr_t kOther = 0x00030022;

// A handle whose 32-bit value has the top bit set, widened the way the
// platform widens handles on 64-bit builds.
const std::uintptr_t kHighHandle =
    static_cast<std::uintptr_t>(static_cast<std::intptr_t>(std::int32_t{-2147478988}));

const std::string kZhong = "\xD6\xD0";  // 中 in CP936: both bytes in the lead range

struct Point {
  std::int32_t x, y;
  bool operator<(const Point& o) const { return x != o.x ? x < o.x : y < o.y; }
};

std::string point_text(std::int32_t x, std::int32_t y) {
  return std::to_string(x) + "," + std::to_string(y);
}

// The platform as the picker sees it: which window lies under each screen
// point, where each window's client area starts and what its title is. The
// pointer is the fake form's, unless `cursor_script` supplies the next
// GetCursorPos results. Every call lands in the trace together with its
// place among the form's calls.
class FakePickerPlatform : public PickerPlatform {
 public:
  explicit FakePickerPlatform(FakeForm& form) : form_(form) { set_picker_platform(this); }
  ~FakePickerPlatform() override { set_picker_platform(nullptr); }
  FakePickerPlatform(const FakePickerPlatform&) = delete;
  FakePickerPlatform& operator=(const FakePickerPlatform&) = delete;

  struct Call {
    std::size_t at;  // the number of form calls made before this one
    std::string text;
  };

  std::map<Point, std::uintptr_t> windows;  // 0 where none is listed
  std::map<std::uintptr_t, Point> client_origins;
  std::map<std::uintptr_t, std::string> titles;  // CP936 bytes
  std::deque<Point> cursor_script;
  std::vector<Call> calls;

  void set_capture(std::uintptr_t window) override {
    log("SetCapture(" + std::to_string(window) + ")");
  }
  void release_capture() override { log("ReleaseCapture()"); }
  std::uintptr_t window_from_point(std::int32_t x, std::int32_t y) override {
    auto it = windows.find({x, y});
    const std::uintptr_t w = it == windows.end() ? 0 : it->second;
    log("WindowFromPoint(" + point_text(x, y) + ") -> " + std::to_string(w));
    return w;
  }
  void cursor_pos(std::int32_t& x, std::int32_t& y) override {
    if (!cursor_script.empty()) {
      x = cursor_script.front().x;
      y = cursor_script.front().y;
      cursor_script.pop_front();
    } else {
      x = form_.pointer_x;
      y = form_.pointer_y;
    }
    log("GetCursorPos -> " + point_text(x, y));
  }
  void client_to_screen(std::uintptr_t window, std::int32_t& x, std::int32_t& y) override {
    // Without a window there is no client area to ask about.
    if (window == 0) ADD_FAILURE() << "ClientToScreen on no window";
    const std::string before = point_text(x, y);
    auto it = client_origins.find(window);
    if (it != client_origins.end()) {
      x += it->second.x;
      y += it->second.y;
    }
    log("ClientToScreen(" + std::to_string(window) + ", " + before + ") -> " + point_text(x, y));
  }
  // Byte for byte like GetWindowTextA: a plain cut at size - 1 bytes.
  std::int32_t window_text(std::uintptr_t window, char* buffer, std::int32_t size) override {
    log("GetWindowText(" + std::to_string(window) + ", " + std::to_string(size) + ")");
    if (size <= 0) return 0;
    auto it = titles.find(window);
    const std::string title = it == titles.end() ? std::string() : it->second;
    const std::size_t n = std::min(title.size(), static_cast<std::size_t>(size - 1));
    std::memcpy(buffer, title.data(), n);
    buffer[n] = '\0';
    return static_cast<std::int32_t>(n);
  }

 private:
  void log(std::string text) { calls.push_back({form_.calls.size(), std::move(text)}); }

  FakeForm& form_;
};

// Names for the properties that the picker touches.
std::string property_name(ControlId c, int number) {
  static const std::map<std::pair<ControlId, int>, std::string> names{
      {{图片框_捕获鼠标, prop::mouse_pointer}, "picker pointer"},
      {{图片框_捕获鼠标, prop::picture}, "picker picture"},
      {{编辑框_窗口句柄, prop::edit_text}, "handle field"},
      {{编辑框_窗口标题, prop::edit_text}, "title field"},
      {{编辑框_Y, prop::edit_text}, "Y field"},
      {{编辑框_X, prop::edit_text}, "X field"},
      {{标签14, prop::label_caption}, "label 14"},
      {{标签15, prop::label_caption}, "label 15"},
  };
  auto it = names.find({c, number});
  if (it != names.end()) return it->second;
  return "control " + std::to_string(c) + " property " + std::to_string(number);
}

std::string value_text(const Value& v) {
  switch (v.type) {
    case ValueType::integer:
      return std::to_string(v.integer);
    case ValueType::text:
      return "\"" + v.bytes + "\"";
    case ValueType::bytes:
      if (v.bytes == crosshair_cursor) return "<crosshair>";
      if (v.bytes == idle_pointer) return "<idle pointer>";
      if (v.bytes.empty()) return "<empty>";
      return "<" + std::to_string(v.bytes.size()) + " bytes>";
  }
  return "?";
}

std::string form_call_text(const FakeForm::Call& c) {
  switch (c.kind) {
    case FakeForm::Call::read:
      return "read " + property_name(c.control, c.number) + " -> " + value_text(c.value);
    case FakeForm::Call::write:
      return property_name(c.control, c.number) + " := " + value_text(c.value);
    case FakeForm::Call::dispatch:
      return "dispatch";
    case FakeForm::Call::handle:
      return "handle of control " + std::to_string(c.control);
    case FakeForm::Call::mouse_x:
      return "mouse_x -> " + std::to_string(c.value.integer);
    case FakeForm::Call::mouse_y:
      return "mouse_y -> " + std::to_string(c.value.integer);
  }
  return "?";
}

// Expected trace entries.
std::string set(ControlId c, int number, const Value& v) {
  return property_name(c, number) + " := " + value_text(v);
}
std::string set_text(ControlId c, int number, std::string t) {
  return set(c, number, Value::of_text(std::move(t)));
}
std::string set_bytes(ControlId c, int number, std::string_view b) {
  return set(c, number, Value::of_bytes(std::string(b)));
}
std::string read_text_of(ControlId c, int number, std::string t) {
  return "read " + property_name(c, number) + " -> " + value_text(Value::of_text(std::move(t)));
}

class TargetPicker : public ::testing::Test {
 protected:
  TargetPicker() {
    g_dragging = 0;
    g_hover_window = 0;
    form.handles[图片框_捕获鼠标] = kPickerHandle;
  }
  ~TargetPicker() override {
    g_dragging = 0;
    g_hover_window = 0;
  }

  // Form and platform calls merged in the order they were made.
  Trace trace() const {
    Trace out;
    std::size_t p = 0;
    for (std::size_t i = 0; i <= form.calls.size(); ++i) {
      for (; p < platform.calls.size() && platform.calls[p].at == i; ++p) {
        out.push_back(platform.calls[p].text);
      }
      if (i < form.calls.size()) out.push_back(form_call_text(form.calls[i]));
    }
    return out;
  }

  void clear_trace() {
    form.calls.clear();
    platform.calls.clear();
  }

  void move_pointer_to(std::int32_t x, std::int32_t y) {
    form.pointer_x = x;
    form.pointer_y = y;
  }

  // Presets every target field and label, so that writes show.
  void fill_fields(const std::string& text) {
    for (ControlId c : {编辑框_窗口句柄, 编辑框_窗口标题, 编辑框_Y, 编辑框_X}) {
      form.set_text(c, prop::edit_text, text);
    }
    for (ControlId c : {标签14, 标签15}) form.set_text(c, prop::label_caption, text);
  }

  std::string field(ControlId c) const { return form.get(c, prop::edit_text).bytes; }
  std::string caption(ControlId c) const { return form.get(c, prop::label_caption).bytes; }

  FakeForm form;
  MainFormGuard guard{form};
  FakePickerPlatform platform{form};
};

TEST_F(TargetPicker, BeginBlanksTheBoxShowsTheCrosshairPointerThenCapturesThePicker) {
  begin_target_drag();

  EXPECT_EQ(g_dragging, 1);
  const Trace expected{
      set_bytes(图片框_捕获鼠标, prop::mouse_pointer, crosshair_cursor),
      set_bytes(图片框_捕获鼠标, prop::picture, empty_picture),
      "dispatch",
      "handle of control " + std::to_string(图片框_捕获鼠标),
      "SetCapture(" + std::to_string(kPickerHandle) + ")",
  };
  EXPECT_EQ(trace(), expected);
}

TEST_F(TargetPicker, EndReleasesCaptureAndPutsTheCrosshairBack) {
  begin_target_drag();
  clear_trace();

  end_target_drag();

  EXPECT_EQ(g_dragging, 0);
  const Trace expected{
      "ReleaseCapture()",
      set_bytes(图片框_捕获鼠标, prop::mouse_pointer, idle_pointer),
      set_bytes(图片框_捕获鼠标, prop::picture, crosshair_cursor),
  };
  EXPECT_EQ(trace(), expected);
}

TEST_F(TargetPicker, EndAndTrackDoNothingWhileNotDragging) {
  fill_fields("7");
  g_hover_window = kOther;
  platform.windows[{10, 20}] = kNotepad;
  move_pointer_to(10, 20);

  end_target_drag();
  track_target_drag();

  EXPECT_EQ(g_dragging, 0);
  EXPECT_EQ(g_hover_window, kOther);
  EXPECT_EQ(trace(), Trace{});
}

TEST_F(TargetPicker, PressAndReleaseWithoutMovingChangesNoField) {
  fill_fields("7");
  platform.windows[{10, 20}] = kNotepad;
  move_pointer_to(10, 20);

  begin_target_drag();
  end_target_drag();

  for (ControlId c : {编辑框_窗口句柄, 编辑框_窗口标题, 编辑框_Y, 编辑框_X}) {
    EXPECT_EQ(field(c), "7") << "control " << c;
  }
  EXPECT_EQ(caption(标签14), "7");
  EXPECT_EQ(caption(标签15), "7");
  EXPECT_EQ(g_hover_window, 0u);
  EXPECT_EQ(g_dragging, 0);
}

// One movement during a drag, step by step: two pointer readings, the first
// lookup, the dispatch, handle and title, the second lookup at the cursor,
// the client origin, the cursor again, then Y before X and label 14 (from
// X) before label 15 (from Y).
TEST_F(TargetPicker, MovementWritesTheFieldsInOrder) {
  platform.windows[{420, 245}] = kNotepad;
  platform.client_origins[kNotepad] = {300, 200};
  platform.titles[kNotepad] = "无标题 - 记事本";
  begin_target_drag();
  move_pointer_to(420, 245);
  clear_trace();

  track_target_drag();

  const std::string notepad = std::to_string(kNotepad);
  const Trace expected{
      "mouse_x -> 420",
      "mouse_y -> 245",
      "WindowFromPoint(420,245) -> " + notepad,
      "dispatch",
      set_text(编辑框_窗口句柄, prop::edit_text, notepad),
      "GetWindowText(" + notepad + ", 256)",
      set_text(编辑框_窗口标题, prop::edit_text, "无标题 - 记事本"),
      "GetCursorPos -> 420,245",
      "WindowFromPoint(420,245) -> " + notepad,
      "ClientToScreen(" + notepad + ", 0,0) -> 300,200",
      "GetCursorPos -> 420,245",
      set_text(编辑框_Y, prop::edit_text, "120"),
      set_text(编辑框_X, prop::edit_text, "45"),
      read_text_of(编辑框_X, prop::edit_text, "45"),
      set_text(标签14, prop::label_caption, "45"),
      read_text_of(编辑框_Y, prop::edit_text, "120"),
      set_text(标签15, prop::label_caption, "120"),
  };
  EXPECT_EQ(trace(), expected);
  EXPECT_EQ(g_hover_window, kNotepad);
  EXPECT_EQ(g_dragging, 1);
}

struct MoveCase {
  const char* what;
  Point pointer;
  std::uintptr_t window;  // under the pointer, 0 for none
  Point client_origin;
  std::string handle, x, y;
};

void PrintTo(const MoveCase& c, std::ostream* os) { *os << c.what; }

class TargetPickerMoves : public TargetPicker, public ::testing::WithParamInterface<MoveCase> {};

TEST_P(TargetPickerMoves, FieldsDescribeTheWindowAndClientPointUnderThePointer) {
  const MoveCase& c = GetParam();
  if (c.window != 0) {
    platform.windows[c.pointer] = c.window;
    platform.client_origins[c.window] = c.client_origin;
    platform.titles[c.window] = "Target";
  }
  fill_fields("stale");
  begin_target_drag();
  move_pointer_to(c.pointer.x, c.pointer.y);

  track_target_drag();

  EXPECT_EQ(g_hover_window, c.window);
  EXPECT_EQ(field(编辑框_窗口句柄), c.handle);
  EXPECT_EQ(field(编辑框_窗口标题), c.window != 0 ? "Target" : "");
  EXPECT_EQ(field(编辑框_Y), c.x);
  EXPECT_EQ(field(编辑框_X), c.y);
  EXPECT_EQ(caption(标签14), c.y);
  EXPECT_EQ(caption(标签15), c.x);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TargetPickerMoves,
    ::testing::Values(
        MoveCase{"inside the client area", {420, 245}, kNotepad, {300, 200}, "131088", "120", "45"},
        MoveCase{"no window: client is screen", {1500, 900}, 0, {}, "0", "1500", "900"},
        MoveCase{"no window, left of the primary screen", {-40, -7}, 0, {}, "0", "-40", "-7"},
        MoveCase{"title bar", {350, 180}, kNotepad, {300, 200}, "131088", "50", "-20"},
        MoveCase{"left frame of the title bar", {297, 185}, kNotepad, {300, 200}, "131088", "-3",
                 "-15"},
        MoveCase{"right of and below the client area", {1000, 900}, kNotepad, {300, 200},
                 "131088", "700", "700"},
        MoveCase{"window on a screen left of the primary", {-150, 40}, kOther, {-600, 60},
                 "196642", "450", "-20"},
        MoveCase{"handle with the top bit set", {5, 6}, kHighHandle, {1, 2}, "-2147478988", "4",
                 "4"}),
    [](const ::testing::TestParamInfo<MoveCase>& info) {
      std::string name;
      for (const char* p = info.param.what; *p != '\0'; ++p) {
        name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
      }
      return name;
    });

struct TitleCase {
  const char* what;
  std::string title;
  std::string expected;
};

void PrintTo(const TitleCase& c, std::ostream* os) { *os << c.what; }

class TargetPickerTitles : public TargetPicker, public ::testing::WithParamInterface<TitleCase> {};

TEST_P(TargetPickerTitles, TitleIsCutTo255BytesOfWholeCharacters) {
  const TitleCase& c = GetParam();
  platform.windows[{10, 20}] = kNotepad;
  platform.titles[kNotepad] = c.title;
  begin_target_drag();
  move_pointer_to(10, 20);

  track_target_drag();

  const std::string written = field(编辑框_窗口标题);
  EXPECT_EQ(written.size(), c.expected.size());
  EXPECT_EQ(written, c.expected);
}

std::string repeat(const std::string& s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TargetPickerTitles,
    ::testing::Values(
        TitleCase{"empty", "", ""},
        TitleCase{"short", "记事本", "记事本"},
        TitleCase{"exactly_255", std::string(255, 'a'), std::string(255, 'a')},
        TitleCase{"300_single_bytes", std::string(300, 'a'), std::string(255, 'a')},
        // Byte 255 would be the lead byte of 中: the character goes whole.
        TitleCase{"lead_byte_at_255", std::string(254, 'a') + kZhong + "bc",
                  std::string(254, 'a')},
        TitleCase{"double_byte_ends_at_255", std::string(253, 'a') + kZhong + "bc",
                  std::string(253, 'a') + kZhong},
        TitleCase{"all_double_byte", repeat(kZhong, 150), repeat(kZhong, 127)},
        // Byte 255 is a trail byte that looks like a lead byte: kept.
        TitleCase{"trail_byte_at_255", "a" + repeat(kZhong, 140), "a" + repeat(kZhong, 127)},
        // 0x80 and 0xFF stand alone in CP936.
        TitleCase{"single_0x80_at_255", std::string(254, 'a') + "\x80\x80\x80",
                  std::string(254, 'a') + "\x80"},
        TitleCase{"single_0xFF_at_255", std::string(254, 'a') + "\xFF\xFF",
                  std::string(254, 'a') + "\xFF"}),
    [](const ::testing::TestParamInfo<TitleCase>& info) { return std::string(info.param.what); });

// The release can arrive while update_target_fields dispatches messages: it
// ends the drag there, and the update still writes all of its fields.
TEST_F(TargetPicker, ReleaseDuringTheUpdateEndsTheDragAndTheFieldsAreStillWritten) {
  platform.windows[{420, 245}] = kNotepad;
  platform.client_origins[kNotepad] = {300, 200};
  platform.titles[kNotepad] = "Notepad";
  fill_fields("stale");
  begin_target_drag();
  move_pointer_to(420, 245);
  form.on_dispatch = [] { end_target_drag(); };
  clear_trace();

  track_target_drag();

  EXPECT_EQ(g_dragging, 0);
  EXPECT_EQ(form.get(图片框_捕获鼠标, prop::mouse_pointer), Value::of_bytes(std::string(idle_pointer)));
  EXPECT_EQ(form.get(图片框_捕获鼠标, prop::picture),
            Value::of_bytes(std::string(crosshair_cursor)));

  const Trace t = trace();
  const auto dispatch = std::find(t.begin(), t.end(), "dispatch");
  ASSERT_GE(t.end() - dispatch, 4);
  const Trace release(dispatch + 1, dispatch + 4);
  EXPECT_EQ(release, (Trace{"ReleaseCapture()",
                            set_bytes(图片框_捕获鼠标, prop::mouse_pointer, idle_pointer),
                            set_bytes(图片框_捕获鼠标, prop::picture, crosshair_cursor)}));
  EXPECT_EQ(std::count(t.begin(), t.end(), "ReleaseCapture()"), 1);

  EXPECT_EQ(field(编辑框_窗口句柄), std::to_string(kNotepad));
  EXPECT_EQ(field(编辑框_窗口标题), "Notepad");
  EXPECT_EQ(field(编辑框_Y), "120");
  EXPECT_EQ(field(编辑框_X), "45");
  EXPECT_EQ(caption(标签14), "45");
  EXPECT_EQ(caption(标签15), "120");

  // The drag is over: a later movement changes nothing.
  form.on_dispatch = nullptr;
  move_pointer_to(10, 10);
  clear_trace();
  track_target_drag();
  EXPECT_EQ(trace(), Trace{});
}

// A further movement handled during the dispatch leaves the fields describing
// the latest position: the outer update reads the hovered window and the
// pointer afresh after the dispatch.
TEST_F(TargetPicker, MovementDuringTheUpdateLeavesTheLatestPosition) {
  platform.windows[{420, 245}] = kNotepad;
  platform.client_origins[kNotepad] = {300, 200};
  platform.titles[kNotepad] = "Notepad";
  platform.windows[{800, 600}] = kOther;
  platform.client_origins[kOther] = {700, 550};
  platform.titles[kOther] = "Other";
  begin_target_drag();
  move_pointer_to(420, 245);
  int nested = 0;
  form.on_dispatch = [&] {
    if (nested++ > 0) return;
    move_pointer_to(800, 600);
    track_target_drag();
  };

  track_target_drag();

  EXPECT_EQ(g_hover_window, kOther);
  EXPECT_EQ(field(编辑框_窗口句柄), std::to_string(kOther));
  EXPECT_EQ(field(编辑框_窗口标题), "Other");
  EXPECT_EQ(field(编辑框_Y), "100");
  EXPECT_EQ(field(编辑框_X), "50");
  EXPECT_EQ(caption(标签14), "50");
  EXPECT_EQ(caption(标签15), "100");
}

// Handle and title come from the lookup at the movement; the coordinates are
// relative to the window found at the cursor after the dispatch, and use the
// cursor as read last.
TEST_F(TargetPicker, CoordinatesFollowTheSecondLookupAndTheLastCursorReading) {
  platform.windows[{420, 245}] = kNotepad;
  platform.client_origins[kNotepad] = {300, 200};
  platform.titles[kNotepad] = "Notepad";
  platform.windows[{800, 600}] = kOther;
  platform.client_origins[kOther] = {700, 550};
  begin_target_drag();
  move_pointer_to(420, 245);
  // The pointer has gone on to the other window by the time of the lookup,
  // and a little further by the second reading.
  platform.cursor_script = {{800, 600}, {805, 611}};

  track_target_drag();

  EXPECT_EQ(g_hover_window, kNotepad);
  EXPECT_EQ(field(编辑框_窗口句柄), std::to_string(kNotepad));
  EXPECT_EQ(field(编辑框_窗口标题), "Notepad");
  EXPECT_EQ(field(编辑框_Y), "105");
  EXPECT_EQ(field(编辑框_X), "61");
}

}  // namespace
