#include <gtest/gtest.h>

#include "core/calendar/DateTime.h"
#include "core/platform/FakeTextRenderer.h"
#include "core/platform/LocaleNames.h"
#include "core/render/CalendarRenderer.h"
#include "core/settings/Settings.h"
#include "core/wallpaper/DesktopWallpaperValues.h"
#include "core/wallpaper/MonitorLayout.h"

namespace ov {
namespace {

constexpr SystemVersion kWindows7{6, 1}, kWindows8{6, 2}, kWindows10{10, 0};

// A monitor with its task bar along the bottom 40 pixels.
MonitorInfo Monitor(Rect bounds, bool primary = false) {
  return {bounds, {bounds.left, bounds.top, bounds.right, bounds.bottom - 40}, primary};
}

struct LayoutCase {
  const char* name;
  std::vector<MonitorInfo> monitors;
  Size wallpaper;
  int windows8Style;
  int windows7Style;
  Point tileShift;        // for Windows 7
  Rect calendarRect;      // the default, in wallpaper pixels
  std::vector<Rect> unshown;
};

const std::vector<LayoutCase>& Layouts() {
  static const std::vector<LayoutCase> cases = {
      {"OneMonitor", {Monitor({0, 0, 1920, 1080}, true)}, {1920, 1080}, kStyleStretch, kStyleStretch, {0, 0},
       {640, 60, 1860, 1020}, {}},
      {"SecondaryLeftOfPrimary",
       {Monitor({0, 0, 1920, 1080}, true), Monitor({-1920, 0, 0, 1080})},
       {3840, 1080}, kStyleSpan, kStyleTile, {1920, 0}, {2560, 60, 3780, 1020}, {}},
      {"SecondaryAbovePrimary",
       {Monitor({0, 0, 1920, 1080}, true), Monitor({0, -1080, 1920, 0})},
       {1920, 2160}, kStyleSpan, kStyleTile, {0, 1080}, {640, 1140, 1860, 2100}, {}},
      {"DifferentResolutionsLeaveACornerUnshown",
       {Monitor({0, 0, 2560, 1440}, true), Monitor({2560, 0, 3840, 1024})},
       {3840, 1440}, kStyleSpan, kStyleTile, {0, 0}, {853, 60, 2500, 1380}, {{2560, 1024, 3840, 1440}}},
      {"ThreeMonitors",
       {Monitor({1920, 0, 3200, 1024}), Monitor({0, 0, 1920, 1080}, true), Monitor({-1280, -200, 0, 824})},
       {4480, 1280}, kStyleSpan, kStyleTile, {1280, 200}, {1920, 260, 3140, 1220},
       {{1280, 0, 4480, 200}, {0, 1024, 1280, 1280}, {3200, 1224, 4480, 1280}}},
  };
  return cases;
}

class MonitorLayoutTest : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(MonitorLayoutTest, SizeInstallDefaultPanelAndUnshownParts) {
  const LayoutCase& c = GetParam();
  MonitorLayout layout{c.monitors, kWindows10};
  EXPECT_EQ(layout.WallpaperSize(), c.wallpaper);

  for (SystemVersion v : {kWindows8, kWindows10}) {
    layout.version = v;
    WallpaperInstall install = InstallFor(layout);
    EXPECT_EQ(install.style, c.windows8Style);
    EXPECT_EQ(install.tileShift, (Point{0, 0}));
  }
  layout.version = kWindows7;
  WallpaperInstall win7 = InstallFor(layout);
  EXPECT_EQ(win7.style, c.windows7Style);
  EXPECT_EQ(win7.tileShift, c.tileShift);

  SettingsContext ctx;
  ctx.workArea = PrimaryWorkAreaInWallpaper(layout);
  EXPECT_EQ(DefaultSettings(ctx).CalendarRect, c.calendarRect);
  EXPECT_EQ(UnshownRects(layout), c.unshown);
  for (const Rect& u : c.unshown) EXPECT_TRUE(u.Intersect(c.calendarRect).Empty()) << "panel in an unshown part";
}

// A triple-click on a day cell of a panel on each monitor finds that day: the cell is
// drawn at wallpaper pixels and clicked at the screen point the desktop shows it at.
TEST_P(MonitorLayoutTest, AClickOnADayCellOnEveryMonitorFindsThatDay) {
  const LayoutCase& c = GetParam();
  MonitorLayout layout{c.monitors, kWindows10};
  const Point origin = layout.Origin();
  Settings s;
  FakeTextRenderer text;
  FakeLocaleNames locale;
  CalendarRenderer renderer(s, text, locale);
  DayCellTable cells;
  renderer.SetTargetSize(layout.WallpaperSize());
  renderer.SetDayCellTable(&cells);
  TBitmap32 wallpaper(layout.WallpaperSize().width, layout.WallpaperSize().height);
  const double day = EncodeDate(2026, 12, 17);

  for (const MonitorInfo& m : c.monitors) {
    s.CalendarRect = DefaultCalendarRect(ScreenToWallpaper(m.workArea, origin));
    renderer.RenderCalendar(wallpaper, s.CalendarRect, false, 1, 4, day, day);
    const TDayCell* drawn = cells.CellForDate(day);
    ASSERT_NE(drawn, nullptr);
    Rect onScreen = WallpaperToScreen(drawn->Rect, origin);
    Point click{onScreen.left + 5, onScreen.bottom - 5};
    EXPECT_EQ(layout.MonitorAt(click).bounds, m.bounds);
    const TDayCell* hit = CellAtScreenPoint(cells, click, origin);
    ASSERT_NE(hit, nullptr) << c.name;
    EXPECT_EQ(hit->Date, day);
  }
}

INSTANTIATE_TEST_SUITE_P(Layouts, MonitorLayoutTest, ::testing::ValuesIn(Layouts()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(MonitorLayout, InstallValuesOfOneMonitorStayStretch) {
  MonitorLayout one{{Monitor({0, 0, 1280, 1024}, true)}, kWindows7};
  auto values = DesktopWallpaperValues("W.bmp", InstallFor(one).style, 0, 0);
  EXPECT_EQ(values[1], (std::pair<std::string, std::string>{"TileWallpaper", "0"}));
  EXPECT_EQ(values[2], (std::pair<std::string, std::string>{"WallpaperStyle", "2"}));
  MonitorLayout two{{Monitor({0, 0, 1280, 1024}, true), Monitor({1280, 0, 2560, 1024})}, kWindows10};
  values = DesktopWallpaperValues("W.bmp", InstallFor(two).style, 0, 0);
  EXPECT_EQ(values[1].second, "0");
  EXPECT_EQ(values[2].second, "22");
  two.version = kWindows7;
  values = DesktopWallpaperValues("W.bmp", InstallFor(two).style, 0, 0);
  EXPECT_EQ(values[1].second, "1");
  EXPECT_EQ(values[2].second, "0");
}

// The tile starts at the primary monitor's top-left corner and repeats: every screen point
// must show the wallpaper pixel at screen point - origin.
TEST(MonitorLayout, TheRotatedTileShowsEveryWallpaperPixelAtItsScreenPoint) {
  MonitorLayout layout{{Monitor({0, 0, 6, 4}, true), Monitor({-3, -2, 0, 3})}, kWindows7};
  Size size = layout.WallpaperSize();
  ASSERT_EQ(size, (Size{9, 6}));
  TBitmap32 picture(size.width, size.height);
  for (int y = 0; y < size.height; ++y)
    for (int x = 0; x < size.width; ++x) picture.At(x, y) = Pixel(y * 100 + x);
  TBitmap32 file = picture;
  RotateForTile(file, InstallFor(layout).tileShift);
  Rect v = layout.VirtualScreen();
  for (int sy = v.top; sy < v.bottom; ++sy)
    for (int sx = v.left; sx < v.right; ++sx) {
      int fx = ((sx % size.width) + size.width) % size.width, fy = ((sy % size.height) + size.height) % size.height;
      Point w = ScreenToWallpaper(Point{sx, sy}, layout.Origin());
      EXPECT_EQ(file.At(fx, fy), picture.At(w.x, w.y)) << sx << "," << sy;
    }
}

TEST(MonitorLayout, ThePanelStaysWhereTheUserPutItWhileItIsOnAMonitor) {
  MonitorLayout two{{Monitor({0, 0, 1920, 1080}, true), Monitor({1920, 0, 3200, 1024})}, kWindows10};
  const Rect onSecondary{2000, 100, 3100, 900};  // wallpaper = screen here (origin 0, 0)
  // A monitor added on the left moves the origin: same screen place, new wallpaper pixels.
  MonitorLayout three = two;
  three.monitors.push_back(Monitor({-1280, 0, 0, 1024}));
  EXPECT_EQ(CalendarRectAfterDisplayChange(onSecondary, two.Origin(), three), (Rect{3280, 100, 4380, 900}));
  // Its own monitor removed: back to the default place on the primary monitor.
  MonitorLayout one{{Monitor({0, 0, 1920, 1080}, true)}, kWindows10};
  EXPECT_EQ(CalendarRectAfterDisplayChange(onSecondary, two.Origin(), one), (Rect{640, 60, 1860, 1020}));
  // A smaller resolution that leaves the panel's centre on the monitor keeps it.
  MonitorLayout smaller{{Monitor({0, 0, 1280, 1024}, true)}, kWindows10};
  EXPECT_EQ(CalendarRectAfterDisplayChange({600, 60, 1860, 1020}, one.Origin(), smaller), (Rect{600, 60, 1860, 1020}));
}

TEST(MonitorLayout, PointsOffEveryMonitorBelongToTheNearestOne) {
  MonitorLayout layout{{Monitor({0, 0, 2560, 1440}, true), Monitor({2560, 0, 3840, 1024})}, kWindows10};
  EXPECT_EQ(layout.MonitorAt({3000, 1300}).bounds, (Rect{2560, 0, 3840, 1024}));
  EXPECT_EQ(layout.MonitorAt({2500, 1300}).bounds, (Rect{0, 0, 2560, 1440}));
  EXPECT_EQ(MonitorLayout{}.WallpaperSize(), (Size{1280, 1024}));
}

}  // namespace
}  // namespace ov
