// The GUI run time's process-level services. Declared here without any
// platform types; the Windows implementation is in runtime/win32/.
#pragma once

#include <string_view>

#include "runtime/form.h"
#include "runtime/layout.h"

namespace pelvrin {

// Must run before anything else of the program.
void runtime_initialise();

// The one routine run when the process ends normally; it runs at most once.
// A fatal error forgets it.
void set_exit_routine(void (*routine)());

// Builds the window and its controls from `layout`, hands its form to
// `on_built` (before any of its events runs), dispatches the messages
// pending then, raises its created event and shows it. A layout that cannot
// be loaded is a fatal error ("载入启动窗口失败").
Form& load_window(const Layout& layout, void (*on_built)(Form&));

// Runs the message loop while a loaded window exists, until the quit message.
void run_message_loop();

// Runs the exit routine (once) and releases the run time's own resources.
// Returns the process exit code: the quit message's value.
int runtime_end();

// Asks the shell to open a web address with the verb "open"; the result is
// not looked at.
void open_web_address(std::string_view address);

// Shows a box titled "错误" with the error icon and `message`, then ends the
// process with exit code -1 without running the exit routine.
[[noreturn]] void fatal_error(std::string_view message);

}  // namespace pelvrin
