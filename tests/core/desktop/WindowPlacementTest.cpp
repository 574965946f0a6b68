// Where the pop-up, the repeat dialog and the other open windows go so that they stay
// inside a work area: a taller pop-up than the area, a dialog beside a pop-up at an edge,
// and windows left where a monitor was removed.
#include <gtest/gtest.h>

#include "core/calendar/Repeat.h"
#include "core/desktop/PopupPlacement.h"
#include "core/wallpaper/MonitorLayout.h"

namespace ov {
namespace {

const Rect kWorkArea{0, 0, 1280, 984};  // a 1280 x 1024 monitor with a 40-pixel task bar

TEST(WindowPlacement, PopupIsNeverTallerThanItsWorkArea) {
  struct Case {
    const char* name;
    Rect area, popupRect;
    bool caption, autoHeight, showScrollbar;
    int32_t lines;
    Rect window;
    bool scrollbar;
  };
  const Case cases[] = {
      {"stored size fits", kWorkArea, {100, 100, 250, 300}, false, false, false, 0, {100, 100, 250, 300}, false},
      {"saved on a taller monitor", kWorkArea, {100, 100, 250, 1400}, true, false, true, 0, {100, 0, 267, 984}, true},
      {"the same without scroll bar", kWorkArea, {100, 100, 250, 1400}, true, false, false, 0, {100, 0, 250, 984}, false},
      {"auto height, few lines", kWorkArea, {100, 100, 250, 1400}, true, true, true, 3, {100, 0, 250, 984}, false},
      {"auto height, many lines", kWorkArea, {100, 100, 250, 1400}, true, true, true, 1000, {100, 0, 250, 984}, true},
      {"monitor above the primary", {-1920, -200, 0, 880}, {-500, 0, -300, 1500}, false, false, false, 0,
       {-500, -200, -300, 880}, false},
  };
  for (const Case& c : cases) {
    PopupPlacementInput in;
    in.desktop = c.area;
    in.popupRect = c.popupRect;
    in.showCaption = c.caption;
    in.autoHeight = c.autoHeight;
    in.showScrollbar = c.showScrollbar;
    in.chromeHeight = 20;
    in.lineCount = c.lines;
    const PopupPlacementResult r = PlacePopup(in);
    EXPECT_EQ(r.window, c.window) << c.name;
    EXPECT_EQ(r.verticalScrollbar, c.scrollbar) << c.name;
  }
}

TEST(WindowPlacement, RepeatDialogStaysInThePopupsWorkArea) {
  struct Case {
    const char* name;
    Rect area, popupWindow;
    Point dialog;
  };
  const Size dlg{300, 200};
  const Case cases[] = {
      {"right of the pop-up, bottom-aligned", kWorkArea, {100, 283, 250, 400}, {250, 200}},
      {"a wide pop-up: no room either side", kWorkArea, {20, 300, 1270, 400}, {0, 200}},
      {"pop-up hanging below the work area", kWorkArea, {100, 884, 250, 1244}, {250, 784}},
      {"pop-up at the top: at its top", kWorkArea, {100, 10, 250, 100}, {250, 10}},
      {"pop-up above the work area", kWorkArea, {100, -50, 250, 100}, {250, 0}},
  };
  for (const Case& c : cases) EXPECT_EQ(RepeatDialogPlacement(c.popupWindow, dlg, c.area), c.dialog) << c.name;
}

TEST(WindowPlacement, OpenWindowsComeBackOntoAMonitor) {
  MonitorLayout two;
  two.monitors = {{{0, 0, 1920, 1080}, {0, 0, 1920, 1040}, true}, {{-1280, 0, 0, 1024}, {-1280, 0, 0, 1024}, false}};
  const MonitorLayout none;  // counts as one 1280 x 1024 monitor
  struct Case {
    const char* name;
    const MonitorLayout& layout;
    Rect window, placed;
  };
  const Case cases[] = {
      {"inside the primary work area", two, {100, 100, 500, 400}, {100, 100, 500, 400}},
      {"on a removed monitor right of the primary", two, {2500, 300, 2900, 600}, {1520, 300, 1920, 600}},
      {"under the task bar", two, {100, 900, 500, 1100}, {100, 840, 500, 1040}},
      {"partly off the left monitor", two, {-1400, 100, -1000, 300}, {-1280, 100, -880, 300}},
      {"centre on the primary, straddling", two, {-100, 100, 300, 300}, {0, 100, 400, 300}},
      {"larger than the work area: top-left in it", two, {2000, -50, 4000, 1150}, {0, 0, 2000, 1200}},
      {"no monitor reported", none, {1500, 100, 1700, 200}, {1080, 100, 1280, 200}},
  };
  for (const Case& c : cases) EXPECT_EQ(WindowOnMonitors(c.window, c.layout), c.placed) << c.name;
}

}  // namespace
}  // namespace ov
