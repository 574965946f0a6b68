#include "win/app/ApplicationWindow.h"

#include "win/app/App.h"
#include "win/platform/Utf16.h"

namespace ov {

bool ApplicationWindow::Create() {
  // A tool window that is never shown: no task-bar button, but a real top-level window
  // so that messages posted to it reach the program's message loop.
  return CreateWindowOfClass(kApplicationClass, Widen(kApplicationTitle), WS_POPUP, WS_EX_TOOLWINDOW, 0, 0, 0, 0,
                             nullptr);
}

}  // namespace ov
