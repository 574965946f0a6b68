// Conflict copies of the codes files and of the picture-property files.
#include <gtest/gtest.h>

#include "core/calendar/ColorCodes.h"
#include "core/sync/ConflictNames.h"
#include "core/sync/SharedConflicts.h"
#include "core/util/Paths.h"
#include "support/TempDir.h"

namespace ov {
namespace {

namespace fs = std::filesystem;

TEST(SharedConflictsTest, RecognisesCopiesOfCodesAndPicturePropertiesOnly) {
  struct Case {
    const char* name;
    bool (*isOriginal)(std::string_view);
    const char* original;  // nullptr: not a conflict copy of such a file
  } cases[] = {
      {"Codes2026-OFFICE-PC.dat", IsCodesFileName, "Codes2026.dat"},
      {"Codes2026 (OFFICE-PC's conflicted copy 2026-12-09).dat", IsCodesFileName, "Codes2026.dat"},
      {"Codes2026 (OFFICE-PC 的冲突副本 2026-12-09).dat", IsCodesFileName, "Codes2026.dat"},
      {"Codes2026.sync-conflict-20261209-101500-ABCDEFG.dat", IsCodesFileName, "Codes2026.dat"},
      {"Codes2026.dat", IsCodesFileName, nullptr},
      {"Codes02026-PC.dat", IsCodesFileName, nullptr},
      {"Codes2026-PC.txt", IsCodesFileName, nullptr},
      {"Codes-PC.dat", IsCodesFileName, nullptr},
      {"CRC_0000abcd-OFFICE-PC.ini", IsImagePropsFileName, "CRC_0000abcd.ini"},
      {"CRC_0000ABCD.sync-conflict-20261209-101500-ABCDEFG.ini", IsImagePropsFileName, "CRC_0000ABCD.ini"},
      {"CRC_0000abcd (Home's conflicted copy 2026-12-09).ini", IsImagePropsFileName, "CRC_0000abcd.ini"},
      {"CRC_0000abcd.ini", IsImagePropsFileName, nullptr},
      {"CRC_0000abcg-PC.ini", IsImagePropsFileName, nullptr},
      {"CRC_000abcd-PC.ini", IsImagePropsFileName, nullptr},
  };
  for (const Case& c : cases) {
    auto original = ConflictOriginal(c.name, c.isOriginal);
    EXPECT_EQ(c.original ? c.original : "", original.value_or("")) << c.name;
  }
}

TEST(SharedConflictsTest, ListsTheCopiesOfAFolderOnly) {
  test::TempDir dir;
  for (const char* name : {"CRC_0000abcd.ini", "CRC_0000abcd-OFFICE.ini", "CRC_0000abce.sync-conflict-20261209-101500-X.ini",
                           "notes.txt", "CRC_0000abcd-OFFICE.ini.part"})
    test::WriteFile(dir.Path() / name, "x");
  fs::create_directory(dir.Path() / "CRC_0000abcf-DIR.ini");  // a folder, not a copy
  std::vector<std::string> names;
  for (const fs::path& p : ConflictCopiesIn(dir.Path(), IsImagePropsFileName)) names.push_back(PathToUtf8(p.filename()));
  EXPECT_EQ((std::vector<std::string>{"CRC_0000abcd-OFFICE.ini", "CRC_0000abce.sync-conflict-20261209-101500-X.ini"}),
            names);
}

// An entries folder with the local codes of a year and a service's conflict copy.
class CodesMergeTest : public ::testing::Test {
 protected:
  static constexpr int kYear = 2026;
  fs::path Entries() const { return dir_.Path(); }
  fs::path CopyPath() const { return Entries() / PathFromUtf8("Codes2026 (OFFICE 的冲突副本 2026-12-09).dat"); }
  void WriteCopy(const YearCodes& codes) {
    WriteYearCodes(Entries(), kYear, codes);
    fs::rename(CodesFilePath(Entries(), kYear), CopyPath());
  }
  YearCodes Local() const { return ReadYearCodes(Entries(), kYear).values; }
  test::TempDir dir_;
};

TEST_F(CodesMergeTest, DaysOfOneSideAreJoinedAndTheCopyGoes) {
  YearCodes local{}, other{};
  local[0] = 1;   // day 1 coded here only
  other[9] = 4;   // day 10 coded on the other computer only
  local[19] = other[19] = 2;  // day 20 alike on both
  WriteCopy(other);
  WriteYearCodes(Entries(), kYear, local);

  const auto merges = MergeCodesConflicts(Entries());
  ASSERT_EQ(1u, merges.size());
  EXPECT_TRUE(merges[0].ok);
  EXPECT_EQ("Codes2026.dat", merges[0].original);
  EXPECT_EQ(1, merges[0].added);
  EXPECT_TRUE(merges[0].keptLocal.empty());
  EXPECT_TRUE(merges[0].copyRemoved);
  EXPECT_FALSE(fs::exists(CopyPath()));
  const YearCodes merged = Local();
  EXPECT_EQ(1u, merged[0]);
  EXPECT_EQ(4u, merged[9]);
  EXPECT_EQ(2u, merged[19]);
  EXPECT_NE("", DescribeCodesMerge(merges[0]));
}

TEST_F(CodesMergeTest, ADayCodedDifferentlyKeepsTheLocalCodeAndTheCopy) {
  YearCodes local{}, other{};
  local[4] = 1;
  other[4] = 8;   // day 5: two different codes
  other[5] = 16;  // day 6: the other's only
  WriteCopy(other);
  WriteYearCodes(Entries(), kYear, local);

  auto merges = MergeCodesConflicts(Entries());
  ASSERT_EQ(1u, merges.size());
  EXPECT_EQ(1, merges[0].added);
  EXPECT_EQ(std::vector<int>{5}, merges[0].keptLocal);
  EXPECT_FALSE(merges[0].copyRemoved);
  EXPECT_TRUE(fs::exists(CopyPath()));
  EXPECT_EQ(1u, Local()[4]);
  EXPECT_EQ(16u, Local()[5]);
  const std::string line = DescribeCodesMerge(merges[0]);
  EXPECT_NE(std::string::npos, line.find("保留本机的代码")) << line;
  EXPECT_NE(std::string::npos, line.find(" 5 天")) << line;

  // Merging again adds nothing and leaves the local file as it is.
  const auto written = fs::last_write_time(CodesFilePath(Entries(), kYear));
  merges = MergeCodesConflicts(Entries());
  ASSERT_EQ(1u, merges.size());
  EXPECT_EQ(0, merges[0].added);
  EXPECT_EQ(written, fs::last_write_time(CodesFilePath(Entries(), kYear)));
}

TEST_F(CodesMergeTest, AnUnreadableSideIsLeftForLater) {
  YearCodes other{};
  other[0] = 2;
  WriteCopy(other);
  fs::create_directory(CodesFilePath(Entries(), kYear));  // the local "file" cannot be read
  const auto merges = MergeCodesConflicts(Entries());
  ASSERT_EQ(1u, merges.size());
  EXPECT_FALSE(merges[0].ok);
  EXPECT_TRUE(fs::exists(CopyPath()));
  EXPECT_TRUE(fs::is_directory(CodesFilePath(Entries(), kYear)));
}

TEST_F(CodesMergeTest, WithoutALocalFileTheCopysCodesAreTaken) {
  YearCodes other{};
  other[100] = 32;
  WriteCopy(other);
  const auto merges = MergeCodesConflicts(Entries());
  ASSERT_EQ(1u, merges.size());
  EXPECT_TRUE(merges[0].copyRemoved);
  EXPECT_EQ(32u, Local()[100]);
}

TEST(SyncLogTest, LinesAreAppendedAndABigLogStartsOver) {
  test::TempDir dir;
  const fs::path log = dir.Path() / kSyncLogName;
  ASSERT_TRUE(AppendLogLine(log, "one"));
  ASSERT_TRUE(AppendLogLine(log, "two"));
  EXPECT_EQ("one\r\ntwo\r\n", test::ReadFile(log));
  test::WriteFile(log, std::string(300 * 1024, 'x'));
  ASSERT_TRUE(AppendLogLine(log, "three"));
  EXPECT_EQ("three\r\n", test::ReadFile(log));
}

}  // namespace
}  // namespace ov
