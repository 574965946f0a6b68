#pragma once
// The mini controller's decisions: its menu (items, captions, marks, columns) for the
// current state, and what each of its commands and arrows does, told to a host that
// stands for the rest of the program.
#include <string>
#include <vector>

#include "core/platform/LocaleNames.h"
#include "core/settings/Settings.h"

namespace ov {

// Command ids of the controller's arrows and menu items.
enum ControllerCommand : int {
  kCtlBack = 2000,  // "<"
  kCtlNext = 2001,  // ">"
  kCtlToday = 2010,
  kCtlMonthFirst = 2100,     // 2101..2112: the months
  kCtlPickDate = 2200,
  kCtlSectionFirst = 2300,   // 2300 + index into the section list
  kCtlSectionLast = 2399,
  kCtlWeekRowsFirst = 2400,  // 2400 + the number of week rows
  kCtlCalendarVisible = 2500,
  kCtlSwapCorner,
  kCtlChangeWallpaper,
  kCtlSelectWallpaperFolder,
  kCtlOpenImagesFolder,
  kCtlRefreshImageList,
  kCtlSearchNewWallpapers,
  kCtlOpenProgram,
  kCtlCloseController,
  kCtlExportIcs,  // "导出为 .ics..." in the section submenu
};

// The choices of "星期行数"; a second column starts at 10.
inline constexpr int kWeekRowChoices[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12, 14, 16, 20, 25, 30, 35, 40};

enum class MenuMark { None, Tick, RadioOn, RadioOff };

struct ControllerMenuItem {
  int id = 0;
  std::string caption;  // UTF-8; empty for a separator
  MenuMark mark = MenuMark::None;
  bool enabled = true;
  bool newColumn = false;  // the item starts a new column of its menu
  std::vector<ControllerMenuItem> items;  // a submenu's items

  bool Separator() const { return caption.empty() && items.empty(); }
};

struct ControllerMenuState {
  double displayDate = 0;
  double now = 0;
  bool calendarVisible = true;
  int visibleWeeks = 7;
  std::vector<std::string> sections;
  std::string currentSection;
};

// A month item's caption: the number right-aligned in two places, two spaces, the long name.
std::string MonthItemCaption(int month, const ILocaleNames& locale);
// The whole menu for the state when it opens.
std::vector<ControllerMenuItem> BuildControllerMenu(const ControllerMenuState& state, const ILocaleNames& locale);

// What the commands ask of the rest of the program.
class IControllerHost {
 public:
  virtual ~IControllerHost() = default;
  // DisplayDate moved: an open entry pop-up is closed as modified (its closing rebuilds),
  // otherwise the wallpaper is rebuilt.
  virtual void DisplayDateMoved() = 0;
  virtual void UpdateWallpaper() = 0;
  virtual void ShowDatePicker() = 0;
  virtual void ChooseSection(const std::string& name) = 0;
  // The main window's week-row field shows the new value.
  virtual void ShowWeekRows(int rows) = 0;
  virtual void ChangeWallpaperImage() = 0;
  virtual void SelectWallpaperFolder() = 0;
  virtual void OpenImagesFolder() = 0;
  virtual void RefreshImageList() = 0;
  virtual void SearchNewWallpapers() = 0;
  virtual void OpenProgram() = 0;
  // The active section's notes exported as an iCalendar file (asks for range and file).
  virtual void ExportIcs() = 0;
  // ShowController was toggled: place the controller and show or hide it.
  virtual void ShowControllerChanged() = 0;
};

// Runs a command; displayDate and settings are the program's own. sections is the list
// the menu was built from.
void RunControllerCommand(int id, double& displayDate, Settings& settings, const std::vector<std::string>& sections,
                          double now, IControllerHost& host);

}  // namespace ov
