// The main window's layout as data. This file defines main_window_layout()
// and nothing else, so that a test build can put another layout in its place.
#include "app/main_window_layout.h"

#include "app/click_controller.h"
#include "app/cursors.h"
#include "app/home_page.h"
#include "app/program_entry.h"
#include "picker/target_picker.h"

namespace pelvrin {

namespace {

constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kBlue{0, 0, 255};
constexpr Rgb kGreen{0, 128, 0};
constexpr Rgb kWhite{255, 255, 255};
constexpr FontSpec kSongBold{"宋体", 12, 700};
constexpr std::int32_t kHandPointer = 32649;

ControlSpec label(Ctl id, std::string_view name, Ctl parent, int left, int top, int width,
                  int height, std::string_view caption) {
  return ControlSpec{.id = id, .name = name, .kind = Kind::label, .parent = parent,
                     .left = left, .top = top, .width = width, .height = height,
                     .text = caption};
}

ControlSpec colored(ControlSpec c, Rgb color) {
  c.has_text_color = true;
  c.text_color = color;
  return c;
}

ControlSpec in_font(ControlSpec c, const FontSpec& font) {
  c.font = &font;
  return c;
}

ControlSpec wrapped(ControlSpec c) {
  c.word_wrap = true;
  return c;
}

ControlSpec right_aligned(ControlSpec c) {
  c.align = Align::right;
  return c;
}

ControlSpec timer(Ctl id, std::string_view name, int left, int top, int width, int height,
                  std::int32_t period) {
  return ControlSpec{.id = id, .name = name, .kind = Kind::timer, .parent = 分组框_窗口信息,
                     .left = left, .top = top, .width = width, .height = height,
                     .value = period};
}

ControlSpec edit(Ctl id, std::string_view name, int left, int top, int width, int height,
                 Border border, bool visible) {
  return ControlSpec{.id = id, .name = name, .kind = Kind::edit_box, .parent = 分组框_窗口信息,
                     .left = left, .top = top, .width = width, .height = height,
                     .border = border, .visible = visible, .tab_stop = true};
}

Layout build_layout() {
  Layout layout;
  layout.window = WindowSpec{.caption = "Pelvrin（支持后台）", .width = 269, .height = 278};
  const Ctl G = 分组框_窗口信息;
  layout.controls = {
      ControlSpec{.id = 图片框_捕获鼠标, .name = "图片框_捕获鼠标", .kind = Kind::picture_box,
                  .parent = main_window, .left = 4, .top = 3, .width = 40, .height = 37,
                  .has_back_color = true, .back_color = kWhite, .border = Border::line,
                  .picture = crosshair_cursor},
      ControlSpec{.id = 分组框_窗口信息, .name = "分组框_窗口信息", .kind = Kind::group_box,
                  .parent = main_window, .left = -4, .top = -10, .width = 476, .height = 354},
      colored(label(标签15, "标签15", G, 228, 47, 32, 16, "100"), kBlue),
      colored(label(标签14, "标签14", G, 195, 47, 24, 16, "100"), kRed),
      label(标签13, "标签13", G, 164, 47, 24, 16, "坐标"),
      ControlSpec{.id = 超级链接框1, .name = "超级链接框1", .kind = Kind::hyperlink, .parent = G,
                  .left = 104, .top = 233, .width = 88, .height = 19,
                  .text = "pelvrin.example", .has_text_color = true, .text_color = kBlue,
                  .align = Align::center, .pointer_code = kHandPointer,
                  .address = home_page_address},
      label(标签10, "标签10", G, 36, 234, 72, 16, "项目主页："),
      ControlSpec{.id = 分组框1, .name = "分组框1", .kind = Kind::group_box, .parent = G,
                  .left = 12, .top = 154, .width = 248, .height = 80, .text = "简介"},
      wrapped(label(标签9, "标签9", 分组框1, 16, 33, 224, 39,
                    "开启后台功能后，将十字架拖到需要点击的位置，按F10，然后就可以去做其他的事情了。")),
      label(标签8, "标签8", 分组框1, 16, 10, 80, 24, "1秒=1000毫秒"),
      colored(label(标签7, "标签7", G, 60, 130, 112, 24, ""), kRed),
      label(标签6, "标签6", G, 20, 130, 48, 24, "状态："),
      in_font(colored(label(标签4, "标签4", G, 52, 42, 120, 24, "F10开始  F11关闭"), kGreen),
              kSongBold),
      wrapped(in_font(colored(label(标签3, "标签3", G, 60, 18, 184, 24,
                                    "←----勾选开启后台后将这个十字架拖到你要点击的位置即可"),
                              kRed),
                      kSongBold)),
      timer(时钟3, "时钟3", 308, 138, 64, 32, 1),
      timer(时钟2, "时钟2", 372, 122, 48, 24, 0),
      ControlSpec{.id = 选择框1, .name = "选择框1", .kind = Kind::check_box, .parent = G,
                  .left = 180, .top = 98, .width = 72, .height = 32, .text = "开启后台",
                  .tab_stop = true, .value = 0},
      label(标签2, "标签2", G, 12, 98, 200, 32, "当前速度："),
      ControlSpec{.id = 滑块条1, .name = "滑块条1", .kind = Kind::slider, .parent = G,
                  .left = 25, .top = 71, .width = 216, .height = 24, .tab_stop = true,
                  .value = 1, .min = 1, .max = 30000, .line_step = 1, .page_step = 5,
                  .tick_frequency = 1},
      timer(时钟1, "时钟1", 292, 298, 88, 32, 0),
      edit(编辑框_X, "编辑框_X", 84, 218, 24, 32, Border::sunken, false),
      edit(编辑框_Y, "编辑框_Y", 78, 185, 14, 24, Border::thin_sunken, false),
      edit(编辑框_窗口句柄, "编辑框_窗口句柄", 158, 253, 130, 24, Border::thin_sunken, false),
      right_aligned(label(标签5, "标签5", G, 100, 254, 52, 24, "窗口句柄")),
      edit(编辑框_窗口标题, "编辑框_窗口标题", 158, 280, 130, 24, Border::thin_sunken, true),
      right_aligned(label(标签1, "标签1", G, 100, 280, 52, 24, "窗口标题")),
  };
  layout.events = {
      {main_window, Event::created, init_click_controller},
      {main_window, Event::destroying, open_home_page},
      {图片框_捕获鼠标, Event::left_down, begin_target_drag},
      {图片框_捕获鼠标, Event::left_up, end_target_drag},
      {图片框_捕获鼠标, Event::mouse_move, track_target_drag},
      {滑块条1, Event::position_changed, update_speed_label},
      {时钟1, Event::periodic, background_click_tick},
      {时钟2, Event::periodic, foreground_click_tick},
      {时钟3, Event::periodic, mirror_background_mode},
  };
  return layout;
}

}  // namespace

const Layout& main_window_layout() {
  static const Layout layout = build_layout();
  return layout;
}

}  // namespace pelvrin
