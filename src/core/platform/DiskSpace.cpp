#include "core/platform/DiskSpace.h"

namespace ov {

std::optional<uint64_t> PortableDiskSpace::Available(const std::filesystem::path& path) const {
  std::error_code ec;
  const std::filesystem::space_info info = std::filesystem::space(path, ec);
  if (ec || info.available == static_cast<std::uintmax_t>(-1)) return std::nullopt;
  return static_cast<uint64_t>(info.available);
}

}  // namespace ov
