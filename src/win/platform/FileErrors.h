#pragma once
// What the system says about a file that cannot be read, for messages to the user.
#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <string>

namespace ov {

// The system's text for an error code (in the user's language), without the line break
// at its end; "错误 0x%08X" when the system has none.
std::string SystemErrorText(DWORD error);

// Why `file` cannot be read: the system's reason for refusing to open it, or that it is
// larger than maxBytes, or a read error.
std::string ReadFailureReason(const std::filesystem::path& file, uint64_t maxBytes);

}  // namespace ov
