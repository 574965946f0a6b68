#include <gtest/gtest.h>

#include <algorithm>

#include "core/calendar/DateTime.h"
#include "core/calendar/EntryStore.h"
#include "core/calendar/IsoDateTime.h"
#include "core/platform/CodePage.h"
#include "core/platform/ShellFileOps.h"
#include "core/reminders/NoteReminders.h"
#include "core/reminders/ReminderNotice.h"
#include "core/reminders/ReminderSchedule.h"
#include "core/reminders/TimePrefix.h"
#include "core/util/Text.h"
#include "support/TempDir.h"

namespace ov {
namespace {

using test::TempDir;

// --- which lines remind ---

struct PrefixCase {
  const char* line;
  int hour;  // -1: not a reminder
  int minute;
  const char* text;
};

TEST(TimePrefix, AcceptsAndRefuses) {
  const PrefixCase cases[] = {
      {"9:30 开会", 9, 30, "开会"},
      {"09:30 开会", 9, 30, "开会"},
      {"9：30 牙医", 9, 30, "牙医"},
      {"  \t15:00 牙医", 15, 0, "牙医"},
      {"9:30-10:00 例会", 9, 30, "例会"},
      {"9:30 ~ 10:00 例会", 9, 30, "例会"},
      {"9:30～10:00 例会", 9, 30, "例会"},
      {"0:00 午夜", 0, 0, "午夜"},
      {"23:59 x", 23, 59, "x"},
      {"9:30开会", 9, 30, "开会"},
      {"9:30 - 讨论", 9, 30, "- 讨论"},  // no end time: the sign is text
      {"2026-12-09 开会", -1, 0, ""},
      {"1:2 x", -1, 0, ""},
      {"24:00 x", -1, 0, ""},
      {"9:60 x", -1, 0, ""},
      {"123:30 x", -1, 0, ""},
      {"9:301 x", -1, 0, ""},
      {"9:30:15 x", -1, 0, ""},
      {"9.30 x", -1, 0, ""},
      {"9:30", -1, 0, ""},  // nothing to remind of
      {"9:30-10:00", -1, 0, ""},
      {"开会 9:30", -1, 0, ""},
      {"", -1, 0, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    auto t = ParseTimePrefix(c.line);
    if (c.hour < 0) {
      EXPECT_FALSE(t.has_value());
      continue;
    }
    ASSERT_TRUE(t.has_value());
    EXPECT_EQ(c.hour, t->hour);
    EXPECT_EQ(c.minute, t->minute);
    EXPECT_EQ(c.text, t->text);
  }
}

// --- the schedule ---

double At(int day, int h, int m, int s = 0) { return day + ((h * 60 + m) * 60 + s) / 86400.0; }

ReminderItem Item(int day, int h, int m, const std::string& text, const std::string& section = "默认") {
  std::vector<ReminderItem> out;
  RemindersOfNote(Format("%d:%02d %s", h, m, text.c_str()), day, section, out);
  EXPECT_EQ(1u, out.size());
  return out.empty() ? ReminderItem{} : out[0];
}

std::vector<std::string> Titles(const std::vector<ReminderItem>& items) {
  std::vector<std::string> t;
  for (const auto& i : items) t.push_back(i.title);
  return t;
}

class ScheduleTest : public ::testing::Test {
 protected:
  std::filesystem::path File() const { return dir_.Path() / kFiredRemindersFile; }
  TempDir dir_;
  ReminderSchedule schedule_{File()};
  const int day_ = 46000;
};

TEST_F(ScheduleTest, FiresOnTimeOnceAndWaitsForTheNext) {
  std::vector<ReminderItem> items = {Item(day_, 9, 30, "开会"), Item(day_, 11, 0, "午餐")};
  auto c = schedule_.Evaluate(At(day_, 9, 24, 50), items, 5, true);
  EXPECT_TRUE(c.due.empty());
  EXPECT_TRUE(c.missed.empty());
  ASSERT_TRUE(c.next);
  EXPECT_NEAR(At(day_, 9, 25), *c.next, 1e-9);

  c = schedule_.Evaluate(At(day_, 9, 25), items, 5, false);
  EXPECT_EQ(std::vector<std::string>{"开会"}, Titles(c.due));
  EXPECT_NEAR(At(day_, 10, 55), *c.next, 1e-9);
  // Asked again (a note changed, the clock was set back): it does not fire again.
  EXPECT_TRUE(schedule_.Evaluate(At(day_, 9, 26), items, 5, false).due.empty());
  EXPECT_TRUE(schedule_.Evaluate(At(day_, 9, 0), items, 5, false).due.empty());
}

TEST_F(ScheduleTest, SchedulesAcrossMidnight) {
  // 00:02 tomorrow with 5 minutes' lead is due at 23:57 today.
  std::vector<ReminderItem> items = {Item(day_ + 1, 0, 2, "夜班")};
  auto c = schedule_.Evaluate(At(day_, 23, 0), items, 5, true);
  ASSERT_TRUE(c.next);
  EXPECT_NEAR(At(day_, 23, 57), *c.next, 1e-9);
  c = schedule_.Evaluate(At(day_, 23, 57, 1), items, 5, false);
  EXPECT_EQ(std::vector<std::string>{"夜班"}, Titles(c.due));
  EXPECT_FALSE(c.next);
}

TEST_F(ScheduleTest, ClockSetForwardGathersWhatWasSkipped) {
  std::vector<ReminderItem> items = {Item(day_, 10, 0, "a"), Item(day_, 11, 0, "b"), Item(day_, 15, 0, "c")};
  schedule_.Evaluate(At(day_, 9, 0), items, 0, true);
  // The clock jumps to 12:00: a and b came due unwatched.
  auto c = schedule_.Evaluate(At(day_, 12, 0), items, 0, false);
  EXPECT_TRUE(c.due.empty());
  EXPECT_EQ((std::vector<std::string>{"a", "b"}), Titles(c.missed));
  EXPECT_NEAR(At(day_, 15, 0), *c.next, 1e-9);
  // Set back to 9:00: nothing repeats, c still waits.
  c = schedule_.Evaluate(At(day_, 9, 0), items, 0, false);
  EXPECT_TRUE(c.due.empty() && c.missed.empty());
  EXPECT_NEAR(At(day_, 15, 0), *c.next, 1e-9);
}

TEST_F(ScheduleTest, MissedAfterAGap) {
  struct Case {
    double gapHours;
    size_t missed;
  } cases[] = {{3, 1}, {13, 0}};
  for (const auto& k : cases) {
    SCOPED_TRACE(k.gapHours);
    ReminderSchedule fresh(dir_.Path() / "none.txt");
    std::vector<ReminderItem> items = {Item(day_, 9, 0, "早会")};
    // The program starts (or the PC wakes) this long after the reminder was due.
    const double now = ReminderSchedule::DueTime(items[0], 5) + k.gapHours / 24.0;
    auto c = fresh.Evaluate(now, items, 5, true);
    EXPECT_TRUE(c.due.empty());
    EXPECT_EQ(k.missed, c.missed.size());
    auto n = NoticeFor(c, "默认");
    EXPECT_EQ(k.missed > 0, n.has_value());
    if (n) {
      EXPECT_EQ("错过的提醒: 1 个", n->title);
    }
    // Shown or dropped, it is done with.
    EXPECT_TRUE(fresh.Evaluate(now + 0.01, items, 5, true).missed.empty());
  }
}

TEST_F(ScheduleTest, EditedLineIsANewReminder) {
  std::vector<ReminderItem> items = {Item(day_, 9, 30, "开会")};
  schedule_.Evaluate(At(day_, 9, 0), items, 5, true);
  ASSERT_EQ(1u, schedule_.Evaluate(At(day_, 9, 25), items, 5, false).due.size());
  // Edited before the meeting: reminds again at once, as the new text.
  items = {Item(day_, 9, 30, "开会 B楼")};
  auto c = schedule_.Evaluate(At(day_, 9, 27), items, 5, false);
  EXPECT_EQ(std::vector<std::string>{"开会 B楼"}, Titles(c.due));
  // Edited after the meeting began: nothing to remind of any more.
  items = {Item(day_, 9, 30, "开会 B楼 已结束")};
  c = schedule_.Evaluate(At(day_, 9, 40), items, 5, false);
  EXPECT_TRUE(c.due.empty() && c.missed.empty());
  // Moved to a later time: waits for it.
  items = {Item(day_, 14, 0, "开会 B楼")};
  c = schedule_.Evaluate(At(day_, 9, 41), items, 5, false);
  EXPECT_NEAR(At(day_, 13, 55), *c.next, 1e-9);
  // Deleted: nothing left to wait for.
  EXPECT_FALSE(schedule_.Evaluate(At(day_, 9, 42), {}, 5, false).next);
}

TEST_F(ScheduleTest, PauseHoldsRemindersAndShowsThemAsMissedAfterwards) {
  std::vector<ReminderItem> items = {Item(day_, 9, 30, "开会")};
  schedule_.Evaluate(At(day_, 9, 0), items, 5, true);
  schedule_.PauseUntil(At(day_, 10, 0));
  auto c = schedule_.Evaluate(At(day_, 9, 25), items, 5, false);
  EXPECT_TRUE(c.due.empty());
  EXPECT_NEAR(At(day_, 10, 0), *c.next, 1e-9);
  c = schedule_.Evaluate(At(day_, 10, 0), items, 5, false);
  EXPECT_EQ(std::vector<std::string>{"开会"}, Titles(c.missed));
}

TEST_F(ScheduleTest, MarksSurviveARestartAndACorruptFileIsRebuilt) {
  std::vector<ReminderItem> items = {Item(day_, 9, 30, "开会")};
  EXPECT_EQ(MarksLoad::Missing, schedule_.Load());
  schedule_.Evaluate(At(day_, 9, 0), items, 5, true);
  ASSERT_EQ(1u, schedule_.Evaluate(At(day_, 9, 25), items, 5, false).due.size());
  ASSERT_TRUE(schedule_.Save());

  ReminderSchedule restarted(File());
  EXPECT_EQ(MarksLoad::Loaded, restarted.Load());
  auto c = restarted.Evaluate(At(day_, 9, 26), items, 5, true);
  EXPECT_TRUE(c.due.empty() && c.missed.empty());
  const FiredMark mark = restarted.Marks().begin()->second;
  EXPECT_NEAR(At(day_, 9, 25), mark.due, 1e-8);
  EXPECT_NEAR(At(day_, 9, 25), mark.shown, 1e-8);

  for (const char* bytes : {"", "garbage\r\n", "Orvinta fired reminders 1\r\nzz 1 2\r\n"}) {
    SCOPED_TRACE(bytes);
    test::WriteFile(File(), bytes);
    ReminderSchedule broken(File());
    EXPECT_EQ(MarksLoad::Corrupt, broken.Load());
    // Rebuilt on the next save, and read without complaint afterwards.
    broken.Evaluate(At(day_, 9, 26), items, 5, true);
    ASSERT_TRUE(broken.Save());
    ReminderSchedule again(File());
    EXPECT_EQ(MarksLoad::Loaded, again.Load());
  }
}

// --- what the notification says ---

TEST(ReminderNotice, TitleBodyAndSection) {
  const int day = static_cast<int>(DayNumber(EncodeDate(2026, 12, 9)));
  ReminderCheck one;
  one.due = {Item(day, 9, 30, "开会")};
  auto n = NoticeFor(one, "默认");
  ASSERT_TRUE(n);
  EXPECT_EQ("09:30 12月9日", n->title);
  EXPECT_EQ("开会", n->body);
  EXPECT_EQ(day, n->day);

  ReminderCheck other;
  other.due = {Item(day, 15, 0, "牙医", "家庭")};
  EXPECT_EQ("牙医（家庭）", NoticeFor(other, "默认")->body);

  ReminderCheck many;
  many.missed = {Item(day, 8, 0, "a"), Item(day, 9, 0, "b"), Item(day, 9, 5, "c")};
  n = NoticeFor(many, "默认");
  EXPECT_EQ("错过的提醒: 3 个", n->title);
  EXPECT_EQ("08:00 12月9日 a\n09:00 12月9日 b\n09:05 12月9日 c", n->body);

  EXPECT_FALSE(NoticeFor(ReminderCheck{}, "默认"));
  EXPECT_EQ("一二…", LimitChars("一二三四", 3));
  EXPECT_EQ("一二三", LimitChars("一二三", 3));
}

// --- the notes as a source ---

TEST(NoteReminderSource, ReadsEverySectionOfTheDays) {
  TempDir dir;
  const auto entries = dir.Path() / "Entries";
  Latin1CodePage codePage;
  EntryStore store(entries, "默认", codePage);
  const double today = EncodeDate(2026, 12, 9);
  store.WriteNoteText("09:30 开会\n不是时间\n2026-12-09 也不是", today);
  store.WriteDayEntry(TDayEntry{"15:00 牙医"}, today, "家庭");
  store.WriteDayEntry(TDayEntry{"08:00 明天"}, today + 1, "家庭");
  store.WriteNoteText("08:00 太远", today + 5);

  SimpleShellFileOps shell;
  NoteReminderSource source(entries, shell, codePage);
  std::vector<ReminderItem> items;
  source.Collect(DayNumber(today), DayNumber(today) + 1, items);
  std::vector<std::string> got;
  for (const auto& i : items) got.push_back(i.origin + "|" + FormatIsoDateTime(i.start) + "|" + i.title);
  std::sort(got.begin(), got.end());
  EXPECT_EQ((std::vector<std::string>{"家庭|2026-12-09T15:00:00.000|牙医", "家庭|2026-12-10T08:00:00.000|明天",
                                      "默认|2026-12-09T09:30:00.000|开会"}),
            got);
}

TEST(IsoDateTime, RoundTripsAndRefusesMalformedText) {
  const double t = EncodeDateTime(2026, 12, 9, 9, 24, 50, 123);
  EXPECT_EQ("2026-12-09T09:24:50.123", FormatIsoDateTime(t));
  EXPECT_NEAR(t, *ParseIsoDateTime("2026-12-09T09:24:50.123"), 1e-9);
  EXPECT_NEAR(EncodeDateTime(2026, 12, 9, 9, 24, 50), *ParseIsoDateTime("2026-12-09T09:24:50"), 1e-9);
  for (const char* bad : {"", "1", "2026-02-30T00:00:00", "2026-12-09 09:24:50", "2026-12-09T24:00:00",
                          "2026-12-09T09:24:50.1"})
    EXPECT_FALSE(ParseIsoDateTime(bad)) << bad;
}

}  // namespace
}  // namespace ov
