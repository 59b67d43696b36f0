#include "browser_record.h"

#include <windows.h>

#include "framework.h"

namespace e2e {
namespace {

std::wstring record_path() {
  std::wstring linux_path = environment(L"PELVRIN_E2E_BROWSER_LOG");
  if (linux_path.empty())
    fail("PELVRIN_E2E_BROWSER_LOG is not set: run the driver through tests/e2e/run_case.sh");
  return windows_path(linux_path);
}

std::string read_file(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  std::string content;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) content.append(buffer, got);
  CloseHandle(file);
  return content;
}

std::vector<std::string> split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::string::size_type start = 0;
  for (;;) {
    auto end = text.find(separator, start);
    parts.push_back(text.substr(start, end - start));
    if (end == std::string::npos) return parts;
    start = end + 1;
  }
}

}  // namespace

void clear_browser_record() {
  std::wstring path = record_path();
  if (!DeleteFileW(path.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND)
    fail(format("cannot empty the browser record %s (error %lu)", utf8(path).c_str(), GetLastError()));
}

std::vector<BrowserCall> browser_calls() {
  std::vector<BrowserCall> calls;
  for (const std::string& line : split(read_file(record_path()), '\n')) {
    if (line.empty()) continue;
    std::vector<std::string> fields = split(line, '\t');
    BrowserCall call;
    call.arguments.assign(fields.begin() + 1, fields.end());
    // A line whose count disagrees with its fields (an argument holding a
    // tab or newline) still shows up as a call, with what could be read.
    if (fields[0] != std::to_string(call.arguments.size()))
      call.arguments.push_back("<garbled record line: " + line + ">");
    calls.push_back(call);
  }
  return calls;
}

std::vector<BrowserCall> wait_for_browser_calls(unsigned first_ms, unsigned settle_ms) {
  const ULONGLONG start = GetTickCount64();
  bool any = wait_until(first_ms, [] { return !browser_calls().empty(); });
  if (any) {
    say("  browser called after %llu ms; watching %u ms more for further calls",
        GetTickCount64() - start, settle_ms);
    pump_for(settle_ms);
  } else {
    say("  no browser call within %u ms", first_ms);
  }
  return browser_calls();
}

bool is_web_address(const std::string& text) {
  std::string rest;
  if (text.compare(0, 7, "http://") == 0) rest = text.substr(7);
  else if (text.compare(0, 8, "https://") == 0) rest = text.substr(8);
  else return false;
  const std::string host = rest.substr(0, rest.find_first_of("/?#"));
  if (host.empty()) return false;
  for (char c : text)
    if (static_cast<unsigned char>(c) <= ' ') return false;
  return true;
}

void check_one_web_address_opened(const std::vector<BrowserCall>& calls) {
  for (const BrowserCall& call : calls) {
    std::string line;
    for (const std::string& a : call.arguments) line += " [" + a + "]";
    say("  browser call:%s", line.c_str());
  }
  if (!check(calls.size() == 1, format("the browser was called once (calls: %zu)", calls.size())))
    return;
  const std::vector<std::string>& args = calls[0].arguments;
  if (!check(args.size() == 1, format("it got one argument (got %zu)", args.size()))) return;
  check(is_web_address(args[0]), "it is an absolute http(s) address: " + args[0]);
}

}  // namespace e2e
