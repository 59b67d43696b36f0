// Reading pixels off the screen, to tell which standard icon a window shows.
#pragma once

#include <windows.h>

namespace e2e {

struct StandardIcon {
  LPCWSTR id;          // IDI_HAND, IDI_EXCLAMATION, IDI_ASTERISK, IDI_QUESTION; nullptr if none
  const char* name;
  double match;        // share of the icon's opaque pixels found on screen
};

// Compares the screen at `area` (screen coordinates, the icon drawn at its
// top-left corner, give or take two pixels) with the system's standard
// message-box icons and returns the one that matches best; its id is
// nullptr when even that one matches less than 90% of its pixels.
StandardIcon identify_standard_icon(const RECT& area);

}  // namespace e2e
