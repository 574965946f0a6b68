#include <gtest/gtest.h>

#include "RenderTestUtil.h"
#include "core/render/RowSpans.h"

namespace ov {
namespace {

// Random rectangles and single pixels changed in a copy, at widths around the compare
// block: the spans hold exactly each row's first and last changed pixel, and copying the
// spans back restores the original.
TEST(RowSpansTest, SpansAreTightAndCopyingThemRestores) {
  test::Lcg rng(7);
  for (int32_t w : {1, 31, 32, 33, 64, 97}) {
    SCOPED_TRACE(w);
    const TBitmap32 original = test::RandomSurface(w, 40, rng, false);
    TBitmap32 edited = original;
    for (int i = 0; i < 6; ++i) {
      const int32_t x = rng.Range(0, w - 1), y = rng.Range(0, 39);
      edited.FillRectOpaque({x, y, x + rng.Range(1, w), y + rng.Range(1, 5)}, 0xFF000000u | rng.Next());
      edited.At(rng.Range(0, w - 1), rng.Range(0, 39)) ^= 0x00010000u;
    }
    const std::vector<RowSpan> spans = DifferingSpans(edited, original);
    ASSERT_EQ(spans.size(), 40u);
    for (int32_t y = 0; y < 40; ++y) {
      int32_t first = w, last = -1;
      for (int32_t x = 0; x < w; ++x)
        if (edited.At(x, y) != original.At(x, y)) first = std::min(first, x), last = x;
      const RowSpan expected = last < 0 ? RowSpan{} : RowSpan{first, last + 1};
      EXPECT_EQ(spans[size_t(y)].Empty(), expected.Empty()) << "row " << y;
      if (!expected.Empty()) {
        EXPECT_EQ(spans[size_t(y)], expected) << "row " << y;
      }
    }
    CopySpans(edited, original, spans);
    EXPECT_TRUE(test::SamePixels(edited, original));
  }
}

TEST(RowSpansTest, OtherSizesAreWholeRowsAndUnionsCoverBoth) {
  const std::vector<RowSpan> whole = DifferingSpans(TBitmap32(5, 3), TBitmap32(4, 3));
  EXPECT_EQ(whole, std::vector<RowSpan>(3, RowSpan{0, 5}));
  const std::vector<RowSpan> a{{2, 4}, {}, {1, 2}, {}}, b{{0, 3}, {5, 6}, {}};
  EXPECT_EQ(UniteSpans(a, b), (std::vector<RowSpan>{{0, 4}, {5, 6}, {1, 2}, {}}));
}

}  // namespace
}  // namespace ov
