#include "core/desktop/PopupText.h"

#include <cstdint>

namespace ov {

namespace {

// Units of the character whose UTF-8 sequence starts with `lead`; 0 for continuation bytes.
size_t UnitsOfLead(unsigned char lead) {
  if ((lead & 0xC0) == 0x80) return 0;
  if (lead == '\n') return 2;
  return lead >= 0xF0 ? 2 : 1;  // four-byte sequences are surrogate pairs
}

}  // namespace

size_t EditUnits(std::string_view utf8) {
  size_t units = 0;
  for (char c : utf8) units += UnitsOfLead(static_cast<unsigned char>(c));
  return units;
}

PopupText PopupTextFor(std::string_view note) {
  PopupText out;
  size_t units = 0, end = note.size(), lastLineEnd = std::string_view::npos;
  for (size_t i = 0; i < note.size(); ++i) {
    const size_t u = UnitsOfLead(static_cast<unsigned char>(note[i]));
    if (u && units + u > kPopupMaxUnits) {
      end = i;
      out.truncated = true;
      break;
    }
    units += u;
    if (note[i] == '\n') lastLineEnd = i;
  }
  if (out.truncated && lastLineEnd != std::string_view::npos) end = lastLineEnd;
  out.text.assign(note.substr(0, end));

  size_t line = 0;
  for (char c : out.text) {
    line = c == '\n' ? 0 : line + UnitsOfLead(static_cast<unsigned char>(c));
    if (line > kPopupWrapUnits) {
      out.wrap = false;
      break;
    }
  }
  return out;
}

}  // namespace ov
