#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>

#include "core/calendar/DateTime.h"
#include "core/platform/FakeTextRenderer.h"
#include "core/platform/LocaleNames.h"
#include "core/render/CalendarRenderer.h"
#include "core/settings/Settings.h"
#include "core/wallpaper/DesktopRefresh.h"
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

INSTANTIATE_TEST_SUITE_P(Layouts, MonitorLayoutTest, ::testing::ValuesIn(Layouts()),
                         [](const auto& info) { return std::string(info.param.name); });

// What the desktop shows at a screen point, from how the system lays the file out: stretch
// fills the monitor, span fills the virtual screen (scaled by the larger ratio, centred,
// cut), tile repeats the file from the screen's (0, 0) and the file is the wallpaper
// rotated by the tile shift.
Point ShownWallpaperPixel(const MonitorLayout& layout, Point p) {
  const WallpaperInstall install = InstallFor(layout);
  const Size file = layout.WallpaperSize();
  auto floorDiv = [](int64_t a, int64_t b) { return int32_t(a / b - ((a % b != 0) && (a < 0))); };
  if (install.style == kStyleTile) {
    int32_t fx = ((p.x % file.width) + file.width) % file.width, fy = ((p.y % file.height) + file.height) % file.height;
    return {(fx + install.tileShift.x) % file.width, (fy + install.tileShift.y) % file.height};
  }
  const Rect area = install.style == kStyleSpan ? layout.VirtualScreen() : layout.MonitorAt(p).bounds;
  if (install.style == kStyleStretch)
    return {floorDiv(int64_t(p.x - area.left) * file.width, area.Width()),
            floorDiv(int64_t(p.y - area.top) * file.height, area.Height())};
  const double k = std::max(double(area.Width()) / file.width, double(area.Height()) / file.height);
  const double cutX = (file.width * k - area.Width()) / 2, cutY = (file.height * k - area.Height()) / 2;
  return {int32_t(std::floor((p.x - area.left + cutX) / k)), int32_t(std::floor((p.y - area.top + cutY) / k))};
}

struct ScreenCase {
  const char* name;
  std::vector<MonitorInfo> monitors;
  SystemVersion version;
  Size wallpaper;
  int style;
  std::vector<std::pair<Point, Point>> points;  // screen point -> wallpaper pixel shown there
};

const std::vector<ScreenCase>& ScreenCases() {
  const std::vector<MonitorInfo> twoUhd{Monitor({0, 0, 3840, 2160}, true), Monitor({3840, 0, 7680, 2160})};
  const std::vector<MonitorInfo> three2560{Monitor({-2560, 0, 0, 1440}), Monitor({0, 0, 2560, 1440}, true),
                                           Monitor({2560, 0, 5120, 1440})};
  const std::vector<MonitorInfo> three8k{Monitor({0, 0, 7680, 4320}, true), Monitor({7680, 0, 15360, 4320}),
                                         Monitor({15360, 0, 23040, 4320})};
  static const std::vector<ScreenCase> cases = {
      {"TwoUhdSpan", twoUhd, kWindows10, {7680, 2160}, kStyleSpan,
       {{{2400, 984}, {2400, 984}}, {{3840, 0}, {3840, 0}}, {{7679, 2159}, {7679, 2159}}}},
      {"TwoUhdTile", twoUhd, kWindows7, {7680, 2160}, kStyleTile,
       {{{2400, 984}, {2400, 984}}, {{7679, 2159}, {7679, 2159}}}},
      {"OneEightK", {Monitor({0, 0, 7680, 4320}, true)}, kWindows10, {7680, 4320}, kStyleStretch,
       {{{2400, 984}, {2400, 984}}, {{7679, 4319}, {7679, 4319}}}},
      {"OneEightKWindows7", {Monitor({0, 0, 7680, 4320}, true)}, kWindows7, {7680, 4320}, kStyleStretch,
       {{{7000, 4000}, {7000, 4000}}}},
      {"Three2560Span", three2560, kWindows8, {7680, 1440}, kStyleSpan,
       {{{-100, 500}, {2460, 500}}, {{0, 0}, {2560, 0}}, {{5119, 1439}, {7679, 1439}}}},
      {"Three2560Tile", three2560, kWindows7, {7680, 1440}, kStyleTile,
       {{{-100, 500}, {2460, 500}}, {{0, 0}, {2560, 0}}, {{5119, 1439}, {7679, 1439}}, {{-2560, 0}, {0, 0}}}},
      // Wider than the largest wallpaper: built at 16384 / 23040 and scaled up by the span.
      {"Three8kScaled", three8k, kWindows10, {16384, 3072}, kStyleSpan,
       {{{0, 0}, {0, 0}}, {{2400, 984}, {1706, 699}}, {{11520, 2160}, {8192, 1536}}, {{23039, 4319}, {16383, 3071}}}},
      // A tile is never scaled by the system: built at the screen's own size.
      {"Three8kTile", three8k, kWindows7, {23040, 4320}, kStyleTile, {{{2400, 984}, {2400, 984}}}},
      {"ThreeUhdStackedScaled",
       {Monitor({0, 0, 3840, 2160}, true), Monitor({0, 2160, 3840, 6480}), Monitor({0, 6480, 3840, 12960})},
       kWindows10, {2560, 8640}, kStyleSpan, {{{1920, 6480}, {1280, 4320}}, {{3839, 12959}, {2559, 8639}}}},
  };
  return cases;
}

void PrintTo(const ScreenCase& c, std::ostream* os) { *os << c.name; }

class ScreenMappingTest : public ::testing::TestWithParam<ScreenCase> {};

// A triple-click reads the day cell drawn at the wallpaper pixel the desktop shows under
// the cursor, and the pop-up goes over the screen pixels that show that cell.
TEST_P(ScreenMappingTest, TheHitTestReadsWhatTheInstallShows) {
  const ScreenCase& c = GetParam();
  const MonitorLayout layout{c.monitors, c.version};
  EXPECT_EQ(layout.WallpaperSize(), c.wallpaper);
  EXPECT_EQ(InstallFor(layout).style, c.style);
  const ScreenMapping mapping = layout.Mapping();
  for (const auto& [screen, pixel] : c.points) {
    EXPECT_EQ(ShownWallpaperPixel(layout, screen), pixel) << screen.x << "," << screen.y;
    EXPECT_EQ(ScreenToWallpaper(screen, mapping), pixel) << screen.x << "," << screen.y;
    const Rect cell{pixel.x, pixel.y, pixel.x + 1, pixel.y + 1};
    DayCellTable cells;
    cells.Add(46000, cell);
    EXPECT_NE(CellAtScreenPoint(cells, screen, mapping), nullptr) << screen.x << "," << screen.y;
    const Rect popup = WallpaperToScreen(cell, mapping);
    EXPECT_TRUE(popup.left <= screen.x && screen.x < popup.right && popup.top <= screen.y && screen.y < popup.bottom)
        << screen.x << "," << screen.y;
  }
}

INSTANTIATE_TEST_SUITE_P(Layouts, ScreenMappingTest, ::testing::ValuesIn(ScreenCases()),
                         [](const auto& info) { return std::string(info.param.name); });

// Rectangles map edge by edge: the screen rectangle of a wallpaper rectangle holds exactly
// the screen points that show its pixels, and a screen rectangle maps outwards.
TEST(MonitorLayout, RectanglesMapEdgeByEdgeAtTheLayoutsScale) {
  const ScreenMapping secondaryLeft{{-1920, 0}, {3840, 1080}, {3840, 1080}};
  EXPECT_EQ(WallpaperToScreen(Rect{2560, 60, 3780, 1020}, secondaryLeft), (Rect{640, 60, 1860, 1020}));
  EXPECT_EQ(ScreenToWallpaper(Rect{-1900, 10, -100, 500}, secondaryLeft), (Rect{20, 10, 1820, 500}));
  const ScreenMapping scaled{{0, 0}, {23040, 4320}, {16384, 3072}};  // x 1.40625
  EXPECT_EQ(WallpaperToScreen(Rect{1706, 699, 1707, 700}, scaled), (Rect{2400, 983, 2401, 985}));
  EXPECT_EQ(WallpaperToScreen(Rect{0, 0, 16384, 3072}, scaled), (Rect{0, 0, 23040, 4320}));
  EXPECT_EQ(ScreenToWallpaper(Rect{2400, 984, 2402, 986}, scaled), (Rect{1706, 699, 1709, 702}));
  EXPECT_EQ(ScreenToWallpaper(Point{-1, -1}, scaled), (Point{-1, -1}));
}

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
      Point w = ScreenToWallpaper(Point{sx, sy}, layout.Mapping());
      EXPECT_EQ(file.At(fx, fy), picture.At(w.x, w.y)) << sx << "," << sy;
    }
}

TEST(MonitorLayout, ThePanelStaysWhereTheUserPutItWhileItIsOnAMonitor) {
  MonitorLayout two{{Monitor({0, 0, 1920, 1080}, true), Monitor({1920, 0, 3200, 1024})}, kWindows10};
  const Rect onSecondary{2000, 100, 3100, 900};  // wallpaper = screen here (origin 0, 0)
  // A monitor added on the left moves the origin: same screen place, new wallpaper pixels.
  MonitorLayout three = two;
  three.monitors.push_back(Monitor({-1280, 0, 0, 1024}));
  EXPECT_EQ(CalendarRectAfterDisplayChange(onSecondary, two.Mapping(), three), (Rect{3280, 100, 4380, 900}));
  // Its own monitor removed: back to the default place on the primary monitor.
  MonitorLayout one{{Monitor({0, 0, 1920, 1080}, true)}, kWindows10};
  EXPECT_EQ(CalendarRectAfterDisplayChange(onSecondary, two.Mapping(), one), (Rect{640, 60, 1860, 1020}));
  // A smaller resolution that leaves the panel's centre on the monitor moves it inside.
  MonitorLayout smaller{{Monitor({0, 0, 1280, 1024}, true)}, kWindows10};
  EXPECT_EQ(CalendarRectAfterDisplayChange({600, 60, 1860, 1020}, one.Mapping(), smaller), (Rect{20, 60, 1280, 1020}));
}

struct PanelCase {
  const char* name;
  Rect stored;                       // CalendarR1..R4
  std::optional<Point> storedOrigin;  // CalendarOriginX/Y
  std::vector<MonitorInfo> now;
  Rect atStart;
};

// The panel at start-up, after the monitors changed while the program was not running.
TEST(MonitorLayout, ThePanelAtStartIsFoundOnTheScreenAndKeptOnItsMonitor) {
  const std::vector<MonitorInfo> one{Monitor({0, 0, 1920, 1080}, true)};
  const std::vector<MonitorInfo> leftAndPrimary{Monitor({0, 0, 1920, 1080}, true), Monitor({-1920, 0, 0, 1080})};
  const PanelCase cases[] = {
      {"SecondaryLeftUnplugged", {2000, 100, 3000, 900}, Point{-1920, 0}, one, {80, 100, 1080, 900}},
      {"PanelOnTheUnpluggedMonitor", {100, 100, 1000, 900}, Point{-1920, 0}, one, {640, 60, 1860, 1020}},
      {"OlderSettingsOffThePicture", {2560, 60, 3780, 1020}, std::nullopt, one, {640, 60, 1860, 1020}},
      {"OlderSettingsOnThePicture", {300, 60, 1500, 1020}, std::nullopt, one, {300, 60, 1500, 1020}},
      {"SecondaryPluggedInLeft", {640, 60, 1860, 1020}, Point{0, 0}, leftAndPrimary, {2560, 60, 3780, 1020}},
      {"SmallerMonitorMovesItInside", {640, 60, 1860, 1020}, Point{0, 0}, {Monitor({0, 0, 1280, 1024}, true)},
       {60, 60, 1280, 1020}},
      {"LargerThanItsMonitorIsCut", {-100, 0, 3000, 1000}, Point{0, 0}, one, {0, 0, 1920, 1000}},
      {"InvertedIsLeftAsItIs", {900, 60, 100, 1020}, Point{0, 0}, one, {900, 60, 100, 1020}},
  };
  for (const PanelCase& c : cases)
    EXPECT_EQ(CalendarRectAtStart(c.stored, c.storedOrigin, MonitorLayout{c.now, kWindows10}), c.atStart) << c.name;
}

// A panel dropped on the preview partly off its monitor, or into a corner that no monitor
// shows, moves onto the monitor that holds its centre, or the nearest one.
TEST(MonitorLayout, APanelPlacedOnThePreviewIsKeptOnAMonitor) {
  const MonitorLayout layout{{Monitor({0, 0, 2560, 1440}, true), Monitor({2560, 0, 3840, 1024})}, kWindows10};
  EXPECT_EQ(CalendarRectOnItsMonitor({2000, 100, 3000, 900}, layout), (Rect{1560, 100, 2560, 900}));
  EXPECT_EQ(CalendarRectOnItsMonitor({2800, 1100, 3600, 1400}, layout), (Rect{2800, 724, 3600, 1024}));
  EXPECT_EQ(CalendarRectOnItsMonitor({100, 100, 900, 700}, layout), (Rect{100, 100, 900, 700}));
  const MonitorLayout leftOfPrimary{{Monitor({0, 0, 1920, 1080}, true), Monitor({-1920, 0, 0, 1080})}, kWindows10};
  EXPECT_EQ(CalendarRectOnItsMonitor({1500, 60, 2400, 1020}, leftOfPrimary), (Rect{1920, 60, 2820, 1020}));
}

// Each monitor's task bar is marked at its own place on the wallpaper, also left of or
// above the primary monitor and on a scaled wallpaper.
TEST(MonitorLayout, EveryMonitorsTaskBarIsWhereItsMonitorIs) {
  const MonitorLayout leftOfPrimary{{Monitor({0, 0, 1920, 1080}, true), Monitor({-1920, 0, 0, 1080})}, kWindows10};
  EXPECT_EQ(TaskbarRects(leftOfPrimary), (std::vector<Rect>{{1920, 1040, 3840, 1080}, {0, 1040, 1920, 1080}}));
  // A bar docked at the left of a monitor above the primary, and one along the primary's top.
  const MonitorLayout above{{{{0, 0, 1920, 1080}, {0, 30, 1920, 1080}, true}, {{0, -1080, 1920, 0}, {60, -1080, 1920, 0}}},
                            kWindows10};
  EXPECT_EQ(TaskbarRects(above), (std::vector<Rect>{{0, 1080, 1920, 1110}, {0, 0, 60, 1080}}));
  EXPECT_TRUE(TaskbarRects(MonitorLayout{{{{0, 0, 1280, 1024}, {0, 0, 1280, 1024}, true}}, kWindows10}).empty());
  const MonitorLayout scaled{{Monitor({0, 0, 7680, 4320}, true), Monitor({7680, 0, 15360, 4320}),
                              Monitor({15360, 0, 23040, 4320})},
                             kWindows10};
  EXPECT_EQ(TaskbarRects(scaled).front(), (Rect{0, 3043, 5462, 3072}));
}

// A task bar moved or resized changes a work area: the monitors are read again before
// the rebuild, so the default panel and the pop-ups use the new areas.
TEST(MonitorLayout, AWorkAreaChangeReadsTheMonitorsAgain) {
  EXPECT_EQ(RefreshForSettingChange(0x2F), DesktopRefresh::RemeasureAndRebuild);  // SPI_SETWORKAREA
  EXPECT_EQ(RefreshForSettingChange(0x4B), DesktopRefresh::Rebuild);              // SPI_SETFONTSMOOTHING
  EXPECT_EQ(RefreshForSettingChange(0x14), DesktopRefresh::None);                 // SPI_SETDESKWALLPAPER
}

TEST(MonitorLayout, PointsOffEveryMonitorBelongToTheNearestOne) {
  MonitorLayout layout{{Monitor({0, 0, 2560, 1440}, true), Monitor({2560, 0, 3840, 1024})}, kWindows10};
  EXPECT_EQ(layout.MonitorAt({3000, 1300}).bounds, (Rect{2560, 0, 3840, 1024}));
  EXPECT_EQ(layout.MonitorAt({2500, 1300}).bounds, (Rect{0, 0, 2560, 1440}));
  EXPECT_EQ(MonitorLayout{}.WallpaperSize(), (Size{1280, 1024}));
}

}  // namespace
}  // namespace ov
