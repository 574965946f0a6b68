#pragma once
// Windows that stand in for the shell's desktop and other programs' windows in the
// hook tests: Wine has no shell desktop tree of its own.
#include <windows.h>

#include <string>
#include <vector>

namespace ov::test {

// A window of a given class name, registered on first use in this process.
class StandInWindow {
 public:
  // A visible top-level window (WS_POPUP) at `rect` in screen pixels. Top-level windows
  // are parked in a corner when released and reused: on a display without a window
  // manager Wine waits two seconds for every top-level window it hides or destroys.
  static StandInWindow TopLevel(const std::wstring& className, RECT rect);
  // A child filling its parent's client area.
  static StandInWindow Child(const std::wstring& className, HWND parent);
  // A message-only window that records every message it receives in `Received`.
  static StandInWindow Receiver();

  StandInWindow(StandInWindow&& other) noexcept;
  StandInWindow& operator=(StandInWindow&&) = delete;
  ~StandInWindow();

  HWND Handle() const { return hwnd_; }

 private:
  StandInWindow(HWND hwnd, bool pooled) : hwnd_(hwnd), pooled_(pooled) {}
  HWND hwnd_;
  bool pooled_;
};

// A message the hook posted to a receiver, with the cursor position recorded with it.
struct ReceivedHookMessage {
  HWND Window;
  WPARAM WParam;
  LPARAM LParam;
  POINT Pos;
};

// Pumps this thread's messages for `ms` milliseconds and returns the hook messages
// that arrived meanwhile, in order.
std::vector<ReceivedHookMessage> PumpHookMessages(DWORD ms);

// Moves the cursor to a screen point and presses and releases the left button there
// through the system's input queue, as a user's click would.
void ClickAt(POINT point);

}  // namespace ov::test
