#pragma once
// The translucent calendar panel: title, weekday names, the day grid with numbers,
// entry texts and colour-code tints, week numbers, month captions, cell shadows and the
// glow around today. The same drawing serves the wallpaper, the preview and printing;
// only a surface as wide as the wallpaper refills the day-cell table and sets the
// controller rectangle.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/calendar/DayCellTable.h"
#include "core/calendar/Holidays.h"
#include "core/platform/LocaleNames.h"
#include "core/platform/TextRenderer.h"
#include "core/render/Bitmap32.h"
#include "core/render/CalendarLayout.h"
#include "core/render/DayDataSource.h"
#include "core/settings/Settings.h"

namespace ov {

struct RenderOptions {
  bool NoEntries = false;
  bool FramesOnly = false;
  bool NoColorCodes = false;
  bool TodayFrame = true;
  bool PrintMode = false;
};

// Fixed values of the drawing.
constexpr int kTodayGlowRings = 24;
constexpr int32_t kTodayGlowAlpha = 208;
constexpr Pixel kFramesOnlyColor = 0x80000000;
// The most of a note a cell is given to lay out: more than the largest cell of the
// largest wallpaper can show in the smallest font.
constexpr size_t kMaxCellTextBytes = 65536;

// The alpha of a colour-code tint for a CalendarAlpha: 96 × alpha / 255, truncated and
// held to 16..96.
int32_t TintAlpha(int32_t calendarAlpha);
// The outline/shadow colour of text in a font colour: white for dark fonts (luminance
// 40 or less), else FontShadowColor. Both platform colours.
uint32_t OutlineColor(uint32_t fontColor, uint32_t fontShadowColor);
// The title text of TitleMode 0..4 (any other value: the section name).
std::string TitleText(int32_t titleMode, const std::string& sectionName, const DateParts& displayDate,
                      const ILocaleNames& locale);

// The glow around today: 24 rings growing outward from r, the first at alpha 208, each
// next one at (alpha div 6) × 5 (208, 170, 140, 115, ... 5, then 0).
void DrawTodayGlow(TBitmap32& surface, Rect r, Pixel color);

class CalendarRenderer {
 public:
  // The settings are read on every render; keep them alive as long as the renderer.
  CalendarRenderer(const Settings& settings, ITextRenderer& text, const ILocaleNames& locale);

  // The wallpaper size W × H: a surface this wide is a full-size render.
  void SetTargetSize(Size target) { target_ = target; }
  Size TargetSize() const { return target_; }
  // The cell skin; nullptr or a picture narrower than 2 pixels means none.
  void SetSkin(const TBitmap32* skin) { skin_ = skin; }
  // Entry texts and colour codes; nullptr draws neither.
  void SetDayData(IDayDataSource* days) { days_ = days; }
  // The table a full-size render refills; nullptr leaves none.
  void SetDayCellTable(DayCellTable* table) { table_ = table; }
  DayCellTable* GetDayCellTable() const { return table_; }
  // The official days off the Chinese calendar layer (ShowLunar) marks; nullptr = the
  // compiled-in years.
  void SetHolidays(const HolidayCalendar* holidays) { holidays_ = holidays; }

  RenderOptions Options;

  // Draws the panel. today is the clock's date-time (whole day compared).
  void RenderCalendar(TBitmap32& surface, const Rect& calendarRect, bool fromStartOfMonth, int pastWeeks,
                      int rows, double displayDate, double today);

  // One cell: fill or skin, colour-code tint, bevel (or frame), then the text inset by
  // FontBorderPixels in the text output mode. flags: nullopt = centred, top-aligned.
  void PaintCell(TBitmap32& surface, const Rect& rect, Pixel fill, bool useSkin, std::optional<Pixel> codeColor,
                 std::optional<uint32_t> flags, std::string_view text, int32_t contrast, const FontSpec& font);

  // Every rectangle given to PaintCell since the current render began.
  const std::vector<Rect>& CellRectList() const { return cellRects_; }
  // Set by full-size renders outside print mode that drew the grid.
  Rect ControllerRect;
  // Print mode: the month of the display date goes on after the last drawn day.
  bool MonthOverflow = false;
  // The geometry of the last render.
  const PanelLayout& Layout() const { return layout_; }

 private:
  void DrawText(TBitmap32& surface, const Rect& rect, uint32_t flags, std::string_view text, const FontSpec& font);
  void DrawSkin(TBitmap32& surface, const Rect& rect);
  void DrawEntry(TBitmap32& surface, const Rect& cell, int dayOfMonth, std::string_view text);
  void DrawShadows(TBitmap32& surface);
  // The Chinese calendar layer (CalendarRenderer_Lunar.cpp).
  void MeasureLunar();
  std::optional<Rect> LunarLine(const Rect& cell) const;
  void DrawLunar(TBitmap32& surface, const Rect& cell, const Rect& line, int64_t day, int dayOfMonth, DayOff kind);
  void DrawEntryBelow(TBitmap32& surface, const Rect& cell, const Rect& line, std::string_view text);
  // Draws the day's event lines at the bottom of the cell, each with a bar in its
  // subscription's colour; returns the top of the first line drawn (the note's bottom).
  int32_t DrawEventLines(TBitmap32& surface, const Rect& cell, const std::optional<Rect>& line,
                         const std::vector<DayEvent>& events, bool hasNote);
  bool HasSkin() const;

  const Settings& s_;
  ITextRenderer& text_;
  const ILocaleNames& locale_;
  Size target_{0, 0};
  const TBitmap32* skin_ = nullptr;
  IDayDataSource* days_ = nullptr;
  DayCellTable* table_ = nullptr;
  const HolidayCalendar* holidays_ = nullptr;

  std::vector<Rect> cellRects_;
  PanelLayout layout_;
  PanelMetrics metrics_;
  // The layer's small font and its measures, set at the start of a render with the layer on.
  FontSpec lunarFont_;
  int32_t lunarLine_ = 0;
  Size badge_{0, 0};
  // The skin resampled to one cell size, reused within a render while cells keep that
  // size (a render draws dozens of equal cells).
  TBitmap32 skinCell_;
  bool skinCellValid_ = false;
};

}  // namespace ov
