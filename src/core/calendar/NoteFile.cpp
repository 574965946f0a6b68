#include "core/calendar/NoteFile.h"

#include <cstdint>

#include "core/platform/CodePage.h"
#include "core/util/Text.h"

namespace ov {

namespace {

// Length of the line break at s[i] (CR LF, CR or LF), 0 if there is none.
size_t BreakAt(std::string_view s, size_t i) {
  if (i >= s.size()) return 0;
  if (s[i] == '\r') return (i + 1 < s.size() && s[i + 1] == '\n') ? 2 : 1;
  return s[i] == '\n' ? 1 : 0;
}

// The position just after the first line equal to the marker, or npos.
size_t AfterMarker(std::string_view s) {
  size_t start = 0;
  while (start < s.size()) {
    size_t end = start;
    while (end < s.size() && s[end] != '\r' && s[end] != '\n') ++end;
    if (EqualsIgnoreCaseAscii(s.substr(start, end - start), kNoteHeaderEnd))
      return end + BreakAt(s, end);
    start = end + BreakAt(s, end);
  }
  return std::string_view::npos;
}

// Every line break as one LF.
std::string NormalizeBreaks(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    char c = s[i];
    if (c == '\r') {
      out += '\n';
      if (i + 1 < s.size() && s[i + 1] == '\n') ++i;
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace

std::string RepairUtf8(std::string_view s) {
  if (IsValidUtf8(s)) return std::string(s);
  std::string out;
  out.reserve(s.size() + 16);
  size_t i = 0;
  while (i < s.size()) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    size_t n = 0;
    uint32_t cp = 0, min = 0;
    if (c < 0x80) {
      out += static_cast<char>(c);
      ++i;
      continue;
    } else if ((c & 0xE0) == 0xC0) {
      n = 1, cp = c & 0x1F, min = 0x80;
    } else if ((c & 0xF0) == 0xE0) {
      n = 2, cp = c & 0x0F, min = 0x800;
    } else if ((c & 0xF8) == 0xF0) {
      n = 3, cp = c & 0x07, min = 0x10000;
    }
    bool ok = n > 0 && i + n < s.size();
    for (size_t k = 1; ok && k <= n; ++k) {
      const unsigned char t = static_cast<unsigned char>(s[i + k]);
      if ((t & 0xC0) != 0x80) ok = false;
      else cp = (cp << 6) | (t & 0x3F);
    }
    if (ok && (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))) ok = false;
    if (ok) {
      AppendUtf8(out, cp);
      i += n + 1;
    } else {
      AppendUtf8(out, 0xFFFD);
      ++i;
    }
  }
  return out;
}

std::string DecodeNoteFile(std::string_view bytes, const ICodePage& codePage) {
  const bool utf8 = bytes.substr(0, 3) == kUtf8Bom;
  if (utf8) bytes.remove_prefix(3);
  const size_t body = AfterMarker(bytes);
  if (body == std::string_view::npos) return {};
  // Trimming bytes of code 32 or less is safe before decoding: in every ANSI code page the
  // bytes of a multi-byte character are all above 32.
  std::string text = TrimControl(NormalizeBreaks(bytes.substr(body)));
  return utf8 ? RepairUtf8(text) : codePage.ToUtf8(text);
}

std::string EncodeNoteFile(std::string_view text, const ICodePage& codePage) {
  std::string content = kNoteHeaderEnd;
  content += "\r\n";
  for (const std::string& line : SplitLines(text)) {
    content += line;
    content += "\r\n";
  }
  if (auto ansi = codePage.FromUtf8(content)) return *ansi;
  return kUtf8Bom + RepairUtf8(content);
}

}  // namespace ov
