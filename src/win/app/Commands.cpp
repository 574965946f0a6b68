#include "win/app/Commands.h"


#include "core/calendar/DisplayDate.h"
#include "win/app/App.h"
#include "win/app/MainForm.h"
#include "win/ical/ExportIcsDialog.h"
#include "win/desktop/DatePicker.h"

namespace ov {

namespace {

void Append(HMENU menu, UINT id, const wchar_t* caption) { AppendMenuW(menu, MF_STRING, id, caption); }

}  // namespace

HMENU CreateImagesMenu() {
  HMENU menu = CreatePopupMenu();
  Append(menu, kCmdSelectWallpaperFolder, L"选择图像文件夹(&S)...");
  Append(menu, kCmdOpenImagesFolder, L"展开图像文件夹(&E)...");
  Append(menu, kCmdRefreshImageList, L"刷新图像列表(&R)");
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  Append(menu, kCmdSearchNewWallpapers, L"使用 Google 搜索新的背景(&G)");
  return menu;
}

void ChooseSection(App& app, const std::string& name) { app.MainWindow->ChooseEntrySection(name); }

void ToggleCalendarVisible(App& app) {
  app.settings.CalendarVisible = !app.settings.CalendarVisible;
  app.MainWindow->UpdateWallpaper();
}

void ToggleMiniController(App& app) {
  app.settings.ShowController = !app.settings.ShowController;
  app.MainWindow->ApplyShowController();
}

void MoveDisplayDate(App& app, int step) {
  app.DisplayDate = step == 0  ? DisplayDateToday(app.Clock)
                    : step < 0 ? DisplayDatePreviousMonth(app.DisplayDate)
                               : DisplayDateNextMonth(app.DisplayDate);
  app.MainWindow->UpdateWallpaper();
}

void QuitProgram(App& app) {
  app.Quitting = true;
  PostMessageW(app.MainWindow->Handle(), WM_CLOSE, 0, 0);
}

bool RunSharedCommand(App& app, UINT id) {
  MainForm& form = *app.MainWindow;
  switch (id) {
    case kCmdOpenProgram: form.ShowMainWindow(); return true;
    case kCmdRotateWallpaper: form.ChangeWallpaperImage(); return true;
    case kCmdSelectWallpaperFolder: form.SelectWallpaperFolder(); return true;
    case kCmdOpenImagesFolder: form.OpenImagesFolder(); return true;
    case kCmdRefreshImageList: form.RefreshImageList(); return true;
    case kCmdSearchNewWallpapers: form.SearchNewWallpapers(); return true;
    case kCmdCalendarVisible: ToggleCalendarVisible(app); return true;
    case kCmdMiniController: ToggleMiniController(app); return true;
    case kCmdToday: MoveDisplayDate(app, 0); return true;
    case kCmdPreviousMonth: MoveDisplayDate(app, -1); return true;
    case kCmdNextMonth: MoveDisplayDate(app, 1); return true;
    case kCmdSelectDate: app.ShowDatePicker(); return true;
    case kCmdQuit: QuitProgram(app); return true;
    case kCmdExportIcs: ExportNotesAsIcs(app, nullptr); return true;
    default: return false;
  }
}

}  // namespace ov
