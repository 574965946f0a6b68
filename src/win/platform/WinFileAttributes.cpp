#include "win/platform/WinFileAttributes.h"

#include <windows.h>

namespace ov {

// The attribute bits of cabinet entries are the Windows ones.
static_assert(FILE_ATTRIBUTE_READONLY == 0x01 && FILE_ATTRIBUTE_HIDDEN == 0x02 && FILE_ATTRIBUTE_SYSTEM == 0x04 &&
              FILE_ATTRIBUTE_ARCHIVE == 0x20);

std::optional<uint16_t> WinFileAttributes::Get(const std::filesystem::path& file) const {
  DWORD a = GetFileAttributesW(file.c_str());
  if (a == INVALID_FILE_ATTRIBUTES) return std::nullopt;
  return static_cast<uint16_t>(a & kFileAttributeMask);
}

bool WinFileAttributes::Set(const std::filesystem::path& file, uint16_t attributes) const {
  DWORD a = GetFileAttributesW(file.c_str());
  if (a == INVALID_FILE_ATTRIBUTES) return false;
  a = (a & ~static_cast<DWORD>(kFileAttributeMask)) | (attributes & kFileAttributeMask);
  if (a == 0) a = FILE_ATTRIBUTE_NORMAL;
  return SetFileAttributesW(file.c_str(), a) != 0;
}

}  // namespace ov
