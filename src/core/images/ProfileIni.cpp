#include "core/images/ProfileIni.h"

#include "core/util/FileIo.h"
#include "core/util/Text.h"

namespace ov {

namespace {

// Whitespace as the profile functions trim it: blanks, control characters and the
// end-of-file mark 0x1A that old editors leave.
bool IsProfileBlank(char c) {
  unsigned char u = static_cast<unsigned char>(c);
  return u == ' ' || (u >= 0x09 && u <= 0x0D) || u == 0x1A;
}

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && IsProfileBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsProfileBlank(s.back())) s.remove_suffix(1);
  return s;
}

std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian) {
  std::string out;
  out.reserve(bytes.size() / 2);
  auto unit = [&](size_t i) -> uint32_t {
    unsigned char a = static_cast<unsigned char>(bytes[i]), b = static_cast<unsigned char>(bytes[i + 1]);
    return bigEndian ? (uint32_t(a) << 8 | b) : (uint32_t(b) << 8 | a);
  };
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    uint32_t u = unit(i);
    if (u >= 0xD800 && u <= 0xDBFF && i + 3 < bytes.size()) {
      uint32_t v = unit(i + 2);
      if (v >= 0xDC00 && v <= 0xDFFF) {
        AppendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (v - 0xDC00));
        i += 2;
        continue;
      }
    }
    AppendUtf8(out, (u >= 0xD800 && u <= 0xDFFF) ? 0xFFFD : u);
  }
  return out;
}

// UTF-8 to UTF-16 code units in the given byte order; malformed input becomes U+FFFD.
std::string Utf8ToUtf16(std::string_view s, bool bigEndian) {
  std::string out;
  auto put = [&](uint32_t u) {
    char hi = static_cast<char>(u >> 8), lo = static_cast<char>(u & 0xFF);
    if (bigEndian) { out += hi; out += lo; } else { out += lo; out += hi; }
  };
  size_t i = 0;
  while (i < s.size()) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    uint32_t cp = 0xFFFD;
    size_t n = 0;
    if (c < 0x80) { cp = c; }
    else if ((c & 0xE0) == 0xC0) { n = 1; cp = c & 0x1F; }
    else if ((c & 0xF0) == 0xE0) { n = 2; cp = c & 0x0F; }
    else if ((c & 0xF8) == 0xF0) { n = 3; cp = c & 0x07; }
    bool bad = c >= 0x80 && n == 0;
    if (!bad) {
      for (size_t k = 1; k <= n; ++k) {
        if (i + k >= s.size() || (static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) { bad = true; break; }
        cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
      }
    }
    if (bad) { cp = 0xFFFD; n = 0; }
    i += n + 1;
    if (cp >= 0x10000) {
      cp -= 0x10000;
      put(0xD800 + (cp >> 10));
      put(0xDC00 + (cp & 0x3FF));
    } else {
      put(cp);
    }
  }
  return out;
}

bool IsAscii(std::string_view s) {
  for (char c : s)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

}  // namespace

ProfileIni ProfileIni::Parse(std::string_view bytes, const ICodePage* codePage) {
  ProfileIni ini;
  std::string text;
  if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') {
    ini.encoding_ = Encoding::Utf16Le;
    text = Utf16ToUtf8(bytes.substr(2), false);
  } else if (bytes.size() >= 2 && bytes[0] == '\xFE' && bytes[1] == '\xFF') {
    ini.encoding_ = Encoding::Utf16Be;
    text = Utf16ToUtf8(bytes.substr(2), true);
  } else if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") {
    ini.encoding_ = Encoding::Utf8Bom;
    text = std::string(bytes.substr(3));
  } else {
    text = codePage && !IsAscii(bytes) ? codePage->ToUtf8(std::string(bytes)) : std::string(bytes);
  }

  ini.sections_.push_back(Section{});  // lines before the first header
  std::string_view rest = text;
  while (!rest.empty()) {
    size_t nl = rest.find('\n');
    std::string_view raw = rest.substr(0, nl);
    rest = nl == std::string_view::npos ? std::string_view() : rest.substr(nl + 1);
    if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);

    std::string_view t = TrimBlanks(raw);
    if (!t.empty() && t.front() == '[') {
      size_t close = t.rfind(']');
      if (close != std::string_view::npos) {
        Section s;
        s.name = std::string(TrimBlanks(t.substr(1, close - 1)));
        s.headed = true;
        s.lines.push_back({std::string(raw), {}});
        ini.sections_.push_back(std::move(s));
        continue;
      }
    }
    Line line{std::string(raw), {}};
    size_t eq = t.find('=');
    if (eq != std::string_view::npos && t.front() != ';') line.key = std::string(TrimBlanks(t.substr(0, eq)));
    ini.sections_.back().lines.push_back(std::move(line));
  }
  return ini;
}

ProfileIni ProfileIni::Load(const std::filesystem::path& file, const ICodePage* codePage) {
  // Properties files are a few hundred bytes; anything huge is not one of ours.
  auto bytes = ReadFileBytes(file, size_t(4) << 20);
  return bytes ? Parse(*bytes, codePage) : ProfileIni{};
}

const ProfileIni::Section* ProfileIni::FindSection(std::string_view name) const {
  for (const Section& s : sections_)
    if (s.headed && EqualsIgnoreCaseAscii(s.name, name)) return &s;
  return nullptr;
}

ProfileIni::Section* ProfileIni::FindSection(std::string_view name) {
  return const_cast<Section*>(static_cast<const ProfileIni*>(this)->FindSection(name));
}

bool ProfileIni::HasSection(std::string_view section) const { return FindSection(section) != nullptr; }

std::string ProfileIni::ValueOf(const Line& line) {
  std::string_view t = TrimBlanks(line.raw);
  std::string_view v = TrimBlanks(t.substr(t.find('=') + 1));
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
    v = v.substr(1, v.size() - 2);
  return std::string(v);
}

std::optional<std::string> ProfileIni::Get(std::string_view section, std::string_view key) const {
  const Section* s = FindSection(section);
  if (!s) return std::nullopt;
  for (const Line& l : s->lines)
    if (!l.key.empty() && EqualsIgnoreCaseAscii(l.key, key)) return ValueOf(l);
  return std::nullopt;
}

void ProfileIni::Set(std::string_view section, std::string_view key, std::string_view value) {
  std::string raw = std::string(key) + "=" + std::string(value);
  Section* s = FindSection(section);
  if (!s) {
    Section ns;
    ns.name = std::string(section);
    ns.headed = true;
    std::string header(1, '[');
    header.append(section).push_back(']');
    ns.lines.push_back({std::move(header), {}});
    sections_.push_back(std::move(ns));
    s = &sections_.back();
  }
  size_t insertAt = 1;  // after the header
  for (size_t i = 0; i < s->lines.size(); ++i) {
    Line& l = s->lines[i];
    if (!l.key.empty() && EqualsIgnoreCaseAscii(l.key, key)) {
      l.raw = raw;
      return;
    }
    if (!TrimBlanks(l.raw).empty()) insertAt = i + 1;
  }
  // New keys go after the section's last non-blank line, before blank lines that
  // separate it from the next section.
  s->lines.insert(s->lines.begin() + static_cast<std::ptrdiff_t>(insertAt), Line{raw, std::string(key)});
}

std::string ProfileIni::Serialize(const ICodePage* codePage) const {
  std::string text;
  for (const Section& s : sections_)
    for (const Line& l : s.lines) {
      text += l.raw;
      text += "\r\n";
    }
  switch (encoding_) {
    case Encoding::Utf16Le: return "\xFF\xFE" + Utf8ToUtf16(text, false);
    case Encoding::Utf16Be: return "\xFE\xFF" + Utf8ToUtf16(text, true);
    case Encoding::Utf8Bom: return "\xEF\xBB\xBF" + text;
    case Encoding::Ansi: break;
  }
  // Without a code page the text holds the file's own bytes and goes back unchanged.
  if (IsAscii(text) || !codePage) return text;
  if (auto ansi = codePage->FromUtf8(text)) return *ansi;
  return "\xFF\xFE" + Utf8ToUtf16(text, false);
}

bool ProfileIni::Save(const std::filesystem::path& file, const ICodePage* codePage) const {
  return WriteFileAtomic(file, Serialize(codePage));
}

}  // namespace ov
