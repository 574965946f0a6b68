#pragma once
// The entry store: one note file per day and section, in
//   <entries folder>/<section>/Notes/<year>/Notes_<year>-<mm>-<dd>.txt
// and the day's colour-code mask from the year's codes file (one year cached). The
// program owns one store for the whole run; tests make their own.
//
// Dates outside 1 January 0001 .. 31 December 9999 (see DateTime.h) have no note file:
// they read as empty entries and are never written.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "core/calendar/ColorCodes.h"

namespace ov {

class ICodePage;

// The section that cannot be renamed or deleted, and the fallback for an unusable one.
inline constexpr char kDefaultSectionName[] = "默认";

// One day as the pop-up and the renderer see it.
struct TDayEntry {
  std::string Text;          // UTF-8, lines separated by LF, no leading/trailing white space
  bool Modified = false;     // false after reading; the pop-up sets it when edited
  uint32_t ColorCodes = 0;   // the day's colour-code mask
};

// Note files larger than this are not read (the renderer reads hundreds per build).
inline constexpr size_t kMaxNoteFileBytes = size_t(64) << 20;

class EntryStore {
 public:
  // entriesFolder: DataFolder/Entries. currentSection: the setting SubEntryName.
  // The code page must outlive the store.
  EntryStore(std::filesystem::path entriesFolder, std::string currentSection, const ICodePage& codePage);

  const std::filesystem::path& EntriesFolder() const { return entriesFolder_; }
  // The notes are read from and written to another entries folder from now on.
  void SetEntriesFolder(std::filesystem::path folder) {
    entriesFolder_ = std::move(folder);
    cache_ = CodesCache();
  }
  const ICodePage& CodePage() const { return codePage_; }

  // The active section's name. Building a note path first replaces an empty name, or one
  // that cannot name a single folder inside the entries folder (path separators, the
  // characters \ : / * ? " < > |, control characters, only dots and spaces), by
  // kDefaultSectionName, and that value stays. Copy it to SubEntryName before saving.
  const std::string& CurrentSection() const { return currentSection_; }
  // Makes another section active. When the name differs, the handler below runs first,
  // while the old section is still the active one.
  void SetCurrentSection(std::string name);
  // Told just before the active section changes: work that belongs to the old section
  // (an open editor's text) is finished there. One handler; an empty one removes it.
  void SetSectionChangingHandler(std::function<void()> handler) { sectionChanging_ = std::move(handler); }
  std::filesystem::path CurrentSectionFolder();

  // The note file of the whole day of `date` in the active section.
  std::filesystem::path NoteFilePath(double date);
  // The same in a named section, whichever is active now.
  std::filesystem::path NoteFilePath(double date, const std::string& section);

  // Tells whether a note file is only an online placeholder of a sync service, its
  // content not downloaded yet. Such a note reads as "cannot be read" (nullopt below),
  // never as empty, so an editor does not replace it. Empty: every file is available.
  void SetNotYetAvailableCheck(std::function<bool(const std::filesystem::path&)> check) {
    notYetAvailable_ = std::move(check);
  }

  // Text (empty when there is no file or no marker) and colour codes of a day.
  // A file that exists but cannot be read (or is larger than kMaxNoteFileBytes) reads as
  // an empty text here; use TryReadDayEntry where the text is to be edited and saved.
  TDayEntry ReadDayEntry(double date);
  // nullopt when the note file exists but cannot be read, so an editor does not replace
  // a note it never saw.
  std::optional<TDayEntry> TryReadDayEntry(double date);
  // Only the text, without touching the colour-code cache.
  std::optional<std::string> TryReadNoteText(double date);
  // The text of a note file anywhere: empty when it does not exist, nullopt when it
  // cannot be read or is not available yet.
  std::optional<std::string> TryReadNoteFile(const std::filesystem::path& file) const;

  // Writes entry.Text for the day into the active section, creating the folders. A file
  // that already holds the same bytes is not rewritten. The file is replaced only when
  // the new one is complete; on failure the old file stays and
  // false is returned (callers do not report it). ColorCodes and Modified are not written.
  bool WriteDayEntry(const TDayEntry& entry, double date);
  bool WriteNoteText(const std::string& text, double date);
  // The same into a named section, whichever is active now: an editor saves into the
  // section it was opened in.
  bool WriteDayEntry(const TDayEntry& entry, double date, const std::string& section);

  // Colour codes through the one-year cache (loaded when a date of another year is read).
  uint32_t ColorCodesOf(double date);
  const CodesCache& Codes() const { return cache_; }
  // Reads the year's file into the cache again (after the file was changed).
  void ReloadCodes(int year) { cache_.Load(entriesFolder_, year); }
  YearCodesRead ReadYearCodes(int year) const { return ov::ReadYearCodes(entriesFolder_, year); }
  bool WriteYearCodes(int year, const YearCodes& values) const {
    return ov::WriteYearCodes(entriesFolder_, year, values);
  }

 private:
  std::filesystem::path entriesFolder_;
  std::string currentSection_;
  std::function<void()> sectionChanging_;
  std::function<bool(const std::filesystem::path&)> notYetAvailable_;
  bool changingSection_ = false;  // the handler is running
  const ICodePage& codePage_;
  CodesCache cache_;
};

}  // namespace ov
