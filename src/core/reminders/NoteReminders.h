#pragma once
// Reminders from the notes: every line of a day's note, in every section, that begins
// with a time (TimePrefix.h).
#include <filesystem>

#include "core/reminders/Reminder.h"

namespace ov {

class ICodePage;
class IShellFileOps;

class NoteReminderSource final : public IReminderSource {
 public:
  // The shell lists the sections; both it and the code page must outlive the source.
  NoteReminderSource(std::filesystem::path entriesFolder, const IShellFileOps& shell, const ICodePage& codePage)
      : entries_(std::move(entriesFolder)), shell_(shell), codePage_(codePage) {}
  void Collect(int32_t firstDay, int32_t lastDay, std::vector<ReminderItem>& out) override;

 private:
  std::filesystem::path entries_;
  const IShellFileOps& shell_;
  const ICodePage& codePage_;
};

// The reminders of one note's text, for the day and section it belongs to.
void RemindersOfNote(const std::string& text, int32_t day, const std::string& section, std::vector<ReminderItem>& out);

}  // namespace ov
