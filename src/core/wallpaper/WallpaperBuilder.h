#pragma once
// BuildWallpaper: the picture, the bottom image, their adjustments, the overlay and the
// calendar composed into "Wallpaper.bmp" at the chosen depth and installed on the desktop.
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/calendar/DayCellTable.h"
#include "core/images/ImagePropsStore.h"
#include "core/images/Overlay.h"
#include "core/platform/Clock.h"
#include "core/render/CalendarRenderer.h"
#include "core/settings/Settings.h"
#include "core/wallpaper/KeptPictureLayer.h"

namespace ov {

// What the build does outside the core: install the file on the desktop, and the tray
// icon's busy animation and the thread priority around the work.
struct WallpaperHost {
  std::function<bool(const std::string& path)> install;  // SetDesktopWallpaper with the layout's style
  std::function<void(bool busy)> busy;                   // animation on at the start, off at the end
  std::function<void()> normalPriority;                  // after a picture that did not load
};

struct WallpaperBuildInput {
  Settings& settings;              // reads everything; sets WallpaperBackground, LastWallpaperFile,
                                   // NextRotationTime
  ImagePropsStore& props;          // slot 0 for the picture, slot 1 and its surface for the bottom image
  const OverlayImage* overlay;     // nullptr when the overlay is off
  CalendarRenderer& renderer;      // with the day data, skin and cell table set
  DayCellTable& cells;             // emptied when the calendar is hidden
  const IClock& clock;
  double displayDate;
  Size wallpaperSize;              // MonitorLayout::WallpaperSize()
  std::filesystem::path outputFile;  // DataFolder\Wallpaper.bmp
  WallpaperHost host;
  std::vector<Rect> unshown;       // parts no monitor shows: desktop colour only (UnshownRects)
  Point tileShift{0, 0};           // rotation of the written file for the tile style (InstallFor)
  bool rotation = false;           // a due rotation: its interval starts again even when the
                                   // picked picture is the one already shown
  KeptPictureLayer* kept = nullptr;  // reused and refilled when set; nothing is kept otherwise
};

// Error texts; when several failures happen, the last one is returned.
std::string ProblemLoadingImage(const std::string& file);
std::string ProblemConstructingWallpaper(const std::string& file);
std::string ProblemSavingWallpaper(const std::string& output);
inline constexpr char kInstallFailed[] = "设置桌面背景失败";

// Builds and installs the wallpaper with `file` as the background picture. Returns an
// empty text on success. A picture that does not decode changes nothing at all; a failed
// save keeps the previous file whole (it is replaced only by a complete new one) and the
// install is still attempted with it.
std::string BuildWallpaper(WallpaperBuildInput& in, const std::string& file);

}  // namespace ov
