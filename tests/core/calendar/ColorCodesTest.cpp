#include "core/calendar/ColorCodes.h"

#include <gtest/gtest.h>

#include <cstring>

#include "CalendarTestSupport.h"
#include "core/calendar/ColorCodeEdit.h"
#include "core/calendar/Repeat.h"

namespace ov {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::WriteFile;

using test::D;

// n little-endian 32-bit values 1, 2, 3, ...
std::string CountingBytes(size_t bytes) {
  std::string s(bytes, '\0');
  for (size_t i = 0; i < bytes; ++i) s[i] = (i % 4 == 0) ? static_cast<char>((i / 4 + 1) & 0xFF) : 0;
  return s;
}

TEST(ColorCodeTable, MenuItemsInOrder) {
  ASSERT_EQ(kColorCodeTable.size(), 8u);
  EXPECT_STREQ(kColorCodeTable[0].caption, "红色 (假日)");
  EXPECT_STREQ(kColorCodeTable[0].itemName, "mn_ColorCode");
  EXPECT_EQ(ColorCodeRgb(0), 0xFF0000u);
  EXPECT_EQ(ColorCodeRgb(1), 0x00FF00u);
  EXPECT_EQ(ColorCodeRgb(2), 0x0000FFu);
  EXPECT_STREQ(kColorCodeTable[4].caption, "表色");
  EXPECT_EQ(ColorCodeRgb(7), 0xFFFFFFu);
  EXPECT_EQ(ColorCodeRgb(8), 0u);
  EXPECT_EQ(ColorCodeRgb(-1), 0u);
  EXPECT_EQ(kColorCodeClearItem.index, -1);
  EXPECT_STREQ(kColorCodeClearItem.caption, "清除");
  for (int i = 0; i < 8; ++i) EXPECT_EQ(kColorCodeTable[static_cast<size_t>(i)].index, i);
  EXPECT_EQ(ColorCodeOfMask(0), -1);
  EXPECT_EQ(ColorCodeOfMask(0x84), 2);
  EXPECT_EQ(ColorCodeOfMask(0xFFFFFF00u), -1);
}

class CodesFileTest : public ::testing::Test {
 protected:
  test::StoreFixture f_;
  fs::path File(int year) { return CodesFilePath(f_.Entries(), year); }
};

TEST_F(CodesFileTest, FileIsNamedByYearInTheEntriesFolder) {
  EXPECT_EQ(File(2007), f_.Entries() / "Codes2007.dat");
}

TEST_F(CodesFileTest, MissingFileReadsAsNoCodes) {
  YearCodesRead r = ReadYearCodes(f_.Entries(), 2024);
  EXPECT_TRUE(r.readable);
  for (uint32_t v : r.values) ASSERT_EQ(v, 0u);
}

TEST_F(CodesFileTest, ShortFileGivesItsValuesAndZerosAfter) {
  WriteFile(File(2024), CountingBytes(1000));
  YearCodesRead r = ReadYearCodes(f_.Entries(), 2024);
  EXPECT_TRUE(r.readable);
  for (size_t k = 0; k < 250; ++k) ASSERT_EQ(r.values[k], k + 1) << k;
  for (size_t k = 250; k < kCodesPerYear; ++k) ASSERT_EQ(r.values[k], 0u) << k;
  // A ragged end: the incomplete last value is not taken.
  WriteFile(File(2024), CountingBytes(1002));
  EXPECT_EQ(ReadYearCodes(f_.Entries(), 2024).values[250], 0u);
}

TEST_F(CodesFileTest, LongFileGivesItsFirst370ValuesAndIsWrittenBackAt1480Bytes) {
  WriteFile(File(2023), CountingBytes(5000));
  YearCodesRead r = ReadYearCodes(f_.Entries(), 2023);
  EXPECT_EQ(r.values[0], 1u);
  EXPECT_EQ(r.values[369], 370u & 0xFF);
  // A change keeps values 366..369 as read and writes exactly 1480 bytes.
  ApplyColorCode(f_.Store(), 2, true, nullptr, D(2023, 1, 1));
  EXPECT_EQ(fs::file_size(File(2023)), kCodesFileSize);
  YearCodes after = f_.Codes(2023);
  EXPECT_EQ(after[0], 4u);
  for (size_t k = 1; k < kCodesPerYear; ++k) ASSERT_EQ(after[k], r.values[k]) << k;
}

TEST_F(CodesFileTest, WrittenBytesAreLittleEndian) {
  YearCodes v{};
  v[0] = 0x04030201;
  v[369] = 0x80000000;
  ASSERT_TRUE(WriteYearCodes(f_.Entries(), 2020, v));
  std::string bytes = ReadFile(File(2020));
  ASSERT_EQ(bytes.size(), 1480u);
  EXPECT_EQ(bytes.substr(0, 4), "\x01\x02\x03\x04");
  EXPECT_EQ(bytes.substr(1476), std::string("\0\0\0\x80", 4));
  EXPECT_EQ(ReadYearCodes(f_.Entries(), 2020).values, v);
}

TEST_F(CodesFileTest, JunkAndUnreadableFiles) {
  WriteFile(File(2019), std::string(7, '\xFF'));
  YearCodesRead r = ReadYearCodes(f_.Entries(), 2019);
  EXPECT_EQ(r.values[0], 0xFFFFFFFFu);
  EXPECT_EQ(r.values[1], 0u);
  // Readers use the lowest meaningful bit of any mask.
  EXPECT_EQ(f_.Store().ReadDayEntry(D(2019, 1, 1)).ColorCodes, 0xFFFFFFFFu);
  fs::create_directories(File(2018));
  EXPECT_FALSE(ReadYearCodes(f_.Entries(), 2018).readable);
  EXPECT_EQ(f_.Store().ReadDayEntry(D(2018, 5, 5)).ColorCodes, 0u);
}

TEST_F(CodesFileTest, RandomBytesReadAsTheirValuesAndAnEditKeepsTheRest) {
  uint32_t seed = 12345;
  for (size_t size : {size_t(0), size_t(3), size_t(1000), size_t(1479), kCodesFileSize, size_t(5000)}) {
    std::string junk(size, '\0');
    for (char& c : junk) c = static_cast<char>((seed = seed * 1103515245u + 12345u) >> 16);
    WriteFile(File(2021), junk);
    const YearCodesRead r = ReadYearCodes(f_.Entries(), 2021);
    ASSERT_TRUE(r.readable);
    for (size_t k = 0; k < kCodesPerYear; ++k) {
      uint32_t expect = 0;
      if ((k + 1) * 4 <= size) std::memcpy(&expect, junk.data() + k * 4, 4);  // little-endian host
      ASSERT_EQ(r.values[k], expect) << size << " value " << k;
    }
    YearCodesEditor editor(f_.Entries());
    editor.Set(D(2021, 2, 1), 0x10);
    ASSERT_TRUE(editor.Flush());
    YearCodes after = f_.Codes(2021);
    EXPECT_EQ(after[31], 0x10u) << size;
    after[31] = r.values[31];
    EXPECT_EQ(after, r.values) << size;
    EXPECT_EQ(fs::file_size(File(2021)), kCodesFileSize);
  }
}

class ApplyColorCodeTest : public CodesFileTest {
 protected:
  // What the pop-up passes: set = the bit is not yet set.
  void Choose(int index, double day, const RepeatSeries* series = nullptr) {
    uint32_t mask = f_.Store().ReadDayEntry(day).ColorCodes;
    bool set = index >= 0 && !(mask & (1u << index));
    ApplyColorCode(f_.Store(), index, set, series, day);
  }
};

TEST_F(ApplyColorCodeTest, ChoosingReplacesAndChoosingAgainClears) {
  const double day = D(2024, 7, 4);
  Choose(0, day);
  EXPECT_EQ(f_.CodeOf(day), 1u);
  Choose(1, day);  // green on a red day: green only
  EXPECT_EQ(f_.CodeOf(day), 2u);
  EXPECT_EQ(f_.Store().ReadDayEntry(day).ColorCodes, 2u);  // the cache follows
  Choose(1, day);  // the same colour again clears
  EXPECT_EQ(f_.CodeOf(day), 0u);
  Choose(5, day);
  Choose(-1, day);  // "清除"
  EXPECT_EQ(f_.CodeOf(day), 0u);
  // Neighbours are untouched, invalid indexes change nothing.
  EXPECT_EQ(f_.CodeOf(day - 1), 0u);
  Choose(3, day);
  ApplyColorCode(f_.Store(), 8, true, nullptr, day);
  ApplyColorCode(f_.Store(), -2, true, nullptr, day);
  EXPECT_EQ(f_.CodeOf(day), 8u);
}

TEST_F(ApplyColorCodeTest, MonthlySeriesFromJanuary31StepsFromThePreviousDate) {
  RepeatChoices c;
  c.kind = RepeatKind::Month;
  c.afterCount = 3;
  c.afterUnit = RepeatUnit::Times;
  const double start = D(2023, 1, 31);
  RepeatSeries s = ConfirmRepeat(start, c);
  EXPECT_EQ(s.end, D(2023, 4, 29));
  Choose(2, start, &s);
  for (double d : {D(2023, 1, 31), D(2023, 2, 28), D(2023, 3, 28), D(2023, 4, 28)})
    EXPECT_EQ(f_.CodeOf(d), 4u) << DecodeDate(d).month;
  int marked = 0;
  for (uint32_t v : f_.Codes(2023)) marked += v != 0;
  EXPECT_EQ(marked, 4);
  // In a leap year the second day is 29 February, and the rest follow from it.
  c.afterCount = 2;
  s = ConfirmRepeat(D(2024, 1, 31), c);
  Choose(2, D(2024, 1, 31), &s);
  EXPECT_EQ(s.end, D(2024, 3, 30));
  EXPECT_EQ(f_.CodeOf(D(2024, 2, 29)), 4u);
  EXPECT_EQ(f_.CodeOf(D(2024, 3, 29)), 4u);
  EXPECT_EQ(f_.CodeOf(D(2024, 3, 30)), 0u);
}

TEST_F(ApplyColorCodeTest, SeriesAcrossNewYearWritesEachYearsFile) {
  RepeatChoices c;
  c.kind = RepeatKind::Week;
  c.end = RepeatEnd::AtDate;
  c.endDate = D(2025, 1, 20);
  const double start = D(2024, 12, 16);
  f_.SetCodeInFile(D(2025, 6, 1), 1);  // an unrelated code of the next year stays
  RepeatSeries s = ConfirmRepeat(start, c);
  Choose(0, start, &s);
  for (double d : {D(2024, 12, 16), D(2024, 12, 23), D(2024, 12, 30), D(2025, 1, 6), D(2025, 1, 13),
                   D(2025, 1, 20)})
    EXPECT_EQ(f_.CodeOf(d), 1u);
  EXPECT_EQ(f_.CodeOf(D(2025, 1, 27)), 0u);
  EXPECT_EQ(f_.CodeOf(D(2025, 6, 1)), 1u);
  EXPECT_EQ(f_.Store().Codes().year, 2024);  // the start year is cached again
}

TEST_F(ApplyColorCodeTest, AYearThatCannotBeReadIsLeftAlone) {
  fs::create_directories(File(2025));  // unreadable: in the way as a folder
  RepeatChoices c;
  c.kind = RepeatKind::Day;
  c.end = RepeatEnd::AtDate;
  c.endDate = D(2025, 1, 2);
  RepeatSeries s = ConfirmRepeat(D(2024, 12, 30), c);
  Choose(6, D(2024, 12, 30), &s);
  EXPECT_EQ(f_.CodeOf(D(2024, 12, 31)), 64u);
  EXPECT_TRUE(fs::is_directory(File(2025)));
}

TEST_F(ApplyColorCodeTest, CodesAreSharedBySections) {
  f_.Store().SetCurrentSection("日记");
  Choose(4, D(2024, 2, 2));
  f_.Store().SetCurrentSection("家庭");
  EXPECT_EQ(f_.Store().ReadDayEntry(D(2024, 2, 2)).ColorCodes, 16u);
}

}  // namespace
}  // namespace ov
