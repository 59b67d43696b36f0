// Checks of the test environment itself, not of the program: that
// messages and synthesized mouse input reach a window of the driver's own
// the way the clicking and picking cases rely on. Run these first when
// those cases fail for no visible reason.
#include "framework.h"
#include "target_window.h"
#include "windows_util.h"

namespace e2e {
namespace {

void check_received(const TargetWindow& target, UINT message, WPARAM wparam, POINT at) {
  for (const MouseMessage& m : target.messages()) {
    if (m.message == message && m.wparam == wparam && m.x() == at.x && m.y() == at.y) {
      check(true, format("%s wParam %llu at %ld,%ld received", message_name(message).c_str(),
                         static_cast<unsigned long long>(wparam), at.x, at.y));
      return;
    }
  }
  std::string seen;
  for (const MouseMessage& m : target.messages())
    seen += format(" [%s %llu %d,%d]", message_name(m.message).c_str(),
                   static_cast<unsigned long long>(m.wparam), m.x(), m.y());
  check(false, format("%s wParam %llu at %ld,%ld received; got:%s", message_name(message).c_str(),
                      static_cast<unsigned long long>(wparam), at.x, at.y,
                      seen.empty() ? " nothing" : seen.c_str()));
}

void target_window_case(const CaseContext&) {
  TargetWindow target(L"e2e target", RECT{100, 100, 500, 400});
  // Park the cursor away from the target, then forget what that caused.
  require(move_cursor_to(POINT{20, 20}), "the cursor can be parked at 20,20");
  pump_for(200);
  target.clear();

  const POINT posted{5, 6};
  PostMessageW(target.handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(posted.x, posted.y));
  pump_for(100);
  check_received(target, WM_LBUTTONDOWN, MK_LBUTTON, posted);
  target.clear();

  const POINT client{50, 40};
  const POINT screen = target.to_screen(client);
  require(move_cursor_to(screen), format("the cursor stays at %ld,%ld", screen.x, screen.y));
  mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
  mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
  wait_until(2000, [&] { return !target.messages_of(WM_LBUTTONUP).empty(); });
  check_received(target, WM_LBUTTONDOWN, MK_LBUTTON, client);
  check_received(target, WM_LBUTTONUP, 0, client);
}

const CaseRegistration target_registration{
    "harness-input", "the environment delivers posted and synthesized mouse input",
    &target_window_case};

}  // namespace
}  // namespace e2e
