#pragma once
// Drawing the calendar onto a printed page: the settings and render options printing
// changes for the page, put back exactly afterwards, and the row count of a full-size
// month.
#include <cstdint>
#include <functional>

#include "core/print/PrintPage.h"
#include "core/render/CalendarRenderer.h"
#include "core/settings/Settings.h"

namespace ov {

// The overlay follows the print check box while the page background is composed.
class PrintOverlayOverride {
 public:
  explicit PrintOverlayOverride(Settings& s);
  ~PrintOverlayOverride() { Restore(); }
  PrintOverlayOverride(const PrintOverlayOverride&) = delete;
  PrintOverlayOverride& operator=(const PrintOverlayOverride&) = delete;
  void Restore();

 private:
  Settings& s_;
  bool overlay_;
  bool active_ = true;
};

// What printing changes for the calendar of one page: title mode, text output mode,
// both fonts, cell shadows, every render option and the renderer's target size and
// day-cell table. The constructor remembers and applies them; Restore (or the
// destructor) puts every one back. The day-cell table is detached for the page so that
// the desktop's date hit-testing keeps describing the wallpaper.
class PrintRenderOverrides {
 public:
  PrintRenderOverrides(Settings& s, CalendarRenderer& renderer, Size page);
  ~PrintRenderOverrides() { Restore(); }
  PrintRenderOverrides(const PrintRenderOverrides&) = delete;
  PrintRenderOverrides& operator=(const PrintRenderOverrides&) = delete;
  void Restore();

 private:
  Settings& s_;
  CalendarRenderer& r_;
  int32_t titleMode_;
  int32_t textOutMode_;
  FontSpec captionFont_;
  FontSpec entryFont_;
  bool cellShadow_;
  RenderOptions options_;
  Size target_;
  DayCellTable* table_;
  bool active_ = true;
};

// Draws the calendar of displayDate onto the page image with the print options and
// returns MonthOverflow (the month goes on after the last drawn day).
bool RenderPrintCalendar(Settings& s, CalendarRenderer& renderer, TBitmap32& page, double displayDate, double today,
                         int32_t pageRows);

// The row count of a page: renderWithRows(n) draws the page with n rows and returns
// whether the month overflowed. A full-size calendar starts at five rows and is drawn
// again with one more while it overflows, up to six; otherwise it is drawn once.
// Returns the rows of the last drawing.
int32_t RenderPrintPageRows(bool fullSize, const std::function<bool(int32_t rows)>& renderWithRows);

}  // namespace ov
