#include "runtime/layout.h"

namespace pelvrin {

bool layout_is_valid(const Layout& layout) {
  if (layout.window.width <= 0 || layout.window.height <= 0) return false;
  for (std::size_t i = 0; i < layout.controls.size(); ++i) {
    const ControlSpec& c = layout.controls[i];
    if (c.id != static_cast<ControlId>(i + 1)) return false;
    if (c.kind == Kind::window) return false;
    if (c.parent != 0) {
      if (c.parent < 1 || c.parent >= c.id) return false;
      if (layout.find(c.parent)->kind != Kind::group_box) return false;
    }
    if (c.width < 0 || c.height < 0) return false;
  }
  for (const EventBinding& e : layout.events) {
    if (e.handler == nullptr) return false;
    if (e.control != 0 && layout.find(e.control) == nullptr) return false;
  }
  return true;
}

Point client_position(const Layout& layout, ControlId id) {
  Point p{0, 0};
  for (const ControlSpec* c = layout.find(id); c != nullptr; c = layout.find(c->parent)) {
    p.x += c->left;
    p.y += c->top;
  }
  return p;
}

}  // namespace pelvrin
