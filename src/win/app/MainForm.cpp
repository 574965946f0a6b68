#include "win/app/MainForm.h"

#include <shellapi.h>

#include <filesystem>

#include "core/app/SizingRules.h"
#include "core/app/WindowPlacement.h"
#include "core/print/PrintPage.h"
#include "core/util/Paths.h"
#include "core/wallpaper/DesktopRefresh.h"
#include "win/app/App.h"
#include "win/app/NotesWatcher.h"
#include "win/app/ApplicationWindow.h"
#include "win/app/Reminders.h"
#include "win/app/TestClock.h"
#include "win/app/Timers.h"
#include "win/ui/Dpi.h"
#include "win/config/MainWindow.h"
#include "win/shell/Autostart.h"
#include "win/desktop/Controller.h"
#include "win/platform/Utf16.h"

namespace ov {

static_assert(kSpiSetWorkArea == SPI_SETWORKAREA && kSpiSetFontSmoothing == SPI_SETFONTSMOOTHING);

namespace {

// The window's design size and minimum, in 96-dpi units.
constexpr int kDesignWidth = 600, kDesignHeight = 569;
constexpr int kMinWidth = 532, kMinHeight = 360;

int Scale(HWND hwnd, int v) { return ScaleForWindow(hwnd, v); }

BOOL CALLBACK CollectWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
  MONITORINFO mi{};
  mi.cbSize = sizeof(mi);
  if (GetMonitorInfoW(monitor, &mi)) {
    auto* list = reinterpret_cast<std::vector<Rect>*>(data);
    Rect r{mi.rcWork.left, mi.rcWork.top, mi.rcWork.right, mi.rcWork.bottom};
    // The primary monitor first: a window with no place left is centred there.
    if (mi.dwFlags & MONITORINFOF_PRIMARY) list->insert(list->begin(), r);
    else list->push_back(r);
  }
  return TRUE;
}

}  // namespace

MainForm::MainForm(App& app) : app_(app) {}
MainForm::~MainForm() = default;

LRESULT MainForm::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (ui_) {
    LRESULT r = 0;
    if (ui_->HandleMessage(msg, wp, lp, r)) return r;
  }
  switch (msg) {
    case WM_SETTINGCHANGE:
      // The work area or font smoothing changed: the calendar is drawn again, after the
      // monitors' work areas were read anew. (Our own wallpaper change arrives here too
      // and must not start another build.)
      switch (RefreshForSettingChange(static_cast<uint32_t>(wp))) {
        case DesktopRefresh::RemeasureAndRebuild:
          OnDisplayChanged();
          break;
        case DesktopRefresh::Rebuild:
          UpdateWallpaper();
          break;
        case DesktopRefresh::None:
          break;
      }
      break;
    case kMsgShowMainForm:
      ShowMainWindow();
      return 0;
    case kMsgNotesChanged:
      OnNotesChanged();
      return 0;
    case kMsgSectionsChanged:
      // A rename or deletion: the preview's title names the section that is now active.
      RebuildSectionLists();
      if (ui_) ui_->UpdatePreview();
      return 0;
    case WM_QUERYENDSESSION:
      OnQueryEndSession();
      return 1;
    case WM_TIMECHANGE:
      // The clock was set (the system sends this to every top-level window): the next
      // housekeeping tick treats it as a change of day.
      app_.LastTick = app_.Clock.Now() - 1.0;
      if (app_.Reminders) app_.Reminders->Refresh();
      return 0;
    case WM_POWERBROADCAST:
      // Awake again: changes synced meanwhile may have gone unreported, and what came due
      // while the PC slept is shown as missed.
      if (wp == PBT_APMRESUMEAUTOMATIC || wp == PBT_APMRESUMESUSPEND) {
        if (notesWatcher_) notesWatcher_->Recheck();
        if (app_.Reminders) app_.Reminders->Refresh(true);
      }
      return TRUE;
    case WM_HOTKEY:
      // Nothing in the program registers a hot key; another program may post one.
      app_.OpenEntryForDate(app_.DisplayDate);
      return 0;
    case WM_SIZING:
      OnSizing(wp, reinterpret_cast<RECT*>(lp));
      return TRUE;
    case WM_GETMINMAXINFO: {
      auto* mmi = reinterpret_cast<MINMAXINFO*>(lp);
      mmi->ptMinTrackSize.x = Scale(Handle(), kMinWidth);
      mmi->ptMinTrackSize.y = Scale(Handle(), kMinHeight);
      return 0;
    }
    case WM_WINDOWPOSCHANGING:
      return Default(msg, wp, lp);
    case WM_SYSCOMMAND:
      if ((wp & 0xFFF0) == SC_MINIMIZE) {
        OnMinimise();
        return 0;
      }
      break;
    case WM_SHOWWINDOW:
      // Shown: the program works at normal priority; hidden it runs below normal.
      if (wp) SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_NORMAL);
      break;
    case WM_DISPLAYCHANGE:
      OnDisplayChanged();
      return 0;
    case WM_TIMER:
      if (wp == kTimerSec) OnHousekeepingTick();
      else if (wp == kTimerRedrawOverWallpaper) OnRedrawOverWallpaperTimer();
      else if (wp == kTimerReleaseWallpaperLayer) OnReleaseWallpaperLayerTimer();
      else if (wp == kTimerReminder && app_.Reminders) app_.Reminders->OnTimer();
      else if (wp == kTimerNotesChanged) {
        KillTimer(Handle(), kTimerNotesChanged);
        OnNotesChanged();
      }
      return 0;
    case kMsgCalendarsChanged:
      if (app_.Quitting) return 0;
      if (ui_) ui_->CalendarStatesChanged();
      if (wp) UpdateWallpaper();
      return 0;
    case kMsgTestClockAdvance:
      if (!TestClockEnabled() || app_.Quitting) break;
      app_.Clock.Shift(static_cast<double>(wp) / 1440.0);
      OnHousekeepingTick();
      if (app_.Reminders) app_.Reminders->Refresh();
      return 1;
    case WM_CLOSE:
      OnClose();
      return 0;
    case WM_ENDSESSION:
      return 0;
    case WM_DESTROY:
      KillTimer(Handle(), kTimerSec);
      KillTimer(Handle(), kTimerPreviewDelay);
      KillTimer(Handle(), kTimerRedrawOverWallpaper);
      KillTimer(Handle(), kTimerReleaseWallpaperLayer);
      KillTimer(Handle(), kTimerReminder);
      KillTimer(Handle(), kTimerNotesChanged);
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return Default(msg, wp, lp);
}

void MainForm::OnSizing(WPARAM edge, RECT* r) {
  if (!r || edge < WMSZ_LEFT || edge > WMSZ_BOTTOMRIGHT) return;
  Rect in{r->left, r->top, r->right, r->bottom};
  Rect out = ClampSizingRect(in, static_cast<SizingEdge>(edge), Scale(Handle(), kMinWidth), Scale(Handle(), kMinHeight),
                             0, 0);
  *r = RECT{out.left, out.top, out.right, out.bottom};
}

void MainForm::ShowMainWindow() {
  int cmd = IsIconic(Handle()) ? SW_RESTORE : SW_SHOW;
  if (showMaximized_ && !IsWindowVisible(Handle())) cmd = SW_SHOWMAXIMIZED;
  showMaximized_ = false;
  ShowWindow(Handle(), cmd);
  SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_NORMAL);
  if (ui_) ui_->RestorePreview();
  UpdateWindow(Handle());
  SetForegroundWindow(Handle());
  // The mini controller hides while the main window is open.
  if (app_.Controller) app_.Controller->HideController();
}

void MainForm::HideToTray() { ShowWindow(Handle(), SW_HIDE); }

void MainForm::OnMinimise() {
  if (ui_) ui_->ReleasePreview(true);
  HideToTray();
  // Minimised: save the current picture's properties and release the preview (with the
  // preview), run below normal priority, bring back the desktop pop-up and mini controller
  // (with those windows), rebuild the wallpaper and save the settings.
  SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
  UpdateWallpaper();
  SaveSettings();
}

void MainForm::OnQueryEndSession() {
  app_.Quitting = true;
  SendMessageW(Handle(), WM_CLOSE, 0, 0);
}

void MainForm::OnClose() {
  if (closing_) return;
  bool refuse = !app_.Quitting && app_.settings.CloseIsMinimize;
  HideToTray();
  OnMinimise();
  SaveSettings();
  if (refuse) return;
  closing_ = true;
  ShutDown();
  DestroyWindow(Handle());
}

void MainForm::ShutDown() {
  KillTimer(Handle(), kTimerSec);
  KillTimer(Handle(), kTimerPreviewDelay);
  if (ui_) ui_->StopLibraryWork();  // thumbnails and the folder watch end with the window
  if (notesWatcher_) notesWatcher_->Stop();
  SyncAutostart(app_);
  SaveSettings();
  // Temporary print bitmaps, deleted silently without undo.
  DeletePrintTempFiles(app_.Folders.tempFolder);
  UnregisterHotKey(Handle(), 0);
  SaveRotationQueue();
}

void MainForm::SaveSettings() {
  SaveWindowPlacement();
  app_.SaveSettings();
}

void MainForm::SaveWindowPlacement() {
  WINDOWPLACEMENT wp{};
  wp.length = sizeof(wp);
  if (!GetWindowPlacement(Handle(), &wp)) return;
  WindowPlacementValues& v = app_.settings.MainForm;
  v.left = wp.rcNormalPosition.left;
  v.top = wp.rcNormalPosition.top;
  v.width = wp.rcNormalPosition.right - wp.rcNormalPosition.left;
  v.height = wp.rcNormalPosition.bottom - wp.rcNormalPosition.top;
  v.state = wp.showCmd == SW_SHOWMAXIMIZED ? "wsMaximized" : IsIconic(Handle()) ? "wsMinimized" : "wsNormal";
}

void MainForm::LoadWindowPlacement() {
  std::vector<Rect> workAreas;
  EnumDisplayMonitors(nullptr, nullptr, CollectWorkArea, reinterpret_cast<LPARAM>(&workAreas));
  WindowPlacementValues v =
      FitPlacementToScreens(app_.settings.MainForm, workAreas, {Scale(Handle(), kDesignWidth), Scale(Handle(), kDesignHeight)},
                            {Scale(Handle(), kMinWidth), Scale(Handle(), kMinHeight)});
  app_.settings.MainForm = v;
  WINDOWPLACEMENT wp{};
  wp.length = sizeof(wp);
  GetWindowPlacement(Handle(), &wp);
  wp.rcNormalPosition = RECT{v.left, v.top, v.left + v.width, v.top + v.height};
  // The window stays hidden at start; a maximised state takes effect when it is shown.
  wp.showCmd = SW_HIDE;
  wp.flags = 0;
  SetWindowPlacement(Handle(), &wp);
  // A window saved maximised comes back maximised over its restored rectangle when shown.
  showMaximized_ = v.state == "wsMaximized";
}

}  // namespace ov
