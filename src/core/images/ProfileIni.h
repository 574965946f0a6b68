#pragma once
// Files in the platform's private-profile ("ini") format, read and written by portable
// code: "[Section]" lines, "key=value" lines, section and key names compared without
// regard to ASCII case. Reads what the platform's profile functions write and writes
// what they read; lines this class does not understand are kept as they were.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/platform/CodePage.h"

namespace ov {

class ProfileIni {
 public:
  enum class Encoding { Ansi, Utf8Bom, Utf16Le, Utf16Be };

  // Parses file bytes: UTF-16 (either byte order) or UTF-8 when a byte-order mark says
  // so, otherwise the ANSI code page (converted with codePage; without one the bytes are
  // kept as they are). Never fails: what is not a section or key line is kept as text.
  static ProfileIni Parse(std::string_view bytes, const ICodePage* codePage = nullptr);
  // A missing or unreadable file gives an empty profile.
  static ProfileIni Load(const std::filesystem::path& file, const ICodePage* codePage = nullptr);

  bool HasSection(std::string_view section) const;
  // The value of the first matching key of the first matching section, whitespace
  // trimmed and one pair of matching surrounding quotes removed.
  std::optional<std::string> Get(std::string_view section, std::string_view key) const;

  // Replaces the value of the key, or appends the key to its section, or appends the
  // section at the end.
  void Set(std::string_view section, std::string_view key, std::string_view value);

  // The file text with CR LF line ends. A profile read as UTF-16 or UTF-8 stays in that
  // encoding; otherwise it is written in the ANSI code page (plain bytes when all text is
  // ASCII), and as UTF-16 with a byte-order mark when some character has no ANSI form.
  std::string Serialize(const ICodePage* codePage = nullptr) const;
  // Replaces the file atomically; false on failure (the old file then stays whole).
  bool Save(const std::filesystem::path& file, const ICodePage* codePage = nullptr) const;

 private:
  struct Line {
    std::string raw;  // the line as read or written, UTF-8
    std::string key;  // empty for anything that is not "key=value"
  };
  struct Section {
    std::string name;
    bool headed = false;  // false for the lines before the first section header
    std::vector<Line> lines;
  };

  const Section* FindSection(std::string_view name) const;
  Section* FindSection(std::string_view name);
  static std::string ValueOf(const Line& line);

  std::vector<Section> sections_;
  Encoding encoding_ = Encoding::Ansi;
};

}  // namespace ov
