#include <gtest/gtest.h>

#include "core/desktop/MenuPlacement.h"

namespace ov {
namespace {

TEST(MenuPlacement, KeepsTheWholeMenuInsideTheWorkArea) {
  const Rect work{0, 0, 1280, 1004};  // task bar below
  struct Case {
    Point anchor;
    Size size;
    Point expected;
    const char* what;
  } cases[] = {
      {{100, 100}, {200, 300}, {100, 100}, "fits: stays at the anchor"},
      {{1250, 10}, {180, 400}, {1070, 10}, "right corner: opens to the left of the anchor"},
      {{1279, 10}, {180, 400}, {1099, 10}, "at the very edge"},
      {{100, 900}, {200, 300}, {100, 600}, "near the task bar: opens upwards"},
      {{1250, 990}, {180, 300}, {1070, 690}, "bottom right corner: both"},
      {{100, 200}, {200, 1100}, {100, 0}, "taller than the area: starts at its top"},
      {{50, 10}, {1400, 100}, {0, 10}, "wider than the area: starts at its left"},
      {{-30, -20}, {200, 100}, {0, 0}, "anchor off the area: pulled in"},
      {{150, 500}, {200, 600}, {150, 0}, "fits neither below nor above: from the top of the area"},
  };
  for (const Case& c : cases) {
    Point p = MenuOrigin(c.anchor, c.size, work);
    EXPECT_EQ(p.x, c.expected.x) << c.what;
    EXPECT_EQ(p.y, c.expected.y) << c.what;
  }
}

TEST(MenuPlacement, FollowsAWorkAreaAwayFromTheOrigin) {
  const Rect second{1920, -200, 3200, 824};  // a monitor to the right, raised
  Point p = MenuOrigin({3150, 800}, {180, 400}, second);
  EXPECT_EQ(p.x, 2970);
  EXPECT_EQ(p.y, 400);
}

}  // namespace
}  // namespace ov
