#pragma once

namespace pelvrin {

// The program's main routine: the whole life of the window passes inside.
int program_entry();

// The window's about-to-be-destroyed event: opens the home page.
void open_home_page();

}  // namespace pelvrin
