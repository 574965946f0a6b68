// The main window's part in keeping the desktop picture current: the rebuild operation
// and the housekeeping timer.
#include <windows.h>

#include "core/app/Housekeeping.h"
#include "core/wallpaper/DesktopWallpaperValues.h"
#include "core/wallpaper/WallpaperBuilder.h"
#include "win/app/App.h"
#include "win/app/ApplicationWindow.h"
#include "win/app/MainForm.h"
#include "win/app/NotesWatcher.h"
#include "win/app/Reminders.h"
#include "win/app/StartTimes.h"
#include "win/config/MainWindow.h"
#include "win/app/Timers.h"
#include "win/desktop/Controller.h"
#include "win/desktop/DesktopIcons.h"
#include "win/desktop/EntryPopup.h"
#include "win/shell/TrayIcon.h"
#include "win/ui/MessageBoxes.h"
#include "win/wallpaper/DesktopWallpaper.h"

namespace ov {

namespace {

const char kHookInitFailedOnTick[] =
    "Orvinta 桌面鼠标挂钩无法初始化。在桌面上三击鼠标也许无法工作。请尝试重新运行本程序。如果不起作用 - 重启您的系统。";

// What the housekeeping tick asks of the program.
class TickHost final : public HousekeepingHost {
 public:
  TickHost(App& app, MainForm& form) : app_(app), form_(form) {}
  uintptr_t CurrentHookWindow() override {
    return reinterpret_cast<uintptr_t>(app_.AppWindow ? app_.AppWindow->Handle() : nullptr);
  }
  void DeInitializeHook() override { app_.Hook->DeInitialize(); }
  int InitializeHook(uintptr_t window) override { return app_.Hook->Initialize(reinterpret_cast<HWND>(window)); }
  void ShowHookError() override { ErrorBox(form_.Handle(), kHookInitFailedOnTick); }
  void KeepIconCaptionsTransparent() override {
    if (app_.settings.DesktopIconsTransparent && !IsWindowsXP())
      ov::KeepIconCaptionsTransparent(static_cast<COLORREF>(app_.settings.DesktopIconTextColor));
  }
  void SetDisplayDate(double date) override { app_.DisplayDate = date; }
  void UpdateWallpaper() override { form_.UpdateWallpaper(); }
  void ShowBackupAge() override {
    if (MainWindow* ui = form_.Ui()) ui->ShowBackupAge();
  }
  void Rotate() override { form_.Rotate(); }
  void ShowNextRotation() override { form_.ShowNextRotation(); }
  void CaptureCheck() override {
    // Capture is background work: an unreadable file or a full disk leaves the foreign
    // wallpaper, and the next tick tries again.
    try {
      form_.CaptureCheck();
    } catch (...) {
    }
  }
  void SetTimerEnabled(bool enabled) override {
    if (enabled) SetTimer(form_.Handle(), kTimerSec, kTimerSecInterval, nullptr);
    else KillTimer(form_.Handle(), kTimerSec);
  }

 private:
  App& app_;
  MainForm& form_;
};

}  // namespace

void MainForm::UpdateWallpaper() {
  // The mini controller hides while the picture changes and comes back on its new place.
  if (app_.Controller) app_.Controller->HideController();
  // An open pop-up closes first; a changed one saves and rebuilds by itself.
  if (app_.EntryPopup && !app_.EntryPopup->Saved()) {
    bool modified = app_.EntryPopup->Modified();
    app_.EntryPopup->CloseEntry();
    if (modified) return;
  }
  // The error text is not shown: the previous wallpaper simply stays.
  BuildWallpaper(app_.settings.WallpaperBackground);
  PlaceController();
}

std::string MainForm::BuildWallpaper(const std::string& file, bool rotation) {
  // The notes drawn now are the ones shown: the notes watcher reports only changes made
  // after this build, not the program's own writes that led to it.
  struct HoldNotes {
    NotesWatcher* w;
    explicit HoldNotes(NotesWatcher* watcher) : w(watcher) {
      if (w) w->Hold();
    }
    ~HoldNotes() {
      if (w) w->Release();
    }
  } holdNotes(notesWatcher_.get());
  if (!app_.Props || !app_.Renderer) return "Problem loading image \"" + file + "\"";
  WallpaperHost host;
  const WallpaperInstall install = InstallFor(app_.Monitors);
  host.install = [this, &install](const std::string& path) {
    MarkStartStep("wallpaper built");
    const bool ok = SetDesktopWallpaper(path, install.style, 0, 0);
    MarkStartStep("wallpaper installed");
    StartRedrawOverWallpaper();
    return ok;
  };
  host.busy = [this](bool on) {
    if (on) MarkStartStep("wallpaper build begun");
    if (app_.Tray) app_.Tray->SetCycling(on);
  };
  host.normalPriority = [] { SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_NORMAL); };
  WallpaperBuildInput in{app_.settings, *app_.Props, &app_.Overlay, *app_.Renderer, app_.Cells, app_.Clock,
                         app_.DisplayDate, app_.WallpaperSize, app_.Folders.WallpaperFile(), host,
                         UnshownRects(app_.Monitors), install.tileShift, rotation};
  in.kept = &app_.WallpaperLayer;
  SetTimer(Handle(), kTimerReleaseWallpaperLayer, kReleaseWallpaperLayerDelay, nullptr);
  std::string error;
  try {
    error = ov::BuildWallpaper(in, file);
  } catch (const std::exception&) {
    // Out of memory for a huge desktop, say: the previous wallpaper stays, and the kept
    // surfaces go at once.
    app_.WallpaperLayer.Release();
    error = "Problem constructing wallpaper \"" + file + "\"";
  }
  // Every change of the notes (an edit, a repeat, another section) ends in a build: the
  // reminders look at the notes again.
  if (app_.Reminders) app_.Reminders->Refresh();
  return error;
}

void MainForm::OnReleaseWallpaperLayerTimer() {
  KillTimer(Handle(), kTimerReleaseWallpaperLayer);
  // Parked in its cache file rather than only let go: a note written later reads the
  // composed picture back instead of decoding and placing the picture again.
  const std::filesystem::path cache = app_.Folders.LayerCacheFile();
  if (cache.empty()) app_.WallpaperLayer.Release();
  else app_.WallpaperLayer.Park(cache);
}

void MainForm::StartRedrawOverWallpaper() {
  redrawsLeft_ = kRedrawOverWallpaperCount;
  SetTimer(Handle(), kTimerRedrawOverWallpaper, kRedrawOverWallpaperInterval, nullptr);
}

void MainForm::OnRedrawOverWallpaperTimer() {
  RedrawOverWallpaper();
  if (--redrawsLeft_ <= 0) KillTimer(Handle(), kTimerRedrawOverWallpaper);
}

void MainForm::OnHousekeepingTick() {
  TickHost host(app_, *this);
  HousekeepingState state;
  state.quitting = app_.Quitting;
  state.hookWindow = reinterpret_cast<uintptr_t>(app_.HookWindow);
  state.lastTick = app_.LastTick;
  state.rotateImages = app_.settings.RotateImages;
  state.nextRotationTime = app_.settings.NextRotationTime;
  state.captureWallpaper = app_.settings.CaptureWallpaper;
  HousekeepingTick(state, host, app_.Clock.Now());
  // The tray icon shows the day of the month: a new day, a new face.
  if (app_.Tray) app_.Tray->ShowDay(app_.Clock.Now());
  if (app_.Reminders) app_.Reminders->OnTick();
  app_.HookWindow = reinterpret_cast<HWND>(state.hookWindow);
  app_.LastTick = state.lastTick;
}

}  // namespace ov
