#include "core/platform/ShellFileOps.h"

#include <algorithm>
#include <system_error>

#include "core/util/Paths.h"
#include "core/util/Text.h"

namespace ov {

namespace fs = std::filesystem;

std::vector<FolderEntry> SimpleShellFileOps::ListSubfolders(const fs::path& folder) const {
  std::vector<FolderEntry> out;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code ec2;
    if (!it->is_directory(ec2) || it->is_symlink(ec2)) continue;
    FolderEntry e;
    e.name = PathToUtf8(it->path().filename());
    auto a = attributes_.find(it->path().lexically_normal());
    e.attributes = kFileAttributeDirectory | (a == attributes_.end() ? 0u : a->second);
    out.push_back(std::move(e));
  }
  std::sort(out.begin(), out.end(), [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
  return out;
}

bool SimpleShellFileOps::Exists(const fs::path& path) const {
  std::error_code ec;
  if (fs::exists(path, ec)) return true;
  const fs::path parent = path.parent_path();
  const std::string name = PathToUtf8(path.filename());
  if (name.empty()) return false;
  for (fs::directory_iterator it(parent, ec), end; !ec && it != end; it.increment(ec))
    if (EqualsIgnoreCaseAscii(PathToUtf8(it->path().filename()), name)) return true;
  return false;
}

bool SimpleShellFileOps::RecycleFolder(const fs::path& folder) {
  std::error_code ec;
  if (failing_ || !fs::is_directory(folder, ec)) return false;
  if (recycleBin_.empty()) {
    fs::remove_all(folder, ec);
  } else {
    fs::create_directories(recycleBin_, ec);
    fs::path target = recycleBin_ / folder.filename();
    for (int n = 2; fs::exists(target, ec); ++n)
      target = recycleBin_ / PathFromUtf8(PathToUtf8(folder.filename()) + "." + std::to_string(n));
    fs::rename(folder, target, ec);
  }
  if (ec) return false;
  recycled_.push_back(folder);
  return true;
}

bool SimpleShellFileOps::RenameFolder(const fs::path& from, const fs::path& to) {
  std::error_code ec;
  if (failing_ || !fs::is_directory(from, ec) || Exists(to)) return false;
  fs::rename(from, to, ec);
  return !ec;
}

bool SimpleShellFileOps::CopyFolder(const fs::path& from, const fs::path& to) {
  std::error_code ec;
  if (failing_ || !fs::is_directory(from, ec)) return false;
  fs::create_directories(to, ec);
  if (ec) return false;
  // File by file rather than fs::copy, whose recursive form differs between libraries.
  for (fs::recursive_directory_iterator it(from, ec), end; !ec && it != end; it.increment(ec)) {
    const fs::path target = to / it->path().lexically_relative(from);
    std::error_code ec2;
    if (it->is_directory(ec2)) {
      fs::create_directories(target, ec2);
    } else {
      fs::copy_file(it->path(), target, fs::copy_options::overwrite_existing, ec2);
    }
    if (ec2) return false;
  }
  return !ec;
}

bool SimpleShellFileOps::MoveFolder(const fs::path& from, const fs::path& to) {
  std::error_code ec;
  if (failing_ || !fs::is_directory(from, ec)) return false;
  if (!fs::exists(to, ec)) {
    fs::create_directories(to.parent_path(), ec);
    fs::rename(from, to, ec);
    if (!ec) return true;
  }
  if (!CopyFolder(from, to)) return false;
  fs::remove_all(from, ec);
  return !ec;
}

void SimpleShellFileOps::SetAttributes(const fs::path& folder, uint32_t attributes) {
  attributes_[folder.lexically_normal()] = attributes;
}

}  // namespace ov
