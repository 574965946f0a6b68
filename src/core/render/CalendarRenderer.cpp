#include "core/render/CalendarRenderer.h"

#include <algorithm>

#include "core/calendar/ColorCodes.h"
#include "core/calendar/DateTime.h"
#include "core/calendar/WeekGrid.h"
#include "core/render/Blend.h"
#include "core/render/CellShadows.h"
#include "core/render/Resample.h"
#include "core/util/Numeric.h"
#include "core/util/Text.h"

namespace ov {

using namespace text_flags;

int32_t TintAlpha(int32_t calendarAlpha) {
  return int32_t(Clamp<int64_t>(Trunc(96.0 * calendarAlpha / 255.0), 16, 96));
}

uint32_t OutlineColor(uint32_t fontColor, uint32_t fontShadowColor) {
  return Luminance(ToArgb(fontColor)) <= 40 ? 0xFFFFFFu : fontShadowColor;
}

std::string TitleText(int32_t titleMode, const std::string& sectionName, const DateParts& d,
                      const ILocaleNames& locale) {
  const std::string section = ReplaceAll(sectionName, "&&", "&");
  switch (titleMode) {
    case 0: return locale.LongDate(d);
    case 1: return section + " entries";
    case 2: return section + " - " + locale.LongDate(d);
    case 3: return section + " - " + locale.MonthYear(d);
    case 4: return locale.MonthYear(d);
    default: return section;
  }
}

namespace {

DateParts PartsOf(double date) {
  CivilDate c = DecodeDate(date);
  return {c.year, c.month, c.day, DayOfWeekIso(date)};
}

// The data of the day the walk is at: the mask lookup reads a day, and the drawing of
// the same day right after reuses it.
class DayReader {
 public:
  explicit DayReader(IDayDataSource* src) : src_(src) {}
  const DayData& Read(double date) {
    const int32_t day = DayNumber(date);
    if (!valid_ || day != day_) {
      data_ = src_ ? src_->ReadDay(double(day)) : DayData{};
      day_ = day;
      valid_ = true;
    }
    return data_;
  }

 private:
  IDayDataSource* src_;
  DayData data_;
  int32_t day_ = 0;
  bool valid_ = false;
};

int32_t Sat(int64_t v) { return int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); }

// Rect::Offset without overflow for rectangles at the 32-bit limits.
Rect Shift(const Rect& r, int32_t dx, int32_t dy) {
  return {Sat(int64_t(r.left) + dx), Sat(int64_t(r.top) + dy), Sat(int64_t(r.right) + dx), Sat(int64_t(r.bottom) + dy)};
}

Rect Inset(const Rect& r, int64_t by) {
  return {Sat(r.left + by), Sat(r.top + by), Sat(r.right - by), Sat(r.bottom - by)};
}

}  // namespace

CalendarRenderer::CalendarRenderer(const Settings& settings, ITextRenderer& text, const ILocaleNames& locale)
    : s_(settings), text_(text), locale_(locale) {}

bool CalendarRenderer::HasSkin() const { return skin_ && skin_->Width() >= 2 && !skin_->Empty(); }

void CalendarRenderer::DrawText(TBitmap32& surface, const Rect& rect, uint32_t flags, std::string_view text,
                                const FontSpec& font) {
  const uint32_t outline = OutlineColor(font.color, uint32_t(s_.FontShadowColor));
  switch (s_.TextOutMode) {
    case 1:
      text_.DrawInRect(surface, Shift(rect, 1, 1), flags, font, outline, text);
      break;
    case 2:
      text_.DrawInRect(surface, Shift(rect, -1, 0), flags, font, outline, text);
      text_.DrawInRect(surface, Shift(rect, 0, -1), flags, font, outline, text);
      text_.DrawInRect(surface, Shift(rect, 0, 1), flags, font, outline, text);
      text_.DrawInRect(surface, Shift(rect, 1, 0), flags, font, outline, text);
      break;
    default:
      break;
  }
  text_.DrawInRect(surface, rect, flags, font, font.color, text);
}

void CalendarRenderer::DrawSkin(TBitmap32& surface, const Rect& rect) {
  const uint8_t alpha = uint8_t(Clamp(s_.CalendarAlpha, 0, 255));
  const bool inside = rect.left >= 0 && rect.top >= 0 && rect.right <= surface.Width() &&
                      rect.bottom <= surface.Height() && !rect.Empty();
  if (!inside) {  // clipped cells: the resampler computes only the visible part
    ResampleInto(surface, rect, *skin_, skin_->BoundsRect(), StretchFilter::Linear2, DrawMode::Blend, alpha);
    return;
  }
  const int32_t w = rect.right - rect.left, h = rect.bottom - rect.top;
  if (!skinCellValid_ || skinCell_.Width() != w || skinCell_.Height() != h) {
    skinCell_.SetSize(w, h);
    ResampleInto(skinCell_, skinCell_.BoundsRect(), *skin_, skin_->BoundsRect(), StretchFilter::Linear2,
                 DrawMode::Opaque);
    skinCellValid_ = true;
  }
  // The same pixels the resampler would blend straight onto the surface.
  for (int32_t y = 0; y < h; ++y) BlendSpanMaster(skinCell_.Row(y), surface.Row(rect.top + y) + rect.left, size_t(w), alpha);
}

void CalendarRenderer::PaintCell(TBitmap32& surface, const Rect& rect, Pixel fill, bool useSkin,
                                 std::optional<Pixel> codeColor, std::optional<uint32_t> flags, std::string_view text,
                                 int32_t contrast, const FontSpec& font) {
  if (surface.Width() <= 1) return;
  cellRects_.push_back(rect);
  if (!Options.FramesOnly) {
    if (useSkin && HasSkin() && !s_.UseColorForSkin)
      DrawSkin(surface, rect);
    else
      surface.FillRectBlend(rect, fill);
  }
  if (!Options.NoColorCodes && codeColor) surface.FillRectBlend(rect, WithAlpha(*codeColor, TintAlpha(s_.CalendarAlpha)));
  if (Options.FramesOnly)
    surface.FrameRectBlend(rect, kFramesOnlyColor);
  else
    surface.BevelRect(rect, contrast);
  if (!text.empty()) DrawText(surface, Inset(rect, s_.FontBorderPixels), flags.value_or(kCenter) | kNoPrefix, text, font);
}

void CalendarRenderer::DrawEntry(TBitmap32& surface, const Rect& cell, int dayOfMonth, std::string_view text) {
  const int64_t fb = s_.FontBorderPixels;
  Rect r = cell;
  r.top = Sat(int64_t(r.top) + metrics_.captionHeight - metrics_.entryHeight);
  r = Inset(r, fb);
  // Spaces so the text starts right of the day number (one or two digits wide).
  const int32_t space = text_.Measure(s_.EntryFont, " ").width;
  int64_t spaces = 0;
  if (space > 0) {
    const double digits = dayOfMonth >= 10 ? 2.0 * metrics_.captionDigit : double(metrics_.captionDigit);
    spaces = Clamp<int64_t>(Round((digits + double(fb)) / space), 0, 4096);
  }
  DrawText(surface, r, kWordBreak | kNoPrefix | kEndEllipsis, std::string(size_t(spaces), ' ').append(text), s_.EntryFont);
}

int32_t CalendarRenderer::DrawEventLines(TBitmap32& surface, const Rect& cell, const std::optional<Rect>& line,
                                         const std::vector<DayEvent>& events, bool hasNote) {
  const int64_t fb = s_.FontBorderPixels;
  const int64_t rowHeight = std::max<int32_t>(metrics_.entryHeight, 1);
  const int64_t top = line ? int64_t(line->bottom) : int64_t(cell.top) + metrics_.captionHeight;
  const int64_t bottom = int64_t(cell.bottom) - fb;
  // One row stays for the note when there is one; lines beyond the rows are cut.
  const int64_t rows = std::max<int64_t>((bottom - top) / rowHeight - (hasNote ? 1 : 0), 0);
  const int64_t shown = std::min<int64_t>(rows, int64_t(events.size()));
  const int64_t first = bottom - shown * rowHeight;
  const int64_t bar = std::max<int64_t>(2, rowHeight / 6);
  for (int64_t i = 0; i < shown; ++i) {
    const int64_t y = first + i * rowHeight;
    const int64_t left = int64_t(cell.left) + fb;
    surface.FillRectOpaque({Sat(left), Sat(y + 1), Sat(left + bar), Sat(y + rowHeight - 1)},
                           WithAlpha(events[size_t(i)].rgb, 255));
    DrawText(surface, {Sat(left + bar + 2), Sat(y), Sat(int64_t(cell.right) - fb), Sat(y + rowHeight)},
             kSingleLine | kNoPrefix | kEndEllipsis, events[size_t(i)].text, s_.EntryFont);
  }
  return Sat(shown > 0 ? first : int64_t(cell.bottom));
}

void CalendarRenderer::DrawShadows(TBitmap32& surface) {
  const Pixel shade = WithAlpha(kBlack32, s_.CellShadowAlpha);
  for (const Rect& piece : ShadowPieces(cellRects_, s_.CellShadowX, s_.CellShadowY)) surface.FillRectBlend(piece, shade);
}

void DrawTodayGlow(TBitmap32& surface, Rect r, Pixel base) {
  int32_t alpha = kTodayGlowAlpha;
  for (int i = 0; i < kTodayGlowRings; ++i) {
    r = {Sat(int64_t(r.left) - 1), Sat(int64_t(r.top) - 1), Sat(int64_t(r.right) + 1), Sat(int64_t(r.bottom) + 1)};
    surface.FrameRectBlend(r, WithAlpha(base, alpha));
    alpha = (alpha / 6) * 5;
  }
}

void CalendarRenderer::RenderCalendar(TBitmap32& surface, const Rect& calendarRect, bool fromStartOfMonth,
                                      int pastWeeks, int rows, double displayDate, double today) {
  cellRects_.clear();
  skinCellValid_ = false;
  const bool fullSize = surface.Width() == target_.width && !surface.Empty();
  if (fullSize && table_) table_->Clear();
  if (surface.Empty()) return;

  const Rect panel = MapToSurface(calendarRect, {surface.Width(), surface.Height()}, target_);
  metrics_.entryHeight = text_.Measure(s_.EntryFont, "Xq").height;
  metrics_.captionHeight = text_.Measure(s_.CaptionFont, "Xq").height;
  metrics_.captionDigit = text_.Measure(s_.CaptionFont, "OXZW").width / 4;
  metrics_.weekNumberText = text_.Measure(s_.CaptionFont, "00").width;
  GridLayout grid;
  grid.displayDate = displayDate;
  grid.startOfWeek = s_.StartOfWeek;
  grid.rows = rows;
  grid.pastWeeks = pastWeeks;
  grid.fromStartOfMonth = fromStartOfMonth;
  grid.holidayBits = s_.HolidayBits;
  grid.showNextMonthCaption = s_.ShowNextMonthCaption;
  grid = grid.Sanitized();
  layout_ = LayoutPanel(panel, metrics_, s_.FontBorderPixels, s_.CellGap, s_.WeekNumbers, grid.rows);

  const Pixel fill = WithAlpha(s_.CalendarColor, s_.CalendarAlpha);
  const int32_t contrast = s_.CellFrameContrast;
  const FontSpec& caption = s_.CaptionFont;

  // 1. Title; 2. weekday names.
  PaintCell(surface, layout_.title, fill, true, std::nullopt, std::nullopt,
            TitleText(s_.TitleMode, s_.SubEntryName, PartsOf(displayDate), locale_), contrast, caption);
  for (int i = 0; i < 7; ++i)
    PaintCell(surface, layout_.WeekdayCell(i), fill, true, std::nullopt, std::nullopt,
              locale_.ShortDayName(WeekdayOfColumn(grid.startOfWeek, i + 1) + 1), contrast, caption);
  if (!layout_.grid.CellsDrawable()) return;

  // 3.–5. The grid walk: days, entries, month captions, week numbers.
  DayReader reader(days_);
  const bool lunar = s_.ShowLunar;
  const HolidayCalendar& holidays = holidays_ ? *holidays_ : HolidayCalendar::BuiltIn();
  if (lunar) MeasureLunar();
  std::optional<Rect> todayRect;
  const bool drawEntries = !Options.NoEntries && days_;
  auto mask = [&](double date) -> uint32_t { return days_ ? reader.Read(date).colorCodes : 0; };
  GridWalkResult walked = WalkGrid(grid, layout_.grid, today, mask, [&](const GridDay& g) {
    const int64_t dayNumber = DayNumber(g.date);
    const DayOff off = lunar ? holidays.On(dayNumber) : DayOff::None;
    const int colorClass = lunar ? LayerColorClass(g.colorClass, g.colorMask, off) : g.colorClass;
    std::optional<Pixel> code;
    if (colorClass >= 0) code = Pixel(ColorCodeRgb(colorClass));
    const int dayOfMonth = DecodeDate(g.date).day;
    PaintCell(surface, g.cell, fill, true, code, kLeft | kTop, std::to_string(dayOfMonth), contrast, caption);
    if (fullSize && table_) table_->Add(g.date, g.cell);
    const std::optional<Rect> line = lunar ? LunarLine(g.cell) : std::nullopt;
    if (line) DrawLunar(surface, g.cell, *line, dayNumber, dayOfMonth, off);
    if (drawEntries) {
      const DayData& d = reader.Read(g.date);
      // Event lines take the bottom of the cell; the note keeps the space above them.
      Rect noteCell = g.cell;
      if (!d.events.empty()) noteCell.bottom = DrawEventLines(surface, g.cell, line, d.events, !d.text.empty());
      if (!d.text.empty()) {
        // A cell shows far less than this; laying out a note of megabytes (five times,
        // with an outline) would hold up every rebuild for what is never seen.
        const std::string_view text = Utf8Prefix(d.text, kMaxCellTextBytes);
        if (line)
          DrawEntryBelow(surface, noteCell, *line, text);
        else
          DrawEntry(surface, noteCell, dayOfMonth, text);
      }
    }
    if (g.isToday) todayRect = g.cell;
    if (g.monthBreakAfter && g.caption.drawn) {
      const Rect& pos = g.caption.cell;
      const DateParts first = PartsOf(g.caption.firstDay);
      std::string name = locale_.LongMonthName(first.month);
      const int64_t cellWidth = pos.Width();
      int64_t width = std::max<int64_t>(cellWidth, int64_t(text_.Measure(caption, name).width) + kMonthCaptionMargin);
      int64_t right = int64_t(pos.left) + width;
      if (right > layout_.gridRight) {
        name = locale_.ShortMonthName(first.month);
        right = layout_.gridRight;
      }
      const int64_t bottom = int64_t(pos.bottom) - kCaptionGap;
      const int64_t height = int64_t(metrics_.captionHeight) + 2 * int64_t(s_.FontBorderPixels);
      PaintCell(surface, {pos.left, Sat(bottom - height), Sat(right), Sat(bottom)}, fill, true, std::nullopt,
                std::nullopt, name, contrast, caption);
    }
    if (g.rowEndsAfter && s_.WeekNumbers)
      PaintCell(surface, {layout_.weekNumberLeft, g.weekNumber.top, layout_.weekNumberRight, g.weekNumber.bottom}, fill,
                true, std::nullopt, kCenter | kVCenter | kSingleLine, std::to_string(g.weekNumber.week), contrast,
                caption);
  });

  // 6. Shadows; 7. today's glow.
  if (s_.CellShadow) DrawShadows(surface);
  if (Options.TodayFrame && todayRect) {
    // CurrentDateFrameColor 0 stands for the caption font colour.
    const Pixel glow = s_.CurrentDateFrameColor != 0 ? Pixel(s_.CurrentDateFrameColor) : ToArgb(caption.color);
    DrawTodayGlow(surface, *todayRect, glow);
  }

  // 8. The mini controller's place in the title; 9. print overflow.
  if (!Options.PrintMode && fullSize) {
    ControllerRect = layout_.title;
    if (s_.ControllerLeft)
      ControllerRect.right = Sat(int64_t(ControllerRect.left) + kControllerWidth);
    else
      ControllerRect.left = Sat(int64_t(ControllerRect.right) - kControllerWidth);
  }
  if (Options.PrintMode) {
    const CivilDate shown = DecodeDate(displayDate);
    const CivilDate after = DecodeDate(walked.lastDay + 1);
    MonthOverflow = walked.days > 0 && shown.year == after.year && shown.month == after.month;
  }
}

}  // namespace ov
