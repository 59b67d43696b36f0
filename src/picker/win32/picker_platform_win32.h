// Installs the Windows implementation of the target picker's platform calls.
// Kept free of <windows.h> so that start-up code can include it anywhere.
#pragma once

namespace pelvrin {

void install_win32_picker_platform();

}  // namespace pelvrin
