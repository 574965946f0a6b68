// Moving the shared data to another notes folder, also when a step fails or is cancelled.
#include <gtest/gtest.h>

#include <map>

#include "core/app/DataFolders.h"
#include "core/sync/NotesMove.h"
#include "core/util/Paths.h"
#include "support/TempDir.h"

namespace ov {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::WriteFile;

using Tree = std::map<std::string, std::string>;  // relative path -> bytes

Tree ReadTree(const fs::path& root) {
  Tree t;
  if (!fs::exists(root)) return t;
  for (const auto& e : fs::recursive_directory_iterator(root))
    if (e.is_regular_file()) t[e.path().lexically_relative(root).generic_u8string()] = ReadFile(e.path());
  return t;
}

class NotesMoveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (auto& [rel, bytes] : source_) WriteFile(From() / PathFromUtf8(rel), bytes);
    hooks_.switchOver = [this] { return ++switches_, true; };
    hooks_.computer = "HOME";
    hooks_.stamp = "2026-12-09 101500";
  }
  fs::path From() const { return dir_.Path() / "old"; }
  fs::path To() const { return dir_.Path() / "new"; }

  test::TempDir dir_;
  Tree source_ = {
      {"Entries/默认/Notes/2026/Notes_2026-12-09.txt", "[EOHDR]\r\nhome\r\n"},
      {"Entries/默认/Notes/2026/Notes_2026-12-10.txt", "[EOHDR]\r\nonly here\r\n"},
      {"Entries/工作/Notes/2025/Notes_2025-01-01.txt", "[EOHDR]\r\nwork\r\n"},
      {"Entries/Codes2026.dat", "codes"},
      {"ImageCRC/CRC_0badf00d.ini", "[Props]\r\n"},
  };
  MoveHooks hooks_;
  int switches_ = 0;
};

TEST_F(NotesMoveTest, MoveCopiesVerifiesSwitchesAndThenRemovesTheOldFiles) {
  WriteFile(From() / "Wallpaper.bmp", "BM");  // this computer's own file stays
  std::vector<size_t> progress;
  hooks_.progress = [&](size_t done, size_t total) { return progress.push_back(done * 100 / total), true; };
  MoveResult r = MoveSharedData(From(), To(), MoveChoice::Move, hooks_);
  EXPECT_EQ(MoveResult::Done, r.outcome);
  EXPECT_EQ(source_.size(), r.files);
  EXPECT_EQ(1, switches_);
  EXPECT_EQ(source_, ReadTree(To()));
  EXPECT_EQ((Tree{{"Wallpaper.bmp", "BM"}}), ReadTree(From()));
  EXPECT_FALSE(fs::exists(From() / "Entries"));
  ASSERT_EQ(source_.size() * 2, progress.size());
  EXPECT_EQ(100u, progress.back());
}

TEST_F(NotesMoveTest, AFailureOrCancelAtAnyStepLosesNothing) {
  for (MoveStep failing : {MoveStep::List, MoveStep::Copy, MoveStep::Verify, MoveStep::Switch, MoveStep::CleanUp}) {
    for (int nth : {0, 2}) {
      SCOPED_TRACE(testing::Message() << "step " << static_cast<int>(failing) << " file " << nth);
      fs::remove_all(To());
      for (auto& [rel, bytes] : source_) WriteFile(From() / PathFromUtf8(rel), bytes);
      WriteFile(To() / "ImageCRC/CRC_other.ini", "theirs");  // what was there before stays
      switches_ = 0;
      int seen = 0;
      hooks_.allow = [&](MoveStep step, const fs::path&) { return step != failing || seen++ != nth; };
      MoveResult r = MoveSharedData(From(), To(), MoveChoice::Move, hooks_);
      Tree to = ReadTree(To()), from = ReadTree(From());
      EXPECT_EQ("theirs", to["ImageCRC/CRC_other.ini"]);
      if (failing == MoveStep::CleanUp) {
        // Already switched: the new folder is whole, the old file that failed stays.
        EXPECT_EQ(MoveResult::Done, r.outcome);
        EXPECT_EQ(1u, r.leftBehind);
        EXPECT_EQ(1u, from.size());
        for (auto& [rel, bytes] : source_) EXPECT_EQ(bytes, to[rel]) << rel;
      } else if (nth == 0 || failing == MoveStep::Copy || failing == MoveStep::Verify) {
        EXPECT_EQ(MoveResult::Failed, r.outcome);
        EXPECT_EQ(failing, r.failedAt);
        EXPECT_EQ(0, switches_);
        EXPECT_EQ(source_, from);
        EXPECT_EQ((Tree{{"ImageCRC/CRC_other.ini", "theirs"}}), to);  // the half copy is gone
      }
    }
  }
  // Cancelled halfway through the copies.
  fs::remove_all(To());
  for (auto& [rel, bytes] : source_) WriteFile(From() / PathFromUtf8(rel), bytes);
  hooks_.allow = {};
  hooks_.progress = [](size_t done, size_t) { return done < 3; };
  switches_ = 0;
  EXPECT_EQ(MoveResult::Cancelled, MoveSharedData(From(), To(), MoveChoice::Move, hooks_).outcome);
  EXPECT_EQ(0, switches_);
  EXPECT_EQ(source_, ReadTree(From()));
  EXPECT_TRUE(ReadTree(To()).empty());
}

TEST_F(NotesMoveTest, TargetWithNotesIsUsedOrMergedKeepingBothVersionsOfADay) {
  WriteFile(To() / PathFromUtf8("Entries/默认/Notes/2026/Notes_2026-12-09.txt"), "[EOHDR]\r\noffice\r\n");
  WriteFile(To() / PathFromUtf8("Entries/默认/Notes/2026/Notes_2026-12-11.txt"), "[EOHDR]\r\nthere only\r\n");
  EXPECT_TRUE(HoldsNotes(To()));
  EXPECT_FALSE(HoldsNotes(dir_.Path() / "empty"));

  const Tree before = ReadTree(To());
  EXPECT_EQ(MoveResult::Done, MoveSharedData(From(), To(), MoveChoice::UseTarget, hooks_).outcome);
  EXPECT_EQ(1, switches_);
  EXPECT_EQ(before, ReadTree(To()));
  EXPECT_EQ(source_, ReadTree(From()));  // nothing of this computer's is removed

  MoveResult r = MoveSharedData(From(), To(), MoveChoice::Merge, hooks_);
  EXPECT_EQ(MoveResult::Done, r.outcome);
  EXPECT_EQ(1u, r.conflictCopies);
  Tree to = ReadTree(To());
  const std::string day = "Entries/默认/Notes/2026/";
  EXPECT_EQ("[EOHDR]\r\noffice\r\n", to[day + "Notes_2026-12-09.txt"]);
  EXPECT_EQ("[EOHDR]\r\nhome\r\n", to[day + "Notes_2026-12-09 (HOME 的冲突副本 2026-12-09 101500).txt"]);
  EXPECT_EQ("[EOHDR]\r\nonly here\r\n", to[day + "Notes_2026-12-10.txt"]);
  EXPECT_EQ("[EOHDR]\r\nthere only\r\n", to[day + "Notes_2026-12-11.txt"]);
  EXPECT_EQ(source_.size() + 2, to.size());
}

TEST_F(NotesMoveTest, AMoveCutShortIsMarkedAndAMergeCompletesIt) {
  // The program ends in the middle of the copy (killed): nothing after that point runs.
  struct Killed {};
  hooks_.progress = [](size_t done, size_t) {
    if (done == 2) throw Killed{};
    return true;
  };
  EXPECT_THROW(MoveSharedData(From(), To(), MoveChoice::Move, hooks_), Killed);
  EXPECT_EQ(0, switches_);
  EXPECT_EQ(source_, ReadTree(From()));
  EXPECT_TRUE(HoldsUnfinishedMove(To()));
  EXPECT_TRUE(HoldsNotes(To()));

  hooks_.progress = nullptr;
  MoveResult r = MoveSharedData(From(), To(), MoveChoice::Merge, hooks_);
  EXPECT_EQ(MoveResult::Done, r.outcome);
  EXPECT_EQ(0u, r.conflictCopies);
  EXPECT_EQ(source_, ReadTree(To()));  // the mark is gone with the switch
  EXPECT_FALSE(HoldsUnfinishedMove(To()));
  EXPECT_FALSE(fs::exists(From() / "Entries"));

  // A move that ends normally, fails or is cancelled leaves no mark.
  EXPECT_EQ(MoveResult::Done, MoveSharedData(To(), From(), MoveChoice::Move, hooks_).outcome);
  EXPECT_FALSE(HoldsUnfinishedMove(From()));
  hooks_.progress = [](size_t, size_t) { return false; };
  EXPECT_EQ(MoveResult::Cancelled, MoveSharedData(From(), To(), MoveChoice::Move, hooks_).outcome);
  EXPECT_FALSE(HoldsUnfinishedMove(To()));
}

TEST(NotesFolderSettingTest, SharedFoldersFollowTheSetting) {
  // Absolute on every system (a Windows path needs its drive).
  const fs::path data = fs::absolute("data/Orvinta");
  const fs::path sync = fs::absolute("sync/Notes");
  DataFolders f;
  f.dataFolder = data;
  EXPECT_EQ(data / "Entries", f.EntriesFolder());
  f.notesFolder = NotesFolderFromSetting(PathToUtf8(sync) + "/", data);
  EXPECT_EQ(sync / "Entries", f.EntriesFolder());
  EXPECT_EQ(sync / "ImageCRC", f.ImageCrcFolder());
  EXPECT_EQ(data / "Wallpaper.bmp", f.WallpaperFile());
  EXPECT_EQ(data / "Rotation.txt", f.RotationFile());
  for (const std::string& unusable : {std::string(), std::string("relative/folder"), PathToUtf8(data) + "/", PathToUtf8(data)})
    EXPECT_TRUE(NotesFolderFromSetting(unusable, data).empty()) << unusable;
}

}  // namespace
}  // namespace ov
