// Process entry on Windows: wire the platform adapters, run the program,
// and end with the run time's exit code.
#include <windows.h>

#include "app/program_entry.h"
#include "clicking/win32/click_platform_win32.h"
#include "hotkeys/win32/hotkey_platform_win32.h"
#include "picker/win32/picker_platform_win32.h"
#include "runtime/runtime.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // Only DLLs from the system folder: never one planted beside the .exe.
  SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
  pelvrin::install_win32_hotkey_platform();
  pelvrin::install_win32_click_platform();
  pelvrin::install_win32_picker_platform();
  pelvrin::program_entry();
  return pelvrin::runtime_end();
}
