#pragma once
// The monitors the desktop is made of, and everything the wallpaper decides from them:
// its size, how it is installed, which of its parts no monitor shows, and the one
// coordinate system shared by the picture and the screen:
//   wallpaper pixel = screen point - virtual-screen origin.
// The primary monitor's top-left corner is the screen's (0, 0); a monitor left of or
// above it has negative coordinates, so the origin is then negative.
#include <cstdint>
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

struct MonitorLayout {
  std::vector<MonitorInfo> monitors;  // in any order; an empty list counts as one 1280 x 1024 monitor
  SystemVersion version;

  // The primary monitor (the first one when none is flagged).
  MonitorInfo Primary() const;
  // The smallest rectangle holding every monitor, in screen coordinates.
  Rect VirtualScreen() const;
  // The virtual screen's top-left corner: where wallpaper pixel (0, 0) is on the screen.
  Point Origin() const;
  // min(virtual screen, 6400 x 4800).
  Size WallpaperSize() const;
  // The monitor holding a screen point, or the nearest one when the point is on none.
  MonitorInfo MonitorAt(Point screen) const;
};

// Conversions between screen points and wallpaper pixels.
Point ScreenToWallpaper(Point screen, Point origin);
Rect ScreenToWallpaper(const Rect& screen, Point origin);
Rect WallpaperToScreen(const Rect& wallpaper, Point origin);

// The day cell under a desktop click at a screen point (nullptr when none).
const TDayCell* CellAtScreenPoint(const DayCellTable& cells, Point screen, Point origin);

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

// The primary monitor's work area in wallpaper pixels: what the default panel rectangle is
// laid out in, so it lies on the primary monitor and never in an unshown part.
Rect PrimaryWorkAreaInWallpaper(const MonitorLayout& layout);

// The panel rectangle after the monitors changed: it stays where the user put it on the
// screen while its centre still lies on a monitor (its wallpaper pixels follow a moved
// origin); otherwise it goes back to its default place on the primary monitor.
Rect CalendarRectAfterDisplayChange(const Rect& calendarRect, Point oldOrigin, const MonitorLayout& now);

}  // namespace ov
