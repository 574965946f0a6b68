#include "core/calendar/FirstRun.h"

#include <gtest/gtest.h>

#include "CalendarTestSupport.h"
#include "core/calendar/ColorCodeEdit.h"
#include "core/calendar/Sections.h"
#include "core/platform/ShellFileOps.h"
#include "core/util/Paths.h"

namespace ov {
namespace {

namespace fs = std::filesystem;
using test::WriteFile;

using test::D;

TEST(FirstRun, CreatesTheThreeSectionsAndTheWelcomeEntry) {
  test::StoreFixture f;
  SimpleShellFileOps shell;
  const double today = D(2025, 6, 14) + 0.4;
  RunFirstRunSetup(f.Store(), today);
  EXPECT_EQ(ListSections(shell, f.Entries()), (std::vector<std::string>{"家庭", "日记", "生意", "默认"}));
  EXPECT_EQ(f.NoteText(today), "在桌面上任何可见的日期上三击鼠标可以编辑项目");
  EXPECT_EQ(f.Store().NoteFilePath(today).parent_path().parent_path().parent_path(),
            f.Entries() / PathFromUtf8("默认"));
}

TEST(FirstRun, KeepsAnExistingEntry) {
  test::StoreFixture f("日记");
  const double today = D(2025, 6, 14);
  f.Store().WriteNoteText("mine", today);
  RunFirstRunSetup(f.Store(), today);
  EXPECT_EQ(f.NoteText(today), "mine");
  EXPECT_FALSE(fs::exists(f.Entries() / PathFromUtf8("默认")));
}

class LegacyNotesTest : public ::testing::Test {
 protected:
  LegacyNotesTest() : program_(programDir_.Path()), notes_(program_ / "Notes") {}
  test::TempDir programDir_;
  fs::path program_;
  fs::path notes_;
  test::StoreFixture f_;
};

TEST_F(LegacyNotesTest, HolidayFlagsBecomeRedCodes) {
  WriteFile(notes_ / "2003" / "Notes_2003-12-24.txt", "Holiday=1\r\n[EOHDR]\r\nEve\r\n");
  WriteFile(notes_ / "2004" / "Notes_2004-01-01.txt", "holiday=1\r\n[EOHDR]\r\n");
  WriteFile(notes_ / "2004" / "Notes_2004-01-02.txt", "Holiday=0\r\n[EOHDR]\r\n");
  WriteFile(notes_ / "2004" / "Notes_2004-01-03.txt", "Holiday=1 \r\n");  // not exactly "1"
  WriteFile(notes_ / "2004" / "Notes_2004-02-30.txt", "Holiday=1\r\n");   // no such day
  WriteFile(notes_ / "2004" / "Notes_20x4-03-01.txt", "Holiday=1\r\n");   // not a date
  WriteFile(notes_ / "2004" / "short.txt", "Holiday=1\r\n");
  WriteFile(notes_ / "(old)" / "Notes_2004-03-03.txt", "Holiday=1\r\n");  // skipped folder
  WriteFile(notes_ / "(Notes_2004-03-04.txt", "Holiday=1\r\n");
  WriteFile(notes_ / "ab", "Holiday=1\r\n");
  f_.SetCodeInFile(D(2004, 1, 1), 4);  // replaced by red
  f_.SetCodeInFile(D(2004, 5, 5), 8);  // untouched

  EXPECT_EQ(ImportLegacyHolidays(notes_, f_.Store()), 2);
  EXPECT_EQ(f_.CodeOf(D(2003, 12, 24)), 1u);
  EXPECT_EQ(f_.CodeOf(D(2004, 1, 1)), 1u);
  EXPECT_EQ(f_.CodeOf(D(2004, 1, 2)), 0u);
  EXPECT_EQ(f_.CodeOf(D(2004, 1, 3)), 0u);
  EXPECT_EQ(f_.CodeOf(D(2004, 3, 3)), 0u);
  EXPECT_EQ(f_.CodeOf(D(2004, 5, 5)), 8u);
}

TEST_F(LegacyNotesTest, MigrationCopiesTheNotesAsTheDefaultSection) {
  WriteFile(notes_ / "2004" / "Notes_2004-01-01.txt", "Holiday=1\r\n[EOHDR]\r\nNew Year\r\n");
  SimpleShellFileOps shell;
  EXPECT_TRUE(MigrateLegacyNotes(shell, f_.Store(), program_));
  EXPECT_EQ(test::ReadFile(f_.Entries() / "Default" / "Notes" / "2004" / "Notes_2004-01-01.txt"),
            "Holiday=1\r\n[EOHDR]\r\nNew Year\r\n");
  // The section "Default" shows the old note like any other.
  f_.Store().SetCurrentSection("Default");
  EXPECT_EQ(f_.Store().ReadDayEntry(D(2004, 1, 1)).Text, "New Year");
  EXPECT_EQ(f_.CodeOf(D(2004, 1, 1)), 1u);
  // The originals stay where they were.
  EXPECT_TRUE(fs::exists(notes_ / "2004" / "Notes_2004-01-01.txt"));
}

TEST_F(LegacyNotesTest, NothingToMigrateWithoutTheOldFolder) {
  SimpleShellFileOps shell;
  EXPECT_FALSE(MigrateLegacyNotes(shell, f_.Store(), program_));
  EXPECT_FALSE(fs::exists(f_.Entries() / "Default"));
  EXPECT_EQ(ImportLegacyHolidays(program_ / "missing", f_.Store()), 0);
}

}  // namespace
}  // namespace ov
