#include "app/program_entry.h"

#include "app/home_page.h"
#include "app/main_form.h"
#include "app/main_window_layout.h"
#include "hotkeys/hotkey_registry.h"
#include "runtime/runtime.h"

namespace pelvrin {

int program_entry() {
  runtime_initialise();
  create_hotkey_table();
  set_exit_routine(release_hotkey_table);
  // The created event (init_click_controller) runs inside the load.
  load_window(main_window_layout(), [](Form& form) { set_main_form(&form); });
  run_message_loop();
  return 0;
}

void open_home_page() { open_web_address(home_page_address); }

}  // namespace pelvrin
