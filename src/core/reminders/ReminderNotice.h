#pragma once
// The texts of a reminder notification: title "HH:MM" and the day, body the line's text
// (with the section's name when it is not the active one). Reminders that came due while
// nobody watched are gathered in one notification.
#include <optional>
#include <string>

#include "core/reminders/ReminderSchedule.h"

namespace ov {

inline constexpr char kMissedRemindersTitle[] = "错过的提醒: %d 个";
inline constexpr char kFiredMarksCorruptTitle[] = "提醒记录已损坏";
inline constexpr char kFiredMarksCorruptBody[] =
    "已提醒过的记录无法读取，已重新建立。没有丢失任何提醒，但最近的提醒可能再次出现。";
// Shell limits, in characters, without the terminating zero.
inline constexpr size_t kNoticeTitleChars = 63;
inline constexpr size_t kNoticeBodyChars = 255;

struct ReminderNotice {
  std::string title;
  std::string body;
  int32_t day = 0;  // the day a click on it opens
};

// "09:30 12月9日"
std::string ReminderWhenText(const ReminderItem& item);
// The line's text, and the section's name after it when it is not the active one.
std::string ReminderLineText(const ReminderItem& item, const std::string& activeSection);

// nullopt when the check has nothing to show.
std::optional<ReminderNotice> NoticeFor(const ReminderCheck& check, const std::string& activeSection);

// The first `chars` characters (code points) of UTF-8 text, "…" ending a shortened one.
std::string LimitChars(const std::string& text, size_t chars);

}  // namespace ov
