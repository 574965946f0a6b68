#pragma once
// What a modal system dialog of the program needs around it: every other top-level
// window of the thread is disabled while it is open (the mini controller, the tray's
// window, the pop-ups), so that none of them starts a second dialog over the first.
#include <windows.h>

#include <vector>

namespace ov {

class ThreadWindowsDisabled {
 public:
  // Disables the thread's top-level windows that are enabled now, except the dialog's
  // owner (or the top-level window that holds it), which the dialog disables and enables
  // itself so that it is active again when the dialog closes.
  explicit ThreadWindowsDisabled(HWND owner);
  // Enables them again, those that still exist, whatever happened meanwhile.
  ~ThreadWindowsDisabled();
  ThreadWindowsDisabled(const ThreadWindowsDisabled&) = delete;
  ThreadWindowsDisabled& operator=(const ThreadWindowsDisabled&) = delete;

 private:
  std::vector<HWND> disabled_;
};

// A window busy with long work on the user-interface thread: disabled, with the
// hourglass cursor. The destructor gives back the window, the focus and the cursor, also
// when the work ended in an exception.
class BusyWindow {
 public:
  explicit BusyWindow(HWND window);
  ~BusyWindow();
  BusyWindow(const BusyWindow&) = delete;
  BusyWindow& operator=(const BusyWindow&) = delete;

 private:
  HWND window_;
  HWND focus_;
  HCURSOR cursor_;
  bool disabled_ = false;
};

}  // namespace ov
