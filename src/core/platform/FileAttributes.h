#pragma once
// File attributes as cabinet entries carry them: read-only 0x01, hidden 0x02, system 0x04,
// archive 0x20. Systems without such attributes have only read-only (no write permission).
#include <cstdint>
#include <filesystem>
#include <optional>

namespace ov {

inline constexpr uint16_t kFileAttributeMask = 0x27;

class IFileAttributes {
 public:
  virtual ~IFileAttributes() = default;
  // The file's attributes within kFileAttributeMask; nullopt when they cannot be read.
  virtual std::optional<uint16_t> Get(const std::filesystem::path& file) const = 0;
  // Sets the file's attributes within kFileAttributeMask. False on failure.
  virtual bool Set(const std::filesystem::path& file, uint16_t attributes) const = 0;
};

// Read-only from the write permissions, archive always on: what portable code can know.
class PortableFileAttributes final : public IFileAttributes {
 public:
  std::optional<uint16_t> Get(const std::filesystem::path& file) const override;
  bool Set(const std::filesystem::path& file, uint16_t attributes) const override;
};

}  // namespace ov
