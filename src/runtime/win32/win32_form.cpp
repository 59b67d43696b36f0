#include "runtime/win32/win32_form.h"

#include <commctrl.h>

#include "runtime/text_codec.h"
#include "runtime/win32/clock.h"
#include "runtime/win32/fatal.h"
#include "runtime/win32/wide_text.h"

namespace pelvrin::win32 {

namespace {

constexpr wchar_t kFormClass[] = L"PelvrinForm";
constexpr wchar_t kGroupClass[] = L"PelvrinGroupBox";
constexpr wchar_t kPictureClass[] = L"PelvrinPictureBox";
constexpr wchar_t kHyperlinkClass[] = L"PelvrinHyperlink";
constexpr wchar_t kTimerClass[] = L"PelvrinTimer";
constexpr UINT_PTR kTimerId = 1000;

Text window_text(HWND hwnd) {
  const int n = GetWindowTextLengthW(hwnd);
  if (n <= 0) return {};
  std::wstring buffer(static_cast<std::size_t>(n) + 1, L'\0');
  const int got = GetWindowTextW(hwnd, buffer.data(), n + 1);
  buffer.resize(static_cast<std::size_t>(got > 0 ? got : 0));
  return utf16_to_cp936(std::u16string(buffer.begin(), buffer.end()));
}

COLORREF rgb(const Rgb& c) { return RGB(c.r, c.g, c.b); }

LRESULT CALLBACK form_window_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  Win32Form* form = Win32Form::instance();
  if (form) return form->main_proc(hwnd, message, wparam, lparam);
  return DefWindowProcW(hwnd, message, wparam, lparam);
}

LRESULT CALLBACK group_window_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  Win32Form* form = Win32Form::instance();
  if (form) return form->group_proc(hwnd, message, wparam, lparam);
  return DefWindowProcW(hwnd, message, wparam, lparam);
}

LRESULT CALLBACK picture_window_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  Win32Form* form = Win32Form::instance();
  ControlState* c = form ? form->from_window(hwnd) : nullptr;
  if (c) return form->picture_proc(*c, hwnd, message, wparam, lparam);
  return DefWindowProcW(hwnd, message, wparam, lparam);
}

LRESULT CALLBACK hyperlink_window_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  Win32Form* form = Win32Form::instance();
  ControlState* c = form ? form->from_window(hwnd) : nullptr;
  if (c) return form->hyperlink_proc(*c, hwnd, message, wparam, lparam);
  return DefWindowProcW(hwnd, message, wparam, lparam);
}

LRESULT CALLBACK timer_window_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_TIMER && wparam == kTimerId) {
    Win32Form* form = Win32Form::instance();
    auto* c = reinterpret_cast<ControlState*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (form && c) form->on_timer(*c);
    return 0;
  }
  return DefWindowProcW(hwnd, message, wparam, lparam);
}

bool register_classes() {
  static bool done = false;
  if (done) return true;
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // arrow

  wc.lpszClassName = kFormClass;
  wc.lpfnWndProc = form_window_proc;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
  wc.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                             GetSystemMetrics(SM_CXSMICON),
                                             GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  if (!RegisterClassExW(&wc)) return false;
  wc.hIcon = wc.hIconSm = nullptr;

  wc.lpszClassName = kGroupClass;
  wc.lpfnWndProc = group_window_proc;
  if (!RegisterClassExW(&wc)) return false;

  wc.lpszClassName = kPictureClass;
  wc.lpfnWndProc = picture_window_proc;
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  if (!RegisterClassExW(&wc)) return false;

  wc.lpszClassName = kHyperlinkClass;
  wc.lpfnWndProc = hyperlink_window_proc;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  if (!RegisterClassExW(&wc)) return false;

  wc.lpszClassName = kTimerClass;
  wc.lpfnWndProc = timer_window_proc;
  wc.hbrBackground = nullptr;
  if (!RegisterClassExW(&wc)) return false;

  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  done = true;
  return true;
}

}  // namespace

int live_handle_count(int kind) {
  switch (kind) {
    case 0: return MousePointer::live_count();
    case 1: return Picture::live_icons();
    case 2: return Picture::live_bitmaps();
    case 3: return Picture::live_images();
    case 4: return UniqueFont::live_count();
    case 5: return UniqueWindow::live_count();
    default: return -1;
  }
}

// ---------------------------------------------------------------------------
// Building

Win32Form::Win32Form(const Layout& layout) : layout_(layout) {
  controls_.resize(layout.controls.size() + 1);
  for (std::size_t i = 0; i < layout.controls.size(); ++i) {
    controls_[i + 1].settings = &layout.controls[i];
  }
}

Win32Form::~Win32Form() {
  for (ControlState& c : controls_) c.timer_window.reset();
  if (controls_[0].hwnd) DestroyWindow(controls_[0].hwnd);
  if (instance_ == this) instance_ = nullptr;
}

std::unique_ptr<Win32Form> Win32Form::build(const Layout& layout) {
  if (!layout_is_valid(layout) || instance_ != nullptr || !register_classes()) return nullptr;
  std::unique_ptr<Win32Form> form(new Win32Form(layout));
  instance_ = form.get();
  if (!form->create_window()) return nullptr;
  for (std::size_t i = 1; i < form->controls_.size(); ++i) {
    if (!form->create_control(form->controls_[i])) return nullptr;
  }
  // Stacking: within each parent, each control directly behind the one
  // listed before it; the first of a parent in front.
  std::vector<HWND> last_of_parent(form->controls_.size(), nullptr);
  for (std::size_t i = 1; i < form->controls_.size(); ++i) {
    ControlState& c = form->controls_[i];
    if (c.settings->kind == Kind::timer) continue;
    HWND& previous = last_of_parent[static_cast<std::size_t>(c.settings->parent)];
    SetWindowPos(c.hwnd, previous ? previous : HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOREDRAW);
    previous = c.hwnd;
  }
  // Pointers from the layout's codes, then visibility.
  for (std::size_t i = 1; i < form->controls_.size(); ++i) {
    ControlState& c = form->controls_[i];
    const std::int32_t code = c.settings->pointer_code;
    std::string bytes(reinterpret_cast<const char*>(&code), 4);
    c.pointer.set(bytes);
  }
  for (std::size_t i = 1; i < form->controls_.size(); ++i) {
    ControlState& c = form->controls_[i];
    if (c.settings->kind != Kind::timer && c.settings->visible) ShowWindow(c.hwnd, SW_SHOWNA);
  }
  return form;
}

bool Win32Form::create_window() {
  const WindowSpec& w = layout_.window;
  DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  if (w.minimize_box) style |= WS_MINIMIZEBOX;
  // Centred on the primary screen.
  const int x = (GetSystemMetrics(SM_CXSCREEN) - w.width) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - w.height) / 2;
  HWND hwnd = CreateWindowExW(0, kFormClass, wide(w.caption).c_str(), style, x, y, w.width,
                              w.height, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!hwnd) return false;
  controls_[0].hwnd = hwnd;
  controls_[0].text.assign(w.caption);
  return true;
}

HFONT Win32Form::font_for(const ControlState& c) const {
  if (c.own_font) return c.own_font.get();
  return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

bool Win32Form::create_control(ControlState& c) {
  const ControlSpec& s = *c.settings;
  c.left = s.left;
  c.top = s.top;
  c.width = s.width;
  c.height = s.height;
  c.text.assign(s.text);
  HINSTANCE instance = GetModuleHandleW(nullptr);

  if (s.kind == Kind::timer) {
    c.timer_window.reset(CreateWindowExW(0, kTimerClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                         nullptr, instance, nullptr));
    if (!c.timer_window) return false;
    c.hwnd = c.timer_window.get();
    SetWindowLongPtrW(c.hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&c));
    set_period(c, s.value);
    return true;
  }

  const wchar_t* window_class = nullptr;
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
  DWORD ex_style = 0;
  std::wstring text = wide(s.text);
  switch (s.kind) {
    case Kind::group_box:
      window_class = kGroupClass;
      style |= WS_CLIPCHILDREN;
      ex_style |= WS_EX_CONTROLPARENT;
      break;
    case Kind::picture_box:
      window_class = kPictureClass;
      text.clear();
      break;
    case Kind::hyperlink:
      window_class = kHyperlinkClass;
      break;
    case Kind::label:
      window_class = L"STATIC";
      style |= SS_NOPREFIX | SS_NOTIFY;
      style |= s.align == Align::right ? SS_RIGHT : s.align == Align::center ? SS_CENTER : SS_LEFT;
      if (!s.word_wrap) style |= SS_CENTERIMAGE;
      break;
    case Kind::edit_box:
      window_class = L"EDIT";
      style |= ES_AUTOHSCROLL | ES_LEFT;
      break;
    case Kind::check_box:
      window_class = L"BUTTON";
      style |= BS_AUTOCHECKBOX | BS_MULTILINE | BS_VCENTER | BS_LEFT;
      break;
    case Kind::slider:
      window_class = TRACKBAR_CLASSW;
      style |= TBS_HORZ | TBS_BOTTOM | TBS_AUTOTICKS;
      text.clear();
      break;
    case Kind::window:
    case Kind::timer:
      return false;
  }
  if (s.tab_stop) style |= WS_TABSTOP;
  switch (s.border) {
    case Border::line: style |= WS_BORDER; break;
    case Border::sunken: ex_style |= WS_EX_CLIENTEDGE; break;
    case Border::thin_sunken: ex_style |= WS_EX_STATICEDGE; break;
    case Border::none: break;
  }
  HWND parent = controls_[static_cast<std::size_t>(s.parent)].hwnd;
  c.hwnd = CreateWindowExW(ex_style, window_class, text.c_str(), style, s.left, s.top, s.width,
                           s.height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(s.id)),
                           instance, nullptr);
  if (!c.hwnd) return false;

  if (s.font) {
    LOGFONTW lf{};
    lf.lfHeight = -s.font->height_px;
    lf.lfWeight = s.font->weight;
    lf.lfCharSet = DEFAULT_CHARSET;
    std::wstring face = wide(s.font->face);
    face.copy(lf.lfFaceName, LF_FACESIZE - 1);
    c.own_font.reset(CreateFontIndirectW(&lf));
  } else if (s.kind == Kind::hyperlink) {
    LOGFONTW lf{};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
    lf.lfUnderline = TRUE;
    c.own_font.reset(CreateFontIndirectW(&lf));
  }
  SendMessageW(c.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font_for(c)), FALSE);

  switch (s.kind) {
    case Kind::edit_box:
      SendMessageW(c.hwnd, EM_SETLIMITTEXT, 0, 0);  // no length limit
      break;
    case Kind::check_box:
      SendMessageW(c.hwnd, BM_SETCHECK, s.value ? BST_CHECKED : BST_UNCHECKED, 0);
      break;
    case Kind::slider:
      SendMessageW(c.hwnd, TBM_SETRANGEMIN, FALSE, s.min);
      SendMessageW(c.hwnd, TBM_SETRANGEMAX, FALSE, s.max);
      SendMessageW(c.hwnd, TBM_SETLINESIZE, 0, s.line_step);
      SendMessageW(c.hwnd, TBM_SETPAGESIZE, 0, s.page_step);
      SendMessageW(c.hwnd, TBM_SETTICFREQ, static_cast<WPARAM>(s.tick_frequency), 0);
      SendMessageW(c.hwnd, TBM_SETPOS, TRUE, s.value);
      c.slider_position = s.value;
      break;
    case Kind::picture_box:
      c.picture.set(s.picture);
      break;
    default:
      break;
  }
  return true;
}

void Win32Form::show() {
  ShowWindow(main_window(), SW_SHOW);
  UpdateWindow(main_window());
}

// ---------------------------------------------------------------------------
// Property model

Value Win32Form::read(ControlId id, int number) {
  if (id < 0 || id >= static_cast<ControlId>(controls_.size())) fatal_error_bad_property();
  ControlState& c = controls_[static_cast<std::size_t>(id)];
  const Kind kind = c.settings ? c.settings->kind : Kind::window;
  auto type = property_type(kind, number);
  if (!type) fatal_error_bad_property();

  const bool has_window = c.hwnd != nullptr && kind != Kind::timer;
  switch (number) {
    case prop::left:
    case prop::top:
    case prop::width:
    case prop::height: {
      if (!has_window) {
        const int v[] = {c.left, c.top, c.width, c.height};
        return Value::of_int(v[number]);
      }
      RECT r{};
      GetWindowRect(c.hwnd, &r);
      if (id != 0) MapWindowPoints(nullptr, GetParent(c.hwnd), reinterpret_cast<POINT*>(&r), 2);
      const int v[] = {r.left, r.top, r.right - r.left, r.bottom - r.top};
      return Value::of_int(v[number]);
    }
    case prop::tag:
      return Value::of_text(c.tag);
    case prop::visible:
      return Value::of_int(has_window && (GetWindowLongPtrW(c.hwnd, GWL_STYLE) & WS_VISIBLE) ? 1 : 0);
    case prop::disabled:
      return Value::of_int(c.disabled ? 1 : 0);
    case prop::mouse_pointer:
      return Value::of_bytes(c.pointer.bytes());
    default:
      break;
  }
  switch (kind) {
    case Kind::edit_box:
      return Value::of_text(window_text(c.hwnd));
    case Kind::label:
      return Value::of_text(c.text);
    case Kind::timer:
      return Value::of_int(c.schedule.period());
    case Kind::picture_box:
      return Value::of_bytes(c.picture.bytes());
    case Kind::check_box:
      if (number == prop::check_caption) return Value::of_text(c.text);
      return Value::of_int(SendMessageW(c.hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0);
    case Kind::slider:
      return Value::of_int(c.slider_position);
    default:
      break;
  }
  fatal_error_bad_property();
}

void Win32Form::write(ControlId id, int number, const Value& value) {
  if (id < 0 || id >= static_cast<ControlId>(controls_.size())) fatal_error_bad_property();
  ControlState& c = controls_[static_cast<std::size_t>(id)];
  const Kind kind = c.settings ? c.settings->kind : Kind::window;
  if (!property_type(kind, number)) fatal_error_bad_property();
  if (c.hwnd == nullptr) return;  // the window is gone
  const bool has_window = kind != Kind::timer;

  switch (number) {
    case prop::left:
    case prop::top:
    case prop::width:
    case prop::height: {
      int* fields[] = {&c.left, &c.top, &c.width, &c.height};
      if (!has_window) {
        *fields[number] = value.integer;
        return;
      }
      RECT r{};
      GetWindowRect(c.hwnd, &r);
      if (id != 0) MapWindowPoints(nullptr, GetParent(c.hwnd), reinterpret_cast<POINT*>(&r), 2);
      int v[] = {r.left, r.top, r.right - r.left, r.bottom - r.top};
      v[number] = value.integer;
      SetWindowPos(c.hwnd, nullptr, v[0], v[1], v[2], v[3], SWP_NOZORDER | SWP_NOACTIVATE);
      return;
    }
    case prop::tag:
      c.tag = value.bytes;
      return;
    case prop::visible:
      if (has_window) ShowWindow(c.hwnd, value.integer ? SW_SHOWNA : SW_HIDE);
      return;
    case prop::disabled: {
      const bool disabled = value.integer != 0;
      if (disabled == c.disabled) return;  // unchanged: no system call, no repaint
      c.disabled = disabled;
      if (has_window) EnableWindow(c.hwnd, disabled ? FALSE : TRUE);
      return;
    }
    case prop::mouse_pointer:
      apply_pointer(c, value.bytes);
      return;
    default:
      break;
  }
  switch (kind) {
    case Kind::edit_box:
      SetWindowTextW(c.hwnd, wide(value.bytes).c_str());
      return;
    case Kind::label:
    case Kind::check_box:
      if (kind == Kind::check_box && number == prop::check_ticked) {
        SendMessageW(c.hwnd, BM_SETCHECK, value.integer ? BST_CHECKED : BST_UNCHECKED, 0);
        return;
      }
      if (value.bytes == c.text) return;  // unchanged: no repaint
      c.text = value.bytes;
      SetWindowTextW(c.hwnd, wide(c.text).c_str());
      return;
    case Kind::timer:
      set_period(c, value.integer);
      return;
    case Kind::picture_box:
      c.picture.set(value.bytes);
      InvalidateRect(c.hwnd, nullptr, TRUE);
      return;
    case Kind::slider:
      SendMessageW(c.hwnd, TBM_SETPOS, TRUE, value.integer);
      c.slider_position = static_cast<std::int32_t>(SendMessageW(c.hwnd, TBM_GETPOS, 0, 0));
      return;
    default:
      break;
  }
}

std::uintptr_t Win32Form::window_handle(ControlId id) {
  if (id < 0 || id >= static_cast<ControlId>(controls_.size())) return 0;
  return reinterpret_cast<std::uintptr_t>(controls_[static_cast<std::size_t>(id)].hwnd);
}

void Win32Form::dispatch_pending() {
  // A handler run from this loop may ask for the pending messages again
  // (the picker does on every press and move). This loop is already
  // dispatching them and goes on as soon as that handler returns, so the
  // inner request returns at once. Nesting instead would let a steady
  // stream of such messages, such as background clicks posted to the
  // picker itself, stack one handler inside the next until the stack
  // runs out.
  if (dispatching_) return;
  dispatching_ = true;
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {  // leave it for the message loop
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    translate_and_dispatch(msg);
  }
  dispatching_ = false;
}

std::int32_t Win32Form::mouse_x() {
  POINT p{};
  GetCursorPos(&p);
  return p.x;
}

std::int32_t Win32Form::mouse_y() {
  POINT p{};
  GetCursorPos(&p);
  return p.y;
}

void Win32Form::apply_pointer(ControlState& c, std::string_view bytes) {
  c.pointer.set(bytes);
  if (c.hwnd == nullptr || (c.settings && c.settings->kind == Kind::timer)) return;
  // Show the new pointer at once if the mouse is over the control (or the
  // control holds the capture); otherwise a move in place lets the window
  // under the mouse set its own.
  POINT p{};
  GetCursorPos(&p);
  if (GetCapture() == c.hwnd || WindowFromPoint(p) == c.hwnd) {
    HCURSOR cursor = c.pointer.cursor();
    SetCursor(cursor ? cursor
                     : reinterpret_cast<HCURSOR>(GetClassLongPtrW(c.hwnd, GCLP_HCURSOR)));
  }
  SetCursorPos(p.x, p.y);
}

bool Win32Form::set_cursor_for(HWND hwnd, LPARAM hit) {
  if (LOWORD(hit) != HTCLIENT) return false;
  ControlState* c = from_window(hwnd);
  if (!c || !c->pointer.cursor()) return false;
  SetCursor(c->pointer.cursor());
  return true;
}

void Win32Form::set_period(ControlState& c, std::int32_t period) {
  if (!c.schedule.set_period(period, now_microseconds())) return;  // same period: keep schedule
  ++c.schedule_generation;
  KillTimer(c.hwnd, kTimerId);
  if (c.schedule.running()) SetTimer(c.hwnd, kTimerId, static_cast<UINT>(c.schedule.period()), nullptr);
}

void Win32Form::on_timer(ControlState& c) {
  const std::uint64_t generation = c.schedule_generation;
  std::int64_t due = c.schedule.take_due(now_microseconds());
  // A handler may stop or change the timer, or close the window: then the
  // rest of this catch-up run is dropped.
  while (due-- > 0 && alive() && c.schedule_generation == generation && c.schedule.running()) {
    raise(c.settings->id, Event::periodic);
  }
}

ControlState* Win32Form::from_window(HWND hwnd) {
  if (hwnd == nullptr) return nullptr;
  if (hwnd == controls_[0].hwnd) return &controls_[0];
  const int id = GetDlgCtrlID(hwnd);
  if (id <= 0 || id >= static_cast<int>(controls_.size())) return nullptr;
  ControlState& c = controls_[static_cast<std::size_t>(id)];
  return c.hwnd == hwnd ? &c : nullptr;
}

void Win32Form::raise(ControlId control, Event event) {
  for (const EventBinding& binding : layout_.events) {
    if (binding.control == control && binding.event == event) {
      binding.handler();
      return;
    }
  }
}

// ---------------------------------------------------------------------------
// Window procedures

LRESULT Win32Form::main_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  // Diagnostics for soak tests: how many handles of each kind the run
  // time's owners hold right now (GetGuiResources does not count under
  // every platform).
  static const UINT live_handles_message = RegisterWindowMessageW(kLiveHandlesMessage);
  if (message == live_handles_message) return live_handle_count(static_cast<int>(wparam));
  switch (message) {
    case WM_CTLCOLORSTATIC: {
      ControlState* c = from_window(reinterpret_cast<HWND>(lparam));
      if (c && c->settings && c->settings->kind == Kind::label) {
        HDC dc = reinterpret_cast<HDC>(wparam);
        SetTextColor(dc, c->settings->has_text_color ? rgb(c->settings->text_color) : RGB(0, 0, 0));
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
      }
      break;
    }
    case WM_HSCROLL: {
      ControlState* c = from_window(reinterpret_cast<HWND>(lparam));
      if (c && c->settings && c->settings->kind == Kind::slider) {
        if (LOWORD(wparam) != TB_ENDTRACK) {  // every notification but the end of a drag
          c->slider_position = static_cast<std::int32_t>(SendMessageW(c->hwnd, TBM_GETPOS, 0, 0));
          raise(c->settings->id, Event::position_changed);
        }
        return 0;
      }
      break;
    }
    case WM_SETCURSOR:
      if (set_cursor_for(reinterpret_cast<HWND>(wparam), lparam)) return TRUE;
      break;
    case WM_DESTROY:
      raise(0, Event::destroying);
      for (ControlState& c : controls_) {
        if (c.timer_window) {
          c.schedule.set_period(0, now_microseconds());
          ++c.schedule_generation;
          c.timer_window.reset();
        }
      }
      return 0;
    case WM_NCDESTROY:
      for (ControlState& c : controls_) c.hwnd = nullptr;
      PostQuitMessage(0);
      break;
    default:
      break;
  }
  return DefWindowProcW(hwnd, message, wparam, lparam);
}

void translate_and_dispatch(MSG& msg) {
  Win32Form* form = Win32Form::instance();
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE && form && form->alive() &&
      form->closes_on_escape()) {
    HWND main = form->main_window();
    if (msg.hwnd == main || IsChild(main, msg.hwnd)) {
      PostMessageW(main, WM_CLOSE, 0, 0);
      return;
    }
  }
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
}

}  // namespace pelvrin::win32
