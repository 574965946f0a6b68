#include "core/calendar/Repeat.h"

#include <gtest/gtest.h>

#include <vector>

#include "CalendarTestSupport.h"
#include "core/calendar/ColorCodeEdit.h"

namespace ov {
namespace {

namespace fs = std::filesystem;

using test::D;

RepeatChoices After(RepeatKind kind, int k, RepeatUnit unit, int n = 14) {
  RepeatChoices c;
  c.kind = kind;
  c.everyDays = n;
  c.end = RepeatEnd::After;
  c.afterCount = k;
  c.afterUnit = unit;
  return c;
}

struct EndCase {
  const char* name;
  RepeatChoices choices;
  double start;
  double end;
};

class RepeatEndDateTest : public ::testing::TestWithParam<EndCase> {};

TEST_P(RepeatEndDateTest, FollowsTheUnitTable) {
  const EndCase& c = GetParam();
  EXPECT_EQ(RepeatEndDate(c.start + 0.6, c.choices), c.end)
      << c.name << ": " << DecodeDate(RepeatEndDate(c.start, c.choices)).month << "-"
      << DecodeDate(RepeatEndDate(c.start, c.choices)).day;
}

const double S = D(2023, 1, 31);
INSTANTIATE_TEST_SUITE_P(
    Units, RepeatEndDateTest,
    ::testing::Values(
        EndCase{"days", After(RepeatKind::Day, 1, RepeatUnit::Days), S, S + 1},
        EndCase{"days k=10", After(RepeatKind::Week, 10, RepeatUnit::Days), S, S + 10},
        EndCase{"weeks", After(RepeatKind::Week, 3, RepeatUnit::Weeks), S, S + 20},
        EndCase{"months", After(RepeatKind::Day, 1, RepeatUnit::Months), S, D(2023, 2, 27)},
        EndCase{"months k=3", After(RepeatKind::Month, 3, RepeatUnit::Months), S, D(2023, 4, 29)},
        EndCase{"years", After(RepeatKind::Year, 2, RepeatUnit::Years), D(2024, 2, 29), D(2026, 2, 27)},
        EndCase{"times/day", After(RepeatKind::Day, 5, RepeatUnit::Times), S, S + 4},
        EndCase{"times/week", After(RepeatKind::Week, 3, RepeatUnit::Times), S, S + 20},
        EndCase{"times/month", After(RepeatKind::Month, 3, RepeatUnit::Times), S, D(2023, 4, 29)},
        EndCase{"times/year", After(RepeatKind::Year, 2, RepeatUnit::Times), S, D(2025, 1, 30)},
        EndCase{"times/n days", After(RepeatKind::DayCount, 4, RepeatUnit::Times, 10), S, S + 39},
        EndCase{"times k=1 is the start", After(RepeatKind::Day, 1, RepeatUnit::Times), S, S},
        EndCase{"k above 356 is 356", After(RepeatKind::Day, 100000, RepeatUnit::Days), S, S + 356},
        EndCase{"k below 1 is 1", After(RepeatKind::Day, -7, RepeatUnit::Weeks), S, S + 6},
        EndCase{"n of 0 is 1", After(RepeatKind::DayCount, 3, RepeatUnit::Times, 0), S, S + 2},
        EndCase{"range end", After(RepeatKind::Year, 356, RepeatUnit::Years), D(9990, 6, 1), kMaxDay}));

TEST(RepeatEndDate, AtADateAndNeverBeforeTheStart) {
  RepeatChoices c;
  c.end = RepeatEnd::AtDate;
  c.endDate = D(2023, 3, 1) + 0.9;
  EXPECT_EQ(RepeatEndDate(S, c), D(2023, 3, 1));
  c.endDate = S - 10;
  EXPECT_EQ(RepeatEndDate(S, c), S);
  c.endDate = 1e300;
  EXPECT_EQ(RepeatEndDate(S, c), kMaxDay);
}

TEST(RepeatChoices, KindsSelectTheirUnit) {
  EXPECT_EQ(UnitForKind(RepeatKind::Day, RepeatUnit::Times), RepeatUnit::Days);
  EXPECT_EQ(UnitForKind(RepeatKind::Week, RepeatUnit::Times), RepeatUnit::Weeks);
  EXPECT_EQ(UnitForKind(RepeatKind::Month, RepeatUnit::Days), RepeatUnit::Months);
  EXPECT_EQ(UnitForKind(RepeatKind::Year, RepeatUnit::Days), RepeatUnit::Years);
  EXPECT_EQ(UnitForKind(RepeatKind::DayCount, RepeatUnit::Times), RepeatUnit::Times);
  RepeatChoices defaults;
  EXPECT_EQ(defaults.everyDays, 14);
  EXPECT_EQ(defaults.afterCount, 1);
  EXPECT_EQ(defaults.target, RepeatTarget::Merge);
}

std::vector<double> Days(const RepeatSeries& s) {
  std::vector<double> v;
  ForEachSeriesDay(s, [&](double d) { v.push_back(d); });
  return v;
}

TEST(RepeatSeries, WalksEachKind) {
  EXPECT_EQ(Days(ConfirmRepeat(S, After(RepeatKind::Week, 3, RepeatUnit::Weeks))),
            (std::vector<double>{S, S + 7, S + 14}));
  EXPECT_EQ(Days(ConfirmRepeat(S, After(RepeatKind::Month, 3, RepeatUnit::Times))),
            (std::vector<double>{S, D(2023, 2, 28), D(2023, 3, 28), D(2023, 4, 28)}));
  EXPECT_EQ(Days(ConfirmRepeat(D(2024, 2, 29), After(RepeatKind::Year, 5, RepeatUnit::Times))),
            (std::vector<double>{D(2024, 2, 29), D(2025, 2, 28), D(2026, 2, 28), D(2027, 2, 28), D(2028, 2, 28)}));
  EXPECT_EQ(Days(ConfirmRepeat(S, After(RepeatKind::DayCount, 3, RepeatUnit::Times, 100))),
            (std::vector<double>{S, S + 100, S + 200}));
  // The end of the date range ends every walk.
  RepeatSeries last{double(kMaxDay) - 3, 1e300, RepeatKind::Month, 1};  // no month after it
  EXPECT_EQ(Days(last), (std::vector<double>{double(kMaxDay) - 3}));
  RepeatSeries daily{double(kMaxDay) - 1, double(kMaxDay), RepeatKind::Day, 1};
  EXPECT_EQ(Days(daily).size(), 2u);
}

// The same lunar month and day each lunar year (dates checked against python3-lunardate).
TEST(RepeatSeries, LunarYears) {
  EXPECT_EQ(Days(ConfirmRepeat(D(2025, 1, 29), After(RepeatKind::LunarYear, 3, RepeatUnit::Times))),
            (std::vector<double>{D(2025, 1, 29), D(2026, 2, 17), D(2027, 2, 6)}));
  // 腊月三十 of 2023 falls on 腊月廿九 while the 12th month has 29 days, and on 三十 again
  // in 2029.
  EXPECT_EQ(Days(ConfirmRepeat(D(2024, 2, 9), After(RepeatKind::LunarYear, 7, RepeatUnit::Times))),
            (std::vector<double>{D(2024, 2, 9), D(2025, 1, 28), D(2026, 2, 16), D(2027, 2, 5), D(2028, 1, 25),
                                 D(2029, 2, 12), D(2030, 2, 2)}));
  // 闰二月初一 of 2023 falls on 二月初一 in the years without a leap 2nd month; 闰六月 of 2025
  // likewise on 六月.
  EXPECT_EQ(Days(ConfirmRepeat(D(2023, 3, 22), After(RepeatKind::LunarYear, 3, RepeatUnit::Times))),
            (std::vector<double>{D(2023, 3, 22), D(2024, 3, 10), D(2025, 2, 28)}));
  EXPECT_EQ(Days(ConfirmRepeat(D(2025, 7, 25), After(RepeatKind::LunarYear, 2, RepeatUnit::Times))),
            (std::vector<double>{D(2025, 7, 25), D(2026, 7, 14)}));
  EXPECT_EQ(UnitForKind(RepeatKind::LunarYear, RepeatUnit::Days), RepeatUnit::Years);
  // Years are whole Gregorian years from the start; outside the lunar range only the start.
  EXPECT_EQ(Days(ConfirmRepeat(D(2025, 1, 29), After(RepeatKind::LunarYear, 2, RepeatUnit::Years))),
            (std::vector<double>{D(2025, 1, 29), D(2026, 2, 17)}));
  EXPECT_EQ(Days(ConfirmRepeat(D(2100, 6, 1), After(RepeatKind::LunarYear, 5, RepeatUnit::Times))),
            (std::vector<double>{D(2100, 6, 1)}));
  EXPECT_EQ(Days(ConfirmRepeat(D(1850, 6, 1), After(RepeatKind::LunarYear, 5, RepeatUnit::Years))),
            (std::vector<double>{D(1850, 6, 1)}));
}

class RepeatEntryTest : public ::testing::Test {
 protected:
  test::StoreFixture f_;
  EntryStore& store_ = f_.Store();
  const double start_ = D(2024, 12, 2);
};

TEST_F(RepeatEntryTest, DefaultsCopyToTheNextDayOnly) {
  RepeatSeries s = ConfirmRepeat(start_, RepeatChoices{});
  RepeatOutcome o = RepeatEntryText(store_, s, "  hello\r\n", RepeatTarget::Merge, true);
  EXPECT_EQ(o.targets, 1);
  EXPECT_EQ(f_.NoteText(start_), "hello");
  EXPECT_EQ(f_.NoteText(start_ + 1), "hello");
  EXPECT_FALSE(fs::exists(store_.NoteFilePath(start_ + 2)));
  EXPECT_FALSE(fs::exists(store_.NoteFilePath(start_ - 1)));
}

TEST_F(RepeatEntryTest, WeeklyForThreeWeeks) {
  RepeatSeries s = ConfirmRepeat(start_, After(RepeatKind::Week, 3, RepeatUnit::Weeks));
  EXPECT_EQ(s.end, start_ + 20);
  RepeatEntryText(store_, s, "W", RepeatTarget::Merge, false);
  for (int d = 1; d <= 21; ++d)
    EXPECT_EQ(f_.NoteText(start_ + d), (d == 7 || d == 14) ? "W" : "") << d;
}

TEST_F(RepeatEntryTest, MonthlyFromJanuary31) {
  const double jan31 = D(2023, 1, 31);
  RepeatSeries s = ConfirmRepeat(jan31, After(RepeatKind::Month, 3, RepeatUnit::Times));
  RepeatOutcome o = RepeatEntryText(store_, s, "M", RepeatTarget::Replace, false);
  EXPECT_EQ(o.targets, 3);
  EXPECT_EQ(o.written, 3);
  for (double d : {D(2023, 2, 28), D(2023, 3, 28), D(2023, 4, 28)}) EXPECT_EQ(f_.NoteText(d), "M");
  EXPECT_EQ(f_.NoteText(D(2023, 4, 29)), "");
  EXPECT_EQ(f_.NoteText(D(2023, 2, 27)), "");
}

TEST_F(RepeatEntryTest, EndBeforeTheStartCopiesNothing) {
  RepeatChoices c = After(RepeatKind::DayCount, 1, RepeatUnit::Days);
  c.end = RepeatEnd::AtDate;
  c.endDate = start_ - 30;
  RepeatOutcome o = RepeatEntryText(store_, ConfirmRepeat(start_, c), "x", RepeatTarget::Merge, true);
  EXPECT_EQ(o.targets, 0);
  EXPECT_EQ(f_.NoteText(start_), "x");
  EXPECT_EQ(f_.NoteText(start_ + 14), "");
}

TEST_F(RepeatEntryTest, MergeReplaceAndSkip) {
  RepeatSeries s = ConfirmRepeat(start_, After(RepeatKind::Day, 2, RepeatUnit::Days));  // 2 targets
  store_.WriteNoteText("A", start_ + 1);
  RepeatEntryText(store_, s, "B", RepeatTarget::Merge, false);
  EXPECT_EQ(f_.NoteText(start_ + 1), "A\nB");
  EXPECT_EQ(f_.NoteText(start_ + 2), "B");

  RepeatEntryText(store_, s, "C", RepeatTarget::Skip, false);
  EXPECT_EQ(f_.NoteText(start_ + 1), "A\nB");
  store_.WriteNoteText("", start_ + 2);
  RepeatEntryText(store_, s, "C", RepeatTarget::Skip, false);
  EXPECT_EQ(f_.NoteText(start_ + 2), "C");

  RepeatEntryText(store_, s, "D", RepeatTarget::Replace, false);
  EXPECT_EQ(f_.NoteText(start_ + 1), "D");
  EXPECT_EQ(f_.NoteText(start_ + 2), "D");
}

TEST_F(RepeatEntryTest, UnreadableNotesAreNeverWrittenOver) {
  RepeatSeries s = ConfirmRepeat(start_, After(RepeatKind::Day, 2, RepeatUnit::Days));
  const fs::path target = store_.NoteFilePath(start_ + 1);
  fs::create_directories(target);  // a note file that cannot be read
  for (RepeatTarget t : {RepeatTarget::Merge, RepeatTarget::Skip, RepeatTarget::Replace}) {
    fs::remove(store_.NoteFilePath(start_ + 2));
    RepeatOutcome o = RepeatEntryText(store_, s, "x", t, false);
    EXPECT_EQ(o.targets, 2) << int(t);
    EXPECT_EQ(o.written, 1) << int(t);  // only the readable day after it
    EXPECT_TRUE(fs::is_directory(target)) << int(t);
  }
  // An unreadable start day keeps its file; the series still gets its colour code.
  fs::remove_all(target);
  const fs::path source = store_.NoteFilePath(start_);
  fs::remove(source);
  fs::create_directories(source);
  ApplyColorCode(store_, 2, true, nullptr, start_);
  RepeatEntryText(store_, s, "", RepeatTarget::Replace, true);
  EXPECT_TRUE(fs::is_directory(source));
  EXPECT_EQ(f_.CodeOf(start_ + 2), 4u);
}

TEST_F(RepeatEntryTest, ColourRepeatCopiesTheStartDaysCodeOrClearsIt) {
  RepeatSeries s = ConfirmRepeat(start_, After(RepeatKind::Day, 3, RepeatUnit::Days));
  ApplyColorCode(store_, 0, true, nullptr, start_);  // red source
  f_.SetCodeInFile(start_ + 2, 8);
  RepeatEntryText(store_, s, "r", RepeatTarget::Merge, true);
  for (int d = 0; d <= 3; ++d) EXPECT_EQ(f_.CodeOf(start_ + d), 1u) << d;
  EXPECT_EQ(f_.CodeOf(start_ + 4), 0u);

  // Without the option, codes stay as they are.
  ApplyColorCode(store_, -1, false, nullptr, start_);
  RepeatEntryText(store_, s, "r", RepeatTarget::Merge, false);
  EXPECT_EQ(f_.CodeOf(start_ + 1), 1u);
  // With it, a source without a code clears the targets.
  RepeatEntryText(store_, s, "r", RepeatTarget::Merge, true);
  for (int d = 1; d <= 3; ++d) EXPECT_EQ(f_.CodeOf(start_ + d), 0u) << d;
}

TEST_F(RepeatEntryTest, YearlySeriesWritesEveryYearsCodesFile) {
  ApplyColorCode(store_, 1, true, nullptr, start_);
  RepeatSeries s = ConfirmRepeat(start_, After(RepeatKind::Year, 3, RepeatUnit::Times));
  RepeatEntryText(store_, s, "y", RepeatTarget::Merge, true);
  EXPECT_EQ(store_.Codes().year, 2024);  // the start year is cached again
  EXPECT_EQ(store_.Codes().codes.values[336], 2u);
  for (int y : {2025, 2026}) {
    EXPECT_TRUE(fs::exists(CodesFilePath(f_.Entries(), y))) << y;
    EXPECT_EQ(f_.CodeOf(D(y, 12, 2)), 2u) << y;
    EXPECT_EQ(f_.NoteText(D(y, 12, 2)), "y");
  }
  EXPECT_FALSE(fs::exists(CodesFilePath(f_.Entries(), 2027)));
}

TEST(RepeatDialogPosition, BesideThePopup) {
  const Size dlg{300, 200};
  // Right of the pop-up, bottom-aligned.
  EXPECT_EQ(RepeatDialogPosition({100, 300, 250, 400}, dlg, 1280, 280), (Point{250, 200}));
  // Would pass the right edge: moves to the left side.
  EXPECT_EQ(RepeatDialogPosition({1000, 300, 1100, 400}, dlg, 1280, 280), (Point{700, 200}));
  // Would start above the desktop: at the pop-up window's top.
  EXPECT_EQ(RepeatDialogPosition({100, 0, 250, 100}, dlg, 1280, -20), (Point{250, -20}));
  // A pop-up right edge left of the desktop: from the right desktop edge.
  EXPECT_EQ(RepeatDialogPosition({-500, 300, -10, 400}, dlg, 1280, 280), (Point{980, 200}));
}

}  // namespace
}  // namespace ov
