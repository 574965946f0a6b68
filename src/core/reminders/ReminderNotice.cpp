#include "core/reminders/ReminderNotice.h"

#include <cmath>

#include "core/calendar/DateTime.h"
#include "core/util/Text.h"

namespace ov {

std::string ReminderWhenText(const ReminderItem& item) {
  const int minutes = static_cast<int>(std::lround(TimeOf(item.start) * 1440)) % 1440;
  const CivilDate c = CivilFromDayNumber(item.day);
  return Format("%02d:%02d %d月%d日", minutes / 60, minutes % 60, c.month, c.day);
}

std::string ReminderLineText(const ReminderItem& item, const std::string& activeSection) {
  if (item.origin.empty() || item.origin == activeSection) return item.title;
  return item.title + "（" + item.origin + "）";
}

std::string LimitChars(const std::string& text, size_t chars) {
  if (chars == 0) return {};
  size_t count = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) continue;  // inside a sequence
    if (count == chars - 1) {
      // Room for one more: the rest fits exactly when this is its last character.
      size_t j = i + 1;
      while (j < text.size() && (static_cast<unsigned char>(text[j]) & 0xC0) == 0x80) ++j;
      if (j >= text.size()) return text;
      return text.substr(0, i) + "…";
    }
    ++count;
  }
  return text;
}

std::optional<ReminderNotice> NoticeFor(const ReminderCheck& check, const std::string& activeSection) {
  if (check.due.empty() && check.missed.empty()) return std::nullopt;
  ReminderNotice n;
  std::string body;
  auto addLine = [&](const ReminderItem& item, bool withWhen) {
    if (!body.empty()) body += "\n";
    body += withWhen ? ReminderWhenText(item) + " " + ReminderLineText(item, activeSection)
                     : ReminderLineText(item, activeSection);
  };
  if (!check.missed.empty()) {
    n.title = Format(kMissedRemindersTitle, static_cast<int>(check.missed.size()));
    n.day = check.missed.front().day;
    for (const auto& item : check.missed) addLine(item, true);
    for (const auto& item : check.due) addLine(item, true);
  } else {
    n.title = ReminderWhenText(check.due.front());
    n.day = check.due.front().day;
    for (const auto& item : check.due) addLine(item, check.due.size() > 1);
  }
  n.title = LimitChars(n.title, kNoticeTitleChars);
  n.body = LimitChars(body, kNoticeBodyChars);
  return n;
}

}  // namespace ov
