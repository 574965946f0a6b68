#include "core/calendar/Sections.h"

#include <gtest/gtest.h>

#include <functional>

#include "CalendarTestSupport.h"
#include "core/platform/ShellFileOps.h"
#include "core/util/Paths.h"

namespace ov {
namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

class SectionsTest : public ::testing::Test {
 protected:
  SectionsTest() : bin_(recycle_.Path() / "bin"), shell_(bin_) {
    fs::create_directories(f_.Entries());
  }
  void Folder(const std::string& name) { fs::create_directories(f_.Entries() / PathFromUtf8(name)); }
  Names List() { return ListSections(shell_, f_.Entries()); }

  test::StoreFixture f_;
  EntryStore& store_ = f_.Store();
  test::TempDir recycle_;
  fs::path bin_;
  SimpleShellFileOps shell_;
};

TEST_F(SectionsTest, OnlyPlainFoldersAreSections) {
  for (const char* n : {"日记", "生意", "hidden", "readonly", "archived", "A&B"}) Folder(n);
  test::WriteFile(f_.Entries() / "Codes2024.dat", std::string(1480, '\0'));
  shell_.SetAttributes(f_.Entries() / "hidden", kFileAttributeHidden);
  shell_.SetAttributes(f_.Entries() / "readonly", kFileAttributeReadOnly);
  shell_.SetAttributes(f_.Entries() / "archived", kFileAttributeArchive);
  EXPECT_EQ(List(), (Names{"A&B", "日记", "生意"}));
  EXPECT_TRUE(ListSections(shell_, f_.Entries() / "missing").empty());
}

TEST_F(SectionsTest, MenuCaptionsDoubleAmpersands) {
  EXPECT_EQ(SectionMenuCaption("A&B"), "A&&B");
  EXPECT_EQ(SectionMenuCaption("&&x&"), "&&&&x&&");
  EXPECT_EQ(SectionMenuCaption("家庭"), "家庭");
}

TEST_F(SectionsTest, CreatingThreeInARowGivesNewNew2New3) {
  EXPECT_EQ(CreateSection(shell_, store_), "New");
  EXPECT_EQ(CreateSection(shell_, store_), "New-2");
  EXPECT_EQ(CreateSection(shell_, store_), "New-3");
  EXPECT_EQ(store_.CurrentSection(), "New-3");
  EXPECT_EQ(List(), (Names{"New", "New-2", "New-3"}));
  // A file or a folder in another letter case also takes a name.
  fs::remove(f_.Entries() / "New-2");
  test::WriteFile(f_.Entries() / "new-2", "x");
  EXPECT_EQ(FreeSectionName(shell_, f_.Entries()), "New-4");
}

TEST_F(SectionsTest, RenameRules) {
  Folder("Work");
  Folder("Home");
  const fs::path& e = f_.Entries();
  EXPECT_EQ(CheckSectionRename(shell_, e, "Work", "Work"), SectionRename::Unchanged);
  EXPECT_EQ(CheckSectionRename(shell_, e, "Work", "Home"), SectionRename::AlreadyExists);
  // Letter case is ignored for the folder test, also against the section itself.
  EXPECT_EQ(CheckSectionRename(shell_, e, "Work", "HOME"), SectionRename::AlreadyExists);
  EXPECT_EQ(CheckSectionRename(shell_, e, "Work", "work"), SectionRename::AlreadyExists);
  // An empty name names the entries folder itself.
  EXPECT_EQ(CheckSectionRename(shell_, e, "Work", ""), SectionRename::AlreadyExists);
  EXPECT_EQ(CheckSectionRename(shell_, e, "Work", ".."), SectionRename::AlreadyExists);
  EXPECT_EQ(CheckSectionRename(shell_, e, "Work", " . "), SectionRename::AlreadyExists);
  for (char c : std::string(kForbiddenSectionChars))
    EXPECT_EQ(CheckSectionRename(shell_, e, "Work", std::string("a") + c + "b"), SectionRename::ForbiddenCharacter) << c;
  EXPECT_EQ(CheckSectionRename(shell_, e, "Work", "tab\there"), SectionRename::ForbiddenCharacter);
  EXPECT_EQ(CheckSectionRename(shell_, e, "Work", "Büro & 家"), SectionRename::Allowed);
}

TEST_F(SectionsTest, RenameMovesTheFolderAndActivatesIt) {
  Folder("Work");
  store_.WriteNoteText("kept", EncodeDate(2024, 1, 1));  // in the default section
  store_.SetCurrentSection("Work");
  store_.WriteNoteText("work note", EncodeDate(2024, 1, 2));
  EXPECT_EQ(RenameSection(shell_, store_, "Work", "Job?"), SectionRename::ForbiddenCharacter);
  EXPECT_EQ(store_.CurrentSection(), "Work");
  EXPECT_TRUE(fs::is_directory(f_.Entries() / "Work"));
  EXPECT_EQ(RenameSection(shell_, store_, "Work", "Job"), SectionRename::Allowed);
  EXPECT_EQ(store_.CurrentSection(), "Job");
  EXPECT_FALSE(fs::exists(f_.Entries() / "Work"));
  EXPECT_EQ(f_.NoteText(EncodeDate(2024, 1, 2)), "work note");
  // The default section is never renamed.
  EXPECT_EQ(RenameSection(shell_, store_, kDefaultSectionName, "Other"), SectionRename::Unchanged);
  EXPECT_TRUE(fs::is_directory(f_.Entries() / PathFromUtf8(kDefaultSectionName)));
  EXPECT_EQ(store_.CurrentSection(), "Job");
  // A failing shell changes no folder; the lists follow the folders.
  shell_.SetFailing(true);
  EXPECT_EQ(RenameSection(shell_, store_, "Job", "Job2"), SectionRename::Allowed);
  EXPECT_TRUE(fs::is_directory(f_.Entries() / "Job"));
}

TEST_F(SectionsTest, DeletingGoesToTheRecycleBinAndActivatesTheDefault) {
  Folder("A&B");
  store_.SetCurrentSection("A&B");
  store_.WriteNoteText("bye", EncodeDate(2024, 5, 5));
  EXPECT_EQ(CheckSectionDelete("A&B"), SectionDelete::Confirm);
  EXPECT_TRUE(DeleteSection(shell_, store_, "A&B"));
  EXPECT_EQ(store_.CurrentSection(), kDefaultSectionName);
  EXPECT_FALSE(fs::exists(f_.Entries() / "A&B"));
  EXPECT_TRUE(fs::exists(bin_ / "A&B" / "Notes" / "2024" / "Notes_2024-05-05.txt"));
  EXPECT_EQ(shell_.Recycled().size(), 1u);
  // A delete the shell refuses (the user declined deleting for good) changes nothing.
  Folder("Keep");
  store_.SetCurrentSection("Keep");
  shell_.SetFailing(true);
  EXPECT_FALSE(DeleteSection(shell_, store_, "Keep"));
  EXPECT_EQ(store_.CurrentSection(), "Keep");
  EXPECT_TRUE(fs::is_directory(f_.Entries() / "Keep"));
}

TEST_F(SectionsTest, DefaultAndUnusableNamesAreNeverDeleted) {
  Folder(kDefaultSectionName);
  EXPECT_EQ(CheckSectionDelete(kDefaultSectionName), SectionDelete::RefuseDefault);
  EXPECT_FALSE(DeleteSection(shell_, store_, kDefaultSectionName));
  // An empty name would be the entries folder itself.
  for (const char* bad : {"", ".", "..", "../Entries", "a\\b"}) {
    EXPECT_EQ(CheckSectionDelete(bad), SectionDelete::Nothing) << bad;
    EXPECT_FALSE(DeleteSection(shell_, store_, bad)) << bad;
  }
  EXPECT_TRUE(shell_.Recycled().empty());
  EXPECT_TRUE(fs::is_directory(f_.Entries() / PathFromUtf8(kDefaultSectionName)));
  EXPECT_FALSE(CanModifySection(kDefaultSectionName));
  EXPECT_TRUE(CanModifySection("默认 "));
}

// An open pop-up stands for work of the active section: every way of changing the section
// (a menu's choice, create, rename, delete) lets it save into the section it came from
// before the switch, and a deleted section takes that note into the recycle bin.
TEST_F(SectionsTest, EverySectionChangeLetsTheOldSectionSaveFirst) {
  const double day = EncodeDate(2024, 3, 12);
  const auto note = [&](const fs::path& section) {
    return section / "Notes" / "2024" / "Notes_2024-03-12.txt";
  };
  struct Case {
    const char* name;
    std::function<void()> change;
    fs::path savedIn;   // where the typed note must be afterwards
    fs::path notIn;     // where it must not be
  };
  const fs::path e = f_.Entries();
  const std::vector<Case> cases = {
      {"choose", [&] { store_.SetCurrentSection("Home"); }, e / "Work", e / "Home"},
      {"create", [&] { CreateSection(shell_, store_); }, e / "Work", e / "New"},
      {"rename", [&] { RenameSection(shell_, store_, "Work", "Job"); }, e / "Job", e / "Work"},
      {"delete", [&] { DeleteSection(shell_, store_, "Work"); }, bin_ / "Work", e / "Work"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (const char* n : {"Work", "Home", "Job", "New"}) fs::remove_all(e / n);
    fs::remove_all(bin_);
    Folder("Work");
    Folder("Home");
    store_.SetSectionChangingHandler(nullptr);
    store_.SetCurrentSection("Work");
    int told = 0;
    store_.SetSectionChangingHandler([&] {
      ++told;
      EXPECT_EQ(store_.CurrentSection(), "Work");
      TDayEntry typed;
      typed.Text = "typed in Work";
      store_.WriteDayEntry(typed, day);
    });
    c.change();
    EXPECT_EQ(told, 1);
    EXPECT_NE(store_.CurrentSection(), "Work");
    EXPECT_TRUE(fs::exists(note(c.savedIn)));
    EXPECT_FALSE(fs::exists(note(c.notIn)));
  }
  // Choosing the section that is already active changes nothing and tells nobody.
  int told = 0;
  store_.SetSectionChangingHandler([&] { ++told; });
  store_.SetCurrentSection(store_.CurrentSection());
  EXPECT_EQ(told, 0);
}

// A pop-up closed after the switch after all (a dialog of its own was open) still writes
// into the section it was opened in.
TEST_F(SectionsTest, AnEditorWritesIntoItsOwnSectionWhicheverIsActive) {
  Folder("Work");
  store_.SetCurrentSection("Home");
  TDayEntry typed;
  typed.Text = "late";
  EXPECT_TRUE(store_.WriteDayEntry(typed, EncodeDate(2024, 3, 12), "Work"));
  EXPECT_EQ(store_.CurrentSection(), "Home");
  EXPECT_EQ(f_.NoteText(EncodeDate(2024, 3, 12)), "");
  store_.SetCurrentSection("Work");
  EXPECT_EQ(f_.NoteText(EncodeDate(2024, 3, 12)), "late");
}

TEST(SectionTexts, MessagesAreFilledWithTheName) {
  EXPECT_EQ(SectionExistsMessage("Home"), "部分“Home”已经存在!");
  EXPECT_EQ(SectionDeleteConfirmMessage("A%sB"),
            "部分“A%sB”和它所有的项目将被移动到回收站中。您真的想要删除它吗?");
  EXPECT_EQ(std::string(kSectionNameCharsMessage),
            "部分名是您磁盘上的一个文件夹，它不能包含字符\r\n\\:/*?\"<>|\r\n请重新输入部分名。");
  EXPECT_STREQ(kDefaultSectionUndeletableMessage, "部分“默认”不能被删除!");
}

}  // namespace
}  // namespace ov
