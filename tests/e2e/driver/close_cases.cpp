// Closing the main window, each way a user or another program can: the
// process ends with exit code 0 and the home page is opened exactly once.
#include "browser_record.h"
#include "framework.h"
#include "process.h"
#include "windows_util.h"

namespace e2e {
namespace {

const DWORD kExitTimeoutMs = 15000;

// Starts the program, closes it with `close` and checks the ending.
template <typename Close>
void start_close_and_check(const CaseContext& context, const char* how, Close close) {
  say("-- %s", how);
  clear_browser_record();
  Started program = start_program(context.program);
  check(browser_calls().empty(), "no browser call before closing");
  close(program.main);
  program.process.expect_exit(kExitTimeoutMs, 0, std::string("after ") + how);
  check_one_web_address_opened(wait_for_browser_calls(10000, 1500));
}

void close_by_wm_close(const CaseContext& context) {
  start_close_and_check(context, "WM_CLOSE posted to the main window",
                        [](HWND main) { PostMessageW(main, WM_CLOSE, 0, 0); });
}

void close_by_sys_command(const CaseContext& context) {
  start_close_and_check(context, "WM_SYSCOMMAND SC_CLOSE posted to the main window",
                        [](HWND main) { PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0); });
}

// Esc typed on the keyboard while the focus is on the window itself (or
// wherever the window puts it when it gets it), on the check box or on the
// slider.
void close_by_escape(const CaseContext& context) {
  struct Focus {
    const char* name;
    int control_id;  // 0: the main window itself
  };
  const Focus focuses[] = {{"the main window", 0}, {"选择框1", 17}, {"滑块条1", 19}};
  for (const Focus& focus : focuses) {
    const std::string how = std::string("Esc with the focus on ") + focus.name;
    start_close_and_check(context, how.c_str(), [&](HWND main) {
      HWND wanted = focus.control_id == 0 ? main : control(main, focus.control_id);
      HWND focused = focus_window(wanted);
      const bool ok = focused == wanted ||
                      (focus.control_id == 0 && focused != nullptr && IsChild(main, focused));
      require(ok, format("the focus is on %s (it is on %p, id %d)", focus.name,
                         static_cast<void*>(focused), focused ? GetDlgCtrlID(focused) : 0));
      require(GetForegroundWindow() == main, "the main window is in the foreground");
      press_key(VK_ESCAPE);
    });
  }
}

const CaseRegistration wm_close_registration{
    "close-wmclose", "WM_CLOSE ends the program with 0 and opens the home page once",
    &close_by_wm_close};
const CaseRegistration sys_command_registration{
    "close-syscommand", "SC_CLOSE ends the program with 0 and opens the home page once",
    &close_by_sys_command};
const CaseRegistration escape_registration{
    "close-esc", "Esc (focus on window, check box, slider) ends with 0, home page once",
    &close_by_escape};

}  // namespace
}  // namespace e2e
