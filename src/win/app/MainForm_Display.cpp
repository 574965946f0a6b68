// The main window's side of the monitors: a monitor added or removed, or a resolution or
// arrangement changed while the program runs.
#include <windows.h>

#include "core/wallpaper/MonitorLayout.h"
#include "win/app/App.h"
#include "win/app/MainForm.h"
#include "win/config/MainWindow.h"
#include "win/desktop/DatePicker.h"
#include "win/desktop/EntryPopup.h"
#include "win/desktop/RepeatDialog.h"
#include "win/wallpaper/Monitors.h"

namespace ov {

namespace {

// Moves a shown window back inside the work area of a monitor that still exists. Minimised
// and maximised windows are left to the system, which places those itself.
void KeepOnMonitors(HWND window, const MonitorLayout& now) {
  if (!window || !IsWindowVisible(window) || IsIconic(window) || IsZoomed(window)) return;
  RECT wr;
  if (!GetWindowRect(window, &wr)) return;
  const Rect was{wr.left, wr.top, wr.right, wr.bottom};
  const Rect placed = WindowOnMonitors(was, now);
  if (placed != was)
    SetWindowPos(window, nullptr, placed.left, placed.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

void MainForm::OnDisplayChanged() {
  const ScreenMapping old = app_.Monitors.Mapping();
  app_.Monitors = QueryMonitorLayout();
  app_.WallpaperSize = app_.Monitors.WallpaperSize();
  // The panel keeps its place on the screen while that is still on a monitor; otherwise
  // it comes back to the primary monitor.
  app_.settings.CalendarRect = CalendarRectAfterDisplayChange(app_.settings.CalendarRect, old, app_.Monitors);
  if (app_.Renderer) app_.Renderer->SetTargetSize(app_.WallpaperSize);
  // The cell table described the old picture; the rebuild refills it at the new size.
  app_.Cells.Clear();
  if (!app_.StartingUp) UpdateWallpaper();
  // The preview stands for the wallpaper at its new size.
  if (ui_) ui_->UpdatePreview();
  // Windows left where no monitor shows them any more come back. The rebuild above closed
  // the pop-up unless its menu or the repeat dialog holds it open; the mini controller
  // follows the panel, which the rebuild has kept on a monitor.
  KeepOnMonitors(Handle(), app_.Monitors);
  if (app_.EntryPopup) KeepOnMonitors(app_.EntryPopup->Handle(), app_.Monitors);
  if (app_.Repeat) KeepOnMonitors(app_.Repeat->Handle(), app_.Monitors);
  if (app_.DatePicker) KeepOnMonitors(app_.DatePicker->Handle(), app_.Monitors);
}

}  // namespace ov
