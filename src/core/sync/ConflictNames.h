#pragma once
// Conflict copies: when two computers change one file before a sync service has carried
// either change across, the service keeps both, the second under a name of its own:
//   "Notes_2026-12-09-OFFICE-PC.txt"                                  (one service)
//   "Notes_2026-12-09 (OFFICE-PC's conflicted copy 2026-12-09).txt"   (another)
//   "Notes_2026-12-09 (OFFICE-PC 的冲突副本 2026-12-09).txt"
//   "Notes_2026-12-09.sync-conflict-20261209-101500-ABCDEFG.txt"      (a third)
// The program keeps its own conflict copies in the second form. A conflict copy is never
// shown as a note of its own; it is offered for merging with the note it belongs to.
#include <optional>
#include <string>
#include <string_view>

namespace ov {

// Whether a name is a note file's: "Notes_YYYY-MM-DD.txt".
bool IsNoteFileName(std::string_view fileName);

// The name of the file a conflict copy stands for, when `fileName` has one of the forms
// above around a name that `isOriginal` accepts; nullopt otherwise (also for the
// original's own name).
std::optional<std::string> ConflictOriginal(std::string_view fileName,
                                            bool (*isOriginal)(std::string_view) = IsNoteFileName);

// The name of the program's own conflict copy of `fileName`, made on the computer named
// `computer` at `stamp` (text such as "2026-12-09 101500"; it keeps copies apart).
std::string OwnConflictName(std::string_view fileName, std::string_view computer, std::string_view stamp);

// Raw file attributes of a sync service's online placeholder: the content stays in the
// cloud until it is opened (recall on data access, recall on open, offline).
inline constexpr unsigned long kPlaceholderAttributes = 0x00400000UL | 0x00040000UL | 0x00001000UL;
// Whether a file with these attributes is a placeholder whose content is not here yet.
inline bool IsOnlinePlaceholder(unsigned long attributes) { return (attributes & kPlaceholderAttributes) != 0; }

}  // namespace ov
