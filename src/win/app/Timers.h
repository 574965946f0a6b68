#pragma once
// Timer identifiers of the main window.
#include <windows.h>

namespace ov {

inline constexpr UINT_PTR kTimerSec = 1;           // housekeeping, every 3000 ms
inline constexpr UINT kTimerSecInterval = 3000;
inline constexpr UINT_PTR kTimerPreviewDelay = 2;  // one-shot preview redraw, 300 ms

}  // namespace ov
