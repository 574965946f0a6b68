#include <gtest/gtest.h>

#include "core/app/Migration.h"
#include "core/calendar/ColorCodes.h"
#include "core/calendar/EntryStore.h"
#include "core/platform/CodePage.h"
#include "core/platform/ShellFileOps.h"
#include "support/TempDir.h"

namespace ov {
namespace {

namespace fs = std::filesystem;

class MigrationTest : public ::testing::Test {
 protected:
  MigrationTest()
      : folders_(ResolveDataFolders(tmp_.Path() / "prog", tmp_.Path() / "temp", tmp_.Path() / "appdata")),
        store_(folders_.EntriesFolder(), "默认", codePage_) {
    fs::create_directories(folders_.programFolder);
  }
  test::TempDir tmp_;
  DataFolders folders_;
  Latin1CodePage codePage_;
  SimpleShellFileOps shell_;
  EntryStore store_;
};

TEST_F(MigrationTest, FirstStartCreatesTheFoldersAndSecondDoesNothing) {
  MigrationResult r = MigrateOldLayouts(shell_, store_, folders_);
  EXPECT_TRUE(r.ran);
  EXPECT_FALSE(r.movedEntries);
  EXPECT_TRUE(fs::is_directory(folders_.ImageCrcFolder()));
  EXPECT_TRUE(fs::is_directory(folders_.EntriesFolder()));
  EXPECT_TRUE(fs::is_directory(folders_.SkinImagesFolder()));
  EXPECT_TRUE(fs::is_directory(folders_.OverlayImagesFolder()));
  EXPECT_FALSE(MigrateOldLayouts(shell_, store_, folders_).ran);
}

TEST_F(MigrationTest, PreviousLayoutMovesEntriesAndPictureSettingsOnce) {
  test::WriteFile(folders_.programFolder / "Entries" / "生意" / "Notes" / "2020" / "Notes_2020-01-02.txt",
                  "[EOHDR]\r\nmeeting\r\n");
  test::WriteFile(folders_.programFolder / "ImageCRC" / "CRC_0000abcd.ini", "[Misc]\r\nVer=30\r\n");
  MigrationResult r = MigrateOldLayouts(shell_, store_, folders_);
  EXPECT_TRUE(r.movedEntries);
  EXPECT_EQ(test::ReadFile(folders_.EntriesFolder() / "生意" / "Notes" / "2020" / "Notes_2020-01-02.txt"),
            "[EOHDR]\r\nmeeting\r\n");
  EXPECT_TRUE(fs::exists(folders_.ImageCrcFolder() / "CRC_0000abcd.ini"));
  EXPECT_FALSE(fs::exists(folders_.programFolder / "Entries"));
  // The message names both folders.
  std::string msg = MovedEntriesMessage(folders_);
  EXPECT_NE(msg.find(FolderText(folders_.programFolder)), std::string::npos);
  EXPECT_NE(msg.find(FolderText(folders_.dataFolder)), std::string::npos);
  EXPECT_EQ(msg.rfind("Orvinta 数据项目现在从\r\n“", 0), 0u);
  // The second start finds Entries in the data folder: no second move, no message.
  EXPECT_FALSE(MigrateOldLayouts(shell_, store_, folders_).movedEntries);
}

TEST_F(MigrationTest, OldestLayoutNotesBecomeTheDefaultSectionWithHolidays) {
  test::WriteFile(folders_.programFolder / "Notes" / "2004" / "Notes_2004-01-01.txt",
                  "Holiday=1\r\n[EOHDR]\r\nNew Year\r\n");
  MigrateOldLayouts(shell_, store_, folders_);
  EXPECT_TRUE(fs::exists(folders_.EntriesFolder() / "Default" / "Notes" / "2004" / "Notes_2004-01-01.txt"));
  YearCodesRead codes = ReadYearCodes(folders_.EntriesFolder(), 2004);
  EXPECT_EQ(codes.values[0], 1u);
}

TEST_F(MigrationTest, DataBesideTheProgramMovesNothing) {
  DataFolders same = ResolveDataFolders(folders_.programFolder, tmp_.Path(), "");
  test::WriteFile(same.programFolder / "ImageCRC" / "CRC_00000001.ini", "x");
  EntryStore store(same.EntriesFolder(), "默认", codePage_);
  MigrationResult r = MigrateOldLayouts(shell_, store, same);
  EXPECT_TRUE(r.ran);
  EXPECT_TRUE(fs::exists(same.ImageCrcFolder() / "CRC_00000001.ini"));
}

}  // namespace
}  // namespace ov
