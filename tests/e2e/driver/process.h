// Starting the program under test, finding its windows and ending it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

// A child process. Whatever happens in a case, the destructor makes sure
// it is gone: a process still running then is terminated.
class Process {
 public:
  // Starts `program` (a Windows path) with `arguments`; fails the case
  // when CreateProcessW fails. The program's standard output and error go
  // to the file named by PELVRIN_E2E_PROGRAM_LOG.
  static Process start(const std::wstring& program, const std::wstring& arguments = L"");

  Process(Process&& other) noexcept;
  Process& operator=(Process&&) = delete;
  Process(const Process&) = delete;
  ~Process();

  DWORD id() const { return info_.dwProcessId; }
  DWORD main_thread_id() const { return info_.dwThreadId; }
  HANDLE handle() const { return info_.hProcess; }

  bool running() const;
  // Waits up to timeout_ms for the process to end. True when it ended;
  // then *exit_code holds its exit code.
  bool wait_exit(DWORD timeout_ms, DWORD* exit_code);
  // Waits for the end and checks the exit code; terminates the process
  // (and fails the check) when it does not end in time.
  bool expect_exit(DWORD timeout_ms, DWORD expected_code, const std::string& what);
  void terminate();

 private:
  Process() = default;
  PROCESS_INFORMATION info_{};
  bool end_reported_ = false;  // its end was seen by a case (or caused by terminate())
};

// Top-level windows that belong to process `pid`, in Z order.
std::vector<HWND> top_level_windows(DWORD pid);

// A visible top-level window of the process with the given class
// (nullptr: any) and caption, or nullptr.
HWND find_window(DWORD pid, const wchar_t* class_name, const std::wstring& caption);

// Waits until a visible top-level window of the process has the given
// class (nullptr: any) and caption, and returns it. Fails the case on
// timeout or when the process ends first (reporting its exit code).
HWND wait_for_window(Process& process, const wchar_t* class_name, const std::wstring& caption,
                     DWORD timeout_ms);

// The program's main window and its caption.
extern const wchar_t* const kMainCaption;

// Starts the program and waits for its main window to be shown and for
// the program to be idle. Fails the case otherwise.
struct Started {
  Process process;
  HWND main;
};
Started start_program(const std::wstring& program, DWORD timeout_ms = 30000);

}  // namespace e2e
