#include "core/platform/SystemColors.h"

#include <array>
#include <cstddef>

namespace ov {

namespace {

// 0x00BBGGRR, indexed like COLOR_SCROLLBAR (0) .. COLOR_MENUBAR (30).
constexpr std::array<uint32_t, 31> kClassicColors = {
    0xC8C8C8,  // 0 scroll bar
    0xA56E3A,  // 1 desktop
    0xD1B499,  // 2 active caption
    0xDBCDBF,  // 3 inactive caption
    0xF0F0F0,  // 4 menu
    0xFFFFFF,  // 5 window
    0x646464,  // 6 window frame
    0x000000,  // 7 menu text
    0x000000,  // 8 window text
    0x000000,  // 9 caption text
    0xB4B4B4,  // 10 active border
    0xFCF7F4,  // 11 inactive border
    0xABABAB,  // 12 application workspace
    0xFF9933,  // 13 highlight
    0xFFFFFF,  // 14 highlight text
    0xF0F0F0,  // 15 button face
    0xA0A0A0,  // 16 button shadow
    0x6D6D6D,  // 17 gray text
    0x000000,  // 18 button text
    0x544E43,  // 19 inactive caption text
    0xFFFFFF,  // 20 button highlight
    0x696969,  // 21 3D dark shadow
    0xE3E3E3,  // 22 3D light
    0x000000,  // 23 info text
    0xE1FFFF,  // 24 info background
    0xB5B5B5,  // 25 (unused slot)
    0xCC6600,  // 26 hot light
    0xEAD1B9,  // 27 gradient active caption
    0xF2E4D7,  // 28 gradient inactive caption
    0xFF9933,  // 29 menu highlight
    0xF0F0F0,  // 30 menu bar
};

SystemColorLookup gLookup = nullptr;

}  // namespace

void SetSystemColorLookup(SystemColorLookup lookup) { gLookup = lookup; }

uint32_t DefaultSystemColor(int index) {
  if (index < 0 || index >= static_cast<int>(kClassicColors.size())) return 0;
  return kClassicColors[static_cast<size_t>(index)];
}

uint32_t SystemColor(int index) {
  return (gLookup ? gLookup(index) : DefaultSystemColor(index)) & 0xFFFFFF;
}

}  // namespace ov
