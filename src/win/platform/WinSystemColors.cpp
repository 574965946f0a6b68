#include "win/platform/WinSystemColors.h"

#include <windows.h>

#include "core/platform/SystemColors.h"

namespace ov {

namespace {

uint32_t QuerySysColor(int index) {
  // GetSysColor answers 0 for an index the system does not know.
  return static_cast<uint32_t>(GetSysColor(index));
}

}  // namespace

void InstallWinSystemColors() { SetSystemColorLookup(&QuerySysColor); }

}  // namespace ov
