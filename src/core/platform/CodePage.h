#pragma once
// The system's ANSI code page, in which note files and the rotation queue are stored.
#include <optional>
#include <string>

namespace ov {

class ICodePage {
 public:
  virtual ~ICodePage() = default;
  // UTF-8 to the ANSI code page; nullopt when some character has no exact form there
  // (no best-fit substitutions), so the caller can choose another encoding instead.
  virtual std::optional<std::string> FromUtf8(const std::string& utf8) const = 0;
  // ANSI code page bytes to UTF-8. Never fails; undecodable bytes become U+FFFD.
  virtual std::string ToUtf8(const std::string& ansi) const = 0;
};

// Windows-1252, the Western code page, in portable code: used by the native build and
// the tests, where there is no system code page to ask.
class Latin1CodePage final : public ICodePage {
 public:
  std::optional<std::string> FromUtf8(const std::string& utf8) const override;
  std::string ToUtf8(const std::string& ansi) const override;
};

}  // namespace ov
