#include "core/desktop/ControllerMenu.h"

#include <cstdio>

#include "core/calendar/DateTime.h"
#include "core/calendar/DisplayDate.h"
#include "core/calendar/Sections.h"
#include "core/ical/NotesExport.h"

namespace ov {

namespace {

ControllerMenuItem Item(int id, const char* caption, MenuMark mark = MenuMark::None) {
  ControllerMenuItem item;
  item.id = id;
  item.caption = caption;
  item.mark = mark;
  return item;
}

ControllerMenuItem Separator() { return {}; }

MenuMark Radio(bool on) { return on ? MenuMark::RadioOn : MenuMark::RadioOff; }

}  // namespace

std::string MonthItemCaption(int month, const ILocaleNames& locale) {
  char number[8];
  std::snprintf(number, sizeof(number), "%2d", month);
  return std::string(number) + "  " + locale.LongMonthName(month);
}

std::vector<ControllerMenuItem> BuildControllerMenu(const ControllerMenuState& state, const ILocaleNames& locale) {
  std::vector<ControllerMenuItem> menu;
  ControllerMenuItem today = Item(kCtlToday, "今天");
  today.enabled = !SameDay(state.displayDate, state.now);
  menu.push_back(today);

  ControllerMenuItem months = Item(0, "月份");
  const int shownMonth = DecodeDate(state.displayDate).month;
  for (int m = 1; m <= 12; ++m)
    months.items.push_back(Item(kCtlMonthFirst + m, MonthItemCaption(m, locale).c_str(), Radio(m == shownMonth)));
  menu.push_back(months);

  menu.push_back(Item(kCtlPickDate, "选择日期..."));
  menu.push_back(Separator());

  ControllerMenuItem sections = Item(0, kSectionMenuCaption);
  for (size_t i = 0; i < state.sections.size() && kCtlSectionFirst + static_cast<int>(i) <= kCtlSectionLast; ++i)
    sections.items.push_back(Item(kCtlSectionFirst + static_cast<int>(i), SectionMenuCaption(state.sections[i]).c_str(),
                                  Radio(state.sections[i] == state.currentSection)));
  // A menu with no items cannot open: an empty list shows as a disabled entry.
  if (sections.items.empty()) {
    sections.enabled = false;
  } else {
    sections.items.push_back(Separator());
    sections.items.push_back(Item(kCtlExportIcs, kExportIcsCaption));
  }
  menu.push_back(sections);

  ControllerMenuItem rows = Item(0, "星期行数");
  for (int v : kWeekRowChoices) {
    ControllerMenuItem row = Item(kCtlWeekRowsFirst + v, std::to_string(v).c_str(), Radio(v == state.visibleWeeks));
    row.newColumn = v == 10;
    rows.items.push_back(row);
  }
  menu.push_back(rows);
  menu.push_back(Separator());

  menu.push_back(Item(kCtlCalendarVisible, "显示日历", state.calendarVisible ? MenuMark::Tick : MenuMark::None));
  menu.push_back(Item(kCtlSwapCorner, "交换控制器角"));
  menu.push_back(Separator());

  menu.push_back(Item(kCtlChangeWallpaper, "更换背景图像"));
  ControllerMenuItem images = Item(0, "图像");
  images.items = {Item(kCtlSelectWallpaperFolder, "选择图像文件夹(&S)..."),
                  Item(kCtlOpenImagesFolder, "展开图像文件夹(&E)..."), Item(kCtlRefreshImageList, "刷新图像列表(&R)"),
                  Separator(), Item(kCtlSearchNewWallpapers, "使用 Google 搜索新的背景(&G)")};
  menu.push_back(images);
  menu.push_back(Item(kCtlOpenProgram, "打开程序..."));
  menu.push_back(Item(kCtlCloseController, "关闭迷你控制器"));
  return menu;
}

void RunControllerCommand(int id, double& displayDate, Settings& settings, const std::vector<std::string>& sections,
                          double now, IControllerHost& host) {
  if (id == kCtlBack || id == kCtlNext) {
    displayDate = id == kCtlBack ? DisplayDatePreviousMonth(displayDate) : DisplayDateNextMonth(displayDate);
    host.DisplayDateMoved();
  } else if (id > kCtlMonthFirst && id <= kCtlMonthFirst + 12) {
    displayDate = DisplayDateMonthChosen(displayDate, id - kCtlMonthFirst);
    host.DisplayDateMoved();
  } else if (id >= kCtlSectionFirst && id <= kCtlSectionLast) {
    size_t index = static_cast<size_t>(id - kCtlSectionFirst);
    if (index < sections.size()) host.ChooseSection(sections[index]);
  } else if (id > kCtlWeekRowsFirst && id <= kCtlWeekRowsFirst + 40) {
    settings.VisibleWeeks = id - kCtlWeekRowsFirst;
    host.UpdateWallpaper();
    host.ShowWeekRows(settings.VisibleWeeks);
  } else {
    switch (id) {
      case kCtlToday:
        displayDate = ClampDateTime(now);
        host.UpdateWallpaper();
        break;
      case kCtlPickDate: host.ShowDatePicker(); break;
      case kCtlCalendarVisible:
        settings.CalendarVisible = !settings.CalendarVisible;
        host.UpdateWallpaper();
        break;
      case kCtlSwapCorner:
        settings.ControllerLeft = !settings.ControllerLeft;
        host.UpdateWallpaper();
        break;
      case kCtlChangeWallpaper: host.ChangeWallpaperImage(); break;
      case kCtlSelectWallpaperFolder: host.SelectWallpaperFolder(); break;
      case kCtlOpenImagesFolder: host.OpenImagesFolder(); break;
      case kCtlRefreshImageList: host.RefreshImageList(); break;
      case kCtlSearchNewWallpapers: host.SearchNewWallpapers(); break;
      case kCtlOpenProgram: host.OpenProgram(); break;
      case kCtlExportIcs: host.ExportIcs(); break;
      case kCtlCloseController:
        settings.ShowController = !settings.ShowController;
        host.ShowControllerChanged();
        break;
      default: break;
    }
  }
}

}  // namespace ov
