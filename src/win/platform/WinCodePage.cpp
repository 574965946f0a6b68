#include "win/platform/WinCodePage.h"

#include <windows.h>

#include "win/platform/Utf16.h"

namespace ov {

std::optional<std::string> WinCodePage::FromUtf8(const std::string& utf8) const {
  std::wstring w = Widen(utf8);
  if (w.empty()) return std::string();
  BOOL usedDefault = FALSE;
  int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr,
                              &usedDefault);
  if (n <= 0 || usedDefault) return std::nullopt;
  std::string s(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr,
                      &usedDefault);
  if (usedDefault) return std::nullopt;
  return s;
}

std::string WinCodePage::ToUtf8(const std::string& ansi) const {
  if (ansi.empty()) return {};
  int n = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
  std::wstring w(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), w.data(), n);
  return Narrow(w);
}

}  // namespace ov
