#pragma once
// The decisions behind a printed month page that need no printer: the page image size,
// where the calendar goes on it, which print options are available, the page
// background, and the names of the temporary page files.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/render/Bitmap32.h"
#include "core/settings/Settings.h"
#include "core/util/Rect.h"

namespace ov {

// The page size used when no printer answers, in device pixels (width × height).
constexpr Size kFallbackPrinterPage{2000, 1400};
// The zoom slider's range: the page image is this percentage of the device page.
constexpr int32_t kMinPrintZoom = 10;
constexpr int32_t kMaxPrintZoom = 50;
// The gap between the page image's edges and a full-size calendar.
constexpr int32_t kPrintPageMargin = 20;
// A full-size calendar starts with five week rows and grows to the six the longest
// month needs.
constexpr int32_t kFirstPrintPageRows = 5;
constexpr int32_t kMaxPrintPageRows = 6;
// The page background when the background picture is left out.
constexpr Pixel kPrintPaperWhite = 0xFFFFFFFF;
// The prefix of the temporary page image files.
constexpr std::string_view kPrintTempPrefix = "OV3";

// The page image: zoomPercent of the device page, truncated. No page (or an empty one)
// means the fallback size. The zoom is held to the slider's range, so that a value
// edited into the settings cannot ask for a page image of gigabytes.
Size PageImageSize(std::optional<Size> devicePage, int32_t zoomPercent);

// Where and how the calendar is drawn on the page image.
struct PrintPlacement {
  Rect rect;  // page-image pixels, unscaled; parts outside the page are not drawn
  bool fromStartOfMonth = true;
  int32_t pastWeeks = 0;
  int32_t rows = kFirstPrintPageRows;
};
// Full-size: the page less the margin, the whole month from its first week, pageRows
// rows. Otherwise the wallpaper's panel numbers and week settings.
PrintPlacement PrintCalendarPlacement(const Settings& s, Size page, int32_t pageRows);
// The part of a panel rectangle that lands on the page image.
Rect VisibleOnPage(const Rect& panel, Size page);

// The check boxes whose availability depends on another one.
bool PrintEntryNameEnabled(const Settings& s);  // not with a blank calendar
// The overlay box only where it can change the page: the background picture is drawn
// and an overlay is switched on (without Overlay no overlay picture is loaded at all).
bool PrintOverlayEnabled(const Settings& s);
// The title of the page: 3 (section and month) or 4 (month alone); a blank calendar
// always gets 4.
int32_t PrintTitleMode(const Settings& s);
// The page's plain fill when the background picture is left out; nullopt = the
// background picture is composed.
std::optional<Pixel> PrintPlainBackground(const Settings& s);

// The zoom slider moves in steps of 5 between 10 and 50: a dragged position goes to the
// nearest step.
int32_t SnapPrintZoom(int32_t position);

// The option boxes of the printer tab, in their order on the tab: control name (also
// the key in section Print), caption, and the setting it edits.
struct PrintOptionBox {
  std::string_view control;
  std::string_view caption;
  bool Settings::*flag;
};
const std::vector<PrintOptionBox>& PrintOptionBoxes();

// The print job's title: "Orvinta Image (W x H)" with the device page size.
std::string PrintJobTitle(Size devicePage);

// The name of a temporary file for a unique number: the prefix's first three
// characters, the number in upper-case hexadecimal, ".tmp".
std::string TempFileName(std::string_view prefix, uint16_t unique);
// Whether a file in the temporary folder is one of the page images (the name begins
// with "OV3", any case); these are deleted when the program closes.
bool IsPrintTempFile(std::string_view fileName);

// Deletes every page image file (IsPrintTempFile) in folder, silently; returns how many
// went. Other files are left alone.
int DeletePrintTempFiles(const std::filesystem::path& folder);

enum class CreateResult { Created, Exists, Failed };
// Creates a new, empty file in folder whose name begins with prefix, trying the unique
// numbers from seed on (0 is skipped). createNew creates the file only when it does not
// exist yet. Returns the path, or nullopt when the folder is full or creating fails.
std::optional<std::filesystem::path> MakeTempFileName(
    const std::filesystem::path& folder, std::string_view prefix, uint16_t seed,
    const std::function<CreateResult(const std::filesystem::path&)>& createNew);

}  // namespace ov
