#pragma once
// Keeping both versions of a note that was changed on two computers at once: the closing
// editor's decision, the program's own conflict copies, and merging conflict copies
// (the program's and the sync services', see ConflictNames.h) back into the note.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ov {

class EntryStore;

enum class NoteCloseAction {
  Nothing,           // the user left the text as read, or the file already holds it
  Save,              // the file is as it was read: the user's text replaces it
  SaveAndKeepOther,  // the file changed meanwhile: the user's text is saved, the other
                     // version is kept beside it as a conflict copy
  KeepUsersAsCopy,   // the file cannot be read now: the user's text goes into a conflict
                     // copy and the file is not touched
};

// readText: the text the editor read when it opened; userText: the text it holds now;
// diskText: the file's text now (nullopt when it cannot be read).
NoteCloseAction DecideNoteClose(std::string_view readText, std::string_view userText,
                                const std::optional<std::string>& diskText);

struct NoteCloseResult {
  NoteCloseAction action = NoteCloseAction::Nothing;
  bool ok = true;                       // false: a write failed; the note file is unchanged
  std::filesystem::path conflictCopy;   // the copy made, if any
};

// Closes an editor of the day's note in `section`: decides as above and writes. A
// conflict copy is written before the note is replaced, so a failure loses neither text.
NoteCloseResult CloseNote(EntryStore& store, double date, const std::string& section, const std::string& readText,
                          const std::string& userText, std::string_view computer, std::string_view stamp);

// The conflict copies beside a note file (sorted by name).
std::vector<std::filesystem::path> ConflictCopiesOf(const std::filesystem::path& noteFile);

// One text holding both: a text already contained in the other adds nothing; otherwise
// the other follows the note after an empty line.
std::string MergeNoteTexts(std::string_view note, std::string_view other);

// Merges every readable conflict copy of the day's note in `section` into the note and,
// once the merged note is written, removes those copies (the user asked for this).
// Returns the merged text, nullopt when the note or the write failed (nothing removed).
std::optional<std::string> MergeConflictCopies(EntryStore& store, double date, const std::string& section);

}  // namespace ov
