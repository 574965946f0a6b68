#include <gtest/gtest.h>

#include "core/calendar/Repeat.h"
#include "core/desktop/ClickSeries.h"
#include "core/desktop/PopupPlacement.h"

namespace ov {
namespace {

TEST(ClickSeries, ThreeQuickReleasesOpenOnceAndAFourthDoesNothing) {
  ClickSeries s;
  EXPECT_FALSE(s.Release(10000, 500));
  EXPECT_FALSE(s.Release(10200, 500));
  EXPECT_TRUE(s.Release(10400, 500));
  EXPECT_FALSE(s.Release(10600, 500));
  EXPECT_FALSE(s.Release(10800, 500));
  EXPECT_EQ(s.Count(), 5);
}

TEST(ClickSeries, APauseLongerThanTheDoubleClickTimeStartsAgain) {
  ClickSeries s;
  EXPECT_FALSE(s.Release(10000, 500));
  EXPECT_FALSE(s.Release(10300, 500));
  EXPECT_FALSE(s.Release(10801, 500));  // 501 ms later: a new series
  EXPECT_EQ(s.Count(), 1);
  EXPECT_FALSE(s.Release(11301, 500));  // exactly the double-click time still counts
  EXPECT_TRUE(s.Release(11400, 500));
}

TEST(ClickSeries, NoWrapAroundInTheComparison) {
  ClickSeries s;
  EXPECT_FALSE(s.Release(INT32_MAX - 100, 500));
  EXPECT_FALSE(s.Release(INT32_MAX - 50, 500));
  EXPECT_TRUE(s.Release(INT32_MAX, 500));
}

TEST(PopupPlacement, CaptionPutsTheWindow17PixelsAboveTheCell) {
  PopupPlacementInput in;
  in.popupRect = {300, 400, 330, 420};  // a small cell: 30 x 20
  in.lineCount = 1;
  in.chromeHeight = 20;
  PopupPlacementResult r = PlacePopup(in);
  EXPECT_EQ(r.window.left, 300);
  EXPECT_EQ(r.window.top, 383);
  EXPECT_EQ(r.window.Width(), 42);   // at least 42 wide
  EXPECT_EQ(r.window.Height(), 37);  // bottom stays at the cell's bottom
  EXPECT_FALSE(r.verticalScrollbar);

  in.showCaption = false;
  in.autoHeight = false;
  r = PlacePopup(in);
  EXPECT_EQ(r.window.top, 400);
  EXPECT_EQ(r.window.Height(), 32);  // at least 32 high
  // With auto height a window too small for one line grows by one line.
  in.autoHeight = true;
  EXPECT_EQ(PlacePopup(in).window.Height(), 32 + 13);
}

TEST(PopupPlacement, ScrollbarWidensTheWindowOnlyWithoutAutoHeight) {
  PopupPlacementInput in;
  in.popupRect = {100, 100, 250, 200};
  in.scrollbarWidth = 17;
  in.autoHeight = false;
  PopupPlacementResult r = PlacePopup(in);
  EXPECT_TRUE(r.verticalScrollbar);
  EXPECT_EQ(r.window.Width(), 167);
  in.showScrollbar = false;
  EXPECT_EQ(PlacePopup(in).window.Width(), 150);
  in.showScrollbar = true;
  in.autoHeight = true;
  EXPECT_EQ(PlacePopup(in).window.Width(), 150);
}

TEST(PopupPlacement, AutoHeightGrowsByWholeLinesUpToTheDesktop) {
  PopupPlacementInput in;
  in.popupRect = {100, 100, 250, 183};  // window 100 high with the caption
  in.chromeHeight = 22;                 // 78 pixels of text: 6 lines of 13
  in.lineHeight = 13;
  in.lineCount = 6;
  EXPECT_EQ(PlacePopup(in).window.Height(), 100);
  in.lineCount = 9;
  EXPECT_EQ(PlacePopup(in).window.Height(), 100 + 3 * 13);
  in.lineCount = 1000;
  PopupPlacementResult r = PlacePopup(in);
  EXPECT_EQ(r.window.Height(), 1024);
  EXPECT_EQ(r.window.top, 0);
  EXPECT_TRUE(r.verticalScrollbar);
}

TEST(PopupPlacement, KeptOnTheDesktop) {
  PopupPlacementInput in;
  in.popupRect = {1250, 1000, 1300, 1040};
  in.showCaption = false;
  PopupPlacementResult r = PlacePopup(in);
  EXPECT_EQ(r.window.right, 1280);
  EXPECT_EQ(r.window.bottom, 1024);
  in.popupRect = {-40, -50, 10, 0};
  r = PlacePopup(in);
  EXPECT_EQ(r.window.left, 0);
  EXPECT_EQ(r.window.top, 0);
  // The wallpaper covers all of a wide desktop: a pop-up far right stays over its cell.
  in.desktop = {0, 0, 7680, 2160};
  in.popupRect = {7000, 100, 7100, 200};
  EXPECT_EQ(PlacePopup(in).window.right, 7100);
}

TEST(PopupPlacement, UserRectangleMovesToTheNewCellKeepingItsSize) {
  Rect entry{10, 10, 210, 160};
  EXPECT_EQ(PopupRectForCell({500, 300, 560, 340}, entry, true), (Rect{500, 300, 700, 450}));
  EXPECT_EQ(PopupRectForCell({500, 300, 560, 340}, entry, false), (Rect{500, 300, 560, 340}));
  // Resizing stores the text area below the caption, so placing it again gives the same window.
  Rect window{500, 283, 700, 450};
  Rect stored = PopupRectFromWindow(window, true);
  EXPECT_EQ(stored, (Rect{500, 300, 700, 450}));
  PopupPlacementInput in;
  in.popupRect = stored;
  in.autoHeight = false;
  in.showScrollbar = false;
  EXPECT_EQ(PlacePopup(in).window, window);
}

TEST(EntryFrame, EdgesAndCornersWithLaterRulesWinning) {
  const int W = 200, H = 100;
  EXPECT_EQ(EntryFrameHitTest(100, 50, W, H), FrameHit::None);
  EXPECT_EQ(EntryFrameHitTest(3, 50, W, H), FrameHit::Left);
  EXPECT_EQ(EntryFrameHitTest(3, 3, W, H), FrameHit::TopLeft);
  EXPECT_EQ(EntryFrameHitTest(3, 90, W, H), FrameHit::BottomLeft);   // y > H - 16
  EXPECT_EQ(EntryFrameHitTest(196, 50, W, H), FrameHit::Right);
  EXPECT_EQ(EntryFrameHitTest(100, 3, W, H), FrameHit::Top);
  EXPECT_EQ(EntryFrameHitTest(190, 3, W, H), FrameHit::TopRight);    // x > W - 16 on the top edge
  EXPECT_EQ(EntryFrameHitTest(100, 96, W, H), FrameHit::Bottom);
  EXPECT_EQ(EntryFrameHitTest(190, 96, W, H), FrameHit::BottomRight);
  EXPECT_EQ(EntryFrameHitTest(196, 90, W, H), FrameHit::BottomRight);
}

TEST(EntryMemo, ColourCodeTintsTheWindowColour) {
  const uint32_t codes[8] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0x00FFFF, 0xFF00FF, 0x000000, 0xFFFFFF};
  EXPECT_EQ(EntryMemoColor(0xFFFFFF, 0, codes), 0xFFFFFFu);
  // White less 30 is 225; red adds 255 div 10 = 25 to its channel.
  EXPECT_EQ(EntryMemoColor(0xFFFFFF, 1, codes), 0xFAE1E1u);
  EXPECT_EQ(EntryMemoColor(0xFFFFFF, 2 | 8, codes), 0xE1FAE1u);   // the lowest bit wins: green
  EXPECT_EQ(EntryMemoColor(0x101010, 1 << 6, codes), 0x000000u);  // dark codes clamp at 0
}

TEST(DialogPositions, DatePickerCentredOnTheCursorAndKeptOnTheDesktop) {
  EXPECT_EQ(CenterOnPointKeptOnDesktop({640, 512}, {200, 180}, {1280, 1024}), (Point{540, 422}));
  EXPECT_EQ(CenterOnPointKeptOnDesktop({1279, 1023}, {200, 180}, {1280, 1024}), (Point{1080, 844}));
  EXPECT_EQ(CenterOnPointKeptOnDesktop({0, 0}, {200, 180}, {1280, 1024}), (Point{0, 0}));
}

// On a monitor left of the primary one, screen coordinates are negative: the pop-up, the
// date picker and the repeat dialog stay in that monitor's work area instead of jumping
// to x = 0 on the primary monitor.
TEST(DialogPositions, WindowsStayOnTheMonitorTheyOpenOn) {
  const Rect leftMonitor{-1920, 0, 0, 1040};
  PopupPlacementInput in;
  in.desktop = leftMonitor;
  in.chromeHeight = 20;
  in.lineCount = 1;
  in.popupRect = PopupRectForCell({-150, 500, -20, 560}, {0, 0, 300, 100}, true);
  EXPECT_EQ(PlacePopup(in).window, (Rect{-300, 483, 0, 600}));
  in.popupRect = {-1910, 10, -1800, 60};
  EXPECT_EQ(PlacePopup(in).window, (Rect{-1910, 0, -1800, 67}));
  EXPECT_EQ(CenterOnPointKeptInArea({-10, 1030}, {200, 180}, leftMonitor), (Point{-200, 860}));
  EXPECT_EQ(RepeatDialogPosition({-400, 300, -100, 400}, {300, 200}, leftMonitor, 280), (Point{-700, 200}));
}

}  // namespace
}  // namespace ov
