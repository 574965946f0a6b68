#include "core/sync/NoteConflicts.h"

#include <algorithm>
#include <system_error>

#include "core/calendar/EntryStore.h"
#include "core/calendar/NoteFile.h"
#include "core/sync/ConflictNames.h"
#include "core/util/FileIo.h"
#include "core/util/Paths.h"
#include "core/util/Text.h"

namespace ov {

namespace fs = std::filesystem;

NoteCloseAction DecideNoteClose(std::string_view readText, std::string_view userText,
                                const std::optional<std::string>& diskText) {
  if (userText == readText) return NoteCloseAction::Nothing;
  if (!diskText) return NoteCloseAction::KeepUsersAsCopy;
  if (*diskText == userText) return NoteCloseAction::Nothing;
  return *diskText == readText ? NoteCloseAction::Save : NoteCloseAction::SaveAndKeepOther;
}

namespace {

// A free conflict-copy name beside `file`.
fs::path FreeConflictPath(const fs::path& file, std::string_view computer, std::string_view stamp) {
  const std::string name = PathToUtf8(file.filename());
  std::error_code ec;
  for (int n = 1; n < 1000; ++n) {
    std::string s(stamp);
    if (n > 1) s += " " + std::to_string(n);
    fs::path candidate = file.parent_path() / PathFromUtf8(OwnConflictName(name, computer, s));
    if (!fs::exists(candidate, ec) && !ec) return candidate;
  }
  return {};
}

}  // namespace

NoteCloseResult CloseNote(EntryStore& store, double date, const std::string& section, const std::string& readText,
                          const std::string& userText, std::string_view computer, std::string_view stamp) {
  NoteCloseResult r;
  const fs::path file = store.NoteFilePath(date, section);
  r.action = DecideNoteClose(readText, userText, store.TryReadNoteFile(file));
  TDayEntry entry;
  entry.Text = userText;
  switch (r.action) {
    case NoteCloseAction::Nothing:
      return r;
    case NoteCloseAction::Save:
      r.ok = store.WriteDayEntry(entry, date, section);
      return r;
    case NoteCloseAction::SaveAndKeepOther: {
      r.conflictCopy = FreeConflictPath(file, computer, stamp);
      auto other = ReadFileBytes(file, kMaxNoteFileBytes);
      if (r.conflictCopy.empty() || !other || !WriteFileAtomic(r.conflictCopy, *other)) {
        r.conflictCopy.clear();
        r.ok = false;
        return r;
      }
      r.ok = store.WriteDayEntry(entry, date, section);
      return r;
    }
    case NoteCloseAction::KeepUsersAsCopy: {
      r.conflictCopy = FreeConflictPath(file, computer, stamp);
      std::error_code ec;
      fs::create_directories(file.parent_path(), ec);
      r.ok = !r.conflictCopy.empty() && WriteFileAtomic(r.conflictCopy, EncodeNoteFile(userText, store.CodePage()));
      if (!r.ok) r.conflictCopy.clear();
      return r;
    }
  }
  return r;
}

std::vector<fs::path> ConflictCopiesOf(const fs::path& noteFile) {
  std::vector<fs::path> out;
  const std::string name = PathToUtf8(noteFile.filename());
  std::error_code ec;
  fs::directory_iterator it(noteFile.parent_path(), fs::directory_options::skip_permission_denied, ec);
  for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
    std::error_code statEc;
    if (!it->is_regular_file(statEc)) continue;
    auto original = ConflictOriginal(PathToUtf8(it->path().filename()));
    if (original && *original == name) out.push_back(it->path());
  }
  std::sort(out.begin(), out.end());
  return out;
}

std::string MergeNoteTexts(std::string_view note, std::string_view other) {
  std::string a = TrimControl(std::string(note)), b = TrimControl(std::string(other));
  if (b.empty() || a.find(b) != std::string::npos) return a;
  if (a.empty() || b.find(a) != std::string::npos) return b;
  return a + "\n\n" + b;
}

std::optional<std::string> MergeConflictCopies(EntryStore& store, double date, const std::string& section) {
  const fs::path file = store.NoteFilePath(date, section);
  std::optional<std::string> merged = store.TryReadNoteFile(file);
  if (!merged) return std::nullopt;
  std::vector<fs::path> mergedCopies;
  for (const fs::path& copy : ConflictCopiesOf(file)) {
    // A copy that cannot be read yet stays for a later merge.
    if (auto text = store.TryReadNoteFile(copy)) {
      *merged = MergeNoteTexts(*merged, *text);
      mergedCopies.push_back(copy);
    }
  }
  TDayEntry entry;
  entry.Text = *merged;
  if (!store.WriteDayEntry(entry, date, section)) return std::nullopt;
  std::error_code ec;
  for (const fs::path& copy : mergedCopies) fs::remove(copy, ec);
  return merged;
}

}  // namespace ov
