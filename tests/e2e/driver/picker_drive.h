// Driving the crosshair picker with the real mouse: the program's picker
// and target fields, pointer moves and button presses through the input
// stream, the picker's pixels on screen, and the program's resident memory.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "framework.h"
#include "process.h"
#include "target_window.h"

namespace e2e {

// Control ids of the picker and of what it writes.
enum PickerControl : int {
  kPicker = 1,          // 图片框_捕获鼠标
  kLabelClientX = 3,    // 标签15: a copy of 编辑框_Y
  kLabelClientY = 4,    // 标签14: a copy of 编辑框_X
  kBackgroundBox = 17,  // 选择框1
  kFieldClientY = 21,   // 编辑框_X holds the client y
  kFieldClientX = 22,   // 编辑框_Y holds the client x
  kFieldHandle = 23,    // 编辑框_窗口句柄
  kFieldTitle = 25,     // 编辑框_窗口标题
};

// The target fields and the two coordinate labels, as texts.
struct PickerFields {
  std::wstring handle, title, client_x, client_y, label_x, label_y;
  bool operator==(const PickerFields& o) const {
    return handle == o.handle && title == o.title && client_x == o.client_x &&
           client_y == o.client_y && label_x == o.label_x && label_y == o.label_y;
  }
  bool operator!=(const PickerFields& o) const { return !(*this == o); }
};

// What a pick of `window` at client point (x, y) must leave.
PickerFields fields_for(HWND window, const std::wstring& title, long x, long y);
std::string describe(const PickerFields& f);

// A window handle as the program writes it: a 32-bit signed decimal.
std::wstring handle_decimal(HWND window);

// The program under test with its picker.
class PickerProgram {
 public:
  explicit PickerProgram(const std::wstring& program);

  Process& process() { return started_.process; }
  HWND main() const { return started_.main; }
  HWND picker() const { return picker_; }

  PickerFields fields() const;
  // Whether the client x and y fields read x and y (two messages, not six).
  bool point_reads(long x, long y) const;
  // The window holding the mouse capture in the program's GUI thread.
  HWND capture() const;

  // Ticks or unticks 选择框1 with BM_CLICK, as a click does, and waits
  // until the picker follows (enabled exactly in background mode).
  void set_background_mode(bool on);

  // The picker's centre, in screen coordinates.
  POINT picker_centre() const;
  // The picker's interior (inside its border), in screen coordinates.
  RECT picker_interior() const;

  // Sends WM_CLOSE and checks the ending: exit code 0.
  void close();

 private:
  Started started_;
  HWND picker_ = nullptr;
  HWND field_x_ = nullptr, field_y_ = nullptr;  // looked up once: read in tight loops
};

// Pointer and button, through the system's input stream, without waiting.
// A step sets Wine's place of the cursor and queues a move event there,
// which the window under the pointer (or the capture) receives.
void pointer_step(POINT screen);
// A step that stays: Wine's warp of the X pointer grabs the pointer for a
// moment, and the desktop process handles the crossing event of that grab
// as a move to where the pointer was before, which can put Wine's cursor
// back there just after the step. Watches the cursor for `settle_ms` and
// steps again when it was put back (harmless then: the X pointer is
// already there). Returns how many steps were made again.
int pointer_settled(POINT screen, DWORD settle_ms);
void left_down();
void left_up();

// Pumps the driver's messages while polling `ready` every millisecond.
template <typename F>
bool wait_briefly(DWORD timeout_ms, F ready) {
  const ULONGLONG end = GetTickCount64() + timeout_ms;
  for (;;) {
    if (ready()) return true;
    if (GetTickCount64() >= end) return false;
    pump_for(1);
  }
}

// The careful drag of the single-pick cases: the pointer is parked on the
// picker's centre (move_cursor_to), pressed, taken to `to` in `steps` moves
// with the driver's messages pumped between them, and released; the
// capture is checked after the press and after the release. `while_held`
// runs with the button down and the pointer at `to`.
template <typename F>
void drag_picker(PickerProgram& program, POINT to, int steps, F while_held);
void drag_picker(PickerProgram& program, POINT to, int steps);

// How many pixels of `area` (screen coordinates) are not white, read off
// the screen DC.
int non_white_pixels(const RECT& area);

// The Linux process that runs `program`'s Wine process (found through
// /proc, among the processes of this driver's own Wine prefix), and its
// resident set size in kB; 0 when it cannot be found.
long linux_pid_of_program(const std::wstring& program_path);
long resident_kb(long linux_pid);

// The target: a window of the driver's own, left of the centred main
// window (which spans about 377..646 x 245..523), with a title that the
// program must carry over whatever the ANSI code page.
inline const wchar_t kTargetTitle[] = L"目标窗口 target";
inline const RECT kTargetOuter{40, 60, 340, 300};
// Away from both windows, for when the pointer must disturb nobody.
inline const POINT kParking{900, 700};

// Checks each target field and coordinate label against `expected`.
void check_fields(const PickerFields& seen, const PickerFields& expected);

// A client point of the target on screen; fails the case unless the point
// lies over the target.
POINT over_target(const TargetWindow& target, POINT client);

// " [WM_MOUSEMOVE 0 1,2] ..." for messages, at most `limit` of them.
std::string list_messages(const std::vector<MouseMessage>& messages, std::size_t limit = 12);

// F10 starts background clicking and F11 stops it: checks that every
// message the target receives in between is one of the three of a click
// (WM_MOUSEMOVE 2, WM_LBUTTONDOWN 1, WM_LBUTTONUP 0), in order, at `client`,
// that clicks arrived, and that none arrive after F11.
void check_background_clicks(TargetWindow& target, POINT client);

// Implementation of the template above.
void drag_picker_begin(PickerProgram& program, POINT to, int steps);
void drag_picker_end(PickerProgram& program);

template <typename F>
void drag_picker(PickerProgram& program, POINT to, int steps, F while_held) {
  drag_picker_begin(program, to, steps);
  try {
    while_held();
  } catch (...) {
    left_up();  // never leave the button down for the cases that follow
    throw;
  }
  drag_picker_end(program);
}

}  // namespace e2e
