// Conflict copies, the editor's close decision, online placeholders and the rule that an
// unchanged file is not written again.
#include <gtest/gtest.h>

#include <chrono>

#include "core/calendar/CalendarTestSupport.h"
#include "core/calendar/ColorCodes.h"
#include "core/sync/ConflictNames.h"
#include "core/sync/NoteConflicts.h"
#include "core/sync/NotesFingerprint.h"
#include "core/util/Paths.h"

namespace ov {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::StoreFixture;
using test::WriteFile;

TEST(ConflictNamesTest, RecognisesEachServicesCopiesAndNothingElse) {
  struct Case {
    const char* name;
    const char* original;  // nullptr: not a conflict copy
  } cases[] = {
      {"Notes_2026-12-09-OFFICE-PC.txt", "Notes_2026-12-09.txt"},
      {"Notes_2026-12-09-OFFICE-PC-2.txt", "Notes_2026-12-09.txt"},
      {"Notes_2026-12-09 (OFFICE-PC's conflicted copy 2026-12-09).txt", "Notes_2026-12-09.txt"},
      {"Notes_2026-12-09 (Home's Conflicted Copy 2026-12-09 (1)).txt", "Notes_2026-12-09.txt"},
      {"Notes_2026-12-09 (OFFICE-PC 的冲突副本 2026-12-09).txt", "Notes_2026-12-09.txt"},
      {"Notes_2026-12-09.sync-conflict-20261209-101500-ABCDEFG.txt", "Notes_2026-12-09.txt"},
      {"Notes_2026-12-09.txt", nullptr},           // the note itself
      {"Notes_2026-12-09 (copy).txt", nullptr},     // a copy the user made
      {"Notes_2026-12-09-.txt", nullptr},
      {"Notes_2026-12-09.sync-conflict-.txt", nullptr},
      {"Notes_2026-12-09-PC.ini", nullptr},         // another extension
      {"Notes_2026-12-9-PC.txt", nullptr},
      {"~$Notes_2026-12-09.txt.1-2.tmp", nullptr},  // a write in progress
  };
  for (const Case& c : cases) {
    auto original = ConflictOriginal(c.name);
    if (c.original) {
      ASSERT_TRUE(original) << c.name;
      EXPECT_EQ(c.original, *original) << c.name;
    } else {
      EXPECT_FALSE(original) << c.name;
    }
  }
  // The program's own copies have a form it recognises, whatever the computer is called.
  for (const char* computer : {"HOME", "办公室", "a/b:(c)", ""}) {
    std::string own = OwnConflictName("Notes_2026-12-09.txt", computer, "2026-12-09 101500");
    EXPECT_EQ("Notes_2026-12-09.txt", ConflictOriginal(own).value_or("")) << own;
  }
}

TEST(ConflictNamesTest, PlaceholderAttributes) {
  EXPECT_TRUE(IsOnlinePlaceholder(0x00400000));  // recall on data access
  EXPECT_TRUE(IsOnlinePlaceholder(0x00001000 | 0x20));  // offline
  EXPECT_FALSE(IsOnlinePlaceholder(0x20));       // archive
  EXPECT_FALSE(IsOnlinePlaceholder(0x80 | 0x01));  // normal, read-only
}

TEST(NoteCloseTest, Decision) {
  struct Case {
    const char* read;
    const char* user;
    std::optional<std::string> disk;
    NoteCloseAction action;
  } cases[] = {
      {"a", "a", "a", NoteCloseAction::Nothing},
      {"a", "a", "b", NoteCloseAction::Nothing},  // only the other PC changed it: show theirs
      {"a", "a", std::nullopt, NoteCloseAction::Nothing},
      {"a", "u", "a", NoteCloseAction::Save},
      {"", "u", "", NoteCloseAction::Save},
      {"a", "u", "b", NoteCloseAction::SaveAndKeepOther},
      {"", "u", "b", NoteCloseAction::SaveAndKeepOther},
      {"a", "", "b", NoteCloseAction::SaveAndKeepOther},
      {"a", "u", "u", NoteCloseAction::Nothing},  // both typed the same
      {"a", "u", std::nullopt, NoteCloseAction::KeepUsersAsCopy},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.action, DecideNoteClose(c.read, c.user, c.disk))
        << c.read << "/" << c.user << "/" << c.disk.value_or("-");
}

TEST(NoteCloseTest, MergeRule) {
  EXPECT_EQ("a", MergeNoteTexts("a", ""));
  EXPECT_EQ("b", MergeNoteTexts("", "b"));
  EXPECT_EQ("a b", MergeNoteTexts("a b", "b"));
  EXPECT_EQ("a b", MergeNoteTexts("a", "a b"));
  EXPECT_EQ("a\n\nb", MergeNoteTexts("a\n", "\nb"));
}

class NoteSyncTest : public ::testing::Test {
 protected:
  StoreFixture f_;
  const double day_ = EncodeDate(2026, 12, 9);
  fs::path Note() { return f_.Store().NoteFilePath(day_); }
  void Disk(const std::string& text) { ASSERT_TRUE(f_.Store().WriteNoteText(text, day_)); }
};

TEST_F(NoteSyncTest, BothChangedKeepsBothAndMergingOnRequestJoinsThem) {
  Disk("lunch");
  // The other computer changed the note while the editor had it open.
  Disk("lunch with Li");
  NoteCloseResult r = CloseNote(f_.Store(), day_, "默认", "lunch", "lunch at 12", "HOME", "2026-12-09 101500");
  EXPECT_EQ(NoteCloseAction::SaveAndKeepOther, r.action);
  ASSERT_TRUE(r.ok);
  EXPECT_EQ("lunch at 12", f_.NoteText(day_));
  // A copy a sync service made is found beside the program's own.
  WriteFile(Note().parent_path() / "Notes_2026-12-09.sync-conflict-20261209-1-X.txt", "[EOHDR]\r\ndentist\r\n");
  auto copies = ConflictCopiesOf(Note());
  ASSERT_EQ(2u, copies.size());
  EXPECT_EQ(r.conflictCopy, copies[0]);
  EXPECT_EQ("lunch with Li", f_.Store().TryReadNoteFile(copies[0]).value_or(""));

  auto merged = MergeConflictCopies(f_.Store(), day_, "默认");
  ASSERT_TRUE(merged);
  EXPECT_EQ("lunch at 12\n\nlunch with Li\n\ndentist", *merged);
  EXPECT_EQ(*merged, f_.NoteText(day_));
  EXPECT_TRUE(ConflictCopiesOf(Note()).empty());
}

TEST_F(NoteSyncTest, PlaceholderIsNotReadAsEmptyAndNeverOverwritten) {
  Disk("in the cloud");
  f_.Store().SetNotYetAvailableCheck([this](const fs::path& p) { return p == Note(); });
  EXPECT_FALSE(f_.Store().TryReadNoteText(day_));
  NoteCloseResult r = CloseNote(f_.Store(), day_, "默认", "", "typed", "HOME", "s");
  EXPECT_EQ(NoteCloseAction::KeepUsersAsCopy, r.action);
  ASSERT_TRUE(r.ok);
  f_.Store().SetNotYetAvailableCheck({});
  EXPECT_EQ("in the cloud", f_.NoteText(day_));
  EXPECT_EQ("typed", f_.Store().TryReadNoteFile(r.conflictCopy).value_or(""));
}

TEST_F(NoteSyncTest, UnchangedContentIsNotRewritten) {
  Disk("same");
  YearCodes codes{};
  codes[3] = 5;
  ASSERT_TRUE(WriteYearCodes(f_.Entries(), 2026, codes));
  const fs::path codesFile = CodesFilePath(f_.Entries(), 2026);
  // Whole seconds: every file system keeps them exactly (NTFS counts in 100 ns steps).
  const fs::file_time_type old =
      std::chrono::time_point_cast<std::chrono::seconds>(fs::file_time_type::clock::now() - std::chrono::hours(24));
  fs::last_write_time(Note(), old);
  fs::last_write_time(codesFile, old);

  Disk("same");
  ASSERT_TRUE(WriteYearCodes(f_.Entries(), 2026, codes));
  EXPECT_EQ(old, fs::last_write_time(Note()));
  EXPECT_EQ(old, fs::last_write_time(codesFile));

  Disk("changed");
  codes[3] = 6;
  ASSERT_TRUE(WriteYearCodes(f_.Entries(), 2026, codes));
  EXPECT_NE(old, fs::last_write_time(Note()));
  EXPECT_NE(old, fs::last_write_time(codesFile));
  // No temporary is left, and none would have been uploaded under the note's name.
  for (const auto& e : fs::directory_iterator(Note().parent_path()))
    EXPECT_EQ("Notes_2026-12-09.txt", PathToUtf8(e.path().filename()));
}

}  // namespace
}  // namespace ov

namespace ov {
namespace {

TEST_F(NoteSyncTest, FingerprintChangesWithNotesAndSectionsOnly) {
  namespace fs = std::filesystem;
  Disk("one");
  const NotesFingerprint start = FingerprintNotes(f_.Entries());
  EXPECT_EQ(start, FingerprintNotes(f_.Entries()));
  EXPECT_EQ(std::vector<std::string>{"默认"}, start.sections);
  // A write still under way is not a change yet.
  WriteFile(Note().parent_path() / "~$Notes_2026-12-09.txt.1-2.tmp", "x");
  EXPECT_EQ(start, FingerprintNotes(f_.Entries()));

  auto changed = [&](auto&& change) {
    const NotesFingerprint before = FingerprintNotes(f_.Entries());
    change();
    return before != FingerprintNotes(f_.Entries());
  };
  // Name, size and time are compared, not content: a rewrite of the same size within the
  // file system's time resolution is seen only with the next change.
  EXPECT_TRUE(changed([&] { Disk("three"); }));
  EXPECT_TRUE(changed([&] { fs::last_write_time(Note(), fs::file_time_type::clock::now() - std::chrono::hours(2)); }));
  EXPECT_TRUE(changed([&] { WriteFile(Note().parent_path() / "Notes_2026-12-09-PC.txt", "[EOHDR]\r\nx\r\n"); }));
  EXPECT_TRUE(changed([&] { fs::create_directories(f_.Entries() / "工作"); }));
  EXPECT_TRUE(changed([&] { fs::rename(f_.Entries() / "工作", f_.Entries() / "家"); }));
  EXPECT_FALSE(changed([] {}));
}

}  // namespace
}  // namespace ov
