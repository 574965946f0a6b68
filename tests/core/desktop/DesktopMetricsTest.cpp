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

}  // namespace
}  // namespace ov
