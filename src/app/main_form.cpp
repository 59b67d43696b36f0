#include "app/main_form.h"

#include <cassert>

namespace pelvrin {

namespace {
Form* g_main_form = nullptr;
}

Form& main_form() {
  assert(g_main_form != nullptr);
  return *g_main_form;
}

void set_main_form(Form* form) { g_main_form = form; }

}  // namespace pelvrin
