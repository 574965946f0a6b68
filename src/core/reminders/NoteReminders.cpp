#include "core/reminders/NoteReminders.h"

#include <system_error>

#include "core/calendar/DateTime.h"
#include "core/calendar/EntryStore.h"
#include "core/calendar/NoteFile.h"
#include "core/calendar/Sections.h"
#include "core/reminders/TimePrefix.h"
#include "core/util/FileIo.h"
#include "core/util/Paths.h"
#include "core/util/Text.h"

namespace ov {

namespace fs = std::filesystem;

std::string ReminderKey(const std::string& origin, int32_t day, int hour, int minute, const std::string& title) {
  // FNV-1a over the fields with separators no field holds.
  const std::string all = origin + '\x1f' + std::to_string(day) + '\x1f' + std::to_string(hour * 60 + minute) +
                          '\x1f' + title;
  uint64_t h = 1469598103934665603ull;
  for (unsigned char c : all) {
    h ^= c;
    h *= 1099511628211ull;
  }
  return Format("%016llx", static_cast<unsigned long long>(h));
}

void RemindersOfNote(const std::string& text, int32_t day, const std::string& section, std::vector<ReminderItem>& out) {
  for (const std::string& line : SplitLines(text)) {
    auto t = ParseTimePrefix(line);
    if (!t) continue;
    ReminderItem item;
    item.start = day + (t->hour * 60 + t->minute) / 1440.0;
    item.title = t->text;
    item.origin = section;
    item.day = day;
    item.key = ReminderKey(section, day, t->hour, t->minute, t->text);
    out.push_back(std::move(item));
  }
}

void NoteReminderSource::Collect(int32_t firstDay, int32_t lastDay, std::vector<ReminderItem>& out) {
  for (const std::string& section : ListSections(shell_, entries_)) {
    for (int32_t day = firstDay; day <= lastDay; ++day) {
      if (day < kMinDay || day > kMaxDay) continue;
      const CivilDate c = CivilFromDayNumber(day);
      const fs::path file = entries_ / PathFromUtf8(section) / "Notes" / PathFromUtf8(std::to_string(c.year)) /
                            PathFromUtf8(Format("Notes_%d-%.2d-%.2d.txt", c.year, c.month, c.day));
      std::error_code ec;
      if (!fs::is_regular_file(file, ec)) continue;
      // A note that cannot be read reminds of nothing this time; it is read again at the
      // next change.
      auto bytes = ReadFileBytes(file, kMaxNoteFileBytes);
      if (!bytes) continue;
      RemindersOfNote(DecodeNoteFile(*bytes, codePage_), day, section, out);
    }
  }
}

}  // namespace ov
