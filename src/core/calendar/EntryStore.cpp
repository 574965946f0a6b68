#include "core/calendar/EntryStore.h"

#include <system_error>
#include <utility>

#include "core/calendar/DateTime.h"
#include "core/calendar/NoteFile.h"
#include "core/calendar/Sections.h"
#include "core/util/FileIo.h"
#include "core/util/Paths.h"
#include "core/util/Text.h"

namespace ov {

namespace fs = std::filesystem;

EntryStore::EntryStore(fs::path entriesFolder, std::string currentSection, const ICodePage& codePage)
    : entriesFolder_(std::move(entriesFolder)), currentSection_(std::move(currentSection)), codePage_(codePage) {}

void EntryStore::SetCurrentSection(std::string name) {
  if (name != currentSection_ && sectionChanging_ && !changingSection_) {
    // A switch asked for from inside the handler does not tell it again.
    changingSection_ = true;
    try {
      sectionChanging_();
    } catch (...) {
      changingSection_ = false;
      throw;
    }
    changingSection_ = false;
  }
  currentSection_ = std::move(name);
}

fs::path EntryStore::CurrentSectionFolder() {
  // A name from the registry could point anywhere ("..\..", "C:\x"): only a plain
  // folder name is used.
  if (!IsUsableSectionName(currentSection_)) currentSection_ = kDefaultSectionName;
  return entriesFolder_ / PathFromUtf8(currentSection_);
}

fs::path EntryStore::NoteFilePath(double date) {
  CivilDate c = DecodeDate(date);
  return CurrentSectionFolder() / "Notes" / PathFromUtf8(std::to_string(c.year)) /
         PathFromUtf8(Format("Notes_%d-%.2d-%.2d.txt", c.year, c.month, c.day));
}

std::optional<std::string> EntryStore::TryReadNoteText(double date) {
  if (!IsValidDateTime(date)) return std::string();
  return TryReadNoteFile(NoteFilePath(date));
}

std::optional<std::string> EntryStore::TryReadNoteFile(const fs::path& file) const {
  std::error_code ec;
  if (!fs::exists(file, ec)) return ec ? std::nullopt : std::optional<std::string>(std::string());
  // A sync service's online placeholder is not there yet: it is not an empty note.
  if (notYetAvailable_ && notYetAvailable_(file)) return std::nullopt;
  auto bytes = ReadFileBytes(file, kMaxNoteFileBytes);
  if (!bytes) return std::nullopt;
  return DecodeNoteFile(*bytes, codePage_);
}

std::optional<TDayEntry> EntryStore::TryReadDayEntry(double date) {
  auto text = TryReadNoteText(date);
  if (!text) return std::nullopt;
  TDayEntry e;
  e.Text = std::move(*text);
  e.ColorCodes = ColorCodesOf(date);
  return e;
}

TDayEntry EntryStore::ReadDayEntry(double date) {
  if (auto e = TryReadDayEntry(date)) return std::move(*e);
  TDayEntry e;
  e.ColorCodes = ColorCodesOf(date);
  return e;
}

bool EntryStore::WriteNoteText(const std::string& text, double date) {
  if (!IsValidDateTime(date)) return false;
  const fs::path file = NoteFilePath(date);
  std::error_code ec;
  fs::create_directories(file.parent_path(), ec);
  if (ec) return false;
  return WriteFileIfChanged(file, EncodeNoteFile(text, codePage_));
}

fs::path EntryStore::NoteFilePath(double date, const std::string& section) {
  std::string active = std::exchange(currentSection_, section);
  fs::path file;
  try {
    file = NoteFilePath(date);
  } catch (...) {
    currentSection_ = std::move(active);
    throw;
  }
  currentSection_ = std::move(active);
  return file;
}

bool EntryStore::WriteDayEntry(const TDayEntry& entry, double date) { return WriteNoteText(entry.Text, date); }

bool EntryStore::WriteDayEntry(const TDayEntry& entry, double date, const std::string& section) {
  if (section == currentSection_) return WriteNoteText(entry.Text, date);
  // Written through the same rules as the active section (an unusable name falls back
  // to the default one), without changing which section is active.
  std::string active = std::exchange(currentSection_, section);
  bool ok = false;
  try {
    ok = WriteNoteText(entry.Text, date);
  } catch (...) {
    currentSection_ = std::move(active);
    throw;
  }
  currentSection_ = std::move(active);
  return ok;
}

uint32_t EntryStore::ColorCodesOf(double date) {
  if (!IsValidDateTime(date)) return 0;
  const int year = DecodeDate(date).year;
  if (cache_.year != year) cache_.Load(entriesFolder_, year);
  return cache_.MaskOfDay(DayOfYear(date));
}

}  // namespace ov
