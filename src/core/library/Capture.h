#pragma once
// Taking a wallpaper that another program installed into the library, so that the new
// picture stays in use under the calendar. The decisions live here; the host reads the
// desktop and encodes.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "core/platform/ImageEncoder.h"

namespace ov {

// Lower case for letters that have a case in the Latin, Greek and Cyrillic blocks, as
// the file system compares names; other characters stay. Invalid UTF-8 compares as is.
std::string FoldCase(std::string_view utf8);

// True when the desktop names another file than the program's own wallpaper; the
// comparison ignores letter case, as file names on Windows do.
bool IsForeignWallpaper(const std::string& desktopWallpaper, const std::string& wallpaperFile);

// ImagesPath + "Captured Images".
std::filesystem::path CaptureFolder(const std::string& imagesPath);

// The wallpaper's base name without extension and the local date-time, for example
// "sunset 2025.03.07 [09.05.02].jpg"; ".png" when `png`.
std::string CaptureFileName(const std::string& wallpaper, double now, bool png);

class CaptureHost {
 public:
  virtual ~CaptureHost() = default;
  // The file the desktop names as its wallpaper; empty when it cannot be read.
  virtual std::string ReadDesktopWallpaper() = 0;
  // The copy is saved: make it the background, rebuild the library and the wallpaper.
  virtual void UseCapturedImage(const std::string& target) = 0;
};

struct CaptureInput {
  std::string wallpaperFile;  // the program's own "Wallpaper.bmp"
  std::string imagesPath;
  bool captureToPng = false;
  double now = 0;
};

inline constexpr int kCaptureJpegQuality = 75;

class WallpaperCapture {
 public:
  // One check: a foreign wallpaper is copied into the capture folder (as PNG, or as JPEG
  // of quality 75) and taken into use. Returns the copy; nullopt when there was nothing
  // to take or it could not be saved (the foreign wallpaper then stays, and the next
  // check tries again).
  //
  // A foreign file that was copied but is still installed afterwards (the calendar
  // wallpaper could not be built over it) is not copied again until another wallpaper
  // has been installed: a copy every three seconds would fill the disk.
  std::optional<std::string> Check(const CaptureInput& in, CaptureHost& host, IImageEncoder& encoder);

 private:
  std::string takenFrom_;
};

}  // namespace ov
