#pragma once
// The system's ANSI code page (or another Windows code page) for note files and the
// rotation queue.
#include "core/platform/CodePage.h"

namespace ov {

class WinCodePage final : public ICodePage {
 public:
  // 0 (CP_ACP) stands for the code page the system uses for ANSI text.
  explicit WinCodePage(unsigned codePage = 0);

  // The code page number in use (GetACP() for CP_ACP).
  unsigned Id() const { return codePage_; }

  // nullopt when the text is not valid UTF-8 or holds a character the code page has no
  // exact form for (no best-fit letters, no "?" substitutes).
  std::optional<std::string> FromUtf8(const std::string& utf8) const override;
  std::string ToUtf8(const std::string& ansi) const override;

 private:
  unsigned codePage_;
};

}  // namespace ov
