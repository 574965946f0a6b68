#pragma once
// Folder operations through the Windows shell (SHFileOperationW) and the file system:
// no confirmations, no progress, no error dialogs.
#include "core/platform/ShellFileOps.h"

namespace ov {

class WinShellFileOps final : public IShellFileOps {
 public:
  std::vector<FolderEntry> ListSubfolders(const std::filesystem::path& folder) const override;
  bool Exists(const std::filesystem::path& path) const override;
  bool RecycleFolder(const std::filesystem::path& folder) override;
  bool RenameFolder(const std::filesystem::path& from, const std::filesystem::path& to) override;
  bool CopyFolder(const std::filesystem::path& from, const std::filesystem::path& to) override;
  bool MoveFolder(const std::filesystem::path& from, const std::filesystem::path& to) override;
};

}  // namespace ov
