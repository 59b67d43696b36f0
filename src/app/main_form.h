// The form that the program's handlers act on: the loaded main window, or a
// test's fake. Set once the window's controls exist, before any of its
// events runs.
#pragma once

#include "runtime/form.h"

namespace pelvrin {

Form& main_form();
void set_main_form(Form* form);

}  // namespace pelvrin
