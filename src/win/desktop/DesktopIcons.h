#pragma once
// The desktop's icon list, whose caption colours the program keeps readable over the
// calendar by making their text background transparent.
#include <windows.h>

#include <optional>

namespace ov {

// Progman "Program Manager" → SHELLDLL_DefView → SysListView32 (both untitled); nullptr
// when any step is missing (as on desktops without a shell icon list).
HWND FindDesktopListView();

// The caption text colour of the desktop icons, when there is an icon list.
std::optional<COLORREF> DesktopIconTextColor();

// When the caption background is not already transparent, makes it so with the given
// text colour and redraws the icons. Does nothing without an icon list.
void KeepIconCaptionsTransparent(COLORREF textColor);

// Windows XP offers transparent icon captions itself; the program leaves them alone there.
bool IsWindowsXP();

}  // namespace ov
