// The main window as it stands right after start: its caption, frame,
// place on the screen, and every control's parent, stacking, place, size,
// text, visibility, enabled state and tab stop.
#include "framework.h"
#include "process.h"
#include "windows_util.h"

#include <commctrl.h>

#include <algorithm>

namespace e2e {
namespace {

enum class TextCheck { exact, non_empty, none };

struct ExpectedControl {
  int id;               // dialog control id = place in the stacking order
  const wchar_t* name;
  int parent;           // control id of the parent; 0 is the main window
  int x, y, w, h;       // in the main window's client area
  bool visible;
  bool enabled;
  bool tab_stop;
  TextCheck text_check;
  const wchar_t* text;
};

// Front to back within each parent. Texts are those seen once the window
// has been created: the speed label has been rewritten and the picker
// disabled by then.
const ExpectedControl kControls[] = {
    {1, L"图片框_捕获鼠标", 0, 4, 3, 40, 37, true, false, false, TextCheck::none, L""},
    {2, L"分组框_窗口信息", 0, -4, -10, 476, 354, true, true, false, TextCheck::exact, L""},
    {3, L"标签15", 2, 224, 37, 32, 16, true, true, false, TextCheck::exact, L"100"},
    {4, L"标签14", 2, 191, 37, 24, 16, true, true, false, TextCheck::exact, L"100"},
    {5, L"标签13", 2, 160, 37, 24, 16, true, true, false, TextCheck::exact, L"坐标"},
    {6, L"超级链接框1", 2, 100, 223, 88, 19, true, true, false, TextCheck::non_empty, L""},
    {7, L"标签10", 2, 32, 224, 72, 16, true, true, false, TextCheck::non_empty, L""},
    {8, L"分组框1", 2, 8, 144, 248, 80, true, true, false, TextCheck::exact, L"简介"},
    {9, L"标签9", 8, 24, 177, 224, 39, true, true, false, TextCheck::exact,
     L"开启后台功能后，将十字架拖到需要点击的位置，按F10，然后就可以去做其他的事情了。"},
    {10, L"标签8", 8, 24, 154, 80, 24, true, true, false, TextCheck::exact, L"1秒=1000毫秒"},
    {11, L"标签7", 2, 56, 120, 112, 24, true, true, false, TextCheck::exact, L""},
    {12, L"标签6", 2, 16, 120, 48, 24, true, true, false, TextCheck::exact, L"状态："},
    {13, L"标签4", 2, 48, 32, 120, 24, true, true, false, TextCheck::exact, L"F10开始  F11关闭"},
    {14, L"标签3", 2, 56, 8, 184, 24, true, true, false, TextCheck::exact,
     L"←----勾选开启后台后将这个十字架拖到你要点击的位置即可"},
    {17, L"选择框1", 2, 176, 88, 72, 32, true, true, true, TextCheck::exact, L"开启后台"},
    {18, L"标签2", 2, 8, 88, 200, 32, true, true, false, TextCheck::exact, L"当前速度：1毫秒/次"},
    {19, L"滑块条1", 2, 21, 61, 216, 24, true, true, true, TextCheck::none, L""},
    {21, L"编辑框_X", 2, 80, 208, 24, 32, false, true, true, TextCheck::exact, L""},
    {22, L"编辑框_Y", 2, 74, 175, 14, 24, false, true, true, TextCheck::exact, L""},
    {23, L"编辑框_窗口句柄", 2, 154, 243, 130, 24, false, true, true, TextCheck::exact, L""},
    {24, L"标签5", 2, 96, 244, 52, 24, true, true, false, TextCheck::exact, L"窗口句柄"},
    {25, L"编辑框_窗口标题", 2, 154, 270, 130, 24, true, true, true, TextCheck::exact, L""},
    {26, L"标签1", 2, 96, 270, 52, 24, true, true, false, TextCheck::exact, L"窗口标题"},
};

// The timers have ids in the stacking order but are no windows among the
// controls.
const int kTimerIds[] = {15, 16, 20};

const int kScreenWidth = 1024, kScreenHeight = 768;
const int kOuterWidth = 269, kOuterHeight = 278;

std::string name_of(const ExpectedControl& c) { return utf8(c.name) + format(" (id %d)", c.id); }

void check_main_window(HWND main) {
  check_equal(caption_of(main), kMainCaption, "main window caption (title bar)");
  require(GetSystemMetrics(SM_CXSCREEN) == kScreenWidth &&
              GetSystemMetrics(SM_CYSCREEN) == kScreenHeight,
          format("the screen is %dx%d (saw %dx%d)", kScreenWidth, kScreenHeight,
                 GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)));
  RECT r{};
  GetWindowRect(main, &r);
  check_equal(r.right - r.left, kOuterWidth, "outer width");
  check_equal(r.bottom - r.top, kOuterHeight, "outer height");
  check_equal(r.left, (kScreenWidth - kOuterWidth) / 2, "left (centred)");
  check_equal(r.top, (kScreenHeight - kOuterHeight) / 2, "top (centred)");

  const LONG style = GetWindowLongW(main, GWL_STYLE);
  const LONG ex_style = GetWindowLongW(main, GWL_EXSTYLE);
  struct Flag {
    const char* name;
    LONG value;
    bool ex;
    bool expected;
  };
  const Flag flags[] = {
      {"WS_CAPTION", WS_CAPTION, false, true},         {"WS_SYSMENU", WS_SYSMENU, false, true},
      {"WS_MINIMIZEBOX", WS_MINIMIZEBOX, false, true}, {"WS_MAXIMIZEBOX", WS_MAXIMIZEBOX, false, false},
      {"WS_THICKFRAME", WS_THICKFRAME, false, false},  {"WS_CHILD", WS_CHILD, false, false},
      {"WS_EX_TOPMOST", WS_EX_TOPMOST, true, false},   {"WS_EX_TOOLWINDOW", WS_EX_TOOLWINDOW, true, false},
  };
  std::string wrong, seen;
  for (const Flag& f : flags) {
    const bool has = ((f.ex ? ex_style : style) & f.value) == f.value;
    seen += format(" %s%s", has ? "+" : "-", f.name);
    if (has != f.expected) wrong += format(" %s %s", f.expected ? "lacks" : "has", f.name);
  }
  check(wrong.empty(), "main window styles:" + (wrong.empty() ? seen : wrong));
  check(GetWindow(main, GW_OWNER) == nullptr, "main window has no owner (gets a task-bar button)");
  check(IsWindowVisible(main) != FALSE, "main window is visible");
}

// Stacking: the children of each parent, front to back.
void check_stacking(HWND main, const std::map<int, HWND>& by_id) {
  const int parents[] = {0, 2, 8};
  for (int parent : parents) {
    std::vector<int> expected;
    for (const ExpectedControl& c : kControls)
      if (c.parent == parent) expected.push_back(c.id);
    auto found = by_id.find(parent);
    HWND parent_window = parent == 0 ? main : (found == by_id.end() ? nullptr : found->second);
    if (parent_window == nullptr) continue;
    std::vector<int> seen;
    for (HWND w = GetWindow(parent_window, GW_CHILD); w != nullptr; w = GetWindow(w, GW_HWNDNEXT))
      seen.push_back(GetDlgCtrlID(w));
    auto list = [](const std::vector<int>& ids) {
      std::string s;
      for (int id : ids) s += format(" %d", id);
      return s;
    };
    check(seen == expected, format("children of %d front to back:%s (expected%s)", parent,
                                   list(seen).c_str(), list(expected).c_str()));
  }
}

// One line per control: what it is, or every way in which it is not, what
// it should be.
void check_control(HWND main, HWND window, const ExpectedControl& c, HWND expected_parent) {
  std::vector<std::string> wrong;
  auto expect = [&](bool ok, const std::string& what) {
    if (!ok) wrong.push_back(what);
  };
  expect(GetParent(window) == expected_parent, format("parent is not control %d", c.parent));
  const RECT r = rect_in_client(main, window);
  const RECT place{c.x, c.y, c.x + c.w, c.y + c.h};
  expect(EqualRect(&r, &place) != FALSE,
         format("place %s, expected %s", describe(r).c_str(), describe(place).c_str()));
  expect((IsWindowVisible(window) != FALSE) == c.visible, c.visible ? "hidden" : "visible");
  expect((IsWindowEnabled(window) != FALSE) == c.enabled, c.enabled ? "disabled" : "enabled");
  const bool tab_stop = (GetWindowLongW(window, GWL_STYLE) & WS_TABSTOP) != 0;
  expect(tab_stop == c.tab_stop, c.tab_stop ? "no tab stop" : "has a tab stop");
  const std::wstring text = c.text_check == TextCheck::none ? L"" : text_of(window);
  if (c.text_check == TextCheck::exact)
    expect(text == c.text, "text " + quoted(text) + ", expected " + quoted(c.text));
  if (c.text_check == TextCheck::non_empty) expect(!text.empty(), "empty text");

  if (wrong.empty()) {
    std::string seen = format("%s: in %d at %s, %s, %s%s", name_of(c).c_str(), c.parent,
                              describe(r).c_str(), c.visible ? "visible" : "hidden",
                              c.enabled ? "enabled" : "disabled", c.tab_stop ? ", tab stop" : "");
    if (c.text_check != TextCheck::none) seen += ", text " + quoted(text);
    check(true, seen);
  } else {
    std::string all;
    for (const std::string& w : wrong) all += (all.empty() ? "" : "; ") + w;
    check(false, name_of(c) + ": " + all);
  }
}

void check_check_box_and_slider(const std::map<int, HWND>& by_id) {
  auto at = [&](int id) {
    auto found = by_id.find(id);
    return found == by_id.end() ? nullptr : found->second;
  };
  if (HWND box = at(17)) check_equal(send(box, BM_GETCHECK), BST_UNCHECKED, "选择框1 BM_GETCHECK");
  if (HWND slider = at(19)) {
    struct Query {
      const char* what;
      UINT message;
      long long expected;
    };
    const Query queries[] = {
        {"滑块条1 position", TBM_GETPOS, 1},       {"滑块条1 minimum", TBM_GETRANGEMIN, 1},
        {"滑块条1 maximum", TBM_GETRANGEMAX, 30000}, {"滑块条1 line step", TBM_GETLINESIZE, 1},
        {"滑块条1 page step", TBM_GETPAGESIZE, 5},
    };
    for (const Query& q : queries) check_equal(send(slider, q.message), q.expected, q.what);
    check((GetWindowLongW(slider, GWL_STYLE) & TBS_VERT) == 0, "滑块条1 is horizontal");
  }
}

void layout_case(const CaseContext& context) {
  Started program = start_program(context.program);
  HWND main = program.main;
  // Let the first paint finish before looking (and before a screenshot).
  pump_for(500);

  check_main_window(main);

  // Every descendant, by id: each expected control exactly once, nothing
  // else, and no timer.
  std::map<int, HWND> by_id;
  std::string timers_found;
  for (const auto& [id, windows] : descendants_by_id(main)) {
    const bool expected = std::any_of(std::begin(kControls), std::end(kControls),
                                      [id = id](const ExpectedControl& c) { return c.id == id; });
    const bool timer = std::find(std::begin(kTimerIds), std::end(kTimerIds), id) != std::end(kTimerIds);
    if (timer) {
      timers_found += format(" %d (class %s)", id, utf8(class_of(windows[0])).c_str());
    } else if (!expected) {
      check(false, format("unexpected descendant: control id %d, class %s, %zu window(s)", id,
                          utf8(class_of(windows[0])).c_str(), windows.size()));
    } else if (windows.size() != 1) {
      check(false, format("control id %d is held by %zu windows", id, windows.size()));
    } else {
      by_id[id] = windows[0];
    }
  }
  check(timers_found.empty(), "no timer (ids 15, 16, 20) among the main window's descendants" +
                                  (timers_found.empty() ? "" : "; found:" + timers_found));

  for (const ExpectedControl& c : kControls) {
    auto found = by_id.find(c.id);
    if (found == by_id.end()) {
      check(false, name_of(c) + " is missing");
      continue;
    }
    HWND parent = c.parent == 0 ? main : (by_id.count(c.parent) ? by_id[c.parent] : nullptr);
    check_control(main, found->second, c, parent);
  }
  check_stacking(main, by_id);
  check_check_box_and_slider(by_id);

  RECT outer{};
  GetWindowRect(main, &outer);
  request_screenshot("window", outer);
  check(program.process.running(), "the program is still running after being looked at");

  // Close the window; the close cases check how it ends.
  PostMessageW(main, WM_CLOSE, 0, 0);
  DWORD code = 0;
  if (!program.process.wait_exit(15000, &code)) say("  (the program did not end after WM_CLOSE)");
}

const CaseRegistration layout_registration{
    "layout", "window caption, frame, place and every control as loaded", &layout_case};

}  // namespace
}  // namespace e2e
