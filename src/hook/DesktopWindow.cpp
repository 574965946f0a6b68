#include "hook/DesktopWindow.h"

#include <cwchar>
#include <iterator>

namespace ov::hook {

bool IsShellDesktopRootClass(const wchar_t* className) {
  return className && (std::wcscmp(className, L"Progman") == 0 || std::wcscmp(className, L"WorkerW") == 0);
}

bool IsDesktopWindow(HWND window) {
  if (!window) return false;
  if (window == GetDesktopWindow()) return true;
  // Only the top-level window decides: the shell's desktop children have their class
  // names in common with folder windows and every other list view.
  HWND root = GetAncestor(window, GA_ROOT);
  if (!root) return false;
  wchar_t className[32];
  if (GetClassNameW(root, className, static_cast<int>(std::size(className))) == 0) return false;
  return IsShellDesktopRootClass(className);
}

bool IsDesktopAt(POINT screenPoint) { return IsDesktopWindow(WindowFromPoint(screenPoint)); }

}  // namespace ov::hook
