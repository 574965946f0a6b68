#pragma once
// The bytes of one note file. Lines end in CR LF; the first line that equals "[EOHDR]"
// (letter case ignored) ends the header, and the lines after it are the entry text.
// Text is stored in the system's ANSI code page; text that code page cannot hold is
// stored as UTF-8 behind a byte-order mark instead, so nothing typed is lost.
#include <string>
#include <string_view>

namespace ov {

class ICodePage;

inline constexpr char kNoteHeaderEnd[] = "[EOHDR]";
inline constexpr char kUtf8Bom[] = "\xEF\xBB\xBF";

// The entry text (UTF-8) of a note file: the lines after the marker joined with LF,
// without leading and trailing characters of code 32 or less. Empty when there is no
// marker. Lines may end at CR, LF or CR LF.
std::string DecodeNoteFile(std::string_view bytes, const ICodePage& codePage);

// The note file for an entry text (UTF-8): the marker line, then one line per text line
// (split at CR, LF or CR LF), each ending in CR LF. An empty text gives only the marker.
std::string EncodeNoteFile(std::string_view text, const ICodePage& codePage);

// UTF-8 with every malformed sequence replaced by U+FFFD.
std::string RepairUtf8(std::string_view s);

}  // namespace ov
