#include "core/print/PrintPage.h"

#include <algorithm>
#include <cstdio>

#include "core/util/Paths.h"

namespace ov {

Size PageImageSize(std::optional<Size> devicePage, int32_t zoomPercent) {
  Size page = devicePage.value_or(kFallbackPrinterPage);
  if (page.width <= 0 || page.height <= 0) page = kFallbackPrinterPage;
  const int64_t z = std::clamp(zoomPercent, kMinPrintZoom, kMaxPrintZoom);
  // Integer arithmetic: the exact product truncated, with no floating-point rounding
  // that could lose a pixel (4800 × 0.3 must give 1440).
  auto scale = [z](int32_t v) { return int32_t(std::max<int64_t>(1, int64_t(v) * z / 100)); };
  return {scale(page.width), scale(page.height)};
}

PrintPlacement PrintCalendarPlacement(const Settings& s, Size page, int32_t pageRows) {
  if (s.CheckPrintFullsizeCalendar)
    return {{kPrintPageMargin, kPrintPageMargin, page.width - kPrintPageMargin, page.height - kPrintPageMargin},
            true,
            0,
            pageRows};
  return {s.CalendarRect, s.CalendarFromStartOfMonth, s.PastVisibleWeeks, s.VisibleWeeks};
}

Rect VisibleOnPage(const Rect& panel, Size page) {
  const Rect r = panel.Intersect({0, 0, page.width, page.height});
  return r.Empty() ? Rect{} : r;
}

bool PrintEntryNameEnabled(const Settings& s) { return !s.CheckPrintBlank; }

bool PrintOverlayEnabled(const Settings& s) { return s.Overlay && s.CheckPrintIncludeBackground; }

int32_t PrintTitleMode(const Settings& s) { return s.CheckPrintEntryName && !s.CheckPrintBlank ? 3 : 4; }

std::optional<Pixel> PrintPlainBackground(const Settings& s) {
  if (s.CheckPrintIncludeBackground) return std::nullopt;
  return kPrintPaperWhite;
}

int32_t SnapPrintZoom(int32_t position) {
  const int32_t p = std::clamp(position, kMinPrintZoom, kMaxPrintZoom);
  return (p + 2) / 5 * 5;
}

const std::vector<PrintOptionBox>& PrintOptionBoxes() {
  using S = Settings;
  static const std::vector<PrintOptionBox> boxes = {
      {"CheckPrintFullsizeCalendar", "全尺寸日历", &S::CheckPrintFullsizeCalendar},
      {"CheckPrintIncludeBackground", "背景", &S::CheckPrintIncludeBackground},
      {"CheckPrintOverlay", "覆盖", &S::CheckPrintOverlay},
      {"CheckPrintShadow", "阴影", &S::CheckPrintShadow},
      {"CheckPrintEntryName", "项目部分名称", &S::CheckPrintEntryName},
      {"CheckPrintBlank", "空白日历", &S::CheckPrintBlank},
      {"CheckPrintBlackText", "黑色文本", &S::CheckPrintBlackText},
      {"CheckPrintFrames", "框架", &S::CheckPrintFrames},
      {"CheckPrintColorCodes", "颜色代码", &S::CheckPrintColorCodes},
      {"CheckPrintLandscape", "打印前景", &S::CheckPrintLandscape},
  };
  return boxes;
}

std::string PrintJobTitle(Size devicePage) {
  return "Orvinta Image (" + std::to_string(devicePage.width) + " x " + std::to_string(devicePage.height) + ")";
}

std::string TempFileName(std::string_view prefix, uint16_t unique) {
  // Three characters, not bytes: a UTF-8 sequence is never cut.
  size_t end = 0;
  for (int chars = 0; end < prefix.size() && chars < 3; ++chars) {
    ++end;
    while (end < prefix.size() && (static_cast<unsigned char>(prefix[end]) & 0xC0) == 0x80) ++end;
  }
  char hex[8];
  std::snprintf(hex, sizeof hex, "%X", unsigned(unique));
  return std::string(prefix.substr(0, end)) + hex + ".tmp";
}

bool IsPrintTempFile(std::string_view fileName) {
  if (fileName.size() < kPrintTempPrefix.size()) return false;
  for (size_t i = 0; i < kPrintTempPrefix.size(); ++i) {
    char c = fileName[i];
    if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    if (c != kPrintTempPrefix[i]) return false;
  }
  return true;
}

int DeletePrintTempFiles(const std::filesystem::path& folder) {
  // Leftover page images only take space: whatever cannot be deleted now stays until the
  // next close, and nothing here may stop the program from closing.
  int deleted = 0;
  std::error_code ec;
  std::filesystem::directory_iterator it(folder, ec);
  for (const std::filesystem::directory_iterator end; !ec && it != end; it.increment(ec)) {
    std::error_code fileEc;
    if (!it->is_regular_file(fileEc)) continue;
    if (IsPrintTempFile(PathToUtf8(it->path().filename())) && std::filesystem::remove(it->path(), fileEc)) ++deleted;
  }
  return deleted;
}

std::optional<std::filesystem::path> MakeTempFileName(
    const std::filesystem::path& folder, std::string_view prefix, uint16_t seed,
    const std::function<CreateResult(const std::filesystem::path&)>& createNew) {
  uint16_t unique = seed;
  for (uint32_t tries = 0; tries < 0xFFFF; ++tries, ++unique) {
    if (unique == 0) ++unique;
    const std::filesystem::path p = folder / PathFromUtf8(TempFileName(prefix, unique));
    switch (createNew(p)) {
      case CreateResult::Created: return p;
      case CreateResult::Exists: break;
      case CreateResult::Failed: return std::nullopt;
    }
  }
  return std::nullopt;
}

}  // namespace ov
