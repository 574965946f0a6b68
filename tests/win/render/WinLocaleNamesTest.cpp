#include <gtest/gtest.h>

#include "win/platform/WinLocaleNames.h"

namespace ov {
namespace {

TEST(WinLocaleNamesTest, ChineseNamesAndFormats) {
  WinLocaleNames zh("zh-CN");
  EXPECT_EQ(zh.ShortDayName(1), "周一");
  EXPECT_EQ(zh.ShortDayName(7), "周日");
  EXPECT_EQ(zh.LongDayName(2), "星期二");
  EXPECT_EQ(zh.LongMonthName(1), "一月");
  EXPECT_EQ(zh.LongMonthName(12), "十二月");
  EXPECT_FALSE(zh.ShortMonthName(3).empty());
  EXPECT_EQ(zh.LongDate({2024, 3, 12, 2}), "2024年3月12日星期二");
  EXPECT_EQ(zh.MonthYear({2024, 3, 12, 2}), "三月 2024");
}

TEST(WinLocaleNamesTest, EnglishNamesAndFormats) {
  WinLocaleNames en("en-US");
  EXPECT_EQ(en.ShortDayName(1), "Mon");
  EXPECT_EQ(en.LongDayName(7), "Sunday");
  EXPECT_EQ(en.ShortMonthName(9), "Sep");
  EXPECT_EQ(en.LongMonthName(9), "September");
  EXPECT_EQ(en.LongDate({2024, 3, 12, 2}), "Tuesday, March 12, 2024");
  EXPECT_NE(en.TimeText(13, 5, 9).find("05"), std::string::npos);
}

TEST(WinLocaleNamesTest, OutOfRangeGivesEmptyText) {
  WinLocaleNames user;
  EXPECT_EQ(user.ShortDayName(0), "");
  EXPECT_EQ(user.LongMonthName(13), "");
  EXPECT_EQ(user.LongDate({0, 0, 0, 0}), "");
  EXPECT_EQ(user.TimeText(25, 0, 0), "");
  EXPECT_FALSE(user.LongMonthName(1).empty());
}

}  // namespace
}  // namespace ov
