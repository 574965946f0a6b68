#pragma once
// The font dialog "选择字体" on one of the calendar fonts: changes face, size, style and
// colour only when confirmed, and returns true then.
#include <windows.h>
#include <commdlg.h>

// The system header names its own font dialog ChooseFont; this one is ours.
#undef ChooseFont

#include "core/render/FontSpec.h"

namespace ov {

bool ChooseFont(HWND owner, FontSpec& font);

}  // namespace ov
