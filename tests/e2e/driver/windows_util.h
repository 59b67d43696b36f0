// Looking at another process's windows: texts, classes, controls by id,
// places, and messages sent with a timeout so that a hung program cannot
// hang the driver.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

namespace e2e {

// SendMessageTimeoutW with a 5 s limit; fails the case on timeout.
LRESULT send(HWND window, UINT message, WPARAM wparam = 0, LPARAM lparam = 0);

// The window's text as the window itself reports it (WM_GETTEXT), which
// also works for edit boxes of another process.
std::wstring text_of(HWND window);
std::wstring class_of(HWND window);

// A top-level window's caption as the system keeps it for the title bar
// (GetWindowTextW; for another process's window this sends no message).
// Unlike WM_GETTEXT it cannot hang or fail on a window that is going
// away, and it does not pass through the window's procedure: a window
// procedure installed with SetWindowLongA makes WM_GETTEXT convert the
// text through the program's ANSI code page, which loses CJK characters
// under code page 1252 although the title bar shows them.
std::wstring caption_of(HWND window);

// Every descendant of `parent` (children, their children, ...).
std::vector<HWND> descendants(HWND parent);
// Descendants grouped by their dialog control id.
std::map<int, std::vector<HWND>> descendants_by_id(HWND parent);

// The one descendant of `main` with control id `id`; fails the case when
// there is none or more than one.
HWND control(HWND main, int id);

// A window's rectangle relative to the client area of `main`.
RECT rect_in_client(HWND main, HWND window);

// "left,top widthxheight" for messages.
std::string describe(const RECT& r);

// Gives the keyboard focus to `window` of another thread the way a user's
// click would leave it: the window's top level comes to the foreground and
// the focus goes to `window`. Returns the window that has the focus after.
HWND focus_window(HWND window);

// Puts the mouse cursor at a screen point, as a mouse move would, and
// makes sure that both Wine and the X pointer have it there (see the
// comments inside for the ways they can disagree). Tries for up to 5 s;
// returns whether it succeeded.
bool move_cursor_to(POINT screen);

// Synthesizes a key press and release through the system's input stream.
void press_key(BYTE virtual_key);

}  // namespace e2e
