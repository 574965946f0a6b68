// The main window's side of the monitors: a monitor added or removed, or a resolution or
// arrangement changed while the program runs.
#include <windows.h>

#include "core/wallpaper/MonitorLayout.h"
#include "win/app/App.h"
#include "win/app/MainForm.h"
#include "win/config/MainWindow.h"
#include "win/wallpaper/Monitors.h"

namespace ov {

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
}

}  // namespace ov
