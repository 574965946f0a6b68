#include "win/platform/WinShellFileOps.h"

#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "core/calendar/DateTime.h"
#include "core/calendar/Sections.h"
#include "core/platform/CodePage.h"
#include "core/util/Paths.h"
#include "support/TempDir.h"

namespace ov {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::WriteFile;

class WinShellFileOpsTest : public ::testing::Test {
 protected:
  fs::path Make(const std::string& name) {
    fs::path p = dir_.Path() / PathFromUtf8(name);
    fs::create_directories(p);
    return p;
  }
  test::TempDir dir_;
  WinShellFileOps shell_;
};

TEST_F(WinShellFileOpsTest, SectionsAreFoldersWithOnlyTheDirectoryAttribute) {
  Make("日记");
  Make("A&B");
  SetFileAttributesW(Make("hidden").c_str(), FILE_ATTRIBUTE_HIDDEN);
  // Wine keeps hidden and system on folders (not read-only or archive).
  SetFileAttributesW(Make("system").c_str(), FILE_ATTRIBUTE_SYSTEM);
  WriteFile(dir_.Path() / "Codes2025.dat", "x");
  auto listed = shell_.ListSubfolders(dir_.Path());
  EXPECT_EQ(listed.size(), 4u);
  for (const FolderEntry& e : listed) {
    if (e.name == "hidden") {
      EXPECT_TRUE(e.attributes & kFileAttributeHidden);
    }
    if (e.name == "system") {
      EXPECT_TRUE(e.attributes & kFileAttributeSystem);
    }
    EXPECT_TRUE(e.attributes & kFileAttributeDirectory);
  }
  auto sections = ListSections(shell_, dir_.Path());
  std::sort(sections.begin(), sections.end());
  EXPECT_EQ(sections, (std::vector<std::string>{"A&B", "日记"}));
  EXPECT_TRUE(shell_.ListSubfolders(dir_.Path() / "missing").empty());
}

TEST_F(WinShellFileOpsTest, ExistsIgnoresLetterCase) {
  Make("Work");
  EXPECT_TRUE(shell_.Exists(dir_.Path() / "WORK"));
  EXPECT_TRUE(shell_.Exists(dir_.Path() / ""));
  EXPECT_FALSE(shell_.Exists(dir_.Path() / "Home"));
  EXPECT_EQ(CheckSectionRename(shell_, dir_.Path(), "Work", "work"), SectionRename::AlreadyExists);
}

TEST_F(WinShellFileOpsTest, RenameKeepsTheContentsAndRefusesExistingTargets) {
  WriteFile(Make("家庭") / "Notes" / "a.txt", "note");
  Make("Busy");
  EXPECT_FALSE(shell_.RenameFolder(dir_.Path() / PathFromUtf8("家庭"), dir_.Path() / "Busy"));
  EXPECT_TRUE(fs::exists(dir_.Path() / PathFromUtf8("家庭") / "Notes" / "a.txt"));
  EXPECT_TRUE(shell_.RenameFolder(dir_.Path() / PathFromUtf8("家庭"), dir_.Path() / "Family & Co"));
  EXPECT_EQ(ReadFile(dir_.Path() / "Family & Co" / "Notes" / "a.txt"), "note");
  EXPECT_FALSE(fs::exists(dir_.Path() / PathFromUtf8("家庭")));
}

TEST_F(WinShellFileOpsTest, RecycledFolderIsGone) {
  WriteFile(Make("Old") / "Notes" / "2024" / "n.txt", "bye");
  EXPECT_TRUE(shell_.RecycleFolder(dir_.Path() / "Old"));
  EXPECT_FALSE(fs::exists(dir_.Path() / "Old"));
  EXPECT_FALSE(shell_.RecycleFolder(dir_.Path() / "Old"));
  // Wine's recycle bin is the desktop trash of the Unix side.
  if (const char* xdg = std::getenv("XDG_DATA_HOME")) {
    fs::path trash = fs::path(L"Z:") / PathFromUtf8(xdg) / "Trash" / "files";
    bool found = false;
    std::error_code ec;
    for (auto& it : fs::directory_iterator(trash, ec)) found |= it.path().filename().wstring().rfind(L"Old", 0) == 0;
    EXPECT_TRUE(found) << PathToUtf8(trash);
  }
}

// Deleting a section asks no questions of its own, except the shell's warning when the
// folder cannot go into the recycle bin and would be lost for good.
TEST(WinShellFileOpsFlags, RecycleAllowsUndoAndWarnsBeforeDeletingForGood) {
  const unsigned flags = RecycleFolderFlags();
  for (unsigned wanted : {FOF_ALLOWUNDO, FOF_WANTNUKEWARNING, FOF_NOCONFIRMATION, FOF_NOERRORUI, FOF_SILENT})
    EXPECT_EQ(flags & wanted, wanted) << std::hex << wanted;
}

TEST_F(WinShellFileOpsTest, CopyAndMoveCreateOrMergeTheTarget) {
  const fs::path src = Make("Notes");
  WriteFile(src / "2004" / "Notes_2004-01-01.txt", "one");
  // A missing target becomes a copy of the folder, parents included.
  const fs::path copy = dir_.Path() / "Entries" / "Default";
  EXPECT_TRUE(shell_.CopyFolder(src, copy));
  EXPECT_EQ(ReadFile(copy / "2004" / "Notes_2004-01-01.txt"), "one");
  EXPECT_TRUE(fs::exists(src / "2004" / "Notes_2004-01-01.txt"));
  // An existing target gets the contents merged in, files of the same name replaced.
  WriteFile(src / "2004" / "Notes_2004-01-01.txt", "two");
  WriteFile(copy / "keep.txt", "kept");
  EXPECT_TRUE(shell_.CopyFolder(src, copy));
  EXPECT_EQ(ReadFile(copy / "2004" / "Notes_2004-01-01.txt"), "two");
  EXPECT_EQ(ReadFile(copy / "keep.txt"), "kept");
  EXPECT_FALSE(fs::exists(copy / "Notes"));

  const fs::path moved = dir_.Path() / "Data" / "ImageCRC";
  const fs::path crc = Make("ImageCRC");
  WriteFile(crc / "CRC_00000001.ini", "a");
  EXPECT_TRUE(shell_.MoveFolder(crc, moved));
  EXPECT_FALSE(fs::exists(crc));
  EXPECT_EQ(ReadFile(moved / "CRC_00000001.ini"), "a");
  WriteFile(Make("ImageCRC") / "CRC_00000002.ini", "b");
  EXPECT_TRUE(shell_.MoveFolder(crc, moved));
  EXPECT_FALSE(fs::exists(crc));
  EXPECT_EQ(ReadFile(moved / "CRC_00000001.ini"), "a");
  EXPECT_EQ(ReadFile(moved / "CRC_00000002.ini"), "b");
  EXPECT_FALSE(shell_.MoveFolder(dir_.Path() / "missing", moved));
}

}  // namespace
}  // namespace ov
