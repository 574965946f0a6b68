#pragma once
// The one place where UTF-8 text becomes UTF-16 for Win32 calls and back.
#include <string>
#include <string_view>

namespace ov {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

}  // namespace ov
