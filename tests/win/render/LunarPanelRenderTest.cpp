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
  // Saturday 14 February (worked) is slate.
  auto corner = [&](int day) {
    for (const TDayCell& c : table.Cells())
      if (DayNumber(c.Date) == DayNumberFromCivil(2026, 2, day)) return wallpaper.At(c.Rect.right - 3, c.Rect.top + 3);
    ADD_FAILURE() << "no cell for day " << day;
    return Pixel(0);
  };
  const Pixel off = corner(16), work = corner(14);
  EXPECT_GT(RedOf(off), 150u);
  EXPECT_LT(GreenOf(off), 110u);
  EXPECT_LT(RedOf(work), 110u);
  EXPECT_NE(corner(13), off);  // no badge on an ordinary Friday
}

}  // namespace
}  // namespace ov
