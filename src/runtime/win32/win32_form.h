// The live window built from a layout, and the property model on top of it.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "runtime/form.h"
#include "runtime/layout.h"
#include "runtime/timer_schedule.h"
#include "runtime/win32/handles.h"
#include "runtime/win32/mouse_pointer.h"
#include "runtime/win32/picture.h"

namespace pelvrin::win32 {

struct ControlState {
  const ControlSpec* settings = nullptr;  // nullptr for the window itself
  HWND hwnd = nullptr;                // owned by its parent window (timers: by `timer_window`)
  Text text;                          // last caption written (labels, check box)
  Text tag;
  bool disabled = false;
  MousePointer pointer;
  Picture picture;                    // picture boxes
  std::int32_t slider_position = 0;   // last position the slider reported
  TimerSchedule schedule;             // timers
  std::uint64_t schedule_generation = 0;
  UniqueWindow timer_window;
  UniqueFont own_font;                // a font that only this control uses
  int left = 0, top = 0, width = 0, height = 0;  // timers: their place in the layout
  // Hyperlink state.
  bool hovered = false;
  bool visited = false;
  bool pressed = false;
};

class Win32Form final : public Form {
 public:
  // Builds the window; returns nullptr when it cannot be built.
  static std::unique_ptr<Win32Form> build(const Layout& layout);
  ~Win32Form() override;

  Value read(ControlId control, int number) override;
  void write(ControlId control, int number, const Value& value) override;
  std::uintptr_t window_handle(ControlId control) override;
  void dispatch_pending() override;
  std::int32_t mouse_x() override;
  std::int32_t mouse_y() override;

  HWND main_window() const { return controls_[0].hwnd; }
  bool alive() const { return controls_[0].hwnd != nullptr; }
  bool closes_on_escape() const { return layout_.window.close_on_escape; }
  void raise(ControlId control, Event event);
  void show();

  // Window procedures of the run time's own classes reach the form here.
  static Win32Form* instance() { return instance_; }
  LRESULT main_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT group_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT picture_proc(ControlState& c, HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT hyperlink_proc(ControlState& c, HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  void on_timer(ControlState& c);
  ControlState* from_window(HWND hwnd);

 private:
  explicit Win32Form(const Layout& layout);
  bool create_window();
  bool create_control(ControlState& c);
  void apply_pointer(ControlState& c, std::string_view bytes);
  bool set_cursor_for(HWND hwnd, LPARAM hit);
  void set_period(ControlState& c, std::int32_t period);
  HFONT font_for(const ControlState& c) const;

  const Layout& layout_;
  std::vector<ControlState> controls_;  // [0] is the window
  UniqueFont hyperlink_font_;
  bool dispatching_ = false;  // dispatch_pending() is running further up the stack
  static inline Win32Form* instance_ = nullptr;
};

// A message registered under this name, sent to the main window with
// wParam 0-5, returns how many cursors, icons, bitmaps, OLE pictures, fonts
// and timer windows the run time owns right now (-1 for another wParam).
inline constexpr wchar_t kLiveHandlesMessage[] = L"Pelvrin.LiveHandles";
int live_handle_count(int kind);

// The message loop's handling of one message: Esc on the window closes it.
void translate_and_dispatch(MSG& msg);

}  // namespace pelvrin::win32
