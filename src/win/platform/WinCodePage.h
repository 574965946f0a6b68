#pragma once
#include "core/platform/CodePage.h"

namespace ov {

// The system's ANSI code page (CP_ACP).
class WinCodePage final : public ICodePage {
 public:
  std::optional<std::string> FromUtf8(const std::string& utf8) const override;
  std::string ToUtf8(const std::string& ansi) const override;
};

}  // namespace ov
