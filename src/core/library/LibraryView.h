#pragma once
// What the picture library's grid and menu show: thumbnail cell sizes, where a thumbnail
// sits in its cell, the text beside it, the count header and the web search for new
// wallpapers.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/library/RotationQueue.h"
#include "core/util/Rect.h"

namespace ov {

// Thumbnail column widths for ThumbWidthIndex 0..4 ("最小" .. "最大"); a stored index
// outside that range is treated as the middle size.
inline constexpr int32_t kThumbWidths[5] = {28, 50, 66, 99, 199};
inline constexpr const char* kThumbSizeCaptions[5] = {"最小", "较小", "中等", "较大", "最大"};
inline constexpr int32_t kTextColumnWidth = 220;
int32_t ThumbColumnWidth(int32_t thumbWidthIndex);
// trunc(width * 0.75).
int32_t ThumbRowHeight(int32_t thumbWidthIndex);

// Where a picture of `image` size goes in a cell of `cell` size: scaled as it would fit on
// a `screen`-sized wallpaper, then scaled down to the cell and centred.
Rect ThumbnailPlacement(Size cell, Size screen, Size image);

// "1,234,567": an integer with thousands separators.
std::string WithThousands(int64_t n);
// The second text of a row: "%d x %d 像素\r%.0n KB" (size in KB without decimals, grouped).
std::string ThumbnailText(int32_t width, int32_t height, uint64_t fileSize);
// The grid menu's header: "%d 张图像".
std::string LibraryCountCaption(size_t count);

// The grid row that shows the wallpaper background: the first entry whose full path is
// exactly `background` (letter case counts), else row 0; nothing for an empty library.
std::optional<size_t> BackgroundRow(const std::vector<TImageItem>& library, const std::string& background);

// The question before a picture is deleted from disk, naming the file without its folder.
std::string DeleteImagePrompt(const std::string& selectedImage);

// The built-in search terms (words joined by "+"), one drawn at random per search.
inline constexpr size_t kSearchTermCount = 35;
const std::array<const char*, kSearchTermCount>& WallpaperSearchTerms();
inline constexpr const char* kSearchQueryPrefix = "imgsz=xxlarge&scoring=d&q=";
// The query of an image search for a randomly drawn term.
std::string WallpaperSearchQuery(IRandom& random);

}  // namespace ov
