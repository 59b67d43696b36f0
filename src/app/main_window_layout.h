// The main window's layout: control ids in stacking order and the table.
#pragma once

#include "runtime/layout.h"

namespace pelvrin {

// Control ids, in the layout's stacking order (front to back within each
// parent). 0 is the main window itself.
enum Ctl : ControlId {
  main_window = 0,
  图片框_捕获鼠标,
  分组框_窗口信息,
  标签15,
  标签14,
  标签13,
  超级链接框1,
  标签10,
  分组框1,
  标签9,
  标签8,
  标签7,
  标签6,
  标签4,
  标签3,
  时钟3,
  时钟2,
  选择框1,
  标签2,
  滑块条1,
  时钟1,
  编辑框_X,
  编辑框_Y,
  编辑框_窗口句柄,
  标签5,
  编辑框_窗口标题,
  标签1,
};

const Layout& main_window_layout();

}  // namespace pelvrin
