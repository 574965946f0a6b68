#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "RenderTestUtil.h"
#include "core/calendar/DateTime.h"
#include "core/platform/FakeTextRenderer.h"
#include "core/render/Blend.h"
#include "core/render/CalendarRenderer.h"
#include "core/render/CellShadows.h"
#include "core/render/Resample.h"
#include "core/util/Text.h"

namespace ov {
namespace {

using namespace text_flags;

class MapDays : public IDayDataSource {
 public:
  DayData ReadDay(double date) override {
    ++reads;
    auto it = days.find(DayNumber(date));
    return it == days.end() ? DayData{} : it->second;
  }
  std::map<int32_t, DayData> days;
  int reads = 0;
};

constexpr Pixel kPanelBg = 0xFF336699;

// The fake text renderer measures the default fonts as: caption (-13) 13 high, 6 per
// character; entry (-11) 11 high, 5 per character. With FontBorderPixels 2 and CellGap 1
// the default panel below lays out as: week-number column 400..416, X0 = 420, column
// pitch 114 (snapped edge 1218), title 60..77, weekday row 81..98, grid 102..1003 with
// row pitch 128, cells 113 × 127.
class RendererTest : public ::testing::Test {
 protected:
  RendererTest() : r(s, text, locale) {
    s.CalendarRect = {400, 60, 1220, 1004};
    s.CellShadow = false;
    r.SetTargetSize({1280, 1024});
    r.SetDayCellTable(&table);
    r.SetDayData(&days);
    surface.SetSize(1280, 1024);
    surface.Clear(kPanelBg);
  }
  void Render(double display, double today) {
    r.RenderCalendar(surface, s.CalendarRect, s.CalendarFromStartOfMonth, s.PastVisibleWeeks, s.VisibleWeeks,
                     display, today);
  }
  // Draw calls whose text is exactly t.
  std::vector<FakeTextRenderer::Call> CallsWith(const std::string& t) const {
    std::vector<FakeTextRenderer::Call> out;
    for (const auto& c : text.calls)
      if (c.text == t) out.push_back(c);
    return out;
  }

  Settings s;
  FakeTextRenderer text;
  FakeLocaleNames locale;
  DayCellTable table;
  MapDays days;
  CalendarRenderer r;
  TBitmap32 surface;
  const double june14 = EncodeDate(2025, 6, 14);  // a Saturday
};

TEST_F(RendererTest, GeometryAndDayCellTableOfTheDefaultPanel) {
  Render(june14, june14);
  const PanelLayout& l = r.Layout();
  EXPECT_EQ(l.title, (Rect{420, 60, 1217, 77}));
  EXPECT_EQ(l.WeekdayCell(0), (Rect{420, 81, 533, 98}));
  EXPECT_EQ(l.WeekdayCell(6), (Rect{1104, 81, 1217, 98}));
  EXPECT_EQ(l.gridRight, 1218);
  EXPECT_EQ(l.grid.rowPitch, 128);
  // Floating month, two past weeks, Monday first: 26 May .. 31 May, June's caption in
  // column 7, then 1 June one row lower; the walk stops at the month break after 30 June.
  const auto& cells = table.Cells();
  ASSERT_EQ(cells.size(), 36u);
  EXPECT_EQ(days.reads, 36);  // each drawn day read once, for its codes and its text
  EXPECT_EQ(cells[0].Date, EncodeDate(2025, 5, 26));
  EXPECT_EQ(cells[0].Rect, (Rect{420, 102, 533, 229}));
  EXPECT_EQ(cells[6].Date, EncodeDate(2025, 6, 1));
  EXPECT_EQ(cells[6].Rect, (Rect{1104, 230, 1217, 357}));
  EXPECT_EQ(cells[7].Rect, (Rect{420, 358, 533, 485}));
  EXPECT_EQ(cells.back().Date, EncodeDate(2025, 6, 30));
  EXPECT_EQ(cells.back().Rect, (Rect{420, 870, 533, 997}));
  // The caption "June" bottom-aligned in row 0, column 7, raised by 3 pixels.
  auto june = CallsWith("June");
  ASSERT_FALSE(june.empty());
  EXPECT_EQ(june.back().rect, (Rect{1104 + 2, 209 + 2, 1217 - 2, 226 - 2}));
  EXPECT_TRUE(CallsWith("July").empty());  // no room below the last row
  // Week 22 (26 May .. 1 June) spans rows 0 and 1 in one cell beside them.
  std::vector<FakeTextRenderer::Call> w22;  // not the day number 22
  for (const auto& c : CallsWith("22"))
    if (c.flags & kVCenter) w22.push_back(c);
  ASSERT_EQ(w22.size(), 2u);  // its shadow (TextOutMode 1), then the text
  EXPECT_EQ(w22.back().rect, (Rect{402, 104, 414, 357 - 2}));
  EXPECT_EQ(w22.back().flags, kCenter | kVCenter | kSingleLine | kNoPrefix);
  // The controller takes the right end of the title.
  EXPECT_EQ(r.ControllerRect, (Rect{1137, 60, 1217, 77}));
}

TEST_F(RendererTest, WeekNumbersOffStartTheGridAtTheLeftEdge) {
  s.WeekNumbers = false;
  s.ControllerLeft = true;
  Render(june14, june14);
  EXPECT_EQ(r.Layout().x0, 400);
  EXPECT_EQ(r.Layout().columnPitch, 117);
  EXPECT_EQ(table.Cells()[0].Rect, (Rect{400, 102, 516, 229}));
  EXPECT_EQ(r.ControllerRect, (Rect{400, 60, 480, 77}));
}

TEST_F(RendererTest, OnlyAFullSizeRenderTouchesTheTableAndController) {
  Render(june14, june14);
  const Rect controller = r.ControllerRect;
  const size_t n = table.Cells().size();
  s.ControllerLeft = true;
  TBitmap32 preview(640, 512);
  r.RenderCalendar(preview, s.CalendarRect, false, 2, 7, june14 + 40, june14);
  EXPECT_EQ(table.Cells().size(), n);
  EXPECT_EQ(table.Cells()[0].Date, EncodeDate(2025, 5, 26));
  EXPECT_EQ(r.ControllerRect, controller);
  // The preview maps the panel by half, rounding half to even: 400·0.5, 1220·0.5, ...
  EXPECT_EQ(r.Layout().panel, (Rect{200, 30, 610, 502}));
  Rect odd = MapToSurface({401, 403, 405, 1}, {640, 512}, {1280, 1024});
  EXPECT_EQ(odd, (Rect{200, 202, 202, 0}));  // 200.5 → 200, 201.5 → 202, 202.5 → 202, 0.5 → 0
}

TEST_F(RendererTest, CellsUnderTwoByTwoDrawOnlyTitleAndWeekdays) {
  Render(june14, june14);
  const Rect controller = r.ControllerRect;
  text.calls.clear();
  s.CalendarRect = {400, 60, 420, 1004};  // columns under 2 pixels
  Render(june14, june14);
  EXPECT_TRUE(table.Empty());
  EXPECT_EQ(r.ControllerRect, controller);
  EXPECT_EQ(r.CellRectList().size(), 8u);
}

TEST_F(RendererTest, ColourCodeTintAlphaFollowsCalendarAlpha) {
  EXPECT_EQ(TintAlpha(255), 96);
  EXPECT_EQ(TintAlpha(40), 16);  // 15.06 truncated, then held at 16
  EXPECT_EQ(TintAlpha(82), 30);
  EXPECT_EQ(TintAlpha(-7), 16);
  EXPECT_EQ(TintAlpha(100000), 96);
  // A green day that is also a holiday Sunday gets the green tint over the cell colour.
  s.CalendarAlpha = 255;
  s.CellFrameContrast = 0;
  const double sunday = EncodeDate(2025, 6, 8);
  days.days[DayNumber(sunday)] = {"", 0x2};
  Render(june14, june14);
  // Points far from the number (top left) and from today's glow (the row below).
  const Rect cell = table.CellForDate(sunday)->Rect;
  const Pixel fill = BlendPixel(0xFF808080, 255, kPanelBg);
  const Pixel expect = BlendPixel(0xFF00FF00, 96, fill);
  EXPECT_EQ(surface.At(cell.right - 2, cell.top + 40), expect);
  const double saturday = EncodeDate(2025, 6, 7);
  const Rect sat = table.CellForDate(saturday)->Rect;
  EXPECT_EQ(surface.At(sat.right - 2, sat.top + 40), BlendPixel(0xFFFF0000, 96, fill));
  const Rect friday = table.CellForDate(saturday - 1)->Rect;
  EXPECT_EQ(surface.At(friday.right - 2, friday.top + 40), fill);
  r.Options.NoColorCodes = true;
  Render(june14, june14);
  EXPECT_EQ(surface.At(sat.right - 2, sat.top + 40), fill);
  // CalendarAlpha 40: the tint keeps alpha 16.
  s.CalendarAlpha = 40;
  r.Options.NoColorCodes = false;
  surface.Clear(kPanelBg);
  Render(june14, june14);
  EXPECT_EQ(surface.At(sat.right - 2, sat.top + 40), BlendPixel(0xFFFF0000, 16, BlendPixel(0xFF808080, 40, kPanelBg)));
}

TEST_F(RendererTest, EntryTextIndentDependsOnDigits) {
  days.days[DayNumber(EncodeDate(2025, 6, 9))] = {"nine", 0};
  days.days[DayNumber(EncodeDate(2025, 6, 10))] = {"ten", 0};
  Render(june14, june14);
  // Space 5 pixels; cw 6, FB 2: Round(8 / 5) = 2 spaces, Round(14 / 5) = 3 spaces.
  auto nine = CallsWith("  nine");
  auto ten = CallsWith("   ten");
  ASSERT_FALSE(nine.empty());
  ASSERT_FALSE(ten.empty());
  EXPECT_EQ(nine.back().flags, kWordBreak | kNoPrefix | kEndEllipsis);
  EXPECT_EQ(nine.back().font.height, s.EntryFont.height);
  // The entry rect: the cell with its top moved down by ch − eh = 2, inset by 2.
  const Rect cell = table.CellForDate(EncodeDate(2025, 6, 9))->Rect;
  EXPECT_EQ(nine.back().rect, (Rect{cell.left + 2, cell.top + 4, cell.right - 2, cell.bottom - 2}));
  r.Options.NoEntries = true;
  text.calls.clear();
  Render(june14, june14);
  EXPECT_TRUE(CallsWith("  nine").empty());
}

TEST_F(RendererTest, AHugeNoteDrawsAsMuchAsTheCellShowsAndNoMore) {
  const double june9 = EncodeDate(2025, 6, 9);
  std::string huge;
  // 会议 and a space: seven bytes, so the cut falls inside a character.
  while (huge.size() < (size_t(1) << 20)) huge += "\xE4\xBC\x9A\xE8\xAE\xAE ";
  days.days[DayNumber(june9)] = {huge, 0};
  Render(june14, june14);
  const TBitmap32 whole = surface;
  size_t longest = 0;
  for (const auto& c : text.calls) {
    longest = std::max(longest, c.text.size());
    EXPECT_TRUE(IsValidUtf8(c.text));
  }
  EXPECT_LE(longest, kMaxCellTextBytes + 4);  // the note's beginning and the indent

  // The cell looks the same as with a note that still overflows it by far.
  days.days[DayNumber(june9)] = {huge.substr(0, 7 * 400), 0};
  surface.Clear(kPanelBg);
  Render(june14, june14);
  EXPECT_TRUE(test::SamePixels(whole, surface));
}

TEST_F(RendererTest, TextOutputModesAndOutlineColour) {
  EXPECT_EQ(OutlineColor(0x282828, 0x123456), 0xFFFFFFu);  // luminance 40: white
  EXPECT_EQ(OutlineColor(0x292929, 0x123456), 0x123456u);  // 41: the shadow colour
  EXPECT_EQ(OutlineColor(0x000000, 0x000000), 0xFFFFFFu);
  s.TextOutMode = 2;
  s.CaptionFont.color = 0x101010;  // dark: outline white whatever FontShadowColor says
  s.FontShadowColor = 0x0000FF;
  Render(june14, june14);
  auto calls = CallsWith("14");
  ASSERT_EQ(calls.size(), 5u);
  const Rect base = calls[4].rect;
  EXPECT_EQ(calls[0].rect, base.Offset(-1, 0));
  EXPECT_EQ(calls[1].rect, base.Offset(0, -1));
  EXPECT_EQ(calls[2].rect, base.Offset(0, 1));
  EXPECT_EQ(calls[3].rect, base.Offset(1, 0));
  for (int i = 0; i < 4; ++i) EXPECT_EQ(calls[size_t(i)].color, 0xFFFFFFu);
  EXPECT_EQ(calls[4].color, 0x101010u);
  EXPECT_EQ(calls[4].flags, kLeft | kTop | kNoPrefix);
  s.TextOutMode = 1;
  s.CaptionFont.color = 0xC0FFFF;
  text.calls.clear();
  Render(june14, june14);
  calls = CallsWith("14");
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].rect, calls[1].rect.Offset(1, 1));
  EXPECT_EQ(calls[0].color, 0x0000FFu);
}

TEST(TodayGlowTest, RingAlphasFallByFiveSixths) {
  TBitmap32 b(80, 80);
  b.Clear(0xFF000000);
  DrawTodayGlow(b, {30, 30, 50, 50}, 0xFFFFFFFF);
  const int alphas[24] = {208, 170, 140, 115, 95, 75, 60, 50, 40, 30, 25, 20, 15, 10, 5, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  for (int i = 0; i < 24; ++i) {
    const int32_t x = 30 - 1 - i;  // ring i + 1 on the left, halfway down
    if (x < 0) break;
    EXPECT_EQ(b.At(x, 40), BlendPixel(0xFFFFFFFF, uint32_t(alphas[i]), 0xFF000000)) << "ring " << i + 1;
  }
  EXPECT_EQ(b.At(40, 40), 0xFF000000u);  // the cell itself is untouched
}

TEST_F(RendererTest, GlowUsesCaptionColourWhenFrameColourIsZero) {
  s.CellFrameContrast = 0;
  s.CaptionFont.color = 0x0000FF;  // platform red
  Render(june14, june14);
  const Rect today = table.CellForDate(june14)->Rect;
  // Ring 1 lies in the one-pixel gap right of the cell, over the background.
  EXPECT_EQ(surface.At(today.right, today.top + 60), BlendPixel(0xFFFF0000, 208, kPanelBg));
  s.CurrentDateFrameColor = 0x00FF00;
  Render(june14, june14);
  EXPECT_EQ(surface.At(today.right, today.top + 60),
            BlendPixel(0xFF00FF00, 208, BlendPixel(0xFFFF0000, 208, kPanelBg)));
  r.Options.TodayFrame = false;
  surface.Clear(kPanelBg);
  Render(june14, june14);
  EXPECT_EQ(surface.At(today.right, today.top + 60), kPanelBg);
}

TEST(CellShadowsTest, PiecesFallOnlyOnTheBackgroundAndOnce) {
  EXPECT_TRUE(ShadowPieces({{0, 0, 10, 10}, {11, 0, 21, 10}}, 0, 0).empty());
  std::vector<Rect> cells{{0, 0, 10, 10}, {11, 0, 21, 10}};
  std::vector<Rect> pieces = ShadowPieces(cells, 6, 10);
  ASSERT_FALSE(pieces.empty());
  for (const Rect& p : pieces) {
    for (const Rect& c : cells) EXPECT_TRUE(p.Intersect(c).Empty());
    EXPECT_EQ(std::count(pieces.begin(), pieces.end(), p), 1);
  }
  // The shadow of the first cell, less the second cell: its visible area is 10 × 10
  // less the part under cell 2 (x 11..16, y 10..10 — none, it starts at y 10).
  int64_t area = 0;
  for (const Rect& p : pieces) area += p.Width() * p.Height();
  EXPECT_EQ(area, 2 * 100 - 0);
  // A cell listed twice casts its shadow once.
  EXPECT_EQ(ShadowPieces({{0, 0, 10, 10}, {0, 0, 10, 10}}, 3, 3).size(), ShadowPieces({{0, 0, 10, 10}}, 3, 3).size());
  // Negative offsets and rectangles at the 32-bit limits do not wrap around.
  for (const Rect& p : ShadowPieces({{INT32_MIN, INT32_MIN, INT32_MIN + 60, INT32_MIN + 60}}, -50, -50))
    EXPECT_LE(p.right, INT32_MIN + 60);
  for (const Rect& p : ShadowPieces({{INT32_MAX - 60, 0, INT32_MAX, 10}}, 50, 5)) EXPECT_GE(p.left, INT32_MAX - 60);
  // Overlapping shadows of different cells darken each pixel once: pieces are disjoint.
  std::vector<Rect> odd{{0, 0, 10, 4}, {0, 8, 4, 30}, {20, 0, 24, 10}};
  std::vector<Rect> disjoint = ShadowPieces(odd, 6, 10);
  for (size_t i = 0; i < disjoint.size(); ++i)
    for (size_t j = i + 1; j < disjoint.size(); ++j) EXPECT_TRUE(disjoint[i].Intersect(disjoint[j]).Empty());
}

TEST_F(RendererTest, ShadowsDarkenTheBackgroundNeverACell) {
  r.Options.TodayFrame = false;  // the glow is drawn over shadows
  Render(june14, june14);
  TBitmap32 without = surface;
  surface.Clear(kPanelBg);
  s.CellShadow = true;
  Render(june14, june14);
  int darker = 0;
  for (int32_t y = 0; y < surface.Height(); ++y)
    for (int32_t x = 0; x < surface.Width(); ++x) {
      if (surface.At(x, y) == without.At(x, y)) continue;
      ++darker;
      for (const Rect& c : r.CellRectList()) ASSERT_FALSE(c.ContainsInclusive(x, y) && x < c.right && y < c.bottom);
      ASSERT_EQ(surface.At(x, y), BlendPixel(0xFF000000, 96, without.At(x, y)));  // drawn once
    }
  EXPECT_GT(darker, 1000);
}

TEST_F(RendererTest, SkinIsResampledIntoEveryCellAtCalendarAlpha) {
  test::Lcg rng(1);
  TBitmap32 skin = test::RandomSurface(9, 7, rng, false);
  r.SetSkin(&skin);
  s.CellFrameContrast = 0;
  s.HolidayBits = 0;                        // no tints
  r.Options.TodayFrame = false;             // no glow
  s.CalendarRect = {-50, 60, 1220, 1004};  // the leftmost cells cross the surface edge
  Render(june14, june14);
  for (const TDayCell& c : table.Cells()) {
    TBitmap32 expect(1280, 1024);
    expect.Clear(kPanelBg);
    ResampleInto(expect, c.Rect, skin, skin.BoundsRect(), StretchFilter::Linear2, DrawMode::Blend, 82);
    const int32_t y = c.Rect.bottom - 3;  // below the day number, above entry text
    for (int32_t x = std::max(c.Rect.left, 0); x < c.Rect.right; x += 7)
      ASSERT_EQ(surface.At(x, y), expect.At(x, y)) << x << "," << y;
  }
  // A skin one pixel wide counts as none.
  TBitmap32 thin(1, 50);
  thin.Clear(0xFFFF0000);
  r.SetSkin(&thin);
  surface.Clear(kPanelBg);
  Render(june14, june14);
  const Rect c = table.Cells()[3].Rect;
  EXPECT_EQ(surface.At(c.right - 2, c.bottom - 2), BlendPixel(0xFF808080, 82, kPanelBg));
}

TEST_F(RendererTest, PrintOptions) {
  r.Options.FramesOnly = true;
  r.Options.PrintMode = true;
  s.CalendarFromStartOfMonth = true;
  s.VisibleWeeks = 6;
  const Rect controller = r.ControllerRect;
  Render(june14, june14);
  const Rect c = table.Cells()[3].Rect;
  EXPECT_EQ(surface.At(c.left + 5, c.top + 60), kPanelBg);                                // no fill
  EXPECT_EQ(surface.At(c.left, c.top + 60), BlendPixel(0xFF000000, 0x80, kPanelBg));     // frame
  EXPECT_EQ(r.ControllerRect, controller);
  // June 2025 from the first: Sunday 1 June in column 7, then five full rows to 29 June;
  // 30 June sits in the sixth row: all of June fits, no overflow.
  EXPECT_EQ(table.Cells().back().Date, EncodeDate(2025, 6, 30));
  EXPECT_FALSE(r.MonthOverflow);
  s.VisibleWeeks = 4;
  Render(june14, june14);
  EXPECT_TRUE(r.MonthOverflow);
}

TEST(TitleTextTest, ModesAndSectionAmpersands) {
  FakeLocaleNames en;
  const DateParts d{2024, 3, 12, 2};
  EXPECT_EQ(TitleText(0, "A&&B", d, en), "Tuesday, March 12, 2024");
  EXPECT_EQ(TitleText(1, "A&&B", d, en), "A&B entries");
  EXPECT_EQ(TitleText(2, "A&&B", d, en), "A&B - Tuesday, March 12, 2024");
  EXPECT_EQ(TitleText(3, "A&&B", d, en), "A&B - March 2024");
  EXPECT_EQ(TitleText(4, "A&&B", d, en), "March 2024");
  EXPECT_EQ(TitleText(5, "A&&B", d, en), "A&B");
  EXPECT_EQ(TitleText(-1, "x", d, en), "x");
}

TEST_F(RendererTest, MonthCaptionFallsBackToTheShortName) {
  // A narrow panel: cells 29 wide, "June" needs 4·6 + 8 = 32 and would pass the grid edge.
  s.WeekNumbers = false;
  s.CalendarRect = {400, 60, 400 + 7 * 30, 1004};
  Render(june14, june14);
  auto shortName = CallsWith("Jun");
  ASSERT_FALSE(shortName.empty());
  EXPECT_TRUE(CallsWith("June").empty());
  EXPECT_EQ(shortName.back().rect.right, r.Layout().gridRight - 2);
}

TEST_F(RendererTest, PaintCellForThePreviewLabel) {
  TBitmap32 preview(200, 100);
  preview.Clear(0xFF000000);
  FontSpec f;
  f.SetPointSize(8);
  f.color = 0x80FF80;
  r.PaintCell(preview, {4, 4, 100, 24}, 0x60004000, false, std::nullopt, 37u, "Preview", -15, f);
  ASSERT_FALSE(text.calls.empty());
  EXPECT_EQ(text.calls.back().flags, 37u | kNoPrefix);
  EXPECT_EQ(text.calls.back().rect, (Rect{6, 6, 98, 22}));
  EXPECT_EQ(preview.At(50, 20), BlendPixel(0xFF004000, 0x60, 0xFF000000));
  // A surface one pixel wide takes nothing, not even a rectangle in the list.
  TBitmap32 line(1, 50);
  const size_t before = r.CellRectList().size();
  r.PaintCell(line, {0, 0, 1, 50}, 0xFFFFFFFF, false, std::nullopt, std::nullopt, "x", 15, f);
  EXPECT_EQ(r.CellRectList().size(), before);
}

// Settings that make no sense must not crash, write outside the surface or loop.
TEST_F(RendererTest, AbsurdSettingsAndSurfacesAreSafe) {
  days.days[DayNumber(june14)] = {std::string(100 * 1024, 'x'), 0xFF};
  days.days[DayNumber(june14 + 1)] = {"a b c d e f g h i j k l m n o p q r s t u v w x y z", 0};
  s.CellShadow = true;
  test::Lcg rng(8);
  TBitmap32 skin = test::RandomSurface(3, 3, rng, true);
  r.SetSkin(&skin);
  struct Case {
    Rect panel;
    int32_t gap, shadowX, rows, fb;
  };
  const Case cases[] = {
      {{1220, 1004, 400, 60}, 1, 6, 7, 2},                       // inverted
      {{400, 60, 1220, 1004}, 10000, 6, 7, 2},                    // huge gap
      {{400, 60, 1220, 1004}, 1, -50, 7, 2},                      // negative shadow
      {{400, 60, 1220, 160}, 1, 6, 50, 2},                        // 50 rows on 100 pixels
      {{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}, 1, 6, 7, 2}, // everything
      {{400, 60, 1220, 1004}, -5, 6, 0, -3},                      // negative gap, rows, border
      {{400, 60, 1220, 1004}, 1, 6, 10000, 1000000000},
  };
  for (const Case& c : cases) {
    s.CalendarRect = c.panel;
    s.CellGap = c.gap;
    s.CellShadowX = c.shadowX;
    s.CellShadowY = -c.shadowX;
    s.VisibleWeeks = c.rows;
    s.FontBorderPixels = c.fb;
    Render(june14, june14);
    for (const TDayCell& cell : table.Cells()) EXPECT_FALSE(cell.Rect.Empty());
  }
  for (Size sz : {Size{0, 0}, Size{1, 1}, Size{2, 1}, Size{1280, 1}}) {
    TBitmap32 tiny(sz.width, sz.height);
    s.CalendarRect = {400, 60, 1220, 1004};
    r.RenderCalendar(tiny, s.CalendarRect, false, 2, 7, june14, june14);
  }
}

}  // namespace
}  // namespace ov

#include "core/platform/CodePage.h"
#include "core/render/EntryStoreDays.h"
#include "support/TempDir.h"

namespace ov {
namespace {

// Day texts straight from the note files.
TEST_F(RendererTest, EntriesComeFromTheEntryStore) {
  test::TempDir dir;
  Latin1CodePage cp;
  EntryStore store(dir.Path() / "Entries", "Default", cp);
  TDayEntry e;
  e.Text = "dentist";
  ASSERT_TRUE(store.WriteDayEntry(e, EncodeDate(2025, 6, 11)));
  EntryStoreDays source(store);
  r.SetDayData(&source);
  Render(june14, june14);
  EXPECT_EQ(CallsWith("   dentist").size(), 2u);  // day 11: two-digit indent; shadow and text
}

}  // namespace
}  // namespace ov

namespace ov {
namespace {

// Event lines sit at the bottom of the cell with a bar in their calendar's colour; the
// note keeps the space above them and at least one row, lines that do not fit are cut,
// and printing without entries prints none.
TEST_F(RendererTest, EventLinesBelowTheNoteWithColourBars) {
  const double june9 = EncodeDate(2025, 6, 9);
  DayData d{"note", 0, {}};
  for (int i = 0; i < 12; ++i) d.events.push_back({"09:0" + std::to_string(i % 10) + " e" + std::to_string(i), 0x12AB34});
  days.days[DayNumber(june9)] = d;
  Render(june14, june14);
  const Rect cell = table.CellForDate(june9)->Rect;
  // Rows of 11 between the caption (13) and the border (2) of a 127-high cell: 10, one for the note.
  const int32_t first = cell.bottom - 2 - 9 * 11;
  // (The default text mode draws each text twice: its shadow, then itself.)
  ASSERT_FALSE(CallsWith("09:00 e0").empty());
  EXPECT_EQ(CallsWith("09:00 e0").back().rect, (Rect{cell.left + 2 + 2 + 2, first, cell.right - 2, first + 11}));
  EXPECT_EQ(CallsWith("09:00 e0").back().flags, kSingleLine | kNoPrefix | kEndEllipsis);
  EXPECT_FALSE(CallsWith("09:08 e8").empty());
  EXPECT_TRUE(CallsWith("09:09 e9").empty());
  EXPECT_EQ(surface.At(cell.left + 2, first + 5), 0xFF12AB34u);
  EXPECT_NE(surface.At(cell.left + 2, first - 5), 0xFF12AB34u);  // no bar above the first line
  ASSERT_FALSE(CallsWith("  note").empty());
  EXPECT_EQ(CallsWith("  note").back().rect.bottom, first - 2);

  // Without a note the lines take that row too.
  days.days[DayNumber(june9)].text.clear();
  text.calls.clear();
  Render(june14, june14);
  EXPECT_FALSE(CallsWith("09:09 e9").empty());

  r.Options.NoEntries = true;
  text.calls.clear();
  Render(june14, june14);
  EXPECT_TRUE(CallsWith("09:00 e0").empty());
}

}  // namespace
}  // namespace ov
