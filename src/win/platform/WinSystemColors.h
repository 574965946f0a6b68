#pragma once
// Lets the core's colour functions resolve system colour codes through GetSysColor.
namespace ov {

void InstallWinSystemColors();

}  // namespace ov
