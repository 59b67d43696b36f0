// A build whose window layout the run time refuses: the error box titled
// "错误" with the error icon and the text "载入启动窗口失败"; after OK the
// process ends with exit code -1, and no main window was ever shown.
#include "framework.h"
#include "process.h"
#include "screen_capture.h"
#include "windows_util.h"

namespace e2e {
namespace {

const wchar_t kBoxCaption[] = L"错误";
const wchar_t kBoxText[] = L"载入启动窗口失败";

// The box's static texts (the message, and any other label).
std::vector<std::wstring> static_texts(HWND box) {
  std::vector<std::wstring> texts;
  for (HWND w : descendants(box)) {
    if (_wcsicmp(class_of(w).c_str(), L"Static") != 0) continue;
    if ((GetWindowLongW(w, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) continue;
    std::wstring text = text_of(w);
    if (!text.empty()) texts.push_back(text);
  }
  return texts;
}

// The standard icon shown in the box, told apart by its pixels.
void check_error_icon(HWND box) {
  HWND icon_static = nullptr;
  for (HWND w : descendants(box))
    if (_wcsicmp(class_of(w).c_str(), L"Static") == 0 &&
        (GetWindowLongW(w, GWL_STYLE) & SS_TYPEMASK) == SS_ICON && IsWindowVisible(w))
      icon_static = w;
  if (!check(icon_static != nullptr, "the box shows an icon")) return;
  RECT r{};
  GetWindowRect(icon_static, &r);
  const StandardIcon seen = identify_standard_icon(r);
  check(seen.id == IDI_HAND, format("the icon is the error icon (looks most like %s, %.0f%% of its "
                                    "pixels match)",
                                    seen.name, seen.match * 100));
}

void fatal_case(const CaseContext& context) {
  Process process = Process::start(context.program);
  // The box, and never the main window: a run time that loaded the
  // refused layout anyway fails here at once rather than after a timeout.
  HWND box = nullptr, main = nullptr;
  wait_until(30000, [&] {
    box = find_window(process.id(), L"#32770", kBoxCaption);
    main = find_window(process.id(), nullptr, kMainCaption);
    return box != nullptr || main != nullptr || !process.running();
  });
  require(main == nullptr, "the main window is not shown");
  if (box == nullptr) box = wait_for_window(process, L"#32770", kBoxCaption, 0);  // tells why not
  say("  the box %s is shown", quoted(kBoxCaption).c_str());
  pump_for(300);  // let it paint

  const std::vector<std::wstring> texts = static_texts(box);
  bool found = false;
  for (const std::wstring& t : texts) {
    say("  box text %s", quoted(t).c_str());
    found = found || t == kBoxText;
  }
  check(found, "the box says " + quoted(kBoxText));
  check_error_icon(box);

  // Nothing else: no main window, no second box.
  int other_windows = 0;
  for (HWND w : top_level_windows(process.id())) {
    if (w == box || !IsWindowVisible(w)) continue;
    ++other_windows;
    say("  also shown: %s %s", utf8(class_of(w)).c_str(), quoted(caption_of(w)).c_str());
  }
  check(other_windows == 0, "the box is the only window the process shows");

  RECT area{};
  GetWindowRect(box, &area);
  request_screenshot("fatal-box", area);

  HWND ok = GetDlgItem(box, IDOK);
  require(ok != nullptr, "the box has an OK button");
  say("  pressing OK (BM_CLICK)");
  PostMessageW(ok, BM_CLICK, 0, 0);
  process.expect_exit(15000, 0xFFFFFFFFu, "after OK");
}

const CaseRegistration fatal_registration{
    "fatal", "a refused layout: error box, then exit code -1", &fatal_case};

}  // namespace
}  // namespace e2e
