// The calendar panel drawn with real GDI text and the system's Chinese names over a
// picture; the result is left as a PNG in the test artefacts to be looked at.
#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "core/calendar/DateTime.h"
#include "core/render/Blend.h"
#include "core/render/CalendarRenderer.h"
#include "support/PngFile.h"
#include "win/platform/GdiTextRenderer.h"
#include "win/platform/WinLocaleNames.h"

namespace ov {
namespace {

TBitmap32 Picture(int32_t w, int32_t h) {
  TBitmap32 b(w, h);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) {
      double u = double(x) / w, v = double(y) / h;
      double hill = v > 0.6 + 0.08 * std::sin(9 * u) ? 1 : 0;
      uint32_t r = uint32_t(hill ? 40 + 60 * u : 90 + 100 * v);
      uint32_t g = uint32_t(hill ? 100 + 50 * v : 140 + 80 * v);
      uint32_t bl = uint32_t(hill ? 40 : 230 - 60 * v);
      b.At(x, y) = MakeArgb(255, r, g, bl);
    }
  return b;
}

class Days : public IDayDataSource {
 public:
  DayData ReadDay(double date) override {
    auto it = map.find(DayNumber(date));
    return it == map.end() ? DayData{} : it->second;
  }
  std::map<int32_t, DayData> map;
};

TEST(PanelRenderTest, PanelOverAPictureWithChineseText) {
  Settings s;
  s.CalendarRect = {420, 60, 1220, 1000};
  GdiTextRenderer text;
  WinLocaleNames locale("zh-CN");
  Days days;
  const double today = EncodeDate(2025, 6, 14);
  days.map[DayNumber(today)] = {"项目会议 10:00，带上报告", 0};
  days.map[DayNumber(EncodeDate(2025, 6, 9))] = {"牙医", 0x2};
  days.map[DayNumber(EncodeDate(2025, 6, 10))] = {"Long entry text that has to wrap over several lines and end in an ellipsis when it no longer fits the cell at all, really", 0x4};
  days.map[DayNumber(EncodeDate(2025, 6, 20))] = {"生日!", 0x8};
  DayCellTable table;
  CalendarRenderer r(s, text, locale);
  r.SetTargetSize({1280, 1024});
  r.SetDayData(&days);
  r.SetDayCellTable(&table);
  TBitmap32 wallpaper = Picture(1280, 1024);
  const TBitmap32 before = wallpaper;
  r.RenderCalendar(wallpaper, s.CalendarRect, false, 2, 7, today, today);
  ASSERT_TRUE(test::WritePng(wallpaper, test::ArtefactsFolder() / "calendar-panel.png"));

  EXPECT_EQ(table.Cells().size(), 36u);
  // Outside the panel, its shadows and the glow nothing changes.
  for (int32_t y = 0; y < 1024; y += 3)
    for (int32_t x = 0; x < 400; x += 3) ASSERT_EQ(wallpaper.At(x, y), before.At(x, y)) << x << "," << y;
  // The title holds text in the caption colour (pale yellow) with anti-aliased edges.
  const Rect title = r.Layout().title;
  const Pixel caption = ToArgb(s.CaptionFont.color);
  int solid = 0, soft = 0;
  for (int32_t y = title.top; y < title.bottom; ++y)
    for (int32_t x = title.left; x < title.right; ++x) {
      Pixel p = wallpaper.At(x, y);
      if (p == caption) ++solid;
      else if (RedOf(p) > 200 && BlueOf(p) > 100 && BlueOf(p) < 190) ++soft;
    }
  EXPECT_GT(solid, 30);
  EXPECT_GT(soft, 30);
}

// A cell's text stays inside the cell inset by FontBorderPixels, whatever its length.
TEST(PanelRenderTest, CellTextStaysInsideTheInsetRectangle) {
  Settings s;
  s.TextOutMode = 0;
  s.FontBorderPixels = 3;
  GdiTextRenderer text;
  WinLocaleNames locale("zh-CN");
  CalendarRenderer r(s, text, locale);
  TBitmap32 plain(300, 200), withText(300, 200);
  plain.Clear(0xFF204060);
  withText.Clear(0xFF204060);
  Rect cell{20, 10, 150, 60};
  const std::string words = "一段很长的文字 that runs on and on well past the end of its little cell 一段很长的文字";
  for (uint32_t flags : {text_flags::kCenter, text_flags::kWordBreak | text_flags::kEndEllipsis,
                         text_flags::kCenter | text_flags::kVCenter | text_flags::kSingleLine}) {
    r.PaintCell(plain, cell, 0x80808080, false, std::nullopt, flags, "", 15, s.CaptionFont);
    r.PaintCell(withText, cell, 0x80808080, false, std::nullopt, flags, words, 15, s.CaptionFont);
    const Rect inset{cell.left + 3, cell.top + 3, cell.right - 3, cell.bottom - 3};
    int inside = 0, partial = 0;
    for (int32_t y = 0; y < 200; ++y)
      for (int32_t x = 0; x < 300; ++x) {
        if (plain.At(x, y) == withText.At(x, y)) continue;
        ASSERT_TRUE(x >= inset.left && x < inset.right && y >= inset.top && y < inset.bottom)
            << "ink at " << x << "," << y << " flags " << flags;
        ++inside;
        if (withText.At(x, y) != ToArgb(s.CaptionFont.color)) ++partial;
      }
    EXPECT_GT(inside, 50) << flags;
    EXPECT_GT(partial, 10) << flags;
    plain = withText;
    cell = cell.Offset(0, 62);  // the next variant below
  }
  ASSERT_TRUE(test::WritePng(withText, test::ArtefactsFolder() / "cell-text.png"));
}

}  // namespace
}  // namespace ov
