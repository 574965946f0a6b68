// The panel with the Chinese calendar layer, drawn with real GDI text at wallpaper size and
// at preview size; both are left as PNGs in the test artefacts to be looked at.
#include <gtest/gtest.h>

#include <map>

#include "core/calendar/DateTime.h"
#include "core/render/Blend.h"
#include "core/render/CalendarRenderer.h"
#include "support/PngFile.h"
#include "win/platform/GdiTextRenderer.h"
#include "win/platform/WinLocaleNames.h"

namespace ov {
namespace {

class Notes : public IDayDataSource {
 public:
  DayData ReadDay(double date) override {
    auto it = map.find(DayNumber(date));
    return it == map.end() ? DayData{} : it->second;
  }
  std::map<int32_t, DayData> map;
};

// Renders February 2026 (the Spring Festival week off, two Saturdays worked) into a
// surface of the given size and returns the table of drawn cells.
DayCellTable RenderFebruary(TBitmap32& surface, Size target) {
  for (int32_t y = 0; y < surface.Height(); ++y)
    for (int32_t x = 0; x < surface.Width(); ++x)
      surface.At(x, y) = MakeArgb(255, 60 + 80 * x / surface.Width(), 90 + 60 * y / surface.Height(), 140);
  Settings s;
  s.CalendarRect = {420, 60, 1220, 1000};
  s.ShowLunar = true;
  GdiTextRenderer text;
  WinLocaleNames locale("zh-CN");
  Notes notes;
  notes.map[DayNumber(EncodeDate(2026, 2, 16))] = {"回家过年，记得带礼物", 0};
  notes.map[DayNumber(EncodeDate(2026, 2, 24))] = {"开工", 0x4};
  DayCellTable table;
  CalendarRenderer r(s, text, locale);
  r.SetTargetSize(target);
  r.SetDayData(&notes);
  r.SetDayCellTable(&table);
  const double today = EncodeDate(2026, 2, 17);
  r.RenderCalendar(surface, s.CalendarRect, false, 2, 7, today, today);
  return table;
}

TEST(LunarPanelRenderTest, WallpaperAndPreviewSizes) {
  TBitmap32 wallpaper(1280, 1024);
  const DayCellTable table = RenderFebruary(wallpaper, {1280, 1024});
  ASSERT_TRUE(test::WritePng(wallpaper, test::ArtefactsFolder() / "calendar-lunar.png"));
  TBitmap32 preview(640, 512);
  RenderFebruary(preview, {1280, 1024});
  ASSERT_TRUE(test::WritePng(preview, test::ArtefactsFolder() / "calendar-lunar-preview.png"));

  // The badge of Monday 16 February (off) is red in the cell's top-right corner; that of
  // Saturday 14 February (worked) is slate; an ordinary Friday has none. Counted along a
  // short row of the corner (the glyph covers part of it).
  auto corner = [&](int day, auto is) {
    int n = 0;
    for (const TDayCell& c : table.Cells())
      if (DayNumber(c.Date) == DayNumberFromCivil(2026, 2, day))
        for (int32_t x = c.Rect.right - 12; x < c.Rect.right - 1; ++x) n += is(wallpaper.At(x, c.Rect.top + 2)) ? 1 : 0;
    return n;
  };
  auto red = [](Pixel p) { return RedOf(p) > 150 && GreenOf(p) < 110; };
  auto slate = [](Pixel p) { return RedOf(p) < 110 && BlueOf(p) > RedOf(p); };
  EXPECT_GE(corner(16, red), 3);
  EXPECT_GE(corner(14, slate), 3);
  EXPECT_EQ(corner(13, red) + corner(13, slate), 0);
}

}  // namespace
}  // namespace ov
