#include "win/platform/ComputerName.h"

#include <windows.h>

#include "win/platform/Utf16.h"

namespace ov {

std::string ComputerName() {
  wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
  DWORD n = MAX_COMPUTERNAME_LENGTH + 1;
  return GetComputerNameW(name, &n) ? Narrow(std::wstring(name, n)) : std::string();
}

}  // namespace ov
