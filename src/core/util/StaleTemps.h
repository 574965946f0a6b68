#pragma once
// Leftovers of interrupted writes: WriteFileAtomic writes "~$<target>.<N>-<M>.tmp"
// (earlier versions "<target>.tmp<N>-<M>") beside
// its target and renames it, a restore extracts each file to "<target>.cabpart<N>" first,
// and a backup writes its cabinet as "<cabinet>.cab.part<N>"; a kill or power cut before
// the rename leaves the temporary behind. These are found and removed at start-up.
#include <chrono>
#include <cstddef>
#include <filesystem>
#include <string_view>

namespace ov {

// Whether a file name has the form of WriteFileAtomic's temporaries: "~$", a non-empty
// target name, ".", digits, "-", digits, ".tmp"; or the earlier form: a non-empty target
// name, ".tmp", digits, "-", digits, and nothing else.
bool IsAtomicWriteTempName(std::string_view fileName);
// Whether a file name has the form of a cabinet's temporaries: a non-empty target name
// followed by ".cabpart" and digits (a file being restored), or a name ending in ".cab"
// followed by ".part" and digits (a cabinet being written).
bool IsCabinetPartName(std::string_view fileName);
// Any of the temporaries above.
bool IsProgramTempName(std::string_view fileName);

struct StaleTempOptions {
  // Only files last written at least this long before `now` are removed, so that a write
  // still under way in another copy of the program is left alone.
  std::chrono::seconds minAge{60};
  std::filesystem::file_time_type now = std::filesystem::file_time_type::clock::now();
  // 0 looks at the folder only; n also at its subfolders n levels down.
  int depth = 0;
  // Which file names count as temporaries to remove.
  bool (*isTemp)(std::string_view fileName) = IsProgramTempName;
};

// Removes the stale temporaries in a folder. Only regular files of our name form are
// touched; links are never followed; a file that cannot be removed (open in another
// process, read-only) is left. Returns how many were removed.
size_t RemoveStaleWriteTemps(const std::filesystem::path& folder, const StaleTempOptions& options = {});

}  // namespace ov
