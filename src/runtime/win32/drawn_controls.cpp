// The run time's own control classes: the group box (a container that
// draws its frame and caption and passes its children's notifications on to
// the window), the picture box and the hyperlink box, which draw themselves.
#include "runtime/win32/win32_form.h"

#include <shellapi.h>

#include "runtime/win32/wide_text.h"

namespace pelvrin::win32 {

namespace {

const COLORREF kLinkColor = RGB(0, 0, 255);
const COLORREF kLinkHoverColor = RGB(51, 153, 255);
const COLORREF kLinkVisitedColor = RGB(128, 0, 0);

}  // namespace

LRESULT Win32Form::group_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_DRAWITEM:
      // The controls inside a group box notify the window, as if they were
      // its own children.
      return SendMessageW(main_window(), message, wparam, lparam);
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      ControlState* c = from_window(hwnd);
      RECT r;
      GetClientRect(hwnd, &r);
      FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
      HGDIOBJ old_font = SelectObject(dc, c ? font_for(*c) : GetStockObject(DEFAULT_GUI_FONT));
      TEXTMETRICW tm{};
      GetTextMetricsW(dc, &tm);
      RECT frame = r;
      frame.top += tm.tmHeight / 2;
      DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
      if (c && !c->text.empty()) {
        std::wstring caption = wide(c->text);
        SIZE size{};
        GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &size);
        RECT text_rect{8, 0, 8 + size.cx + 4, tm.tmHeight};
        FillRect(dc, &text_rect, GetSysColorBrush(COLOR_BTNFACE));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(IsWindowEnabled(hwnd) ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
        TextOutW(dc, 10, 0, caption.c_str(), static_cast<int>(caption.size()));
      }
      SelectObject(dc, old_font);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    default:
      break;
  }
  return DefWindowProcW(hwnd, message, wparam, lparam);
}

LRESULT Win32Form::picture_proc(ControlState& c, HWND hwnd, UINT message, WPARAM wparam,
                                LPARAM lparam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      RECT r;
      GetClientRect(hwnd, &r);
      FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
      draw_picture(c.picture, dc, r);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_SETCURSOR:
      if (set_cursor_for(hwnd, lparam)) return TRUE;
      break;
    case WM_LBUTTONDOWN:
      raise(c.settings->id, Event::left_down);
      break;
    case WM_LBUTTONUP:
      raise(c.settings->id, Event::left_up);
      break;
    case WM_MOUSEMOVE:
      raise(c.settings->id, Event::mouse_move);
      break;
    default:
      break;
  }
  return DefWindowProcW(hwnd, message, wparam, lparam);
}

LRESULT Win32Form::hyperlink_proc(ControlState& c, HWND hwnd, UINT message, WPARAM wparam,
                                  LPARAM lparam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      RECT r;
      GetClientRect(hwnd, &r);
      FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
      HGDIOBJ old_font = SelectObject(dc, font_for(c));
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, c.visited ? kLinkVisitedColor : c.hovered ? kLinkHoverColor : kLinkColor);
      std::wstring caption = wide(c.text);
      DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &r,
                DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
      SelectObject(dc, old_font);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_SETCURSOR:
      if (set_cursor_for(hwnd, lparam)) return TRUE;
      break;
    case WM_MOUSEMOVE:
      if (!c.hovered) {
        c.hovered = true;
        TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, hwnd, 0};
        TrackMouseEvent(&tme);
        InvalidateRect(hwnd, nullptr, FALSE);
      }
      return 0;
    case WM_MOUSELEAVE:
      c.hovered = false;
      InvalidateRect(hwnd, nullptr, FALSE);
      return 0;
    case WM_LBUTTONDOWN:
      c.pressed = true;
      SetCapture(hwnd);
      return 0;
    case WM_LBUTTONUP: {
      if (!c.pressed) return 0;
      c.pressed = false;
      ReleaseCapture();
      POINT p{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
      RECT r;
      GetClientRect(hwnd, &r);
      if (PtInRect(&r, p)) {
        std::string address(c.settings->address);
        ShellExecuteA(nullptr, "open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
        c.visited = true;
        InvalidateRect(hwnd, nullptr, FALSE);
      }
      return 0;
    }
    case WM_CAPTURECHANGED:
      c.pressed = false;
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd, message, wparam, lparam);
}

}  // namespace pelvrin::win32
