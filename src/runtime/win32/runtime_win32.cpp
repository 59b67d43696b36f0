// The run time's process-level services: start, exit routine, loading the
// window, the message loop, the web browser and fatal errors.
#include <windows.h>
#include <ole2.h>
#include <shellapi.h>

#include <memory>
#include <string>

#include "runtime/runtime.h"
#include "runtime/text_codec.h"
#include "runtime/win32/fatal.h"
#include "runtime/win32/ole.h"
#include "runtime/win32/win32_form.h"

namespace pelvrin {

namespace {

void (*g_exit_routine)() = nullptr;
std::unique_ptr<win32::Win32Form> g_form;
int g_quit_value = 0;
bool g_ole_initialised = false;

}  // namespace

void runtime_initialise() {
  // OLE is started only when a picture needs the system's picture loader
  // (ensure_ole_initialised): most windows never do, and starting it costs
  // start-up time.
}

namespace win32 {
void ensure_ole_initialised() {
  if (!g_ole_initialised) g_ole_initialised = SUCCEEDED(OleInitialize(nullptr));
}
}  // namespace win32

void set_exit_routine(void (*routine)()) { g_exit_routine = routine; }

Form& load_window(const Layout& layout, void (*on_built)(Form&)) {
  g_form = win32::Win32Form::build(layout);
  if (!g_form) fatal_error("载入启动窗口失败");
  if (on_built) on_built(*g_form);
  g_form->dispatch_pending();
  if (g_form->alive()) g_form->raise(0, Event::created);
  if (g_form->alive()) g_form->show();
  return *g_form;
}

void run_message_loop() {
  if (!g_form || !g_form->alive()) return;
  MSG msg{};
  BOOL got;
  while ((got = GetMessageW(&msg, nullptr, 0, 0)) > 0) win32::translate_and_dispatch(msg);
  g_quit_value = got == 0 ? static_cast<int>(msg.wParam) : 0;
}

int runtime_end() {
  if (void (*routine)() = g_exit_routine) {
    g_exit_routine = nullptr;  // at most once
    routine();
  }
  g_form.reset();
  if (g_ole_initialised) OleUninitialize();
  g_ole_initialised = false;
  return g_quit_value;
}

void open_web_address(std::string_view address) {
  std::string a(address);
  ShellExecuteA(nullptr, "open", a.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void fatal_error(std::string_view message) {
  g_exit_routine = nullptr;  // a fatal error does not run it
  std::u16string text = cp936_to_utf16(message);
  std::u16string title = cp936_to_utf16("错误");
  MessageBoxW(nullptr, reinterpret_cast<const wchar_t*>(text.c_str()),
              reinterpret_cast<const wchar_t*>(title.c_str()),
              MB_OK | MB_ICONERROR | MB_SETFOREGROUND | MB_TASKMODAL);
  ExitProcess(static_cast<UINT>(-1));
}

namespace win32 {
void fatal_error_bad_property() { fatal_error("无效的属性号"); }
}  // namespace win32

}  // namespace pelvrin
