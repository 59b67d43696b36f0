// Linked ahead of pelvrin_win32 into pelvrin_broken_layout.exe, this
// definition replaces the program's own layout with one that the run time
// must refuse: the label names as its parent a group box that comes after
// it in the stacking order. Loading the window then fails, which is the
// fatal start-up path.
#include "app/main_window_layout.h"

namespace pelvrin {

const Layout& main_window_layout() {
  static const Layout layout = [] {
    Layout l;
    l.window.caption = "Pelvrin";
    l.window.width = 269;
    l.window.height = 278;

    ControlSpec label;
    label.id = 1;
    label.name = "标签1";
    label.kind = Kind::label;
    label.parent = 2;  // not yet created when this label is
    label.left = 4;
    label.top = 4;
    label.width = 52;
    label.height = 24;
    label.text = "窗口标题";

    ControlSpec group;
    group.id = 2;
    group.name = "分组框1";
    group.kind = Kind::group_box;
    group.width = 100;
    group.height = 100;

    l.controls = {label, group};
    return l;
  }();
  return layout;
}

}  // namespace pelvrin
