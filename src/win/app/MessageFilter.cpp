#include "win/app/MessageFilter.h"

#include "win/app/App.h"

namespace ov {

bool MessageFilter::Handle(const MSG& msg) {
  if (msg.message == WM_TIMECHANGE) {
    // The clock was set: the next housekeeping tick treats it as a change of day.
    app_.LastTick = app_.Clock.Now() - 1.0;
  }
  // Desktop clicks from the hook library (kMsgHookMouse) become triple-clicks once the
  // desktop pop-up exists. Every message is then dispatched as usual.
  return false;
}

}  // namespace ov
