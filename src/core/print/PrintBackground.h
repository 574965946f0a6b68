#pragma once
// The background of a printed page, drawn before the calendar.
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/images/ImagePropsStore.h"
#include "core/images/Overlay.h"
#include "core/render/Bitmap32.h"
#include "core/render/CalendarRenderer.h"
#include "core/settings/Settings.h"

namespace ov {

// Fills the page with the desktop colour, then the bottom image and the current picture
// with their own properties and colour adjustments, the overlay following its print check
// box (Overlay is put back afterwards). Without the background the page is opaque white.
// The page stands for the whole wallpaper: zoom and offsets are meant in its pixels.
void ComposePrintBackground(TBitmap32& page, Settings& s, ImagePropsStore& props, const OverlayImage* overlay);

// The whole page image of displayDate's month: its size from the device page (nullopt =
// no printer) and PrintZoomFactor, the background, then the calendar. A full-size
// calendar is drawn again with one more row while the month overflows; rowsOut gets
// the rows of the page returned.
TBitmap32 RenderPrintPage(Settings& s, CalendarRenderer& renderer, ImagePropsStore& props, const OverlayImage* overlay,
                          std::optional<Size> devicePage, double displayDate, double today,
                          int32_t* rowsOut = nullptr);

// The messages of a failed save of the page image.
constexpr const char* kNoTempFileMessage = "无法创建临时文件";
constexpr const char* kPrintSaveFailedMessage =
    "无法为打印保存“print.bmp”文件。\r\n文件写错误或没有足够的磁盘空间。";

struct PrintImageSave {
  std::filesystem::path file;         // empty when nothing was saved
  std::vector<std::string> messages;  // to show, in order
};
// Replaces the last page image file: deletes previous (failures ignored), takes a new
// temporary file from makeTempFile and writes the page there as a 24-bit bitmap; a
// failed write is tried once more after wait(1000).
PrintImageSave SavePrintImage(const TBitmap32& page, const std::filesystem::path& previous,
                              const std::function<std::optional<std::filesystem::path>()>& makeTempFile,
                              const std::function<bool(const std::filesystem::path&, const std::string&)>& write,
                              const std::function<void(int milliseconds)>& wait);

}  // namespace ov
