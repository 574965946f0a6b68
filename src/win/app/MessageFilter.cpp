#include "win/app/MessageFilter.h"

#include "win/app/App.h"
#include "win/desktop/EntryPopup.h"

namespace ov {

namespace {

// The one filter of the user-interface thread, for the hook procedure.
MessageFilter* gFilter = nullptr;

}  // namespace

MessageFilter::MessageFilter(App& app) : app_(app) {
  gFilter = this;
  hook_ = SetWindowsHookExW(WH_MSGFILTER, &MessageFilter::HookProc, nullptr, GetCurrentThreadId());
}

MessageFilter::~MessageFilter() {
  if (hook_) UnhookWindowsHookEx(hook_);
  if (gFilter == this) gFilter = nullptr;
}

LRESULT CALLBACK MessageFilter::HookProc(int code, WPARAM wp, LPARAM lp) noexcept {
  if (code >= 0 && gFilter && lp) {
    try {
      if (gFilter->Handle(*reinterpret_cast<const MSG*>(lp))) return 1;
    } catch (...) {
      // A failure in the filter must not unwind through the system's modal loop.
    }
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

bool MessageFilter::Handle(const MSG& msg) {
  if (msg.message == WM_TIMECHANGE) {
    // The clock was set: the next housekeeping tick treats it as a change of day.
    app_.LastTick = app_.Clock.Now() - 1.0;
  } else if (msg.message == kMsgHookMouse) {
    if (msg.wParam == WM_LBUTTONDOWN) {
      // A press anywhere on the desktop closes the open pop-up (saving it when changed);
      // while the pop-up runs a modal loop of its own, the close waits for its end.
      if (app_.EntryPopup) app_.EntryPopup->CloseEntry();
    } else if (msg.wParam == WM_LBUTTONUP) {
      bool third = app_.Clicks.Release(static_cast<int32_t>(GetTickCount()), GetDoubleClickTime());
      if (third && app_.settings.CalendarVisible) {
        // The cursor position the system recorded with the message: where the click was.
        app_.OpenEntryAtPoint(msg.pt.x, msg.pt.y);
      }
    }
  }
  // Every message is then dispatched as usual.
  return false;
}

}  // namespace ov
