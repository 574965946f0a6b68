#include "core/calendar/EntryStore.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "CalendarTestSupport.h"
#include "core/calendar/NoteFile.h"
#include "core/util/Paths.h"
#include "core/util/Text.h"

namespace ov {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::WriteFile;

class EntryStoreTest : public ::testing::Test {
 protected:
  test::StoreFixture f_;
  EntryStore& store_ = f_.Store();
  const double day_ = EncodeDate(2007, 3, 5);
};

TEST_F(EntryStoreTest, NotePathHasTheSectionYearAndTwoDigitMonthAndDay) {
  store_.SetCurrentSection("家庭");
  EXPECT_EQ(store_.NoteFilePath(day_ + 0.9),
            f_.Entries() / PathFromUtf8("家庭") / "Notes" / "2007" / "Notes_2007-03-05.txt");
  EXPECT_EQ(store_.NoteFilePath(EncodeDate(987, 11, 20)).filename(), "Notes_987-11-20.txt");
  EXPECT_EQ(store_.NoteFilePath(EncodeDate(987, 11, 20)).parent_path().filename(), "987");
}

TEST_F(EntryStoreTest, EmptyOrUnusableSectionBecomesTheDefaultAndStays) {
  for (const char* bad : {"", "..", "../../etc", "C:\\Windows", "a/b", " . ", "x\ty"}) {
    store_.SetCurrentSection(bad);
    EXPECT_EQ(store_.NoteFilePath(day_).parent_path().parent_path().parent_path(),
              f_.Entries() / PathFromUtf8(kDefaultSectionName))
        << bad;
    EXPECT_EQ(store_.CurrentSection(), kDefaultSectionName) << bad;
  }
}

TEST_F(EntryStoreTest, ReaderIgnoresHeaderLinesAndTrims) {
  WriteFile(store_.NoteFilePath(day_), "Holiday=1\r\nColor=3\r\n[EOHDR]\r\n  first\r\n\r\nsecond\r\n\r\n");
  EXPECT_EQ(store_.ReadDayEntry(day_).Text, "first\n\nsecond");
}

TEST_F(EntryStoreTest, MarkerIsFoundWithoutRegardToCaseAndLineBreakKind) {
  WriteFile(store_.NoteFilePath(day_), "x=y\r[eohdr]\rone\rtwo");
  EXPECT_EQ(store_.ReadDayEntry(day_).Text, "one\ntwo");
  WriteFile(store_.NoteFilePath(day_), "[EoHdR]\nA\n");
  EXPECT_EQ(store_.ReadDayEntry(day_).Text, "A");
  // Only a whole line counts as the marker.
  WriteFile(store_.NoteFilePath(day_), " [EOHDR]\r\ntext\r\n[EOHDR]x\r\n");
  EXPECT_EQ(store_.ReadDayEntry(day_).Text, "");
}

TEST_F(EntryStoreTest, MissingFileOrMissingMarkerIsAnEmptyEntry) {
  TDayEntry e = store_.ReadDayEntry(day_);
  EXPECT_EQ(e.Text, "");
  EXPECT_FALSE(e.Modified);
  EXPECT_EQ(e.ColorCodes, 0u);
  WriteFile(store_.NoteFilePath(day_), "just some text\r\nno marker\r\n");
  EXPECT_EQ(store_.ReadDayEntry(day_).Text, "");
  EXPECT_TRUE(store_.TryReadDayEntry(day_).has_value());
  // The store never rewrites what it only read.
  EXPECT_EQ(ReadFile(store_.NoteFilePath(day_)), "just some text\r\nno marker\r\n");
}

TEST_F(EntryStoreTest, WrittenTextComesBackWithLfBreaks) {
  TDayEntry e;
  e.Text = "line one\r\nline two\r\n\r\nline four";
  ASSERT_TRUE(store_.WriteDayEntry(e, day_));
  EXPECT_EQ(ReadFile(store_.NoteFilePath(day_)), "[EOHDR]\r\nline one\r\nline two\r\n\r\nline four\r\n");
  EXPECT_EQ(store_.ReadDayEntry(day_).Text, "line one\nline two\n\nline four");
  // Writing replaces the file and leaves no temporary files behind.
  e.Text = "short";
  ASSERT_TRUE(store_.WriteDayEntry(e, day_));
  EXPECT_EQ(store_.ReadDayEntry(day_).Text, "short");
  int files = 0;
  for (auto& it : fs::directory_iterator(store_.NoteFilePath(day_).parent_path())) files += it.is_regular_file();
  EXPECT_EQ(files, 1);
}

TEST_F(EntryStoreTest, EmptyEntryIsTheMarkerLineAlone) {
  ASSERT_TRUE(store_.WriteDayEntry(TDayEntry{}, day_));
  EXPECT_EQ(ReadFile(store_.NoteFilePath(day_)), "[EOHDR]\r\n");
  EXPECT_EQ(fs::file_size(store_.NoteFilePath(day_)), 9u);
}

TEST_F(EntryStoreTest, WesternTextStaysInTheCodePageAndOtherTextBecomesUtf8) {
  ASSERT_TRUE(store_.WriteNoteText("Café € naïve", day_));
  EXPECT_EQ(ReadFile(store_.NoteFilePath(day_)), "[EOHDR]\r\nCaf\xE9 \x80 na\xEFve\r\n");
  EXPECT_EQ(store_.ReadDayEntry(day_).Text, "Café € naïve");

  const std::string chinese = "在桌面上三击 😀\n第二行";
  ASSERT_TRUE(store_.WriteNoteText(chinese, day_));
  const std::string bytes = ReadFile(store_.NoteFilePath(day_));
  EXPECT_EQ(bytes.substr(0, 3), kUtf8Bom);
  EXPECT_EQ(bytes.substr(3), "[EOHDR]\r\n在桌面上三击 😀\r\n第二行\r\n");
  EXPECT_EQ(store_.ReadDayEntry(day_).Text, chinese);
}

TEST_F(EntryStoreTest, UnwritableTargetsFailAndKeepWhatIsThere) {
  // A folder where the note file should be.
  fs::create_directories(store_.NoteFilePath(day_));
  EXPECT_FALSE(store_.WriteNoteText("x", day_));
  EXPECT_TRUE(fs::is_directory(store_.NoteFilePath(day_)));
  // ... reads as unreadable: an editor must not replace it blindly.
  EXPECT_FALSE(store_.TryReadDayEntry(day_).has_value());
  EXPECT_EQ(store_.ReadDayEntry(day_).Text, "");
  // A file where the year folder should be.
  const double other = EncodeDate(2011, 1, 1);
  WriteFile(store_.NoteFilePath(other).parent_path(), "in the way");
  EXPECT_FALSE(store_.WriteNoteText("x", other));
  EXPECT_EQ(ReadFile(store_.NoteFilePath(other).parent_path()), "in the way");
}

TEST_F(EntryStoreTest, DatesOutsideTheRangeHaveNoNote) {
  for (double bad : {double(kMinDay) - 1, double(kMaxDay) + 1, 1e300, std::nan("")}) {
    EXPECT_FALSE(store_.WriteNoteText("x", bad));
    EXPECT_EQ(store_.ReadDayEntry(bad).Text, "");
  }
  EXPECT_FALSE(fs::exists(f_.Entries()));
  // The ends of the range work.
  EXPECT_TRUE(store_.WriteNoteText("first", kMinDay));
  EXPECT_TRUE(store_.WriteNoteText("last", kMaxDay));
  EXPECT_EQ(store_.ReadDayEntry(kMinDay).Text, "first");
  EXPECT_EQ(store_.ReadDayEntry(kMaxDay + 0.5).Text, "last");
}

TEST_F(EntryStoreTest, TenMegabyteNoteReadsWhole) {
  std::string big = "[EOHDR]\r\n";
  std::string line(99, 'x');
  while (big.size() < (size_t(10) << 20)) big += line + "\r\n";
  WriteFile(store_.NoteFilePath(day_), big);
  std::string text = store_.ReadDayEntry(day_).Text;
  const size_t lines = (big.size() - 9) / 101;
  EXPECT_EQ(text.size(), 100 * lines - 1);
  EXPECT_EQ(text.substr(0, 100), line + "\n");
  // A neighbour's write leaves it alone.
  store_.WriteNoteText("next", day_ + 1);
  EXPECT_EQ(fs::file_size(store_.NoteFilePath(day_)), big.size());
}

TEST_F(EntryStoreTest, HugeNotesReadWholeUpToTheLimitAndBeyondItAreRefusedUntouched) {
  // 50 MB: under the limit, read whole.
  std::string big = "[EOHDR]\r\n";
  big.reserve(size_t(50) << 20);
  const std::string line(1022, 'y');
  while (big.size() < (size_t(50) << 20)) big += line + "\r\n";
  WriteFile(store_.NoteFilePath(day_), big);
  EXPECT_EQ(store_.ReadDayEntry(day_).Text.size(), 1023 * ((big.size() - 9) / 1024) - 1);
  big = {};

  // One byte over the limit: refused as unreadable (not shown as an empty note that a
  // save would then overwrite), and the file is left as it is.
  const fs::path over = store_.NoteFilePath(day_ + 1);
  WriteFile(over, "[EOHDR]\r\nkeep");
  fs::resize_file(over, kMaxNoteFileBytes + 1);
  EXPECT_FALSE(store_.TryReadDayEntry(day_ + 1).has_value());
  EXPECT_EQ(store_.ReadDayEntry(day_ + 1).Text, "");
  EXPECT_EQ(fs::file_size(over), kMaxNoteFileBytes + 1);
}

TEST_F(EntryStoreTest, OneMegabyteLineRoundTrips) {
  std::string line(size_t(1) << 20, 'z');
  for (size_t i = 0; i < line.size(); i += 4096) line[i] = '\xE9';  // code-page byte for é
  std::string text;
  for (char c : line) text += c == '\xE9' ? std::string("\xC3\xA9") : std::string(1, c);
  ASSERT_TRUE(store_.WriteNoteText(text, day_));
  EXPECT_EQ(fs::file_size(store_.NoteFilePath(day_)), 9 + line.size() + 2);
  EXPECT_EQ(store_.ReadDayEntry(day_).Text, text);
}

TEST_F(EntryStoreTest, BinaryJunkReadsAsValidText) {
  std::mt19937 rng(7);
  for (int round = 0; round < 50; ++round) {
    std::string junk(1 + rng() % 3000, '\0');
    for (char& c : junk) c = static_cast<char>(rng());
    // Half of them with a marker somewhere, some behind a byte-order mark.
    if (round % 2) junk.insert(rng() % junk.size(), "\r\n[EOHDR]\r\n");
    if (round % 4 == 1) junk.insert(0, kUtf8Bom);
    WriteFile(store_.NoteFilePath(day_), junk);
    std::string text = store_.ReadDayEntry(day_).Text;
    EXPECT_TRUE(IsValidUtf8(text)) << round;
    EXPECT_EQ(text, TrimControl(text));
  }
}

TEST_F(EntryStoreTest, ColourCodesComeFromTheCachedYear) {
  f_.SetCodeInFile(day_, 4);
  f_.SetCodeInFile(EncodeDate(2008, 12, 31), 8);  // day 366 of a leap year
  EXPECT_EQ(store_.ReadDayEntry(day_).ColorCodes, 4u);
  EXPECT_EQ(store_.Codes().year, 2007);
  EXPECT_EQ(store_.ReadDayEntry(EncodeDate(2008, 12, 31)).ColorCodes, 8u);
  EXPECT_EQ(store_.Codes().year, 2008);
  // A change behind the store's back shows once the cache has moved to another year.
  f_.SetCodeInFile(day_, 16);
  EXPECT_EQ(store_.ColorCodesOf(EncodeDate(2008, 1, 1)), 0u);
  EXPECT_EQ(store_.ColorCodesOf(day_), 16u);
  // Codes belong to no section.
  store_.SetCurrentSection("生意");
  EXPECT_EQ(store_.ReadDayEntry(day_).ColorCodes, 16u);
}

TEST(NoteFile, EncodingAndDecodingAreInverse) {
  Latin1CodePage cp;
  for (std::string text : {"", "a", "a\nb", "ÄÖÜ\n\n\nß", "中文", "tab\tinside\nx"}) {
    EXPECT_EQ(DecodeNoteFile(EncodeNoteFile(text, cp), cp), text);
  }
  EXPECT_EQ(RepairUtf8("ok\xC3"), "ok\xEF\xBF\xBD");
  EXPECT_EQ(RepairUtf8("\xED\xA0\x80"), "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD");  // a surrogate
  EXPECT_EQ(RepairUtf8("\xC0\xAF"), "\xEF\xBF\xBD\xEF\xBF\xBD");              // overlong
  EXPECT_EQ(RepairUtf8("中"), "中");
}

}  // namespace
}  // namespace ov
