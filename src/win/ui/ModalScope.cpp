#include "win/ui/ModalScope.h"

namespace ov {

namespace {

BOOL CALLBACK CollectEnabled(HWND hwnd, LPARAM data) {
  if (IsWindowEnabled(hwnd)) reinterpret_cast<std::vector<HWND>*>(data)->push_back(hwnd);
  return TRUE;
}

}  // namespace

ThreadWindowsDisabled::ThreadWindowsDisabled(HWND owner) {
  EnumThreadWindows(GetCurrentThreadId(), CollectEnabled, reinterpret_cast<LPARAM>(&disabled_));
  const HWND keep = owner ? GetAncestor(owner, GA_ROOT) : nullptr;
  if (keep) std::erase(disabled_, keep);
  for (HWND hwnd : disabled_) EnableWindow(hwnd, FALSE);
}

ThreadWindowsDisabled::~ThreadWindowsDisabled() {
  // In reverse, so the window that was active last is enabled last.
  for (auto it = disabled_.rbegin(); it != disabled_.rend(); ++it)
    if (IsWindow(*it)) EnableWindow(*it, TRUE);
}

BusyWindow::BusyWindow(HWND window)
    : window_(window), focus_(GetFocus()), cursor_(SetCursor(LoadCursorW(nullptr, IDC_WAIT))) {
  if (window_ && IsWindowEnabled(window_)) {
    EnableWindow(window_, FALSE);
    disabled_ = true;
  }
}

BusyWindow::~BusyWindow() {
  if (disabled_ && IsWindow(window_)) EnableWindow(window_, TRUE);
  // Disabling the window took the focus from the control being used.
  if (focus_ && IsWindow(focus_) && GetFocus() != focus_) SetFocus(focus_);
  SetCursor(cursor_);
}

}  // namespace ov
