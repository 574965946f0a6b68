#include "win/platform/WinCodePage.h"

#include <windows.h>

#include <climits>

#include "win/platform/Utf16.h"

namespace ov {

WinCodePage::WinCodePage(unsigned codePage) : codePage_(codePage == CP_ACP ? GetACP() : codePage) {}

std::optional<std::string> WinCodePage::FromUtf8(const std::string& utf8) const {
  if (utf8.empty()) return std::string();
  if (utf8.size() > INT_MAX / 2) return std::nullopt;
  const int len = static_cast<int>(utf8.size());
  int wn = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), len, nullptr, 0);
  if (wn <= 0) return std::nullopt;
  if (codePage_ == CP_UTF8) return utf8;
  std::wstring wide(static_cast<size_t>(wn), L'\0');
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), len, wide.data(), wn);

  // Some code pages (the ISO-2022 and symbol families) refuse these flags; the call then
  // fails and the caller stores the text another way.
  BOOL usedDefault = FALSE;
  int n = WideCharToMultiByte(codePage_, WC_NO_BEST_FIT_CHARS, wide.data(), wn, nullptr, 0, nullptr, &usedDefault);
  if (n <= 0 || usedDefault) return std::nullopt;
  std::string out(static_cast<size_t>(n), '\0');
  usedDefault = FALSE;
  n = WideCharToMultiByte(codePage_, WC_NO_BEST_FIT_CHARS, wide.data(), wn, out.data(), n, nullptr, &usedDefault);
  if (n <= 0 || usedDefault) return std::nullopt;
  out.resize(static_cast<size_t>(n));
  return out;
}

std::string WinCodePage::ToUtf8(const std::string& ansi) const {
  if (ansi.empty() || ansi.size() > INT_MAX / 2) return std::string();
  const int len = static_cast<int>(ansi.size());
  int wn = MultiByteToWideChar(codePage_, 0, ansi.data(), len, nullptr, 0);
  std::wstring wide;
  if (wn > 0) {
    wide.assign(static_cast<size_t>(wn), L'\0');
    wn = MultiByteToWideChar(codePage_, 0, ansi.data(), len, wide.data(), wn);
  }
  if (wn <= 0) {
    // The code page cannot decode it at all: keep the bytes readable as Latin-1.
    wide.assign(ansi.size(), L'\0');
    for (size_t i = 0; i < ansi.size(); ++i) wide[i] = static_cast<unsigned char>(ansi[i]);
  }
  return Narrow(wide);
}

}  // namespace ov
