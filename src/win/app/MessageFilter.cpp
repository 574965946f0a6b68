#include "win/app/MessageFilter.h"

#include "win/app/App.h"
#include "win/desktop/EntryPopup.h"

namespace ov {

bool MessageFilter::Handle(const MSG& msg) {
  if (msg.message == WM_TIMECHANGE) {
    // The clock was set: the next housekeeping tick treats it as a change of day.
    app_.LastTick = app_.Clock.Now() - 1.0;
  } else if (msg.message == kMsgHookMouse) {
    if (msg.wParam == WM_LBUTTONDOWN) {
      // A press anywhere on the desktop closes the open pop-up (saving it when changed).
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
