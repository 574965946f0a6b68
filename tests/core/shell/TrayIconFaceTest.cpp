#include <gtest/gtest.h>

#include "core/calendar/DateTime.h"
#include "core/shell/TrayIconFace.h"

namespace ov {
namespace {

TEST(TrayIconFace, ShowsTheDayOfMonthOfTheLocalDate) {
  struct Case {
    double now;
    int day;
    const char* text;
  } cases[] = {
      {EncodeDateTime(2024, 3, 8, 12, 0), 8, "8"},
      {EncodeDateTime(2024, 2, 29, 23, 59, 59), 29, "29"},
      {EncodeDateTime(2024, 3, 1, 0, 0, 0), 1, "1"},
      {EncodeDateTime(2023, 12, 31, 23, 59, 59, 999), 31, "31"},
      {EncodeDateTime(1899, 12, 29, 18, 0), 29, "29"},  // before the epoch: the fraction still belongs to that day
  };
  for (const Case& c : cases) {
    TrayIconFace face = TrayIconFaceFor(c.now, 16);
    EXPECT_EQ(face.day, c.day) << c.text;
    EXPECT_EQ(face.text, c.text);
  }
}

TEST(TrayIconFace, LayoutScalesWithTheIconSizeAndKeepsTheDigitsOnTheLeaf) {
  for (int32_t size : {16, 20, 24, 32, 4}) {
    TrayIconFace face = TrayIconFaceFor(EncodeDate(2024, 3, 28), size);
    const int32_t s = std::max(size, 8);
    EXPECT_EQ(face.size, s);
    EXPECT_EQ(face.header.top, 0);
    EXPECT_EQ(face.header.bottom, face.textArea.top) << size;
    EXPECT_EQ(face.textArea.bottom, s);
    EXPECT_GE(face.textArea.Height(), face.fontHeight) << size;
    EXPECT_GE(face.fontHeight, s / 2) << size;  // readable, not a speck
  }
  EXPECT_LT(TrayIconFaceFor(0, 16).fontHeight, TrayIconFaceFor(0, 24).fontHeight);
}

TEST(TrayIconFace, IsOutdatedOnlyOnceTheDayChanges) {
  const double evening = EncodeDateTime(2024, 3, 31, 23, 59, 59);
  EXPECT_FALSE(TrayIconOutdated(31, evening));
  EXPECT_TRUE(TrayIconOutdated(31, evening + 2.0 / 86400));  // 1 April
  EXPECT_TRUE(TrayIconOutdated(8, evening));                  // the old fixed face
  EXPECT_TRUE(TrayIconOutdated(0, evening));                  // nothing drawn yet
}

}  // namespace
}  // namespace ov
