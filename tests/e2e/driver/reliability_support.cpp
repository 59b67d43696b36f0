#include "reliability_support.h"

#include <commctrl.h>
#include <tlhelp32.h>

#include <cstring>
#include <cwctype>

#include "windows_util.h"

namespace e2e {

std::string cp936(const std::wstring& text) {
  if (text.empty()) return {};
  const int n = WideCharToMultiByte(936, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0,
                                    nullptr, nullptr);
  if (n <= 0) fail(format("WideCharToMultiByte(936) failed, error %lu", GetLastError()));
  std::string bytes(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(936, 0, text.c_str(), static_cast<int>(text.size()), &bytes[0], n, nullptr,
                      nullptr);
  return bytes;
}

std::string f10_identifier_bytes() {
  std::string bytes;
  for (int i = 0; i < 18; ++i) bytes += "\xB0\xA1";  // 啊
  return bytes;
}

std::string f11_identifier_bytes() { return "\xB0\xB5\xB0\xB5"; }  // 暗暗

namespace {

std::string hex(const std::string& bytes) {
  std::string s;
  for (unsigned char c : bytes) s += format("%02X ", c);
  if (!s.empty()) s.pop_back();
  return s;
}

// The main module of process `pid`: its base address.
std::uintptr_t image_base(DWORD pid, const std::wstring& program) {
  HANDLE snapshot = INVALID_HANDLE_VALUE;
  for (int attempt = 0; attempt < 10 && snapshot == INVALID_HANDLE_VALUE; ++attempt) {
    snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, pid);
    if (snapshot == INVALID_HANDLE_VALUE && GetLastError() != ERROR_BAD_LENGTH) break;
  }
  if (snapshot == INVALID_HANDLE_VALUE)
    fail(format("CreateToolhelp32Snapshot of the program's modules failed, error %lu",
                GetLastError()));
  std::wstring name = program.substr(program.find_last_of(L"\\/") + 1);
  for (wchar_t& c : name) c = static_cast<wchar_t>(std::towlower(c));
  MODULEENTRY32W entry{};
  entry.dwSize = sizeof entry;
  std::uintptr_t first = 0, named = 0;
  for (BOOL more = Module32FirstW(snapshot, &entry); more; more = Module32NextW(snapshot, &entry)) {
    const auto base = reinterpret_cast<std::uintptr_t>(entry.modBaseAddr);
    if (first == 0) first = base;
    std::wstring module = entry.szModule;
    for (wchar_t& c : module) c = static_cast<wchar_t>(std::towlower(c));
    if (named == 0 && module == name) named = base;
  }
  CloseHandle(snapshot);
  if (named == 0 && first == 0) fail("the program's module snapshot lists no module");
  return named != 0 ? named : first;
}

template <typename T>
T read_remote(HANDLE process, std::uintptr_t address, const char* what) {
  T value{};
  SIZE_T got = 0;
  if (!ReadProcessMemory(process, reinterpret_cast<const void*>(address), &value, sizeof value,
                         &got) ||
      got != sizeof value)
    fail(format("reading the program's %s at 0x%llx failed, error %lu", what,
                static_cast<unsigned long long>(address), GetLastError()));
  return value;
}

// A range of the program's memory; pages that cannot be read stay zero.
std::string read_range(HANDLE process, std::uintptr_t address, std::size_t size) {
  std::string data(size, '\0');
  SIZE_T got = 0;
  if (ReadProcessMemory(process, reinterpret_cast<const void*>(address), &data[0], size, &got) &&
      got == size)
    return data;
  const std::size_t page = 4096;
  for (std::size_t at = 0; at < size; at += page) {
    const std::size_t n = size - at < page ? size - at : page;
    ReadProcessMemory(process, reinterpret_cast<const void*>(address + at), &data[at], n, &got);
  }
  return data;
}

}  // namespace

std::vector<std::uintptr_t> constant_text_addresses(HANDLE process, DWORD pid,
                                                    const std::wstring& program,
                                                    const std::string& bytes) {
  const std::uintptr_t base = image_base(pid, program);
  const auto dos = read_remote<IMAGE_DOS_HEADER>(process, base, "DOS header");
  if (dos.e_magic != IMAGE_DOS_SIGNATURE) fail("the program's image has no MZ header");
  const std::uintptr_t nt = base + static_cast<std::uintptr_t>(dos.e_lfanew);
  if (read_remote<DWORD>(process, nt, "PE signature") != IMAGE_NT_SIGNATURE)
    fail("the program's image has no PE signature");
  const auto file = read_remote<IMAGE_FILE_HEADER>(process, nt + 4, "file header");
  const std::uintptr_t sections = nt + 4 + sizeof(IMAGE_FILE_HEADER) + file.SizeOfOptionalHeader;

  const std::string wanted = bytes + std::string(1, '\0');
  std::vector<std::uintptr_t> found;
  for (WORD i = 0; i < file.NumberOfSections; ++i) {
    const auto s = read_remote<IMAGE_SECTION_HEADER>(
        process, sections + i * sizeof(IMAGE_SECTION_HEADER), "section header");
    if (!(s.Characteristics & IMAGE_SCN_CNT_INITIALIZED_DATA) ||
        (s.Characteristics & IMAGE_SCN_MEM_EXECUTE))
      continue;
    const std::uintptr_t start = base + s.VirtualAddress;
    const std::string data = read_range(process, start, s.Misc.VirtualSize);
    for (std::size_t at = data.find(wanted); at != std::string::npos;
         at = data.find(wanted, at + 1)) {
      const std::uintptr_t address = start + at;
      if (at == 0 || data[at - 1] == '\0' || address % 4 == 0) found.push_back(address);
    }
  }
  return found;
}

std::uint32_t id_of_address(std::uintptr_t address) { return static_cast<std::uint32_t>(address); }

HotkeyIds find_hotkey_ids(Clicker& app, const std::wstring& program) {
  struct Wanted {
    const char* name;
    std::string bytes;
    std::uint32_t* id;
  };
  HotkeyIds ids;
  const Wanted wanted[] = {
      {"F10's identifier (18 x 啊)", f10_identifier_bytes(), &ids.start},
      {"F11's identifier (暗暗)", f11_identifier_bytes(), &ids.stop},
  };
  for (const Wanted& w : wanted) {
    const std::vector<std::uintptr_t> at =
        constant_text_addresses(app.process().handle(), app.process().id(), program, w.bytes);
    std::string where;
    for (std::uintptr_t a : at) where += format(" 0x%llx", static_cast<unsigned long long>(a));
    require(at.size() == 1,
            format("%s, bytes %s 00, lies once in the program's image:%s", w.name,
                   hex(w.bytes).c_str(), where.empty() ? " nowhere" : where.c_str()));
    *w.id = id_of_address(at[0]);
    say("  %s at 0x%llx: hotkey id 0x%08lX", w.name, static_cast<unsigned long long>(at[0]),
        static_cast<unsigned long>(*w.id));
  }
  return ids;
}

// ---------------------------------------------------------------------------

bool LiveHandles::operator==(const LiveHandles& o) const {
  for (int k = 0; k < kKinds; ++k)
    if (count[k] != o.count[k]) return false;
  return true;
}

const char* live_handle_name(int kind) {
  static const char* const names[LiveHandles::kKinds] = {"cursors",  "icons", "bitmaps",
                                                         "pictures", "fonts", "timers"};
  return kind >= 0 && kind < LiveHandles::kKinds ? names[kind] : "?";
}

LiveHandles live_handles(HWND main) {
  static const UINT message = RegisterWindowMessageW(L"Pelvrin.LiveHandles");
  LiveHandles h;
  for (int k = 0; k < LiveHandles::kKinds; ++k) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(main, message, static_cast<WPARAM>(k), 0, SMTO_ABORTIFHUNG, 5000,
                             &result))
      fail(format("the live-handle message (wParam %d) got no answer, error %lu", k,
                  GetLastError()));
    h.count[k] = static_cast<int>(static_cast<LONG_PTR>(result));
  }
  return h;
}

std::string describe(const LiveHandles& h) {
  std::string s;
  for (int k = 0; k < LiveHandles::kKinds; ++k)
    s += format("%s%s %lld", k ? ", " : "", live_handle_name(k), h.count[k]);
  return s;
}

// ---------------------------------------------------------------------------

void post_hotkey_and_sync(const Clicker& app, WPARAM wparam) {
  const LRESULT position = send(app.slider(), TBM_GETPOS);
  if (position != 10 && position != 11)
    fail(format("the interval slider should be at 10 or 11 ms before a forged hotkey, not at %ld",
                static_cast<long>(position)));
  const BYTE key = position == 10 ? VK_RIGHT : VK_LEFT;
  const int next = position == 10 ? 11 : 10;
  say("  WM_HOTKEY wParam 0x%llx posted to the main window, a slider key behind it",
      static_cast<unsigned long long>(wparam));
  if (!PostMessageW(app.main(), WM_HOTKEY, wparam, 0))
    fail(format("PostMessageW(WM_HOTKEY) failed, error %lu", GetLastError()));
  PostMessageW(app.slider(), WM_KEYDOWN, key, 1);
  PostMessageW(app.slider(), WM_KEYUP, key, 0xC0000001);
  if (!wait_until(5000, [&] { return text_of(app.speed()) == speed_text(next); }))
    fail(format("the slider key posted behind WM_HOTKEY was not handled: the speed label reads %s",
                quoted(text_of(app.speed())).c_str()));
}

std::size_t releases_at(const TargetWindow& target, std::uint32_t point) {
  std::size_t n = 0;
  for (const MouseMessage& m : target.messages())
    if (m.message == WM_LBUTTONUP && static_cast<std::uint32_t>(m.lparam) == point) ++n;
  return n;
}

bool check_releases(const TargetWindow& target, std::size_t at_least, const std::string& where) {
  return check_soon(
      5000, [&] { return target.messages_of(WM_LBUTTONUP).size() >= at_least; },
      [&] {
        return format("clicks arrive at %s: %zu (%zu wanted)", where.c_str(),
                      target.messages_of(WM_LBUTTONUP).size(), at_least);
      });
}

namespace {

std::string describe_messages(const std::vector<MouseMessage>& ms, std::size_t first,
                              std::size_t n) {
  std::string out;
  for (std::size_t i = first; i < ms.size() && i < first + n; ++i)
    out += format(" [%zu: %s %llu 0x%08lX]", i, message_name(ms[i].message).c_str(),
                  static_cast<unsigned long long>(ms[i].wparam),
                  static_cast<unsigned long>(static_cast<std::uint32_t>(ms[i].lparam)));
  return out.empty() ? " nothing" : out;
}

}  // namespace

std::vector<std::size_t> check_click_sequence(const std::vector<MouseMessage>& ms,
                                              const std::vector<std::uint32_t>& points,
                                              const std::string& where, bool still_clicking) {
  static const struct {
    UINT message;
    WPARAM wparam;
  } kClick[3] = {{WM_MOUSEMOVE, 2}, {WM_LBUTTONDOWN, 1}, {WM_LBUTTONUP, 0}};
  std::vector<std::size_t> counts(points.size(), 0);
  // The tail of a click whose first messages were cleared away.
  std::size_t i = 0;
  while (i < ms.size() && i < 2 && ms[i].message != WM_MOUSEMOVE) ++i;
  std::size_t at = 0;
  for (; i < ms.size(); i += 3) {
    const std::size_t n = ms.size() - i < 3 ? ms.size() - i : 3;
    if (n < 3 && !still_clicking) {
      check(false, format("%s: the messages end inside a click:%s", where.c_str(),
                          describe_messages(ms, i, 3).c_str()));
      return counts;
    }
    const auto p = static_cast<std::uint32_t>(ms[i].lparam);
    while (at < points.size() && points[at] != p) ++at;
    bool whole = at < points.size();
    for (std::size_t k = 0; k < n && whole; ++k)
      whole = ms[i + k].message == kClick[k].message && ms[i + k].wparam == kClick[k].wparam &&
              static_cast<std::uint32_t>(ms[i + k].lparam) == p;
    if (!whole) {
      check(false, format("%s: message %zu on is not a whole click at the expected points:%s",
                          where.c_str(), i, describe_messages(ms, i > 3 ? i - 3 : 0, 9).c_str()));
      return counts;
    }
    if (n == 3) ++counts[at];
  }
  std::string summary;
  for (std::size_t k = 0; k < points.size(); ++k)
    summary += format(" %zu at 0x%08lX;", counts[k], static_cast<unsigned long>(points[k]));
  check(true, format("%s: %zu messages, whole clicks (move 2, down 1, up 0) in order:%s",
                     where.c_str(), ms.size(), summary.c_str()));
  return counts;
}

void stop_and_check_quiet(const Clicker& app, const TargetWindow& target) {
  check(app.press_and_wait_status(VK_F11, kStatusStopped),
        "F11: the status reads 自动点击已经停止");
  // Everything posted before the stop is in the driver's queue by now.
  pump_for(300);
  const std::size_t after_stop = target.messages().size();
  pump_for(1000);
  check_equal(static_cast<long long>(target.messages().size()), static_cast<long long>(after_stop),
              "mouse messages at the target once F11 was handled, and 1 s later");
}

void check_works_afterwards(Clicker& app) {
  say("-- the program still works: F10 and F11 in background mode, then WM_CLOSE");
  require(app.alive(), "the program runs and answers");
  app.set_background(true);
  app.set_interval(10);
  const RECT main_rect = window_rect_of(app.main());
  TargetWindow target(L"e2e afterwards target", free_rect(main_rect, 300, 180));
  const POINT parked = free_point({main_rect, window_rect_of(target.handle())});
  require(move_cursor_to(parked),
          format("the cursor is parked away at %ld,%ld", parked.x, parked.y));
  app.set_target(target.handle(), 33, 21);
  pump_for(200);
  target.clear();
  require(app.press_and_wait_status(VK_F10, kStatusStarted),
          "F10: the status reads 自动点击已经开始");
  check_releases(target, 5, "the new target");
  stop_and_check_quiet(app, target);
  check_click_sequence(target.messages(), {point_value(33, 21)}, "the new target");
  app.close_and_check_exit();
}

}  // namespace e2e
