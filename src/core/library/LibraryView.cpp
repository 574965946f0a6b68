#include "core/library/LibraryView.h"

#include "core/util/Numeric.h"
#include "core/util/Paths.h"

namespace ov {

namespace {
int32_t ThumbIndex(int32_t i) { return (i < 0 || i > 4) ? 2 : i; }
}  // namespace

int32_t ThumbColumnWidth(int32_t i) { return kThumbWidths[ThumbIndex(i)]; }
int32_t ThumbRowHeight(int32_t i) { return ThumbColumnWidth(i) * 3 / 4; }

Rect ThumbnailPlacement(Size cell, Size screen, Size image) {
  if (screen.width <= 0 || screen.height <= 0) return {};
  const double sw = screen.width, sh = screen.height, iw = image.width, ih = image.height;
  const double s = std::min(sh / (ih + 0.00001), sw / (iw + 0.00001));
  const int32_t tw = Round32(iw * s * cell.width / sw);
  const int32_t th = Round32(ih * s * cell.height / sh);
  const int32_t x = Round32(iw / sw) + (cell.width - tw - 1) / 2;
  const int32_t y = Round32(ih / sh) + (cell.height - th - 1) / 2;
  return {x, y, x + tw, y + th};
}

std::string WithThousands(int64_t n) {
  std::string digits = std::to_string(n < 0 ? -(n + 1) + uint64_t(1) : uint64_t(n));
  std::string out;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
    out += digits[i];
  }
  return n < 0 ? "-" + out : out;
}

std::string ThumbnailText(int32_t width, int32_t height, uint64_t fileSize) {
  return std::to_string(width) + " x " + std::to_string(height) + " 像素\r" +
         WithThousands(Round(static_cast<double>(fileSize) / 1024.0)) + " KB";
}

std::string LibraryCountCaption(size_t count) { return std::to_string(count) + " 张图像"; }

std::optional<size_t> BackgroundRow(const std::vector<TImageItem>& library, const std::string& background) {
  if (library.empty()) return std::nullopt;
  for (size_t i = 0; i < library.size(); ++i)
    if (library[i].FileName == background) return i;
  return 0;
}

std::string DeleteImagePrompt(const std::string& selectedImage) {
  return "您确定您要永久删除图像吗?\r“" + PathToUtf8(PathFromUtf8(selectedImage).filename()) + "”";
}

const std::array<const char*, kSearchTermCount>& WallpaperSearchTerms() {
  // Positions 0, 17 and 30 are painters whose works are in the public domain.
  static const std::array<const char*, kSearchTermCount> kTerms = {
      "claude+monet", "wild+nature", "animal",     "flower",     "snow",       "summer",
      "winter",       "scifi",       "house",      "art",        "boat",       "jungle",
      "sky",          "underwater",  "coast",      "paradise",   "painting",   "caspar+david+friedrich",
      "movie+poster", "mountain",    "aurora",     "planets",    "3d+art",     "dreamscape",
      "sunset",       "beach",       "nebula",     "galaxy",     "moon",       "desktop+wallpaper",
      "vincent+van+gogh", "river",   "fantasy",    "dog",        "cat"};
  return kTerms;
}

std::string WallpaperSearchQuery(IRandom& random) {
  return std::string(kSearchQueryPrefix) + WallpaperSearchTerms()[random.Below(kSearchTermCount)];
}

}  // namespace ov
