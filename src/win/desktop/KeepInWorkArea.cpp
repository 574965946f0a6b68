#include "win/desktop/KeepInWorkArea.h"

#include "core/desktop/PopupPlacement.h"
#include "win/wallpaper/Monitors.h"

namespace ov {

void KeepInWorkArea(HWND window) {
  RECT r;
  if (!window || !GetWindowRect(window, &r)) return;
  const int w = r.right - r.left, h = r.bottom - r.top;
  const Point centre{r.left + w / 2, r.top + h / 2};
  Point pos = CenterOnPointKeptInArea(centre, {w, h}, WorkAreaAt(centre));
  if (pos.x != r.left || pos.y != r.top)
    SetWindowPos(window, nullptr, pos.x, pos.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace ov
