#pragma once
// The commands that several menus share (the tray's, the mini controller's, the main
// window's and the entry pop-up's), each doing exactly what its menu item promises.
#include <windows.h>

#include <string>

namespace ov {

struct App;

// Menu command ids shared by the menus that offer these commands.
enum SharedCommand : UINT {
  kCmdOpenProgram = 2000,
  kCmdRotateWallpaper,
  kCmdSelectWallpaperFolder,
  kCmdOpenImagesFolder,
  kCmdRefreshImageList,
  kCmdSearchNewWallpapers,
  kCmdCalendarVisible,
  kCmdMiniController,
  kCmdToday,
  kCmdPreviousMonth,
  kCmdNextMonth,
  kCmdSelectDate,
  kCmdQuit,
  kCmdExportIcs,  // "导出为 .ics..."
  kCmdSectionFirst = 2100,  // one per entry section, in list order
  kCmdSectionLast = 2399,
  kCmdReminderPause = 2400,  // "暂停提醒一小时"
  kCmdReminderFirst = 2401,  // the next reminders, each opening its day
  kCmdReminderLast = 2403,
};

// "图像": the picture library's folder choice, opening the folder, the rescan and the web
// search, as a submenu.
HMENU CreateImagesMenu();

// Runs a shared command; false when the id is not one of them.
bool RunSharedCommand(App& app, UINT id);

// The sections the menus list, in list order, and choosing one of them.
void ChooseSection(App& app, const std::string& name);

void ToggleCalendarVisible(App& app);
// ShowController toggled and applied to the controller window.
void ToggleMiniController(App& app);
// DisplayDate moved by `step` months (0: today), then the wallpaper rebuilt.
void MoveDisplayDate(App& app, int step);
// "退出": the close of the main window then ends the program.
void QuitProgram(App& app);

}  // namespace ov
