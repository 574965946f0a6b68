#pragma once
// Folder operations through the Windows shell (SHFileOperationW) and the file system:
// no confirmations, no progress, no error dialogs.
#include "core/platform/ShellFileOps.h"

namespace ov {

// The SHFileOperationW flags RecycleFolder passes: quiet, undo allowed, and the shell's
// warning when the folder would be deleted for good rather than recycled (a drive
// without a recycle bin, a folder too large for it), so the user can still say no.
unsigned RecycleFolderFlags();

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
