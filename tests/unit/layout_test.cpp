// Layout checks (what the run time refuses to build) and the main window's
// layout against the design tables: every control's kind, parent, place,
// size, stacking, texts, looks and event bindings. The expected tables below
// are written from the design, not from the layout source.

#include "runtime/layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <map>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/click_controller.h"
#include "app/cursors.h"
#include "app/home_page.h"
#include "app/main_window_layout.h"
#include "app/program_entry.h"
#include "picker/target_picker.h"

namespace {

using pelvrin::Align;
using pelvrin::Border;
using pelvrin::ControlSpec;
using pelvrin::Ctl;
using pelvrin::Event;
using pelvrin::EventBinding;
using pelvrin::Kind;
using pelvrin::Layout;
using pelvrin::layout_is_valid;

// ---------------------------------------------------------------------------
// layout_is_valid on a small layout: a group box, a nested group box and a
// label inside it, with events on the window and the label.

void handler_a() {}

Layout small_layout() {
  Layout l;
  l.window = pelvrin::WindowSpec{.caption = "w", .width = 100, .height = 80};
  l.controls = {
      ControlSpec{.id = 1, .name = "outer", .kind = Kind::group_box, .parent = 0, .left = 5,
                  .top = 6, .width = 90, .height = 70},
      ControlSpec{.id = 2, .name = "inner", .kind = Kind::group_box, .parent = 1, .left = 10,
                  .top = 20, .width = 50, .height = 40},
      ControlSpec{.id = 3, .name = "label", .kind = Kind::label, .parent = 2, .left = 1,
                  .top = 2, .width = 10, .height = 10},
      ControlSpec{.id = 4, .name = "timer", .kind = Kind::timer, .parent = 0, .left = -3,
                  .top = -4, .width = 0, .height = 0},
  };
  l.events = {{0, Event::created, handler_a}, {3, Event::left_down, handler_a}};
  return l;
}

TEST(LayoutIsValid, AcceptsTheSmallLayout) { EXPECT_TRUE(layout_is_valid(small_layout())); }

TEST(LayoutIsValid, AcceptsTheMainWindowLayout) {
  EXPECT_TRUE(layout_is_valid(pelvrin::main_window_layout()));
}

struct Fault {
  const char* what;
  std::function<void(Layout&)> make;
};

void PrintTo(const Fault& f, std::ostream* os) { *os << f.what; }

class LayoutIsValidRefuses : public ::testing::TestWithParam<Fault> {};

TEST_P(LayoutIsValidRefuses, Fault) {
  Layout l = small_layout();
  GetParam().make(l);
  EXPECT_FALSE(layout_is_valid(l));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LayoutIsValidRefuses,
    ::testing::Values(
        Fault{"id one past its position", [](Layout& l) { l.controls[2].id = 4; }},
        Fault{"id 0 on the first control", [](Layout& l) { l.controls[0].id = 0; }},
        Fault{"two controls swapped", [](Layout& l) { std::swap(l.controls[1], l.controls[2]); }},
        Fault{"parent after the child",
              [](Layout& l) {
                l.controls.push_back(ControlSpec{.id = 5, .name = "late", .kind = Kind::group_box});
                l.controls[2].parent = 5;
              }},
        Fault{"parent is the control itself", [](Layout& l) { l.controls[1].parent = 2; }},
        Fault{"parent that does not exist", [](Layout& l) { l.controls[2].parent = 9; }},
        Fault{"negative parent", [](Layout& l) { l.controls[2].parent = -1; }},
        Fault{"parent is a label",
              [](Layout& l) {
                l.controls[3].parent = 3;  // the timer inside the label
              }},
        Fault{"parent is a timer",
              [](Layout& l) {
                l.controls.push_back(ControlSpec{.id = 5, .name = "x", .kind = Kind::label,
                                                 .parent = 4});
              }},
        Fault{"a control of the window's kind", [](Layout& l) { l.controls[2].kind = Kind::window; }},
        Fault{"negative width", [](Layout& l) { l.controls[2].width = -1; }},
        Fault{"negative height", [](Layout& l) { l.controls[2].height = -1; }},
        Fault{"missing handler", [](Layout& l) { l.events[1].handler = nullptr; }},
        Fault{"missing handler on the window", [](Layout& l) { l.events[0].handler = nullptr; }},
        Fault{"event on a control past the end",
              [](Layout& l) { l.events.push_back({5, Event::periodic, handler_a}); }},
        Fault{"event on a negative control",
              [](Layout& l) { l.events.push_back({-1, Event::periodic, handler_a}); }},
        Fault{"zero window width", [](Layout& l) { l.window.width = 0; }},
        Fault{"zero window height", [](Layout& l) { l.window.height = 0; }},
        Fault{"negative window size",
              [](Layout& l) {
                l.window.width = -100;
                l.window.height = -80;
              }}));

TEST(ClientPosition, AddsTheOffsetsOfEveryEnclosingGroupBox) {
  const Layout l = small_layout();
  auto at = [&](pelvrin::ControlId id) {
    pelvrin::Point p = pelvrin::client_position(l, id);
    return std::pair{p.x, p.y};
  };
  EXPECT_EQ(at(1), (std::pair{5, 6}));
  EXPECT_EQ(at(2), (std::pair{15, 26}));
  EXPECT_EQ(at(3), (std::pair{16, 28}));
  EXPECT_EQ(at(4), (std::pair{-3, -4}));
}

// ---------------------------------------------------------------------------
// The main window's layout against the design.

constexpr const char* kMain = "";  // parent: the main window
constexpr const char* kInfo = "分组框_窗口信息";
constexpr const char* kIntro = "分组框1";

// The places-and-stacking table, front to back within each parent.
struct Row {
  Ctl id;
  const char* name;
  Kind kind;
  const char* parent;
  int left, top, width, height;
  bool drawn;          // false for timers: "never drawn"
  int client_x, client_y;
  bool shown;          // at load
  bool tab;
};

// clang-format off
const Row kRows[] = {
    {Ctl::图片框_捕获鼠标, "图片框_捕获鼠标", Kind::picture_box, kMain,    4,   3,  40,  37, true,   4,   3, true,  false},
    {Ctl::分组框_窗口信息, "分组框_窗口信息", Kind::group_box,   kMain,   -4, -10, 476, 354, true,  -4, -10, true,  false},
    {Ctl::标签15,          "标签15",          Kind::label,       kInfo, 228,  47,  32,  16, true, 224,  37, true,  false},
    {Ctl::标签14,          "标签14",          Kind::label,       kInfo, 195,  47,  24,  16, true, 191,  37, true,  false},
    {Ctl::标签13,          "标签13",          Kind::label,       kInfo, 164,  47,  24,  16, true, 160,  37, true,  false},
    {Ctl::超级链接框1,     "超级链接框1",     Kind::hyperlink,   kInfo, 104, 233,  88,  19, true, 100, 223, true,  false},
    {Ctl::标签10,          "标签10",          Kind::label,       kInfo,  36, 234,  72,  16, true,  32, 224, true,  false},
    {Ctl::分组框1,         "分组框1",         Kind::group_box,   kInfo,  12, 154, 248,  80, true,   8, 144, true,  false},
    {Ctl::标签9,           "标签9",           Kind::label,       kIntro, 16,  33, 224,  39, true,  24, 177, true,  false},
    {Ctl::标签8,           "标签8",           Kind::label,       kIntro, 16,  10,  80,  24, true,  24, 154, true,  false},
    {Ctl::标签7,           "标签7",           Kind::label,       kInfo,  60, 130, 112,  24, true,  56, 120, true,  false},
    {Ctl::标签6,           "标签6",           Kind::label,       kInfo,  20, 130,  48,  24, true,  16, 120, true,  false},
    {Ctl::标签4,           "标签4",           Kind::label,       kInfo,  52,  42, 120,  24, true,  48,  32, true,  false},
    {Ctl::标签3,           "标签3",           Kind::label,       kInfo,  60,  18, 184,  24, true,  56,   8, true,  false},
    {Ctl::时钟3,           "时钟3",           Kind::timer,       kInfo, 308, 138,  64,  32, false,  0,   0, true,  false},
    {Ctl::时钟2,           "时钟2",           Kind::timer,       kInfo, 372, 122,  48,  24, false,  0,   0, true,  false},
    {Ctl::选择框1,         "选择框1",         Kind::check_box,   kInfo, 180,  98,  72,  32, true, 176,  88, true,  true},
    {Ctl::标签2,           "标签2",           Kind::label,       kInfo,  12,  98, 200,  32, true,   8,  88, true,  false},
    {Ctl::滑块条1,         "滑块条1",         Kind::slider,      kInfo,  25,  71, 216,  24, true,  21,  61, true,  true},
    {Ctl::时钟1,           "时钟1",           Kind::timer,       kInfo, 292, 298,  88,  32, false,  0,   0, true,  false},
    {Ctl::编辑框_X,        "编辑框_X",        Kind::edit_box,    kInfo,  84, 218,  24,  32, true,  80, 208, false, true},
    {Ctl::编辑框_Y,        "编辑框_Y",        Kind::edit_box,    kInfo,  78, 185,  14,  24, true,  74, 175, false, true},
    {Ctl::编辑框_窗口句柄, "编辑框_窗口句柄", Kind::edit_box,    kInfo, 158, 253, 130,  24, true, 154, 243, false, true},
    {Ctl::标签5,           "标签5",           Kind::label,       kInfo, 100, 254,  52,  24, true,  96, 244, true,  false},
    {Ctl::编辑框_窗口标题, "编辑框_窗口标题", Kind::edit_box,    kInfo, 158, 280, 130,  24, true, 154, 270, true,  true},
    {Ctl::标签1,           "标签1",           Kind::label,       kInfo, 100, 280,  52,  24, true,  96, 270, true,  false},
};
// clang-format on

const Layout& L() { return pelvrin::main_window_layout(); }

const ControlSpec* by_name(std::string_view name) {
  for (const ControlSpec& c : L().controls) {
    if (c.name == name) return &c;
  }
  return nullptr;
}

std::string_view parent_name(const ControlSpec& c) {
  if (c.parent == 0) return kMain;
  const ControlSpec* p = L().find(c.parent);
  return p ? p->name : std::string_view("<missing>");
}

TEST(MainWindowLayout, ControlsInStackingOrderWithKindParentPlaceAndSize) {
  ASSERT_EQ(L().controls.size(), std::size(kRows));
  for (std::size_t i = 0; i < std::size(kRows); ++i) {
    const Row& r = kRows[i];
    const ControlSpec& c = L().controls[i];
    SCOPED_TRACE("row " + std::to_string(i + 1));
    EXPECT_EQ(c.name, std::string_view(r.name));
    EXPECT_EQ(c.id, static_cast<pelvrin::ControlId>(i + 1));
    EXPECT_EQ(static_cast<pelvrin::ControlId>(r.id), c.id) << "the id constant names another row";
    EXPECT_EQ(static_cast<int>(c.kind), static_cast<int>(r.kind));
    EXPECT_EQ(parent_name(c), std::string_view(r.parent));
    EXPECT_EQ(c.left, r.left);
    EXPECT_EQ(c.top, r.top);
    EXPECT_EQ(c.width, r.width);
    EXPECT_EQ(c.height, r.height);
    EXPECT_EQ(c.tab_stop, r.tab);
    if (r.kind != Kind::timer) {
      EXPECT_EQ(c.visible, r.shown);
    }
  }
}

TEST(MainWindowLayout, ClientAreaColumn) {
  for (std::size_t i = 0; i < std::size(kRows); ++i) {
    const Row& r = kRows[i];
    if (!r.drawn) continue;
    pelvrin::Point p = pelvrin::client_position(L(), r.id);
    EXPECT_EQ(p.x, r.client_x) << "row " << i + 1;
    EXPECT_EQ(p.y, r.client_y) << "row " << i + 1;
  }
}

TEST(MainWindowLayout, Window) {
  const pelvrin::WindowSpec& w = L().window;
  EXPECT_EQ(w.caption, std::string_view("Pelvrin（支持后台）"));
  // Client area 263 x 253 under a 3-pixel fixed frame and a 19-pixel caption.
  EXPECT_EQ(w.width - 2 * 3, 263);
  EXPECT_EQ(w.height - 2 * 3 - 19, 253);
  EXPECT_TRUE(w.centred);
  EXPECT_TRUE(w.minimize_box);
  EXPECT_TRUE(w.close_on_escape);
}

TEST(MainWindowLayout, TextsAtLoad) {
  const std::map<std::string_view, std::string_view> kTexts = {
      {"分组框_窗口信息", ""},
      {"标签15", "100"},
      {"标签14", "100"},
      {"标签13", "坐标"},
      {"分组框1", "简介"},
      {"标签9", "开启后台功能后，将十字架拖到需要点击的位置，按F10，然后就可以去做其他的事情了。"},
      {"标签8", "1秒=1000毫秒"},
      {"标签7", ""},
      {"标签6", "状态："},
      {"标签4", "F10开始  F11关闭"},
      {"标签3", "←----勾选开启后台后将这个十字架拖到你要点击的位置即可"},
      {"选择框1", "开启后台"},
      {"标签2", "当前速度："},
      {"编辑框_X", ""},
      {"编辑框_Y", ""},
      {"编辑框_窗口句柄", ""},
      {"标签5", "窗口句柄"},
      {"编辑框_窗口标题", ""},
      {"标签1", "窗口标题"},
  };
  for (const auto& [name, text] : kTexts) {
    const ControlSpec* c = by_name(name);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->text, text) << "control " << c->id;
  }
  // The advert and the link's caption are free, but they are there.
  EXPECT_FALSE(by_name("标签10")->text.empty());
  const ControlSpec* link = by_name("超级链接框1");
  EXPECT_FALSE(link->text.empty());
  EXPECT_FALSE(link->address.empty());
  EXPECT_EQ(link->address, pelvrin::home_page_address);
}

struct Looks {
  bool has_color = false;
  pelvrin::Rgb color{0, 0, 0};
  bool song_bold = false;
  bool wrap = false;
  Align align = Align::left;
  Border border = Border::none;
  std::int32_t pointer = 0;
};

TEST(MainWindowLayout, ColoursFontsWrappingAlignmentBordersAndPointers) {
  constexpr pelvrin::Rgb kRed{255, 0, 0}, kBlue{0, 0, 255}, kGreen{0, 128, 0};
  // Everything not listed has the defaults.
  const std::map<std::string_view, Looks> kLooks = {
      {"图片框_捕获鼠标", {.border = Border::line}},
      {"标签15", {.has_color = true, .color = kBlue}},
      {"标签14", {.has_color = true, .color = kRed}},
      {"超级链接框1",
       {.has_color = true, .color = kBlue, .align = Align::center, .pointer = 32649}},
      {"标签9", {.wrap = true}},
      {"标签7", {.has_color = true, .color = kRed}},
      {"标签4", {.has_color = true, .color = kGreen, .song_bold = true}},
      {"标签3", {.has_color = true, .color = kRed, .song_bold = true, .wrap = true}},
      {"编辑框_X", {.border = Border::sunken}},
      {"编辑框_Y", {.border = Border::thin_sunken}},
      {"编辑框_窗口句柄", {.border = Border::thin_sunken}},
      {"标签5", {.align = Align::right}},
      {"编辑框_窗口标题", {.border = Border::thin_sunken}},
      {"标签1", {.align = Align::right}},
  };
  for (const ControlSpec& c : L().controls) {
    auto it = kLooks.find(c.name);
    const Looks want = it == kLooks.end() ? Looks{} : it->second;
    SCOPED_TRACE("control " + std::to_string(c.id));
    EXPECT_EQ(c.has_text_color, want.has_color);
    if (want.has_color) {
      EXPECT_EQ(c.text_color.r, want.color.r);
      EXPECT_EQ(c.text_color.g, want.color.g);
      EXPECT_EQ(c.text_color.b, want.color.b);
    }
    if (want.song_bold) {
      ASSERT_NE(c.font, nullptr);
      EXPECT_EQ(c.font->face, std::string_view("宋体"));
      EXPECT_EQ(c.font->weight, 700);
      EXPECT_EQ(c.font->height_px, 12);
    } else {
      EXPECT_EQ(c.font, nullptr);
    }
    EXPECT_EQ(c.word_wrap, want.wrap);
    EXPECT_EQ(static_cast<int>(c.align), static_cast<int>(want.align));
    EXPECT_EQ(static_cast<int>(c.border), static_cast<int>(want.border));
    EXPECT_EQ(c.pointer_code, want.pointer);
    // Only the picker has a background of its own: white.
    if (c.name == std::string_view("图片框_捕获鼠标")) {
      ASSERT_TRUE(c.has_back_color);
      EXPECT_EQ(c.back_color.r, 255);
      EXPECT_EQ(c.back_color.g, 255);
      EXPECT_EQ(c.back_color.b, 255);
    } else {
      EXPECT_FALSE(c.has_back_color);
    }
  }
}

TEST(MainWindowLayout, PickerShowsTheCrosshairCursor) {
  const ControlSpec* picker = by_name("图片框_捕获鼠标");
  ASSERT_NE(picker, nullptr);
  EXPECT_EQ(picker->picture, pelvrin::crosshair_cursor);
  EXPECT_FALSE(pelvrin::crosshair_cursor.empty());
  for (const ControlSpec& c : L().controls) {
    if (&c != picker) {
      EXPECT_TRUE(c.picture.empty()) << "control " << c.id;
    }
  }
}

TEST(MainWindowLayout, TimersCheckBoxAndSlider) {
  EXPECT_EQ(by_name("时钟3")->value, 1);
  EXPECT_EQ(by_name("时钟2")->value, 0);
  EXPECT_EQ(by_name("时钟1")->value, 0);
  EXPECT_EQ(by_name("选择框1")->value, 0);  // not ticked

  const ControlSpec* s = by_name("滑块条1");
  EXPECT_EQ(s->value, 1);
  EXPECT_EQ(s->min, 1);
  EXPECT_EQ(s->max, 30000);
  EXPECT_EQ(s->line_step, 1);
  EXPECT_EQ(s->page_step, 5);
  EXPECT_EQ(s->tick_frequency, 1);
}

TEST(MainWindowLayout, EventBindings) {
  struct Binding {
    std::string control;  // "" for the main window
    Event event;
    pelvrin::Handler handler;
    bool operator==(const Binding&) const = default;
  };
  const Binding kWant[] = {
      {"", Event::created, &pelvrin::init_click_controller},
      {"", Event::destroying, &pelvrin::open_home_page},
      {"图片框_捕获鼠标", Event::left_down, &pelvrin::begin_target_drag},
      {"图片框_捕获鼠标", Event::left_up, &pelvrin::end_target_drag},
      {"图片框_捕获鼠标", Event::mouse_move, &pelvrin::track_target_drag},
      {"滑块条1", Event::position_changed, &pelvrin::update_speed_label},
      {"时钟1", Event::periodic, &pelvrin::background_click_tick},
      {"时钟2", Event::periodic, &pelvrin::foreground_click_tick},
      {"时钟3", Event::periodic, &pelvrin::mirror_background_mode},
  };
  std::vector<Binding> got;
  for (const EventBinding& e : L().events) {
    const ControlSpec* c = L().find(e.control);
    got.push_back({e.control == 0 ? "" : c ? std::string(c->name) : "<missing>", e.event,
                   e.handler});
  }
  EXPECT_EQ(got.size(), std::size(kWant));
  for (std::size_t i = 0; i < std::size(kWant); ++i) {
    EXPECT_EQ(std::count(got.begin(), got.end(), kWant[i]), 1) << "binding " << i + 1;
  }
}

}  // namespace
