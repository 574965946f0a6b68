#pragma once
// File attributes through the Windows API: read-only, hidden, system and archive.
#include "core/platform/FileAttributes.h"

namespace ov {

class WinFileAttributes final : public IFileAttributes {
 public:
  std::optional<uint16_t> Get(const std::filesystem::path& file) const override;
  bool Set(const std::filesystem::path& file, uint16_t attributes) const override;
};

}  // namespace ov
