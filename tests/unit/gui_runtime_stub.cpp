// The native test build has no GUI run time; the real one lives in
// runtime/win32/. Tests that reach the main window's layout link the program
// entry through its event bindings, so its run-time calls need definitions.
// None of them may actually run in a unit test: each one fails the test.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string_view>

#include "runtime/runtime.h"

namespace pelvrin {

void runtime_initialise() { ADD_FAILURE() << "runtime_initialise called in a unit test"; }

void set_exit_routine(void (*)()) { ADD_FAILURE() << "set_exit_routine called in a unit test"; }

Form& load_window(const Layout&, void (*)(Form&)) {
  ADD_FAILURE() << "load_window called in a unit test";
  std::abort();
}

void run_message_loop() { ADD_FAILURE() << "run_message_loop called in a unit test"; }

void open_web_address(std::string_view) {
  ADD_FAILURE() << "open_web_address called in a unit test";
}

}  // namespace pelvrin
