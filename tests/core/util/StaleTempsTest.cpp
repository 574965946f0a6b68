// Leftover temporaries of interrupted atomic writes are removed at start-up, and nothing
// else is: not other files, not fresh temporaries of a write still under way, not files
// behind links or deeper than asked.
#include <gtest/gtest.h>

#include <chrono>

#include "core/app/DataFolders.h"
#include "core/calendar/ColorCodes.h"
#include "core/calendar/EntryStore.h"
#include "core/platform/CodePage.h"
#include "core/util/Paths.h"
#include "core/util/StaleTemps.h"
#include "support/TempDir.h"

namespace ov {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

TEST(StaleTempsTest, NameForm) {
  struct Case {
    const char* name;
    bool temp;
  } cases[] = {
      {"Wallpaper.bmp.tmp123456-0", true},
      {"Notes_2026-12-08.txt.tmp9-17", true},
      {"a.tmp.tmp1-2", true},  // a target whose own name holds ".tmp"
      {".tmp1-2", false},      // no target name
      {"Rotation.txt", false},
      {"Rotation.txt.tmp", false},
      {"Rotation.txt.tmp12", false},
      {"Rotation.txt.tmp12-", false},
      {"Rotation.txt.tmp-3", false},
      {"Rotation.txt.tmp1-2.bak", false},
      {"Rotation.txt.tmp1x-2", false},
      {"Rotation.txt.TMP1-2", false},
      {"OV3A1.tmp", false},  // the print page's temporary, not ours to remove here
      {"~$Notes_2026-12-08.txt.9-17.tmp", true},
      {"~$a.tmp.1-2.tmp", true},
      {"~$.1-2.tmp", false},          // no target name
      {"~$Codes2026.dat.12.tmp", false},
      {"~$Codes2026.dat.1x-2.tmp", false},
      {"~$report.docx", false},       // another program's lock file
  };
  for (const Case& c : cases) EXPECT_EQ(c.temp, IsAtomicWriteTempName(c.name)) << c.name;

  const Case parts[] = {
      {"Notes_2024-03-07.txt.cabpart0", true},  // a file a restore was extracting
      {"CRC_0badf00d.ini.cabpart17", true},
      {"Orvinta-Backup ALL 2024.03.07 [09.05.33].cab.part3", true},  // a backup being written
      {"x.cab.part2.cabpart5", true},
      {".cabpart1", false},
      {".cab.part1", false},
      {"Notes.txt.cabpart", false},
      {"Notes.txt.cabpart1x", false},
      {"Notes.txt.part1", false},  // only cabinets are written as .part
      {"movie.mkv.part", false},
      {"Notes.txt.CABPART1", false},
  };
  for (const Case& c : parts) {
    EXPECT_EQ(c.temp, IsCabinetPartName(c.name)) << c.name;
    EXPECT_EQ(c.temp, IsProgramTempName(c.name)) << c.name;
  }
  EXPECT_TRUE(IsProgramTempName("Wallpaper.bmp.tmp123456-0"));
}

// A data folder with stale and fresh temporaries, look-alikes and real files.
class StaleTempsSweep : public ::testing::Test {
 protected:
  void Put(const std::string& relative, bool old) { PutAt(dir_.Path() / PathFromUtf8(relative), old); }
  void PutAt(const fs::path& file, bool old) {
    test::WriteFile(file, "x");
    if (old) fs::last_write_time(file, now_ - 2min);
  }
  bool Has(const std::string& relative) const { return fs::exists(dir_.Path() / PathFromUtf8(relative)); }
  size_t Sweep(int depth) { return RemoveStaleWriteTemps(dir_.Path(), {60s, now_, depth}); }

  test::TempDir dir_;
  fs::file_time_type now_ = fs::file_time_type::clock::now();
};

TEST_F(StaleTempsSweep, RemovesOnlyOldTemporariesWithinDepth) {
  Put("Wallpaper.bmp", true);
  Put("Wallpaper.bmp.tmp5-1", true);                                // stale: removed
  Put("Rotation.txt.tmp7-2", false);                                // written just now: kept
  Put("Rotation.txt.tmp8", true);                                   // not our form: kept
  Put("Entries/Codes2026.dat.tmp3-0", true);                        // one level down: removed
  Put("Entries/默认/Notes/2026/Notes_2026-12-08.txt.tmp4-4", true);  // four down: kept at depth 1
  fs::create_directories(dir_.Path() / "Folder.tmp1-1");  // a folder of that name: kept

  EXPECT_EQ(2u, Sweep(1));
  EXPECT_FALSE(Has("Wallpaper.bmp.tmp5-1"));
  EXPECT_FALSE(Has("Entries/Codes2026.dat.tmp3-0"));
  for (const char* kept : {"Wallpaper.bmp", "Rotation.txt.tmp7-2", "Rotation.txt.tmp8",
                           "Entries/默认/Notes/2026/Notes_2026-12-08.txt.tmp4-4", "Folder.tmp1-1"})
    EXPECT_TRUE(Has(kept)) << kept;

  EXPECT_EQ(1u, Sweep(4));
  EXPECT_FALSE(Has("Entries/默认/Notes/2026/Notes_2026-12-08.txt.tmp4-4"));
}

// The start-up sweep reaches every place the program saves to, and no further.
TEST_F(StaleTempsSweep, StartupSweepCoversTheDataFiles) {
  const DataFolders folders = ResolveDataFolders(dir_.Path() / "program", dir_.Path() / "temp", dir_.Path());
  Latin1CodePage codePage;
  EntryStore store(folders.EntriesFolder(), "默认", codePage);
  std::vector<fs::path> stale = {folders.WallpaperFile(), folders.RotationFile(),
                                 folders.ImageCrcFolder() / "1A2B3C4D.ini",
                                 CodesFilePath(folders.EntriesFolder(), 2026), store.NoteFilePath(46364.0)};
  for (fs::path& file : stale) PutAt(file += ".tmp42-7", true);
  // What an interrupted restore leaves beside the files it was extracting, and a backup
  // written into the data folder.
  for (fs::path file : {store.NoteFilePath(46364.0), CodesFilePath(folders.EntriesFolder(), 2026),
                        folders.ImageCrcFolder() / "CRC_1a2b3c4d.ini"})
    stale.push_back(file += ".cabpart3");
  stale.push_back(folders.EntriesFolder() / "Orvinta-Backup 2026.12.08 [10.00.00].cab.part0");
  for (size_t i = stale.size() - 4; i < stale.size(); ++i) PutAt(stale[i], true);
  const fs::path elsewhere = folders.programFolder / "Images" / "a.jpg.tmp1-1";
  PutAt(elsewhere, true);

  EXPECT_EQ(stale.size(), RemoveStaleDataTemps(folders));
  for (const fs::path& file : stale) EXPECT_FALSE(fs::exists(file)) << file;
  EXPECT_TRUE(fs::exists(elsewhere));
}

#if !defined(_WIN32)
TEST_F(StaleTempsSweep, DoesNotFollowLinks) {
  test::TempDir outside;
  test::WriteFile(outside.Path() / "Other.txt.tmp1-1", "x");
  fs::last_write_time(outside.Path() / "Other.txt.tmp1-1", now_ - 2min);
  fs::create_directory_symlink(outside.Path(), dir_.Path() / "link");
  fs::create_symlink(outside.Path() / "Other.txt.tmp1-1", dir_.Path() / "Link.txt.tmp2-2");
  EXPECT_EQ(0u, Sweep(2));
  EXPECT_TRUE(fs::exists(outside.Path() / "Other.txt.tmp1-1"));
}
#endif

TEST(StaleTempsTest, MissingFolderIsNoError) {
  test::TempDir dir;
  EXPECT_EQ(0u, RemoveStaleWriteTemps(dir.Path() / "absent", {}));
}

}  // namespace
}  // namespace ov
