#include <gtest/gtest.h>

#include "core/desktop/DesktopMetrics.h"
#include "core/desktop/PopupPlacement.h"

namespace ov {
namespace {

// The controller rectangle a render gives: the right-most 80 pixels of a title strip
// 19 pixels high (the left-most when the controller sits at the left end).
constexpr Rect kRightEnd{1000, 40, 1080, 59};
constexpr Rect kLeftEnd{400, 40, 480, 59};

TEST(DesktopMetrics, CaptionAndControllerFollowTheMonitorsDpi) {
  struct Case {
    uint32_t dpi;
    int32_t caption, captionFont, width, arrow, controllerFont;
  } cases[] = {
      {96, 16, -12, 80, 16, -12},
      {120, 20, -15, 100, 20, -14},  // the strip (19 high) leaves 14 for the captions
      {144, 24, -18, 120, 24, -14},
      {0, 16, -12, 80, 16, -12},  // no DPI known: design size
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dpi);
    EntryCaptionMetrics e = EntryCaptionFor(c.dpi);
    EXPECT_EQ(c.caption, e.captionHeight);
    EXPECT_EQ(c.captionFont, e.fontHeight);

    ControllerMetrics right = ControllerMetricsFor(kRightEnd, false, c.dpi);
    EXPECT_EQ((Rect{1080 - c.width, 40, 1080, 59}), right.bounds) << "grows leftwards from the right end";
    EXPECT_EQ(c.arrow, right.arrowWidth);
    EXPECT_EQ(c.controllerFont, right.fontHeight);
    ControllerMetrics left = ControllerMetricsFor(kLeftEnd, true, c.dpi);
    EXPECT_EQ((Rect{400, 40, 400 + c.width, 59}), left.bounds) << "grows rightwards from the left end";
  }
}

TEST(DesktopMetrics, ControllerCaptionsKeepTheirScaledSmallestSize) {
  // A thin strip still gets the smallest caption size of its DPI; a tall one the largest.
  EXPECT_EQ(-8, ControllerMetricsFor({0, 0, 80, 6}, false, 96).fontHeight);
  EXPECT_EQ(-12, ControllerMetricsFor({0, 0, 80, 6}, false, 144).fontHeight);
  EXPECT_EQ(-18, ControllerMetricsFor({0, 0, 80, 60}, false, 144).fontHeight);
  EXPECT_EQ((Rect{0, 0, 0, 0}), ControllerMetricsFor({0, 0, 0, 0}, false, 144).bounds) << "no strip yet";
}

TEST(DesktopMetrics, ScaledCaptionMovesThePopupAndComesBackFromAResize) {
  PopupPlacementInput in;
  in.popupRect = {100, 200, 300, 260};
  in.autoHeight = false;
  in.showScrollbar = false;
  in.captionHeight = EntryCaptionFor(144).captionHeight;
  Rect window = PlacePopup(in).window;
  EXPECT_EQ(200 - 24 - 1, window.top) << "the caption bar of 24 pixels and the frame above the cell";
  EXPECT_EQ(in.popupRect, PopupRectFromWindow(window, true, in.captionHeight)) << "a resize keeps the text area";
}

// The day's events sit between the caption bar and the memo: the window grows upwards by
// their height so the memo stays over the cell, with or without the caption, and a resize
// gives the same text area back.
TEST(DesktopMetrics, EventLinesAboveTheMemoKeepItOverTheCell) {
  struct Case {
    bool caption;
    int32_t events, top;
  } cases[] = {{true, 0, 200 - 16 - 1}, {true, 39, 200 - 16 - 1 - 39}, {false, 26, 200 - 26}, {false, 0, 200}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.events);
    PopupPlacementInput in;
    in.popupRect = {100, 200, 300, 260};
    in.autoHeight = false;
    in.showScrollbar = false;
    in.showCaption = c.caption;
    in.eventsHeight = c.events;
    const Rect window = PlacePopup(in).window;
    EXPECT_EQ(window.top, c.top);
    EXPECT_EQ(window.bottom, 260);
    EXPECT_EQ(PopupRectFromWindow(window, c.caption, in.captionHeight, c.events), in.popupRect);
  }
}

TEST(DesktopMetrics, PopupShowsAtMostSixEventLinesTheLastCountingTheRest) {
  std::vector<DayEvent> events;
  for (int i = 0; i < 9; ++i) events.push_back({"e" + std::to_string(i), uint32_t(i)});
  EXPECT_TRUE(PopupEventLines({}).empty());
  const std::vector<DayEvent> six(events.begin(), events.begin() + 6);
  EXPECT_EQ(PopupEventLines(six), six);
  const std::vector<DayEvent> shown = PopupEventLines(events);
  ASSERT_EQ(shown.size(), 6u);
  EXPECT_EQ(shown[4], events[4]);
  EXPECT_EQ(shown[5], (DayEvent{"还有 4 项", kNoEventColor}));
}

}  // namespace
}  // namespace ov
