#pragma once
// What a change of a system setting asks of the desktop picture.
#include <cstdint>

namespace ov {

// The SystemParametersInfo actions the program listens for.
inline constexpr uint32_t kSpiSetWorkArea = 0x002F;
inline constexpr uint32_t kSpiSetFontSmoothing = 0x004B;

enum class DesktopRefresh {
  None,                 // not ours to follow (our own wallpaper change arrives this way too)
  Rebuild,              // draw the calendar again
  RemeasureAndRebuild,  // read the monitors and their work areas again, then rebuild
};

// A moved or resized task bar changes a work area, which the default panel and every
// "inside the work area" rule depend on, so the monitors are read again first.
constexpr DesktopRefresh RefreshForSettingChange(uint32_t action) {
  if (action == kSpiSetWorkArea) return DesktopRefresh::RemeasureAndRebuild;
  if (action == kSpiSetFontSmoothing) return DesktopRefresh::Rebuild;
  return DesktopRefresh::None;
}

}  // namespace ov
