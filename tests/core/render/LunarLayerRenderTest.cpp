// The Chinese calendar layer of the panel: lunar notes under the day numbers, the 休/班
// badges and the holiday colour of official off days; and, with ShowLunar off, the same
// pixels as the panel had before the layer existed.
#include <gtest/gtest.h>

#include <map>

#include "core/calendar/DateTime.h"
#include "core/images/ImageChecksum.h"
#include "core/platform/FakeTextRenderer.h"
#include "core/render/CalendarRenderer.h"

namespace ov {
namespace {

class EntryDays : public IDayDataSource {
 public:
  DayData ReadDay(double date) override {
    auto it = days.find(DayNumber(date));
    return it == days.end() ? DayData{} : it->second;
  }
  std::map<int32_t, DayData> days;
};

// February 2026 around the Spring Festival: lunar notes, festivals, solar terms, a week
// of official off days and two make-up working days (14 and 28 February are Saturdays).
class LunarLayerTest : public ::testing::Test {
 protected:
  LunarLayerTest() : r(s, text, locale) {
    s.CalendarRect = {400, 60, 1220, 1004};
    r.SetTargetSize({1280, 1024});
    r.SetDayData(&days);
    r.SetDayCellTable(&table);
    days.days[DayNumber(EncodeDate(2026, 2, 16))] = {"回家过年，记得带礼物给爷爷奶奶", 0};
    days.days[DayNumber(EncodeDate(2026, 2, 20))] = {"拜年", 0x4};
    surface.SetSize(1280, 1024);
    surface.Clear(0xFF336699);
  }
  void Render() {
    r.RenderCalendar(surface, s.CalendarRect, false, 2, 7, display, display);
  }

  Settings s;
  FakeTextRenderer text;
  FakeLocaleNames locale;
  EntryDays days;
  DayCellTable table;
  CalendarRenderer r;
  TBitmap32 surface;
  const double display = EncodeDate(2026, 2, 17);
};

// The checksum of this panel as the renderer drew it before the layer was added (commit
// 4fee000, the same fake text renderer): with the layer off nothing may change.
TEST_F(LunarLayerTest, LayerOffKeepsEveryPixel) {
  Render();
  EXPECT_EQ(ImageChecksum(surface), 0x739817dcu) << std::hex << ImageChecksum(surface);
}

Rect CellOf(const DayCellTable& table, int y, int m, int d) {
  for (const TDayCell& c : table.Cells())
    if (DayNumber(c.Date) == DayNumberFromCivil(y, m, d)) return c.Rect;
  ADD_FAILURE() << "no cell for " << y << "-" << m << "-" << d;
  return {};
}

bool Overlap(const Rect& a, const Rect& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

TEST_F(LunarLayerTest, NotesBadgesAndHolidayColour) {
  s.ShowLunar = true;
  r.Options.TodayFrame = false;  // the glow would tint the neighbours compared below
  Render();
  const int32_t fb = s.FontBorderPixels;
  // The call that draws a text in its own colour (not its shadow) inside a cell.
  auto callIn = [&](const Rect& cell, const std::string& t) -> std::optional<FakeTextRenderer::Call> {
    for (const auto& c : text.calls)
      if (c.text == t && c.color != uint32_t(s.FontShadowColor) && c.rect.left >= cell.left && c.rect.top >= cell.top && c.rect.right <= cell.right &&
          c.rect.bottom <= cell.bottom)
        return c;
    return std::nullopt;
  };
  struct Case {
    int d;
    const char* note;
    const char* badge;  // nullptr: none
  } cases[] = {{16, "除夕", "休"}, {17, "春节", "休"}, {18, "雨水", "休"}, {19, "初三", "休"}, {14, "廿七", "班"},
               {4, "立春", nullptr}, {12, "廿五", nullptr}, {28, "十二", "班"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.d);
    const Rect cell = CellOf(table, 2026, 2, c.d);
    const auto note = callIn(cell, c.note);
    ASSERT_TRUE(note);
    // The note's line lies under the day number's line.
    EXPECT_EQ(note->rect.top, cell.top + fb + FakeTextRenderer::LineHeight(s.CaptionFont));
    EXPECT_LT(note->font.height, 0);
    EXPECT_LT(-note->font.height, -s.CaptionFont.height + 1);
    const auto badge = callIn(cell, c.badge ? c.badge : "休");
    EXPECT_EQ(bool(badge), c.badge != nullptr);
    if (badge) {
      const Rect number{cell.left + fb, cell.top + fb,
                        cell.left + fb + text.Measure(s.CaptionFont, std::to_string(c.d)).width,
                        cell.top + fb + FakeTextRenderer::LineHeight(s.CaptionFont)};
      EXPECT_FALSE(Overlap(badge->rect, number));
      EXPECT_FALSE(Overlap(badge->rect, note->rect));
    }
  }
  // The entry text starts below the note's line instead of beside the number.
  const Rect eve = CellOf(table, 2026, 2, 16);
  const auto entry = callIn(eve, "回家过年，记得带礼物给爷爷奶奶");
  ASSERT_TRUE(entry);
  EXPECT_EQ(entry->rect.top, callIn(eve, "除夕")->rect.bottom);

  // Wednesday 18 February (off) is red like Sunday 22 February; Saturday 14 February
  // (worked) is plain like Wednesday 11 February. Compared below the texts.
  auto sample = [&](int d) {
    const Rect c = CellOf(table, 2026, 2, d);
    return surface.At(c.left + 3, c.bottom - 3);
  };
  EXPECT_EQ(sample(18), sample(22));
  EXPECT_NE(sample(18), sample(11));
  EXPECT_EQ(sample(14), sample(11));
}

TEST_F(LunarLayerTest, NoNotesOutsideTheRangeAndInTinyCells) {
  s.ShowLunar = true;
  r.RenderCalendar(surface, s.CalendarRect, false, 2, 7, EncodeDate(2101, 3, 10), 0);
  for (const auto& c : text.calls) EXPECT_NE(c.font.weight, 400) << c.text << " " << c.rect.top;  // only caption and entry fonts
  text.calls.clear();
  s.CalendarRect = {400, 60, 700, 200};  // cells too low for a second line
  r.RenderCalendar(surface, s.CalendarRect, false, 2, 7, display, 0);
  for (const auto& c : text.calls) EXPECT_NE(c.font.weight, 400) << c.text << " " << c.rect.top;
}

}  // namespace
}  // namespace ov
