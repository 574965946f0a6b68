// Exporting a section's notes: which days go out, with which categories, and what the
// user is told for each outcome. The file's own form is IcsExportTest's.
#include <libical/ical.h>

#include "IcalTestSupport.h"
#include "core/calendar/EntryStore.h"
#include "core/ical/NotesExport.h"
#include "core/platform/CodePage.h"
#include "support/TempDir.h"

namespace ov::test {
namespace {

class NotesExportTest : public ::testing::Test {
 protected:
  NotesExportTest() : store(dir.Path() / "Entries", "工作", cp) {
    Note("2025-12-31", "old year");
    Note("2026-01-05", "开会\n第二行");
    Note("2026-06-10", "on a placeholder");
    Note("2028-02-02", "later");
    YearCodes codes{};
    codes[4] = 0b101;  // 5 January: red (holiday) and blue
    EXPECT_TRUE(store.WriteYearCodes(2026, codes));
    store.ReloadCodes(2026);
    // The 10 June file is only a sync placeholder: it cannot be read.
    const auto placeholder = store.NoteFilePath(double(Day("2026-06-10")));
    store.SetNotYetAvailableCheck([placeholder](const std::filesystem::path& p) { return p == placeholder; });
  }
  void Note(const std::string& iso, const std::string& text) {
    TDayEntry e;
    e.Text = text;
    ASSERT_TRUE(store.WriteDayEntry(e, double(Day(iso))));
  }
  // DTSTART days of the written file, read back by libical.
  std::vector<std::string> ExportedDays(const std::filesystem::path& file) {
    std::vector<std::string> days;
    icalcomponent* cal = icalparser_parse_string(ReadFile(file).c_str());
    if (!cal) return days;
    for (icalcomponent* ev = icalcomponent_get_first_component(cal, ICAL_VEVENT_COMPONENT); ev;
         ev = icalcomponent_get_next_component(cal, ICAL_VEVENT_COMPONENT)) {
      const icaltimetype t = icalcomponent_get_dtstart(ev);
      days.push_back(Iso(DayNumberFromCivil(t.year, t.month, t.day)));
    }
    icalcomponent_free(cal);
    return days;
  }

  TempDir dir;
  Latin1CodePage cp;
  EntryStore store;
};

TEST_F(NotesExportTest, RangesAndOutcomes) {
  struct Case {
    const char* first;
    const char* last;
    ExportStatus status;
    std::vector<std::string> days;
    int unreadable;
    const char* messagePart;
  };
  const Case cases[] = {
      {"2026-01-01", "2026-12-31", ExportStatus::Written, {"2026-01-05"}, 1, "已将 1 天的项目导出到"},
      {"2020-01-01", "2030-12-31", ExportStatus::Written, {"2025-12-31", "2026-01-05", "2028-02-02"}, 1, "有 1 天"},
      {"2026-01-05", "2026-01-05", ExportStatus::Written, {"2026-01-05"}, 0, "已将 1 天"},
      {"2027-01-01", "2027-12-31", ExportStatus::NoNotes, {}, 0, "没有项目"},
      {"2026-02-01", "2026-01-31", ExportStatus::BadRange, {}, 0, "结束日期"},
      {"1900-01-01", "2100-01-01", ExportStatus::BadRange, {}, 0, "一百年"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.first) + ".." + c.last);
    const auto file = dir.Path() / "out" / (std::string(c.first) + ".ics");
    std::filesystem::create_directories(file.parent_path());
    const ExportOutcome r = ExportNotesToFile(store, {Day(c.first), Day(c.last)}, file, 1773100800);
    EXPECT_EQ(r.status, c.status);
    EXPECT_EQ(r.unreadable, c.unreadable);
    EXPECT_NE(r.message.find(c.messagePart), std::string::npos) << r.message;
    EXPECT_EQ(std::filesystem::exists(file), c.status == ExportStatus::Written);
    if (c.status == ExportStatus::Written) {
      EXPECT_EQ(r.days, int(c.days.size()));
      EXPECT_EQ(ExportedDays(file), c.days);
    }
  }
}

TEST_F(NotesExportTest, ColourCodesBecomeCategoriesAndAFailedWriteKeepsNothingHalf) {
  const CollectedNotes got = CollectNotes(store, {Day("2026-01-05"), Day("2026-01-05")});
  ASSERT_EQ(got.notes.size(), 1u);
  EXPECT_EQ(got.notes[0].text, "开会\n第二行");
  EXPECT_EQ(got.notes[0].categories, (std::vector<std::string>{"红色 (假日)", "蓝色"}));

  const auto missingFolder = dir.Path() / "no such folder" / "x.ics";
  const ExportOutcome r = ExportNotesToFile(store, {Day("2026-01-01"), Day("2026-12-31")}, missingFolder, 0);
  EXPECT_EQ(r.status, ExportStatus::WriteFailed);
  EXPECT_NE(r.message.find("无法写入文件"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(missingFolder.parent_path()));
}

TEST(NotesExportDefaults, ThisYearAndTheSectionAsFileName) {
  const DayRange r = DefaultExportRange(Day("2026-07-15"));
  EXPECT_EQ(Iso(r.first), "2026-01-01");
  EXPECT_EQ(Iso(r.last), "2026-12-31");
  EXPECT_EQ(DefaultExportFileName("家庭"), "家庭.ics");
  EXPECT_EQ(DefaultExportFileName("a/b:c?"), "a_b_c_.ics");
  EXPECT_EQ(DefaultExportFileName(""), "默认.ics");
}

}  // namespace
}  // namespace ov::test
