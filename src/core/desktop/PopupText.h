#pragma once
// What the pop-up's text field shows of a note. A multi-line edit control lays a long
// note out slowly, and wraps one long paragraph in time that grows with the square of its
// length on some systems; a note of megabytes would freeze the pop-up for minutes. So a
// note beyond what the field takes is shown only in its beginning, read-only and never
// saved from the field (the file keeps it whole), and a line too long to wrap in a moment
// is shown unwrapped.
#include <cstddef>
#include <string>
#include <string_view>

namespace ov {

// The field's limit and the longest line it wraps, in UTF-16 units with line ends as
// CR LF, as the edit control counts them.
constexpr size_t kPopupMaxUnits = 65536;
constexpr size_t kPopupWrapUnits = 16384;

struct PopupText {
  std::string text;        // what the field shows (UTF-8, lines ended by LF)
  bool truncated = false;  // only the beginning of the note: read-only, never saved
  bool wrap = true;        // word wrap; off when a line of `text` is longer than kPopupWrapUnits
};

// The UTF-16 units of a UTF-8 text in the edit control (an LF becomes CR LF there).
size_t EditUnits(std::string_view utf8);

// A note (valid UTF-8) as the pop-up shows it: whole when it fits the field, else cut at
// the last line end that fits (or at a character boundary when no line end does).
PopupText PopupTextFor(std::string_view note);

}  // namespace ov
