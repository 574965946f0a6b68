#include <gtest/gtest.h>

#include "core/library/GridText.h"

namespace ov {
namespace {

TEST(GridText, ThreeLinesFitTheCellWheneverTheCellAllowsIt) {
  struct Case {
    int32_t height, lineHeight, top, gap;
    int32_t nameTop, infoTop;
    const char* what;
  } cases[] = {
      {145, 15, 2, 18, 2, 20, "largest thumbnails: the usual spacing"},
      {52, 15, 2, 18, 2, 20, "exactly room for the usual spacing"},
      {45, 15, 2, 18, 0, 15, "medium rows at 96 dpi: closed up, the size line stays whole"},
      {47, 15, 2, 18, 2, 17, "closed up, still 2 from the top"},
      {70, 22, 3, 27, 3, 25, "medium rows at 144 dpi"},
      {33, 15, 2, 18, 0, 15, "small rows: two lines whole, the third cut"},
      {17, 15, 2, 18, 0, 15, "smallest rows: the name only"},
      {45, 12, 2, 10, 2, 14, "a gap smaller than a line is widened to the line"},
  };
  for (const Case& c : cases) {
    GridTextRows rows = PlaceGridText(c.height, c.lineHeight, c.top, c.gap);
    EXPECT_EQ(rows.nameTop, c.nameTop) << c.what;
    EXPECT_EQ(rows.infoTop, c.infoTop) << c.what;
    EXPECT_GE(rows.infoTop - rows.nameTop, c.lineHeight) << c.what;  // the name is never overdrawn
    if (c.height >= 3 * c.lineHeight) {
      EXPECT_LE(rows.infoTop + 2 * c.lineHeight, c.height) << c.what;
    }
  }
}

}  // namespace
}  // namespace ov
