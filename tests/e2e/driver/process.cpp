#include "process.h"

#include "framework.h"
#include "windows_util.h"

namespace e2e {

const wchar_t* const kMainCaption = L"Pelvrin（支持后台）";

namespace {

// The program's standard output and error (and those of anything it
// starts, such as Wine's crash reporter) go to the file named by
// PELVRIN_E2E_PROGRAM_LOG, appended, so that they never mix with the
// driver's own lines. Without that variable they go nowhere.
HANDLE program_output() {
  const std::wstring path = windows_path(environment(L"PELVRIN_E2E_PROGRAM_LOG"));
  SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
  HANDLE file = CreateFileW(path.empty() ? L"NUL" : path.c_str(), FILE_APPEND_DATA,
                            FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    fail(format("cannot open the program's log %s (error %lu)", utf8(path).c_str(), GetLastError()));
  return file;
}

std::string describe_exit_code(DWORD code) {
  switch (code) {
    case 0xC0000005: return "0xC0000005, an access violation";
    case 0xC00000FD: return "0xC00000FD, a stack overflow";
    case 0xC0000409: return "0xC0000409, a failed stack check or fast-fail";
    case 0xC000001D: return "0xC000001D, an illegal instruction";
    case 0x40000015: return "0x40000015, abort()";
    default: return format("%ld (0x%08lX)", static_cast<long>(static_cast<LONG>(code)), code);
  }
}

}  // namespace

Process Process::start(const std::wstring& program, const std::wstring& arguments) {
  std::wstring command_line = L"\"" + program + L"\"";
  if (!arguments.empty()) command_line += L" " + arguments;
  HANDLE output = program_output();
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = nullptr;
  startup.hStdOutput = output;
  startup.hStdError = output;
  Process p;
  const BOOL started = CreateProcessW(program.c_str(), &command_line[0], nullptr, nullptr, TRUE, 0,
                                      nullptr, nullptr, &startup, &p.info_);
  const DWORD error = GetLastError();
  CloseHandle(output);
  if (!started) fail(format("CreateProcessW(%s) failed, error %lu", utf8(program).c_str(), error));
  say("  started %s: pid %lu", utf8(program).c_str(), p.info_.dwProcessId);
  return p;
}

Process::Process(Process&& other) noexcept : info_(other.info_), end_reported_(other.end_reported_) {
  other.info_ = {};
}

Process::~Process() {
  if (info_.hProcess == nullptr) return;
  if (running()) {
    say("  (terminating pid %lu, still running at the end of the case)", info_.dwProcessId);
    terminate();
  } else if (!end_reported_) {
    DWORD code = 0;
    GetExitCodeProcess(info_.hProcess, &code);
    say("  (pid %lu had ended by itself with exit code %s)", info_.dwProcessId,
        describe_exit_code(code).c_str());
  }
  CloseHandle(info_.hThread);
  CloseHandle(info_.hProcess);
}

bool Process::running() const {
  return info_.hProcess != nullptr && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

bool Process::wait_exit(DWORD timeout_ms, DWORD* exit_code) {
  const ULONGLONG end = GetTickCount64() + timeout_ms;
  // Pump while waiting so that windows of the driver's own stay responsive.
  for (;;) {
    if (WaitForSingleObject(info_.hProcess, 0) == WAIT_OBJECT_0) break;
    if (GetTickCount64() >= end) return false;
    pump_for(20);
  }
  DWORD code = 0;
  GetExitCodeProcess(info_.hProcess, &code);
  if (exit_code) *exit_code = code;
  end_reported_ = true;
  return true;
}

bool Process::expect_exit(DWORD timeout_ms, DWORD expected_code, const std::string& what) {
  const ULONGLONG start = GetTickCount64();
  DWORD code = 0;
  if (!wait_exit(timeout_ms, &code)) {
    check(false, format("%s: the process did not end within %lu ms; terminating it", what.c_str(),
                        timeout_ms));
    terminate();
    return false;
  }
  say("  pid %lu ended after %llu ms with exit code %s", info_.dwProcessId,
      GetTickCount64() - start, describe_exit_code(code).c_str());
  return check(code == expected_code,
               format("%s: exit code 0x%08lX, expected 0x%08lX", what.c_str(), code, expected_code));
}

void Process::terminate() {
  if (!running()) return;
  TerminateProcess(info_.hProcess, 0xDEAD);
  WaitForSingleObject(info_.hProcess, 5000);
  end_reported_ = true;
}

namespace {

struct WindowSearch {
  DWORD pid;
  std::vector<HWND> found;
};

// Enumeration callbacks must have the platform's calling convention
// (stdcall on 32-bit Windows), which a lambda does not.
BOOL CALLBACK collect_window_of_process(HWND w, LPARAM p) {
  auto* s = reinterpret_cast<WindowSearch*>(p);
  DWORD owner = 0;
  GetWindowThreadProcessId(w, &owner);
  if (owner == s->pid) s->found.push_back(w);
  return TRUE;
}

}  // namespace

std::vector<HWND> top_level_windows(DWORD pid) {
  WindowSearch search{pid, {}};
  EnumWindows(collect_window_of_process, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND find_window(DWORD pid, const wchar_t* class_name, const std::wstring& caption) {
  for (HWND w : top_level_windows(pid)) {
    if (!IsWindowVisible(w)) continue;
    if (class_name != nullptr && class_of(w) != class_name) continue;
    if (caption_of(w) == caption) return w;
  }
  return nullptr;
}

HWND wait_for_window(Process& process, const wchar_t* class_name, const std::wstring& caption,
                     DWORD timeout_ms) {
  HWND found = nullptr;
  const ULONGLONG start = GetTickCount64();
  wait_until(timeout_ms, [&] {
    found = find_window(process.id(), class_name, caption);
    return found != nullptr || !process.running();
  });
  if (found != nullptr) {
    say("  window %s appeared after %llu ms", quoted(caption).c_str(), GetTickCount64() - start);
    return found;
  }
  DWORD code = 0;
  if (process.wait_exit(0, &code))
    fail(format("the process ended (exit code %s) before showing window %s",
                describe_exit_code(code).c_str(), quoted(caption).c_str()));
  std::string seen;
  for (HWND w : top_level_windows(process.id()))
    seen += format(" [%s %s%s]", utf8(class_of(w)).c_str(), quoted(caption_of(w)).c_str(),
                   IsWindowVisible(w) ? "" : " hidden");
  fail(format("no window %s within %lu ms; the process has:%s", quoted(caption).c_str(), timeout_ms,
              seen.empty() ? " no windows" : seen.c_str()));
}

Started start_program(const std::wstring& program, DWORD timeout_ms) {
  Process process = Process::start(program);
  HWND main = wait_for_window(process, nullptr, kMainCaption, timeout_ms);
  // The program is ready for input once its message loop waits.
  DWORD idle = WaitForInputIdle(process.handle(), 10000);
  if (idle != 0) say("  (WaitForInputIdle returned %lu)", idle);
  return Started{std::move(process), main};
}

}  // namespace e2e
