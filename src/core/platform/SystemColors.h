#pragma once
// System colours (the desktop colour, window text, ...) by their index, as platform
// colours 0x00BBGGRR. The Windows layer installs a lookup that asks the system; until
// then, and in native builds, a fixed table of the classic defaults answers.
#include <cstdint>

namespace ov {

using SystemColorLookup = uint32_t (*)(int index);

// Installs the lookup; nullptr goes back to the fixed table.
void SetSystemColorLookup(SystemColorLookup lookup);

// The colour of system colour index (COLOR_BACKGROUND = 1, ...); 0 for an unknown index.
uint32_t SystemColor(int index);

// The fixed table: the classic Windows defaults.
uint32_t DefaultSystemColor(int index);

}  // namespace ov
