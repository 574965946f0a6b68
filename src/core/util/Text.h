#pragma once
// Text helpers for UTF-8 std::string, the program's one internal text form.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ov {

// Removes leading and trailing characters whose code is 32 or less (spaces, tabs, line
// breaks, control characters). Bytes of multi-byte UTF-8 sequences are all >= 0x80 and stay.
std::string TrimControl(std::string_view s);

// ASCII-only case folding; non-ASCII bytes are left as they are.
std::string ToLowerAscii(std::string_view s);
bool EqualsIgnoreCaseAscii(std::string_view a, std::string_view b);

// Splits at CR, LF or CR LF. An empty text gives no lines; a final line break does not
// start another line.
std::vector<std::string> SplitLines(std::string_view s);

// printf-style formatting into a std::string.
std::string Format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

// Parses a whole decimal integer (optional sign, surrounding blanks allowed);
// anything else, or a value outside 32 bits, gives nullopt.
std::optional<int32_t> ParseInt32(std::string_view s);

// Replaces every occurrence of `from` by `to`.
std::string ReplaceAll(std::string_view s, std::string_view from, std::string_view to);

// True when the bytes form valid UTF-8.
bool IsValidUtf8(std::string_view s);

// The longest beginning of `s` of at most maxBytes that does not end inside a UTF-8
// sequence.
std::string_view Utf8Prefix(std::string_view s, size_t maxBytes);

// Appends one code point as UTF-8.
void AppendUtf8(std::string& out, uint32_t codePoint);

}  // namespace ov
