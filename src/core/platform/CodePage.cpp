#include "core/platform/CodePage.h"

#include <cstdint>

#include "core/util/Text.h"

namespace ov {

namespace {

// Windows-1252 bytes 0x80..0x9F; 0 marks the five undefined positions.
const uint16_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// Decodes one UTF-8 sequence at s[i]; returns false on malformed input.
bool NextCodePoint(const std::string& s, size_t& i, uint32_t& cp) {
  unsigned char c = static_cast<unsigned char>(s[i]);
  size_t n;
  if (c < 0x80) {
    cp = c;
    ++i;
    return true;
  }
  if ((c & 0xE0) == 0xC0) {
    n = 1;
    cp = c & 0x1F;
  } else if ((c & 0xF0) == 0xE0) {
    n = 2;
    cp = c & 0x0F;
  } else if ((c & 0xF8) == 0xF0) {
    n = 3;
    cp = c & 0x07;
  } else {
    return false;
  }
  if (i + n >= s.size()) return false;
  for (size_t k = 1; k <= n; ++k) {
    unsigned char t = static_cast<unsigned char>(s[i + k]);
    if ((t & 0xC0) != 0x80) return false;
    cp = (cp << 6) | (t & 0x3F);
  }
  i += n + 1;
  return true;
}

}  // namespace

std::optional<std::string> Latin1CodePage::FromUtf8(const std::string& utf8) const {
  std::string out;
  out.reserve(utf8.size());
  size_t i = 0;
  while (i < utf8.size()) {
    uint32_t cp;
    if (!NextCodePoint(utf8, i, cp)) return std::nullopt;
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
      out += static_cast<char>(cp);
      continue;
    }
    bool found = false;
    for (int k = 0; k < 32; ++k)
      if (kCp1252High[k] != 0 && kCp1252High[k] == cp) {
        out += static_cast<char>(0x80 + k);
        found = true;
        break;
      }
    if (!found) return std::nullopt;
  }
  return out;
}

std::string Latin1CodePage::ToUtf8(const std::string& ansi) const {
  std::string out;
  out.reserve(ansi.size());
  for (size_t i = 0; i < ansi.size();) {
    // Runs of ASCII, most of any text, go across whole.
    size_t ascii = i;
    while (ascii < ansi.size() && static_cast<unsigned char>(ansi[ascii]) < 0x80) ++ascii;
    out.append(ansi, i, ascii - i);
    if (ascii == ansi.size()) break;
    const unsigned char c = static_cast<unsigned char>(ansi[ascii]);
    uint32_t cp = c;
    if (c < 0xA0) cp = kCp1252High[c - 0x80] ? kCp1252High[c - 0x80] : 0xFFFD;
    AppendUtf8(out, cp);
    i = ascii + 1;
  }
  return out;
}

}  // namespace ov
