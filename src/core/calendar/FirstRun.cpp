#include "core/calendar/FirstRun.h"

#include <system_error>

#include "core/calendar/ColorCodeEdit.h"
#include "core/calendar/EntryStore.h"
#include "core/platform/ShellFileOps.h"
#include "core/util/Paths.h"

namespace ov {

namespace fs = std::filesystem;

void RunFirstRunSetup(EntryStore& store, double today) {
  std::error_code ec;
  for (const char* name : kFirstRunSections) fs::create_directories(store.EntriesFolder() / PathFromUtf8(name), ec);
  // An unreadable note is not replaced by the welcome text.
  auto entry = store.TryReadDayEntry(today);
  if (entry && entry->Text.empty()) store.WriteNoteText(kWelcomeEntryText, today);
}

bool MigrateLegacyNotes(IShellFileOps& shell, EntryStore& store, const fs::path& programFolder) {
  const fs::path legacy = programFolder / "Notes";
  std::error_code ec;
  if (!fs::is_directory(legacy, ec)) return false;
  // The old folder held the year folders directly; a section keeps them under "Notes",
  // so that is where they go for the notes to show in the section "Default".
  shell.CopyFolder(legacy, store.EntriesFolder() / kLegacySectionName / "Notes");
  ImportLegacyHolidays(legacy, store);
  return true;
}

}  // namespace ov
