// Start-up hook for the Windows side of the hotkey registry.
#pragma once

#include <cstdint>

namespace pelvrin {

// Makes the registry use RegisterHotKey, SetWindowLong and CallWindowProcA.
// Run once at start-up, before any hotkey is registered.
void install_win32_hotkey_platform();

}  // namespace pelvrin
