#pragma once
// Room left on a volume, so that writing sized by outside data can stop before the disk
// is full.
#include <cstdint>
#include <filesystem>
#include <optional>

namespace ov {

class IDiskSpace {
 public:
  virtual ~IDiskSpace() = default;
  // Bytes the user may still write on the volume that holds `path`; nullopt when unknown.
  virtual std::optional<uint64_t> Available(const std::filesystem::path& path) const = 0;
};

// Through std::filesystem::space, which asks the operating system.
class PortableDiskSpace final : public IDiskSpace {
 public:
  std::optional<uint64_t> Available(const std::filesystem::path& path) const override;
};

}  // namespace ov
