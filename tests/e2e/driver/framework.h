// A tiny case runner for the end-to-end driver: named cases, checks that
// print what was expected and what was seen, and a failure that ends the
// current case.
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace e2e {

// What a case gets: the program to drive and any extra arguments.
struct CaseContext {
  std::wstring program;            // Windows path of the .exe under test
  std::vector<std::wstring> args;  // arguments after the program
};

using CaseFunction = void (*)(const CaseContext&);

struct Case {
  const char* name;
  const char* summary;
  CaseFunction run;
};

// Registers a case at static-initialisation time; one per case, at file
// scope: `static const e2e::CaseRegistration reg{"name", "what", &fn};`
struct CaseRegistration {
  CaseRegistration(const char* name, const char* summary, CaseFunction run);
};

const std::vector<Case>& registered_cases();

// Thrown by require() and fail(): ends the current case as failed.
struct CaseAborted {};

// Output. Everything goes to stdout, flushed at once, one line per call.
void say(const char* format, ...) __attribute__((format(gnu_printf, 1, 2)));
std::string format(const char* format, ...) __attribute__((format(gnu_printf, 1, 2)));
std::string utf8(const std::wstring& text);
std::wstring wide(const std::string& utf8_text);
// A quoted, printable form of a text for messages.
std::string quoted(const std::wstring& text);

// Checks. check() records a failure and goes on; require() and fail() end
// the case. All print "ok" or "FAIL" with the description.
bool check(bool ok, const std::string& what);
void require(bool ok, const std::string& what);
[[noreturn]] void fail(const std::string& what);

bool check_equal(long long seen, long long expected, const std::string& what);
bool check_equal(const std::wstring& seen, const std::wstring& expected, const std::string& what);

int failures();

// Sleeps while keeping the driver's own windows (if any) responsive.
void pump_for(DWORD milliseconds);

// Polls `ready` every 20 ms (pumping messages) until it is true or the
// time is up; returns its last value.
template <typename F>
bool wait_until(DWORD timeout_ms, F ready) {
  const ULONGLONG end = GetTickCount64() + timeout_ms;
  for (;;) {
    if (ready()) return true;
    if (GetTickCount64() >= end) return false;
    pump_for(20);
  }
}

// Environment helpers: a variable's value (empty when unset), and a Linux
// path turned into the Windows path Wine maps it to (Z:\...). Windows
// paths are returned unchanged.
std::wstring environment(const wchar_t* name);
std::wstring windows_path(const std::wstring& path);

// Asks the runner script for a screenshot of the whole screen, saved as
// NAME.png, and of `area` (screen coordinates), saved as NAME-crop.png.
// The request is the stdout line "READY-FOR-SCREENSHOT NAME L T W H"; the
// runner answers by creating the file named by PELVRIN_E2E_SCREENSHOT_DONE.
// Does nothing when that variable is unset (no screenshots wanted).
void request_screenshot(const char* name, const RECT& area);

}  // namespace e2e
