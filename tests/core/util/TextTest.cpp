#include <gtest/gtest.h>

#include "core/platform/CodePage.h"
#include "core/util/Numeric.h"
#include "core/util/Text.h"

namespace ov {
namespace {

TEST(Numeric, RoundIsHalfToEven) {
  EXPECT_EQ(Round(0.5), 0);
  EXPECT_EQ(Round(1.5), 2);
  EXPECT_EQ(Round(2.5), 2);
  EXPECT_EQ(Round(-2.5), -2);
  EXPECT_EQ(Round(7.5), 8);
  EXPECT_EQ(Round(2.5000001), 3);
  EXPECT_EQ(Round(std::nan("")), 0);
  EXPECT_EQ(Round32(1e12), INT32_MAX);
  EXPECT_EQ(Trunc(-2.9), -2);
  EXPECT_EQ(Trunc(2.9), 2);
}

TEST(Text, TrimControlRemovesEverythingUpToSpace) {
  EXPECT_EQ(TrimControl(" \t\r\n\x01" "a b\x1f \n"), "a b");
  EXPECT_EQ(TrimControl("   "), "");
  EXPECT_EQ(TrimControl("默认 "), "默认");
}

TEST(Text, SplitLinesAcceptsEveryLineEnd) {
  EXPECT_EQ(SplitLines("a\r\nb\rc\nd"), (std::vector<std::string>{"a", "b", "c", "d"}));
  EXPECT_EQ(SplitLines("a\r\n"), (std::vector<std::string>{"a"}));
  EXPECT_EQ(SplitLines("\n\n"), (std::vector<std::string>{"", ""}));
  EXPECT_TRUE(SplitLines("").empty());
}

TEST(Text, ParseInt32AcceptsOnlyWholeNumbers) {
  EXPECT_EQ(ParseInt32(" -12 "), -12);
  EXPECT_EQ(ParseInt32("+7"), 7);
  EXPECT_EQ(ParseInt32("2147483647"), INT32_MAX);
  EXPECT_EQ(ParseInt32("-2147483648"), INT32_MIN);
  EXPECT_FALSE(ParseInt32("2147483648"));
  EXPECT_FALSE(ParseInt32("1.5"));
  EXPECT_FALSE(ParseInt32("-"));
  EXPECT_FALSE(ParseInt32(""));
  EXPECT_FALSE(ParseInt32("99999999999999999999"));
}

TEST(Text, Utf8Validation) {
  EXPECT_TRUE(IsValidUtf8("abc 默认 \xF0\x9F\x98\x80"));
  EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));        // overlong
  EXPECT_FALSE(IsValidUtf8("\xE9\xBB"));        // cut short
  EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));    // surrogate
  EXPECT_FALSE(IsValidUtf8("\xFF"));
}

TEST(Latin1CodePage, RoundTripsWesternTextAndRefusesTheRest) {
  Latin1CodePage cp;
  std::string text = "Caf\xC3\xA9 \xE2\x82\xAC 5";  // "Café € 5"
  auto ansi = cp.FromUtf8(text);
  ASSERT_TRUE(ansi);
  EXPECT_EQ(*ansi, "Caf\xE9 \x80 5");
  EXPECT_EQ(cp.ToUtf8(*ansi), text);
  EXPECT_FALSE(cp.FromUtf8("默认"));
  EXPECT_FALSE(cp.FromUtf8("\xF0\x9F\x98\x80"));
}

}  // namespace
}  // namespace ov
