// The stand-in text renderer is what the calendar tests see instead of GDI: its layout
// rules must hold for those tests to mean anything.
#include <gtest/gtest.h>

#include "core/platform/FakeTextRenderer.h"
#include "core/platform/LocaleNames.h"

namespace ov {
namespace {

using namespace text_flags;

FontSpec Font(int32_t height) {
  FontSpec f;
  f.height = height;
  return f;
}

// Columns of the surface that hold ink on any row.
std::vector<int32_t> InkColumns(const TBitmap32& s, Pixel bg) {
  std::vector<int32_t> cols;
  for (int32_t x = 0; x < s.Width(); ++x)
    for (int32_t y = 0; y < s.Height(); ++y)
      if (s.At(x, y) != bg) {
        cols.push_back(x);
        break;
      }
  return cols;
}

TEST(FakeTextRendererTest, MeasuresCodePointsNotBytes) {
  FakeTextRenderer t;
  EXPECT_EQ(t.Measure(Font(-10), "Xq").width, 10);
  EXPECT_EQ(t.Measure(Font(-10), "Xq").height, 10);
  EXPECT_EQ(t.Measure(Font(-10), "周一").width, 10);
  EXPECT_EQ(t.Measure(Font(0), "a").height, 2);  // held to a usable size
}

TEST(FakeTextRendererTest, AlignsClipsAndHandlesPrefixes) {
  FakeTextRenderer t;
  TBitmap32 s(40, 10);
  s.Clear(0xFF000000);
  t.DrawInRect(s, {10, 0, 30, 10}, kCenter | kSingleLine, Font(-10), 0xFFFFFF, "a&b");  // "ab": 10 wide
  std::vector<int32_t> ink = InkColumns(s, 0xFF000000);
  ASSERT_FALSE(ink.empty());
  EXPECT_EQ(ink.front(), 15);
  EXPECT_EQ(ink.back(), 23);  // the last glyph leaves its right pixel free
  s.Clear(0xFF000000);
  t.DrawInRect(s, {10, 0, 14, 10}, kSingleLine | kNoPrefix, Font(-10), 0xFFFFFF, "&&&&&");
  ink = InkColumns(s, 0xFF000000);
  ASSERT_FALSE(ink.empty());
  EXPECT_GE(ink.front(), 10);
  EXPECT_LT(ink.back(), 14);  // clipped to the rectangle
}

TEST(FakeTextRendererTest, WordBreakAndEllipsis) {
  FakeTextRenderer t;
  TBitmap32 s(30, 40);
  s.Clear(0xFF000000);
  t.DrawInRect(s, s.BoundsRect(), kWordBreak, Font(-10), 0xFFFFFF, "aaa bbb ccc");  // 5 px per char
  auto rowInk = [&](int32_t y) {
    for (int32_t x = 0; x < 30; ++x)
      if (s.At(x, y) != 0xFF000000) return true;
    return false;
  };
  // "aaa bbb" would be 35 pixels: three lines "aaa", "bbb", "ccc".
  EXPECT_TRUE(rowInk(5));
  EXPECT_TRUE(rowInk(15));
  EXPECT_TRUE(rowInk(25));
  EXPECT_FALSE(rowInk(35));
  s.Clear(0xFF000000);
  t.DrawInRect(s, {0, 0, 30, 10}, kSingleLine | kEndEllipsis, Font(-10), 0xFFFFFF, "abcdefghij");
  // 6 characters fit: "abc" and "..." (dots are ink blocks too), nothing beyond.
  int32_t last = -1;
  for (int32_t x = 0; x < 30; ++x)
    if (s.At(x, 5) != 0xFF000000) last = x;
  EXPECT_EQ(last, 28);
}

TEST(FakeLocaleNamesTest, NamesAndFormats) {
  FakeLocaleNames l;
  EXPECT_EQ(l.ShortDayName(1), "Mon");
  EXPECT_EQ(l.LongDayName(7), "Sunday");
  EXPECT_EQ(l.ShortMonthName(9), "Sep");
  EXPECT_EQ(l.LongMonthName(0), "");
  EXPECT_EQ(l.LongDate({2024, 3, 12, 2}), "Tuesday, March 12, 2024");
  EXPECT_EQ(l.MonthYear({987, 3, 1, 1}), "March 0987");
  EXPECT_EQ(l.TimeText(7, 5, 0), "07:05:00");
}

}  // namespace
}  // namespace ov
