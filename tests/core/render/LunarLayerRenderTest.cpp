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

}  // namespace
}  // namespace ov
