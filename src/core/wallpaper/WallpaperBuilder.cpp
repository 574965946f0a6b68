#include "core/wallpaper/WallpaperBuilder.h"

#include <exception>

#include "core/images/Compose.h"
#include "core/library/RotationTime.h"
#include "core/render/BmpWriter.h"
#include "core/render/Color.h"
#include "core/util/FileIo.h"
#include "core/util/Paths.h"
#include "core/wallpaper/MonitorLayout.h"

namespace ov {

std::string ProblemLoadingImage(const std::string& file) { return "Problem loading image \"" + file + "\""; }
std::string ProblemConstructingWallpaper(const std::string& file) {
  return "Problem constructing wallpaper \"" + file + "\"";
}
std::string ProblemSavingWallpaper(const std::string& output) { return "Problem saving wallpaper \"" + output + "\""; }

std::string BuildWallpaper(WallpaperBuildInput& in, const std::string& file) {
  Settings& s = in.settings;
  auto busy = [&](bool on) {
    if (in.host.busy) in.host.busy(on);
  };
  busy(true);
  std::string result;

  // The picture with its own properties (saving the image tab's unsaved edits first).
  TBitmap32 picture;
  DecodeResult decoded = in.props.LoadImageWithProperties(picture, PathFromUtf8(file), ImageSlot::Current);
  if (!decoded.ok || picture.Empty()) {
    if (in.host.normalPriority) in.host.normalPriority();
    busy(false);
    return ProblemLoadingImage(file);
  }

  std::string outputText = PathToUtf8(in.outputFile);
  {
    TBitmap32 wallpaper(in.wallpaperSize.width, in.wallpaperSize.height);
    wallpaper.Clear(ToArgb(static_cast<uint32_t>(s.DesktopColor)));
    try {
      ComposeSettings compose = MakeComposeSettings(s, in.wallpaperSize, s.Overlay ? in.overlay : nullptr);
      TBitmap32& bottom = in.props.BottomImage();
      if (!bottom.Empty())
        ComposeImage(wallpaper, bottom, in.props.Props(ImageSlot::Bottom), StretchFilter::Spline, ImageSlot::Bottom,
                     true, compose);
      ComposeImage(wallpaper, picture, in.props.Props(ImageSlot::Current), StretchFilter::Spline,
                   ImageSlot::Current, true, compose);
    } catch (const std::exception&) {
      // The build goes on with what was drawn.
      result = ProblemConstructingWallpaper(file);
    }
    picture.SetSize(0, 0);

    if (s.CalendarVisible) {
      in.renderer.SetTargetSize(in.wallpaperSize);
      in.renderer.SetDayCellTable(&in.cells);
      in.renderer.RenderCalendar(wallpaper, s.CalendarRect, s.CalendarFromStartOfMonth, s.PastVisibleWeeks,
                                 s.VisibleWeeks, in.displayDate, in.clock.Now());
    } else {
      in.cells.Clear();
    }
    // What no monitor shows stays plain; the day cells keep wallpaper pixels, only the
    // written file is rotated for a tile that starts on the primary monitor.
    for (const Rect& r : in.unshown) wallpaper.FillRectOpaque(r, ToArgb(static_cast<uint32_t>(s.DesktopColor)));
    RotateForTile(wallpaper, in.tileShift);

    // Written beside the old file and swapped in only when complete, so the last good
    // wallpaper survives a full disk or a crash.
    std::string bmp = EncodeBmp(wallpaper, BmpDepthFromPixelMode(s.OutputPixelmode));
    wallpaper.SetSize(0, 0);
    std::error_code ec;
    std::filesystem::create_directories(in.outputFile.parent_path(), ec);
    if (bmp.empty() || !WriteFileAtomic(in.outputFile, bmp)) result = ProblemSavingWallpaper(outputText);
  }

  if (in.host.install && in.host.install(outputText)) s.WallpaperBackground = file;
  else result = kInstallFailed;

  // A new background restarts the rotation interval; the same one again does not, except
  // for a rotation: one that picked the picture already shown (a library of one) would
  // otherwise stay due and rebuild at every tick.
  if (s.LastWallpaperFile != file || in.rotation)
    s.NextRotationTime = NextRotation(in.clock.Now(), s.RotationInterval, s.RotationMode);
  s.LastWallpaperFile = file;
  busy(false);
  return result;
}

}  // namespace ov
