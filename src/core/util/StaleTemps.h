#pragma once
// Leftovers of interrupted atomic writes: WriteFileAtomic writes "<target>.tmp<N>-<M>"
// beside its target and renames it; a kill or power cut between the two leaves the
// temporary behind. These are found and removed at start-up.
#include <chrono>
#include <cstddef>
#include <filesystem>
#include <string_view>

namespace ov {

// Whether a file name has the form of WriteFileAtomic's temporaries: a non-empty target
// name, ".tmp", digits, "-", digits, and nothing else.
bool IsAtomicWriteTempName(std::string_view fileName);

struct StaleTempOptions {
  // Only files last written at least this long before `now` are removed, so that a write
  // still under way in another copy of the program is left alone.
  std::chrono::seconds minAge{60};
  std::filesystem::file_time_type now = std::filesystem::file_time_type::clock::now();
  // 0 looks at the folder only; n also at its subfolders n levels down.
  int depth = 0;
};

// Removes the stale temporaries in a folder. Only regular files of our name form are
// touched; links are never followed; a file that cannot be removed (open in another
// process, read-only) is left. Returns how many were removed.
size_t RemoveStaleWriteTemps(const std::filesystem::path& folder, const StaleTempOptions& options = {});

}  // namespace ov
