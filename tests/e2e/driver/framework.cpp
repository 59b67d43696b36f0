#include "framework.h"

#include <cstdarg>

namespace e2e {
namespace {

std::vector<Case>& case_list() {
  static std::vector<Case> cases;
  return cases;
}

int g_failures = 0;

std::string vformat(const char* fmt, va_list args) {
  va_list copy;
  va_copy(copy, args);
  int n = std::vsnprintf(nullptr, 0, fmt, copy);
  va_end(copy);
  std::string out(n > 0 ? static_cast<std::size_t>(n) : 0, '\0');
  if (n > 0) std::vsnprintf(&out[0], out.size() + 1, fmt, args);
  return out;
}

}  // namespace

CaseRegistration::CaseRegistration(const char* name, const char* summary, CaseFunction run) {
  case_list().push_back(Case{name, summary, run});
}

const std::vector<Case>& registered_cases() { return case_list(); }

void say(const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  std::string line = vformat(fmt, args);
  va_end(args);
  line += '\n';
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fflush(stdout);
}

std::string format(const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  std::string s = vformat(fmt, args);
  va_end(args);
  return s;
}

std::string utf8(const std::wstring& text) {
  if (text.empty()) return {};
  int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                              nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], n, nullptr,
                      nullptr);
  return out;
}

std::wstring wide(const std::string& text) {
  if (text.empty()) return {};
  int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], n);
  return out;
}

std::string quoted(const std::wstring& text) {
  std::wstring printable;
  for (wchar_t c : text) {
    if (c < 0x20 || c == 0x7f) {
      wchar_t buf[8];
      swprintf(buf, 8, L"\\x%02x", static_cast<unsigned>(c));
      printable += buf;
    } else {
      printable += c;
    }
  }
  return "\"" + utf8(printable) + "\"";
}

bool check(bool ok, const std::string& what) {
  say("  %s %s", ok ? "ok  " : "FAIL", what.c_str());
  if (!ok) ++g_failures;
  return ok;
}

void require(bool ok, const std::string& what) {
  if (!check(ok, what)) throw CaseAborted{};
}

void fail(const std::string& what) {
  check(false, what);
  throw CaseAborted{};
}

bool check_equal(long long seen, long long expected, const std::string& what) {
  if (seen == expected) return check(true, format("%s = %lld", what.c_str(), seen));
  return check(false, format("%s: expected %lld, saw %lld", what.c_str(), expected, seen));
}

bool check_equal(const std::wstring& seen, const std::wstring& expected, const std::string& what) {
  if (seen == expected) return check(true, what + " = " + quoted(seen));
  return check(false, what + ": expected " + quoted(expected) + ", saw " + quoted(seen));
}

int failures() { return g_failures; }

void pump_for(DWORD milliseconds) {
  const ULONGLONG end = GetTickCount64() + milliseconds;
  for (;;) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    ULONGLONG now = GetTickCount64();
    if (now >= end) return;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
  }
}

std::wstring environment(const wchar_t* name) {
  DWORD n = GetEnvironmentVariableW(name, nullptr, 0);
  if (n == 0) return {};
  std::wstring value(n, L'\0');
  n = GetEnvironmentVariableW(name, &value[0], n);
  value.resize(n);
  return value;
}

std::wstring windows_path(const std::wstring& path) {
  if (path.empty() || path[0] != L'/') return path;
  std::wstring out = L"Z:" + path;
  for (wchar_t& c : out)
    if (c == L'/') c = L'\\';
  return out;
}

}  // namespace e2e

namespace e2e {

void request_screenshot(const char* name, const RECT& area) {
  const std::wstring done = windows_path(environment(L"PELVRIN_E2E_SCREENSHOT_DONE"));
  if (done.empty()) return;
  DeleteFileW(done.c_str());
  say("READY-FOR-SCREENSHOT %s %ld %ld %ld %ld", name, area.left, area.top, area.right - area.left,
      area.bottom - area.top);
  const bool taken = wait_until(30000, [&] {
    return GetFileAttributesW(done.c_str()) != INVALID_FILE_ATTRIBUTES;
  });
  check(taken, format("screenshot %s taken", name));
  DeleteFileW(done.c_str());
}

}  // namespace e2e
