#include "core/platform/FileAttributes.h"

namespace ov {

namespace fs = std::filesystem;

std::optional<uint16_t> PortableFileAttributes::Get(const fs::path& file) const {
  std::error_code ec;
  fs::perms perms = fs::status(file, ec).permissions();
  if (ec) return std::nullopt;
  uint16_t attributes = 0x20;
  if ((perms & fs::perms::owner_write) == fs::perms::none) attributes |= 0x01;
  return attributes;
}

bool PortableFileAttributes::Set(const fs::path& file, uint16_t attributes) const {
  std::error_code ec;
  const fs::perms write = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
  if (attributes & 0x01) fs::permissions(file, write, fs::perm_options::remove, ec);
  else fs::permissions(file, fs::perms::owner_write, fs::perm_options::add, ec);
  return !ec;
}

}  // namespace ov
