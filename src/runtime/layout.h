// A window layout as data: the window's settings, its controls in stacking
// order (front to back within each parent) and the events bound to
// handlers. The Windows run time builds the live window from it; tests read
// it to know where each control should be.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "runtime/form.h"
#include "runtime/property.h"

namespace pelvrin {

struct Rgb {
  std::uint8_t r, g, b;
};

enum class Border { none, line, sunken, thin_sunken };
enum class Align { left, center, right };

// A font other than the window's default GUI font.
struct FontSpec {
  std::string_view face;  // CP936
  int height_px;          // character height
  int weight;             // 400 normal, 700 bold
};

enum class Event {
  created,          // window: all controls exist
  destroying,       // window: about to be destroyed
  left_down,        // left button pressed
  left_up,          // left button released
  mouse_move,       // mouse moved
  position_changed, // slider
  periodic,         // timer
};

using Handler = void (*)();

struct EventBinding {
  ControlId control;
  Event event;
  Handler handler;
};

struct ControlSpec {
  ControlId id = 0;        // equals its index in Layout::controls + 1
  std::string_view name;   // CP936, for diagnostics
  Kind kind = Kind::label;
  ControlId parent = 0;    // 0: the window
  int left = 0, top = 0, width = 0, height = 0;  // relative to parent's client area
  std::string_view text;   // caption, text or address (CP936)
  bool has_text_color = false;
  Rgb text_color{0, 0, 0};
  bool has_back_color = false;
  Rgb back_color{0, 0, 0};
  const FontSpec* font = nullptr;  // nullptr: default GUI font
  Border border = Border::none;
  Align align = Align::left;
  bool word_wrap = false;
  bool visible = true;
  bool tab_stop = false;
  std::int32_t value = 0;          // timer period, slider position, check state
  std::string_view picture;        // picture box: image file bytes
  std::int32_t pointer_code = 0;   // mouse pointer code at load
  std::string_view address;        // hyperlink: the web address
  // Slider settings.
  std::int32_t min = 0, max = 0, line_step = 1, page_step = 1, tick_frequency = 1;
};

struct WindowSpec {
  std::string_view caption;  // CP936
  int width = 0, height = 0; // outer size
  bool centred = true;
  bool minimize_box = true;
  bool close_on_escape = true;
};

struct Layout {
  WindowSpec window;
  std::vector<ControlSpec> controls;  // stacking order
  std::vector<EventBinding> events;

  const ControlSpec* find(ControlId id) const {
    return id >= 1 && id <= static_cast<ControlId>(controls.size()) ? &controls[id - 1]
                                                                     : nullptr;
  }
};

// Checks what the run time relies on before it builds anything: ids match
// positions, parents exist and come first and are group boxes or the window,
// events name existing controls with a handler. Returns false on any fault.
bool layout_is_valid(const Layout& layout);

// The position of a control in the window's client area (parents' offsets
// added).
struct Point {
  int x, y;
};
Point client_position(const Layout& layout, ControlId id);

}  // namespace pelvrin
