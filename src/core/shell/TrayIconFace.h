#pragma once
// What the tray icon shows: a calendar leaf with today's day of the month, laid out for
// the icon size the notification area asks for.
#include <cstdint>
#include <string>

#include "core/util/Rect.h"

namespace ov {

struct TrayIconFace {
  int day = 0;          // 1..31
  std::string text;     // the day as decimal digits
  int32_t size = 0;     // the icon's width and height in pixels
  Rect header;          // the coloured strip at the top of the leaf
  Rect textArea;        // where the digits are centred
  int32_t fontHeight = 0;  // character height of the digits, in pixels
};

// The face for the local date-time `now` (days since 30 December 1899) at an icon of
// `size` pixels (16 at 96 dpi, 20 at 120, 24 at 144; never below 8).
TrayIconFace TrayIconFaceFor(double now, int32_t size);

// True when an icon drawn for `shownDay` no longer shows the day of `now`.
bool TrayIconOutdated(int shownDay, double now);

}  // namespace ov
