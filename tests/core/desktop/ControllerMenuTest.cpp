#include <gtest/gtest.h>

#include "core/calendar/DateTime.h"
#include "core/desktop/ControllerMenu.h"

namespace ov {
namespace {

const ControllerMenuItem& Find(const std::vector<ControllerMenuItem>& menu, const std::string& caption) {
  for (const ControllerMenuItem& i : menu)
    if (i.caption == caption) return i;
  static ControllerMenuItem none;
  ADD_FAILURE() << "no item " << caption;
  return none;
}

// The item ids carrying a mark, in menu order.
std::vector<int> Marked(const ControllerMenuItem& sub, MenuMark mark) {
  std::vector<int> ids;
  for (const ControllerMenuItem& i : sub.items)
    if (i.mark == mark) ids.push_back(i.id);
  return ids;
}

class ControllerMenuTest : public ::testing::Test {
 protected:
  ControllerMenuTest() {
    state.displayDate = EncodeDate(2024, 3, 12);
    state.now = EncodeDateTime(2024, 3, 12, 15, 30);
    state.sections = {"默认", "Work & Home", "家"};
    state.currentSection = "家";
  }
  ControllerMenuState state;
  FakeLocaleNames locale;
};

TEST_F(ControllerMenuTest, ItemsSeparatorsAndCaptions) {
  std::vector<ControllerMenuItem> menu = BuildControllerMenu(state, locale);
  std::vector<std::string> captions;
  for (const ControllerMenuItem& i : menu) captions.push_back(i.Separator() ? "-" : i.caption);
  EXPECT_EQ(captions, (std::vector<std::string>{"今天", "月份", "选择日期...", "-", "项目部分", "星期行数", "-",
                                                "显示日历", "交换控制器角", "-", "更换背景图像", "图像", "打开程序...",
                                                "关闭迷你控制器"}));
  const ControllerMenuItem& months = Find(menu, "月份");
  ASSERT_EQ(months.items.size(), 12u);
  EXPECT_EQ(months.items[0].caption, " 1  January");
  EXPECT_EQ(months.items[11].caption, "12  December");
  EXPECT_EQ(months.items[2].id, kCtlMonthFirst + 3);
  const ControllerMenuItem& sections = Find(menu, "项目部分");
  ASSERT_EQ(sections.items.size(), 3u + 2u);  // the sections, a separator, the export
  EXPECT_EQ(sections.items[1].caption, "Work && Home");
  EXPECT_TRUE(sections.items[3].Separator());
  EXPECT_EQ(sections.items[4].caption, "导出为 .ics...");
  const ControllerMenuItem& images = Find(menu, "图像");
  ASSERT_EQ(images.items.size(), 5u);
  EXPECT_TRUE(images.items[3].Separator());
}

TEST_F(ControllerMenuTest, WeekRowsInTwoColumns) {
  std::vector<ControllerMenuItem> menu = BuildControllerMenu(state, locale);
  const ControllerMenuItem& rows = Find(menu, "星期行数");
  std::vector<int> values;
  for (const ControllerMenuItem& i : rows.items) {
    values.push_back(i.id - kCtlWeekRowsFirst);
    EXPECT_EQ(i.caption, std::to_string(i.id - kCtlWeekRowsFirst));
    EXPECT_EQ(i.newColumn, i.id == kCtlWeekRowsFirst + 10) << i.caption;
  }
  EXPECT_EQ(values, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12, 14, 16, 20, 25, 30, 35, 40}));
}

TEST_F(ControllerMenuTest, MarksFollowTheState) {
  struct Case {
    int visibleWeeks;
    bool calendarVisible;
    double displayDate;
    std::vector<int> rowOn;
    int monthOn;
    bool todayEnabled;
  } cases[] = {
      {7, true, EncodeDate(2024, 3, 12), {kCtlWeekRowsFirst + 7}, kCtlMonthFirst + 3, false},
      {11, false, EncodeDate(2024, 12, 1), {}, kCtlMonthFirst + 12, true},  // 11 is no choice: none marked
      {40, true, EncodeDate(2023, 3, 12), {kCtlWeekRowsFirst + 40}, kCtlMonthFirst + 3, true},
  };
  for (const Case& c : cases) {
    state.visibleWeeks = c.visibleWeeks;
    state.calendarVisible = c.calendarVisible;
    state.displayDate = c.displayDate;
    std::vector<ControllerMenuItem> menu = BuildControllerMenu(state, locale);
    const ControllerMenuItem& rows = Find(menu, "星期行数");
    EXPECT_EQ(Marked(rows, MenuMark::RadioOn), c.rowOn) << c.visibleWeeks;
    EXPECT_EQ(Marked(rows, MenuMark::RadioOff).size(), 18 - c.rowOn.size());
    EXPECT_EQ(Marked(Find(menu, "月份"), MenuMark::RadioOn), std::vector<int>{c.monthOn});
    EXPECT_EQ(Find(menu, "显示日历").mark, c.calendarVisible ? MenuMark::Tick : MenuMark::None);
    EXPECT_EQ(Find(menu, "今天").enabled, c.todayEnabled);
    EXPECT_EQ(Marked(Find(menu, "项目部分"), MenuMark::RadioOn), std::vector<int>{kCtlSectionFirst + 2});
  }
  state.sections.clear();
  std::vector<ControllerMenuItem> menu = BuildControllerMenu(state, locale);
  EXPECT_FALSE(Find(menu, "项目部分").enabled);
}

// Records what the commands ask for.
struct RecordingHost final : IControllerHost {
  std::vector<std::string> calls;
  void DisplayDateMoved() override { calls.push_back("moved"); }
  void UpdateWallpaper() override { calls.push_back("update"); }
  void ShowDatePicker() override { calls.push_back("picker"); }
  void ChooseSection(const std::string& name) override { calls.push_back("section " + name); }
  void ShowWeekRows(int rows) override { calls.push_back("rows " + std::to_string(rows)); }
  void ChangeWallpaperImage() override { calls.push_back("change"); }
  void SelectWallpaperFolder() override { calls.push_back("folder"); }
  void OpenImagesFolder() override { calls.push_back("open folder"); }
  void RefreshImageList() override { calls.push_back("refresh"); }
  void SearchNewWallpapers() override { calls.push_back("search"); }
  void OpenProgram() override { calls.push_back("program"); }
  void ExportIcs() override { calls.push_back("export"); }
  void ShowControllerChanged() override { calls.push_back("show controller"); }
};

TEST(ControllerCommands, DatesMoveWithTheDayClipped) {
  struct Case {
    int id;
    double from, to;
  } cases[] = {
      {kCtlNext, EncodeDate(2024, 1, 31), EncodeDate(2024, 2, 29)},
      {kCtlBack, EncodeDate(2024, 3, 31), EncodeDate(2024, 2, 29)},
      {kCtlBack, EncodeDate(2024, 1, 15), EncodeDate(2023, 12, 15)},
      {kCtlMonthFirst + 4, EncodeDate(2024, 5, 31), EncodeDate(2024, 4, 30)},  // a 30-day month
      {kCtlMonthFirst + 2, EncodeDate(2023, 8, 31), EncodeDate(2023, 2, 28)},
  };
  Settings settings;
  for (const Case& c : cases) {
    RecordingHost host;
    double date = c.from;
    RunControllerCommand(c.id, date, settings, {}, EncodeDate(2024, 6, 1), host);
    EXPECT_EQ(date, c.to) << c.id;
    EXPECT_EQ(host.calls, std::vector<std::string>{"moved"});
  }
}

TEST(ControllerCommands, SettingsTogglesAndHostOperations) {
  Settings settings;
  const std::vector<std::string> sections = {"默认", "家"};
  const double now = EncodeDateTime(2024, 6, 1, 8, 0);
  double date = EncodeDate(2020, 1, 1);
  struct Case {
    int id;
    std::vector<std::string> calls;
  } cases[] = {
      {kCtlToday, {"update"}},
      {kCtlPickDate, {"picker"}},
      {kCtlSectionFirst + 1, {"section 家"}},
      {kCtlSectionFirst + 5, {}},  // the list changed since the menu opened
      {kCtlWeekRowsFirst + 25, {"update", "rows 25"}},
      {kCtlCalendarVisible, {"update"}},
      {kCtlSwapCorner, {"update"}},
      {kCtlChangeWallpaper, {"change"}},
      {kCtlSelectWallpaperFolder, {"folder"}},
      {kCtlOpenImagesFolder, {"open folder"}},
      {kCtlRefreshImageList, {"refresh"}},
      {kCtlSearchNewWallpapers, {"search"}},
      {kCtlOpenProgram, {"program"}},
      {kCtlCloseController, {"show controller"}},
      {kCtlExportIcs, {"export"}},
  };
  for (const Case& c : cases) {
    RecordingHost host;
    RunControllerCommand(c.id, date, settings, sections, now, host);
    EXPECT_EQ(host.calls, c.calls) << c.id;
  }
  EXPECT_EQ(date, now);
  EXPECT_EQ(settings.VisibleWeeks, 25);
  EXPECT_FALSE(settings.CalendarVisible);
  EXPECT_TRUE(settings.ControllerLeft);
  EXPECT_FALSE(settings.ShowController);
}

}  // namespace
}  // namespace ov
