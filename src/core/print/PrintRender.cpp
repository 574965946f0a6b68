#include "core/print/PrintRender.h"

namespace ov {

PrintOverlayOverride::PrintOverlayOverride(Settings& s) : s_(s), overlay_(s.Overlay) {
  s_.Overlay = s_.CheckPrintOverlay;
}

void PrintOverlayOverride::Restore() {
  if (!active_) return;
  active_ = false;
  s_.Overlay = overlay_;
}

PrintRenderOverrides::PrintRenderOverrides(Settings& s, CalendarRenderer& renderer, Size page)
    : s_(s),
      r_(renderer),
      titleMode_(s.TitleMode),
      textOutMode_(s.TextOutMode),
      captionFont_(s.CaptionFont),
      entryFont_(s.EntryFont),
      cellShadow_(s.CellShadow),
      options_(renderer.Options),
      target_(renderer.TargetSize()),
      table_(renderer.GetDayCellTable()) {
  s_.TitleMode = PrintTitleMode(s_);
  if (s_.CheckPrintBlackText) {
    s_.CaptionFont.color = 0;
    s_.EntryFont.color = 0;
    s_.TextOutMode = 0;
  }
  s_.CellShadow = s_.CheckPrintShadow;
  RenderOptions& o = r_.Options;
  o.NoEntries = s_.CheckPrintBlank;
  o.FramesOnly = s_.CheckPrintFrames;
  o.NoColorCodes = !s_.CheckPrintColorCodes;
  o.TodayFrame = false;
  o.PrintMode = true;
  r_.MonthOverflow = false;
  // The page is the whole picture: panel numbers are page pixels.
  r_.SetTargetSize(page);
  r_.SetDayCellTable(nullptr);
}

void PrintRenderOverrides::Restore() {
  if (!active_) return;
  active_ = false;
  s_.TitleMode = titleMode_;
  s_.TextOutMode = textOutMode_;
  s_.CaptionFont = captionFont_;
  s_.EntryFont = entryFont_;
  s_.CellShadow = cellShadow_;
  r_.Options = options_;
  r_.SetTargetSize(target_);
  r_.SetDayCellTable(table_);
}

bool RenderPrintCalendar(Settings& s, CalendarRenderer& renderer, TBitmap32& page, double displayDate, double today,
                         int32_t pageRows) {
  const Size size{page.Width(), page.Height()};
  const PrintPlacement at = PrintCalendarPlacement(s, size, pageRows);
  PrintRenderOverrides overrides(s, renderer, size);
  renderer.RenderCalendar(page, at.rect, at.fromStartOfMonth, at.pastWeeks, at.rows, displayDate, today);
  return renderer.MonthOverflow;
}

int32_t RenderPrintPageRows(bool fullSize, const std::function<bool(int32_t rows)>& renderWithRows) {
  int32_t rows = kFirstPrintPageRows;
  // Bounded: a month never needs more than six rows from its first week, so a renderer
  // that kept reporting overflow cannot make this loop forever.
  while (renderWithRows(rows) && fullSize && rows < kMaxPrintPageRows) ++rows;
  return rows;
}

}  // namespace ov
