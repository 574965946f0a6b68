// The Chinese calendar layer of the day cells: under the day number a smaller line with
// the festival, the solar term or the lunar day; a "休" or "班" badge in the top-right
// corner of official days off and make-up working days; the entry text below the line.
#include <algorithm>
#include <cstdlib>

#include "core/calendar/ChineseCalendar.h"
#include "core/render/CalendarRenderer.h"
#include "core/util/Numeric.h"

namespace ov {

using namespace text_flags;

namespace {

constexpr Pixel kOffBadge = 0xE8D83A3A;   // days off: red
constexpr Pixel kWorkBadge = 0xE8485468;  // make-up working days: slate
constexpr uint32_t kBadgeText = 0xFFFFFF;

int32_t Sat32(int64_t v) { return int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); }

}  // namespace

void CalendarRenderer::MeasureLunar() {
  // Four fifths of the caption font, at least 11 pixels (Chinese glyphs below that are
  // hard to read), never larger than the caption; regular weight keeps small glyphs clear.
  const int32_t caption = std::abs(s_.CaptionFont.height);
  lunarFont_ = s_.CaptionFont;
  lunarFont_.height = -std::min(caption, std::max<int32_t>(11, caption * 4 / 5));
  lunarFont_.weight = 400;
  lunarFont_.underline = lunarFont_.strikeOut = false;
  lunarLine_ = text_.Measure(lunarFont_, "Xq").height;
  const Size glyph = text_.Measure(lunarFont_, "休");
  badge_ = {glyph.width + 4, std::min(glyph.height, metrics_.captionHeight)};
}

std::optional<Rect> CalendarRenderer::LunarLine(const Rect& cell) const {
  // Right under the day number's line, inside the text inset; none when the cell is too
  // small to hold it whole.
  const int64_t fb = s_.FontBorderPixels;
  const int64_t top = int64_t(cell.top) + fb + metrics_.captionHeight;
  const int64_t bottom = top + lunarLine_;
  if (lunarLine_ <= 0 || bottom > int64_t(cell.bottom) - fb || int64_t(cell.right) - fb <= int64_t(cell.left) + fb)
    return std::nullopt;
  return Rect{Sat32(cell.left + fb), Sat32(top), Sat32(cell.right - fb), Sat32(bottom)};
}

void CalendarRenderer::DrawLunar(TBitmap32& surface, const Rect& cell, const Rect& line, int64_t day,
                                 int dayOfMonth, DayOff kind) {
  const std::string note = LunarNote(day);
  if (!note.empty()) {
    FontSpec font = lunarFont_;
    font.color = s_.CaptionFont.color;
    // Only what fits: a note cut in the middle of a glyph would mislead.
    if (text_.Measure(font, note).width <= line.Width()) DrawText(surface, line, kLeft | kSingleLine | kNoPrefix, note, font);
  }
  if (kind == DayOff::None) return;
  // The badge sits in the corner above the note's line, and only where it leaves the day
  // number free.
  const int64_t fb = s_.FontBorderPixels;
  const int64_t numberRight = int64_t(cell.left) + fb + text_.Measure(s_.CaptionFont, std::to_string(dayOfMonth)).width;
  const int64_t right = int64_t(cell.right) - 1, top = int64_t(cell.top) + 1;
  const int64_t left = right - badge_.width, bottom = std::min<int64_t>(top + badge_.height, line.top);
  if (left <= numberRight + 1 || bottom - top < 4) return;
  const Rect badge{Sat32(left), Sat32(top), Sat32(right), Sat32(bottom)};
  surface.FillRectBlend(badge, kind == DayOff::Off ? kOffBadge : kWorkBadge);
  text_.DrawInRect(surface, badge, kCenter | kVCenter | kSingleLine | kNoPrefix, lunarFont_, kBadgeText,
                   kind == DayOff::Off ? "休" : "班");
}

void CalendarRenderer::DrawEntryBelow(TBitmap32& surface, const Rect& cell, const Rect& line, std::string_view text) {
  const int64_t fb = s_.FontBorderPixels;
  const Rect r{line.left, line.bottom, line.right, Sat32(int64_t(cell.bottom) - fb)};
  if (r.Empty()) return;
  DrawText(surface, r, kWordBreak | kNoPrefix | kEndEllipsis, text, s_.EntryFont);
}

}  // namespace ov
