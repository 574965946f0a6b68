#include "core/library/Capture.h"

#include <cmath>
#include <cstdint>
#include <system_error>

#include "core/calendar/DateTime.h"
#include "core/util/Paths.h"
#include "core/util/Text.h"

namespace ov {

namespace fs = std::filesystem;

namespace {

uint32_t LowerCodePoint(uint32_t c) {
  if (c >= 'A' && c <= 'Z') return c + 32;
  if (c < 0x80) return c;
  if ((c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 32;  // Latin-1 letters
  if (c >= 0x100 && c <= 0x137) return c | 1;                 // Latin Extended-A, pairs
  if (c >= 0x139 && c <= 0x148) return (c & 1) ? c + 1 : c;
  if (c >= 0x14A && c <= 0x177) return c | 1;
  if (c == 0x178) return 0xFF;
  if (c >= 0x179 && c <= 0x17E) return (c & 1) ? c + 1 : c;
  if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) return c + 32;  // Greek
  if (c >= 0x400 && c <= 0x40F) return c + 80;                // Cyrillic Ѐ..Џ
  if (c >= 0x410 && c <= 0x42F) return c + 32;                // Cyrillic А..Я
  return c;
}

// The base name of a Windows or POSIX path, without its extension.
std::string StemOf(const std::string& path) {
  size_t slash = path.find_last_of("\\/");
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot > 0) name.resize(dot);
  return name;
}

}  // namespace

std::string FoldCase(std::string_view s) {
  if (!IsValidUtf8(s)) return ToLowerAscii(s);
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size();) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    size_t n = c < 0x80 ? 0 : c < 0xE0 ? 1 : c < 0xF0 ? 2 : 3;
    uint32_t cp = n == 0 ? c : n == 1 ? (c & 0x1F) : n == 2 ? (c & 0x0F) : (c & 0x07);
    for (size_t k = 1; k <= n; ++k) cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
    AppendUtf8(out, LowerCodePoint(cp));
    i += n + 1;
  }
  return out;
}

bool IsForeignWallpaper(const std::string& desktopWallpaper, const std::string& wallpaperFile) {
  return FoldCase(desktopWallpaper) != FoldCase(wallpaperFile);
}

fs::path CaptureFolder(const std::string& imagesPath) { return PathFromUtf8(imagesPath) / "Captured Images"; }

std::string CaptureFileName(const std::string& wallpaper, double now, bool png) {
  // Whole milliseconds first, so 09:05:01.9996 does not print as 09:05:01.
  const int64_t msPerDay = 86400000;
  int64_t ms = std::llround(ClampDateTime(now) * static_cast<double>(msPerDay));
  int64_t day = ms >= 0 ? ms / msPerDay : -((-ms + msPerDay - 1) / msPerDay);
  int64_t rem = (ms - day * msPerDay) / 1000;
  CivilDate d = CivilFromDayNumber(day);
  return StemOf(wallpaper) + Format(" %d.%.2d.%.2d [%.2d.%.2d.%.2d].%s", d.year, d.month, d.day,
                                    static_cast<int>(rem / 3600), static_cast<int>(rem / 60 % 60),
                                    static_cast<int>(rem % 60), png ? "png" : "jpg");
}

std::optional<std::string> WallpaperCapture::Check(const CaptureInput& in, CaptureHost& host,
                                                   IImageEncoder& encoder) {
  std::string current = host.ReadDesktopWallpaper();
  if (!IsForeignWallpaper(current, in.wallpaperFile)) {
    takenFrom_.clear();
    return std::nullopt;
  }
  // No wallpaper at all (or an unreadable value) has nothing to copy; without a library
  // folder there is no place to copy it to.
  if (current.empty() || current == takenFrom_ || in.imagesPath.empty()) return std::nullopt;
  fs::path folder = CaptureFolder(in.imagesPath);
  std::error_code ec;
  fs::create_directories(folder, ec);  // a failure shows as a failed save below
  fs::path target = folder / PathFromUtf8(CaptureFileName(current, in.now, in.captureToPng));
  fs::path source = PathFromUtf8(current);
  bool saved = in.captureToPng ? encoder.SaveAsPng(source, target)
                               : encoder.SaveAsJpeg(source, target, kCaptureJpegQuality);
  if (!saved) return std::nullopt;
  std::string copy = PathToUtf8(target);
  takenFrom_ = current;
  host.UseCapturedImage(copy);
  return copy;
}

}  // namespace ov
