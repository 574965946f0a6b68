#include <gtest/gtest.h>

#include <string>
#include <variant>
#include <vector>

#include "core/calendar/DateTime.h"
#include "core/platform/FakeTextRenderer.h"
#include "core/ical/IcsCalendar.h"
#include "core/ical/SubscribedEvents.h"
#include "core/print/PrintRender.h"
#include "core/settings/SettingsSchema.h"

namespace ov {
namespace {

// Every stored setting as "Section\Name=value", to compare whole settings.
std::vector<std::string> AllValues(Settings& s) {
  std::vector<std::string> out;
  for (const SettingField& f : SettingsTable()) {
    std::string v = std::visit(
        [&](auto ref) -> std::string {
          const auto& x = ref(s);
          using T = std::decay_t<decltype(x)>;
          if constexpr (std::is_same_v<T, std::string>)
            return x;
          else if constexpr (std::is_same_v<T, FontSpec>)
            return x.face + "/" + std::to_string(x.height) + "/" + std::to_string(x.weight) + "/" +
                   std::to_string(x.italic) + std::to_string(x.underline) + std::to_string(x.strikeOut) + "/" +
                   std::to_string(x.charSet) + "/" + std::to_string(x.color);
          else
            return std::to_string(x);
        },
        f.ref);
    out.push_back(std::string(f.section) + "\\" + f.name + "=" + v);
  }
  return out;
}

bool SameOptions(const RenderOptions& a, const RenderOptions& b) {
  return a.NoEntries == b.NoEntries && a.FramesOnly == b.FramesOnly && a.NoColorCodes == b.NoColorCodes &&
         a.TodayFrame == b.TodayFrame && a.PrintMode == b.PrintMode;
}

class PrintRenderTest : public ::testing::Test {
 protected:
  PrintRenderTest() : r(s, text, locale) {
    s.StartOfWeek = 0;  // Monday first
    r.SetTargetSize(wallpaper);
    table.Add(EncodeDate(2025, 1, 1), {1, 2, 3, 4});
    r.SetDayCellTable(&table);
    r.ControllerRect = {7, 7, 87, 20};
  }
  // The wallpaper's own state is untouched by printing.
  void ExpectWallpaperStateKept() {
    EXPECT_EQ(r.TargetSize(), wallpaper);
    EXPECT_EQ(r.GetDayCellTable(), &table);
    ASSERT_EQ(table.Cells().size(), 1u);
    EXPECT_EQ(table.Cells()[0].Rect, (Rect{1, 2, 3, 4}));
    EXPECT_EQ(r.ControllerRect, (Rect{7, 7, 87, 20}));
  }

  Settings s;
  FakeTextRenderer text;
  FakeLocaleNames locale;
  DayCellTable table;
  CalendarRenderer r;
  const Size wallpaper{1280, 1024};
  const Size page{1440, 1980};
};

TEST_F(PrintRenderTest, OverridesApplyAndRestoreEveryValue) {
  struct Case {
    bool blank, entryName, black, frames, codes, shadow, overlay;
  };
  const Case cases[] = {{false, false, false, false, true, true, false},
                        {true, true, true, true, false, false, true},
                        {false, true, true, false, false, true, true}};
  for (const Case& c : cases) {
    s.TitleMode = 1;
    s.TextOutMode = 2;
    s.CaptionFont.color = 0x123456;
    s.EntryFont.color = 0x654321;
    s.CellShadow = !c.shadow;
    s.Overlay = !c.overlay;
    s.CheckPrintBlank = c.blank;
    s.CheckPrintEntryName = c.entryName;
    s.CheckPrintBlackText = c.black;
    s.CheckPrintFrames = c.frames;
    s.CheckPrintColorCodes = c.codes;
    s.CheckPrintShadow = c.shadow;
    s.CheckPrintOverlay = c.overlay;
    const std::vector<std::string> before = AllValues(s);
    const RenderOptions options = r.Options;
    {
      PrintOverlayOverride overlay(s);
      EXPECT_EQ(s.Overlay, c.overlay);
    }
    {
      PrintRenderOverrides o(s, r, page);
      EXPECT_EQ(s.TitleMode, c.blank || !c.entryName ? 4 : 3);
      EXPECT_EQ(s.TextOutMode, c.black ? 0 : 2);
      EXPECT_EQ(s.CaptionFont.color, c.black ? 0u : 0x123456u);
      EXPECT_EQ(s.EntryFont.color, c.black ? 0u : 0x654321u);
      EXPECT_EQ(s.CellShadow, c.shadow);
      EXPECT_EQ(r.Options.NoEntries, c.blank);
      EXPECT_EQ(r.Options.FramesOnly, c.frames);
      EXPECT_EQ(r.Options.NoColorCodes, !c.codes);
      EXPECT_FALSE(r.Options.TodayFrame);
      EXPECT_TRUE(r.Options.PrintMode);
      EXPECT_EQ(r.TargetSize(), page);
      EXPECT_EQ(r.GetDayCellTable(), nullptr);
    }
    EXPECT_EQ(AllValues(s), before);
    EXPECT_TRUE(SameOptions(r.Options, options));
    ExpectWallpaperStateKept();
  }
}

TEST_F(PrintRenderTest, FullSizeRowsGrowToSixOnlyWhenTheMonthNeedsThem) {
  struct Case {
    double month;
    bool fullSize;
    std::vector<int32_t> renders;
  };
  const Case cases[] = {
      {EncodeDate(2025, 6, 14), true, {5, 6}},  // 1 June is a Sunday: six rows
      {EncodeDate(2027, 2, 10), true, {5}},     // 1 February is a Monday: four rows, printed in five
      {EncodeDate(2025, 6, 14), false, {5}},    // the wallpaper's own rectangle is drawn once
  };
  for (const Case& c : cases) {
    s.CheckPrintFullsizeCalendar = c.fullSize;
    s.CalendarRect = {400, 60, 1220, 1004};
    s.CalendarFromStartOfMonth = true;
    s.VisibleWeeks = 4;  // overflows June when used
    std::vector<int32_t> renders;
    TBitmap32 surface(page.width, page.height);
    const int32_t rows = RenderPrintPageRows(c.fullSize, [&](int32_t n) {
      renders.push_back(n);
      surface.Clear(kPrintPaperWhite);
      return RenderPrintCalendar(s, r, surface, c.month, c.month, n);
    });
    EXPECT_EQ(renders, c.renders);
    EXPECT_EQ(rows, c.renders.back());
    if (c.fullSize) {
      EXPECT_FALSE(r.MonthOverflow);  // the last page holds the whole month
    }
    EXPECT_TRUE(r.Options.TodayFrame);
    ExpectWallpaperStateKept();
  }
}

TEST_F(PrintRenderTest, RowLoopIsBoundedAndPassesOnlyAFullSizeOverflow) {
  std::vector<int32_t> renders;
  EXPECT_EQ(RenderPrintPageRows(true, [&](int32_t n) { renders.push_back(n); return true; }), 6);
  EXPECT_EQ(renders, (std::vector<int32_t>{5, 6}));
  renders.clear();
  EXPECT_EQ(RenderPrintPageRows(false, [&](int32_t n) { renders.push_back(n); return true; }), 5);
  EXPECT_EQ(renders, (std::vector<int32_t>{5}));
}

// The printed month carries the subscribed calendars' event lines, unless the page is
// blank or the event lines are switched off.
TEST_F(PrintRenderTest, EventLinesPrintedUnlessBlankOrSwitchedOff) {
  struct NoNotes : IDayDataSource {
    DayData ReadDay(double) override { return {}; }
  } notes;
  FixedLocalZone utc;
  SubscribedEvents events(utc);
  events.SetSources({{std::make_shared<const IcsCalendar>(IcsCalendar::Parse(
                          "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VEVENT\r\nUID:d\r\nSUMMARY:Dentist\r\n"
                          "DTSTART:20250610T093000\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n")),
                      0x336699}});
  EventDays source(notes, events, s.ShowEventLines);
  r.SetDayData(&source);
  struct Case {
    bool blank, show, printed;
  } cases[] = {{false, true, true}, {true, true, false}, {false, false, false}};
  for (const Case& c : cases) {
    s.CheckPrintBlank = c.blank;
    s.ShowEventLines = c.show;
    text.calls.clear();
    TBitmap32 surface(page.width, page.height);
    RenderPrintCalendar(s, r, surface, EncodeDate(2025, 6, 14), EncodeDate(2025, 6, 14), 6);
    bool drawn = false;
    for (const auto& call : text.calls) drawn |= call.text == "09:30 Dentist";
    EXPECT_EQ(drawn, c.printed) << c.blank << c.show;
  }
  r.SetDayData(nullptr);
}

TEST_F(PrintRenderTest, OwnRectangleIsUnscaledPagePixelsClippedAtTheEdge) {
  s.CheckPrintFullsizeCalendar = false;
  s.CheckPrintIncludeBackground = false;
  s.CalendarRect = {1000, 100, 1900, 700};
  TBitmap32 surface(page.width, page.height);
  surface.Clear(kPrintPaperWhite);
  RenderPrintCalendar(s, r, surface, EncodeDate(2025, 6, 14), EncodeDate(2025, 6, 14), kFirstPrintPageRows);
  EXPECT_EQ(r.Layout().panel, (Rect{1000, 100, 1900, 700}));
  EXPECT_GT(r.Layout().gridRight, page.width);  // laid out for the whole rectangle, not squeezed
  const int32_t y = r.Layout().title.top + 1;
  int32_t firstDrawn = -1;
  for (int32_t x = 0; x < page.width && firstDrawn < 0; ++x)
    if (surface.At(x, y) != kPrintPaperWhite) firstDrawn = x;
  EXPECT_EQ(firstDrawn, r.Layout().title.left);
  EXPECT_GE(firstDrawn, 1000);
  EXPECT_NE(surface.At(page.width - 1, y), kPrintPaperWhite);  // drawn right up to the page's edge
  ExpectWallpaperStateKept();
}

}  // namespace
}  // namespace ov
