#pragma once
// The monitors the desktop is made of, and everything the wallpaper decides from them:
// its size, how it is installed, which of its parts no monitor shows, and the one
// coordinate system shared by the picture and the screen (ScreenMapping):
//   wallpaper pixel = (screen point - virtual-screen origin) x wallpaper size / screen size,
// which is one to one unless the virtual screen is larger than the largest wallpaper.
// The primary monitor's top-left corner is the screen's (0, 0); a monitor left of or
// above it has negative coordinates, so the origin is then negative.
#include <cstdint>
#include <optional>
#include <vector>

#include "core/calendar/DayCellTable.h"
#include "core/render/Bitmap32.h"
#include "core/util/Rect.h"

namespace ov {

struct MonitorInfo {
  Rect bounds;    // screen coordinates
  Rect workArea;  // the bounds without the task bar and docked bars
  bool primary = false;
};

struct SystemVersion {
  int major = 10, minor = 0;
  // Windows 8 is 6.2; from there on the desktop can span one picture over all monitors.
  constexpr bool SpansWallpaper() const { return major > 6 || (major == 6 && minor >= 2); }
};

// Screen points and wallpaper pixels. The installed picture covers the virtual screen, so
// screen point `origin` shows wallpaper pixel (0, 0) and a wallpaper built smaller than the
// screen is scaled up by screen / wallpaper on each axis. Every conversion between the
// desktop and the picture (hit-test, pop-up, controller, panel placement) goes through
// the functions below with the layout's one mapping.
struct ScreenMapping {
  Point origin{0, 0};    // the virtual screen's top-left corner
  Size screen{1, 1};     // the virtual screen's size
  Size wallpaper{1, 1};  // the wallpaper's size
};

struct MonitorLayout {
  std::vector<MonitorInfo> monitors;  // in any order; an empty list counts as one 1280 x 1024 monitor
  SystemVersion version;
  uint64_t availableBytes = UINT64_MAX;  // free memory, which can hold the wallpaper smaller

  // The primary monitor (the first one when none is flagged).
  MonitorInfo Primary() const;
  // The smallest rectangle holding every monitor, in screen coordinates.
  Rect VirtualScreen() const;
  // The virtual screen's top-left corner: where wallpaper pixel (0, 0) is on the screen.
  Point Origin() const;
  // The virtual screen's size, held to the largest wallpaper and the free memory
  // (WallpaperSizeFor); a tiled wallpaper is never scaled by the system, so it is always
  // built at the virtual screen's own size.
  Size WallpaperSize() const;
  ScreenMapping Mapping() const;
  // The monitor holding a screen point, or the nearest one when the point is on none.
  MonitorInfo MonitorAt(Point screen) const;
};

// The wallpaper pixel shown at a screen point.
Point ScreenToWallpaper(Point screen, const ScreenMapping& m);
// The wallpaper pixels a screen rectangle shows (edges rounded outwards).
Rect ScreenToWallpaper(const Rect& screen, const ScreenMapping& m);
// The screen pixels that show a wallpaper rectangle: a screen point lies in the result
// exactly when the wallpaper pixel it shows lies in the rectangle.
Rect WallpaperToScreen(const Rect& wallpaper, const ScreenMapping& m);

// The day cell under a desktop click at a screen point (nullptr when none).
const TDayCell* CellAtScreenPoint(const DayCellTable& cells, Point screen, const ScreenMapping& m);

// How the wallpaper file goes onto the desktop.
struct WallpaperInstall {
  int style = 2;       // a WallpaperStyle of DesktopWallpaperValues.h: stretch, span or tile
  Point tileShift{0, 0};  // tile only: file pixel (x, y) holds wallpaper pixel (x + dx, y + dy), wrapped
};

// One monitor: stretch, as always. Several: span from Windows 8 on, which lays the picture
// across the virtual screen; before that tile, which starts the tile at the primary
// monitor's top-left corner, so the picture is rotated by the virtual screen's origin.
// (Stretch would put the whole picture onto every monitor separately.)
WallpaperInstall InstallFor(const MonitorLayout& layout);

// Rotates the columns and rows of a picture so that file pixel (x, y) becomes pixel
// (x + shift.x, y + shift.y) of the original, wrapping around.
void RotateForTile(TBitmap32& picture, Point shift);

// The parts of the wallpaper that no monitor shows (monitors of different sizes leave
// corners of the bounding box uncovered), in wallpaper pixels, clipped to the wallpaper.
std::vector<Rect> UnshownRects(const MonitorLayout& layout);

// What each monitor's task bar and docked bars cover (its bounds less its work area), in
// wallpaper pixels: up to four strips a monitor, each at its own monitor's place.
std::vector<Rect> TaskbarRects(const MonitorLayout& layout);

// The primary monitor's work area in wallpaper pixels: what the default panel rectangle is
// laid out in, so it lies on the primary monitor and never in an unshown part.
Rect PrimaryWorkAreaInWallpaper(const MonitorLayout& layout);

// A rectangle moved inside an area, keeping its size where it fits and cut to the area
// where it does not. An empty or inverted rectangle is returned as it is.
Rect KeptInside(const Rect& r, const Rect& area);

// Where the panel goes, given where it lies on the screen: inside the monitor that holds
// its centre (moved onto it, its size kept where it fits), so no part of it is lost off
// the picture; its default place on the primary monitor when no monitor holds its centre.
// In wallpaper pixels of `now`.
Rect PanelOnMonitors(const Rect& panelOnScreen, const MonitorLayout& now);

// Where an open window goes after the monitors changed: inside the work area of the
// monitor holding its centre (the nearest monitor when none does), moved but never resized;
// a window larger than that area keeps its top-left corner in it, where its caption and
// first controls are. A window already inside the area stays where it is.
Rect WindowOnMonitors(const Rect& window, const MonitorLayout& now);

// The panel rectangle after the monitors changed: PanelOnMonitors of where it was on the
// screen, so it stays where the user put it (its wallpaper pixels follow a moved origin).
Rect CalendarRectAfterDisplayChange(const Rect& calendarRect, const ScreenMapping& old, const MonitorLayout& now);

// The panel rectangle at start-up: the same rule, with the virtual-screen origin it was
// stored against (CalendarOriginX/Y). Settings stored before that origin was kept are taken
// as measured against today's origin.
Rect CalendarRectAtStart(const Rect& calendarRect, std::optional<Point> storedOrigin, const MonitorLayout& now);

// The panel after the user placed it on the preview: inside the monitor that holds its
// centre, or the nearest monitor when its centre lies in a part no monitor shows.
Rect CalendarRectOnItsMonitor(const Rect& calendarRect, const MonitorLayout& layout);

}  // namespace ov
