#pragma once
// Whole-file reading and crash-safe writing of user data.
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ov {

// Reads a whole file. nullopt when it cannot be opened or read, or when it is larger
// than maxBytes (so a runaway file cannot exhaust memory).
std::optional<std::string> ReadFileBytes(const std::filesystem::path& file,
                                         size_t maxBytes = size_t(256) << 20);

// Writes the bytes to a temporary file beside the target and then replaces the target
// with it, so a crash, a full disk or a failed write leaves the old file whole. The
// temporary's name ("~$<name>.<N>-<M>.tmp") is one that sync services do not upload.
// The folder must exist. Returns false on any failure (and the target is unchanged).
bool WriteFileAtomic(const std::filesystem::path& file, std::string_view bytes);

// A stretch [first, last) of a file's bytes.
struct ByteRange {
  size_t first = 0, last = 0;
  bool operator==(const ByteRange&) const = default;
};

// Writes only the ranges of `bytes` into `file` in place, over a file that must be
// exactly as long as `bytes` and hold `before[i]` in range i (checked first): the caller
// knows that the rest of the file already holds the rest of them. For a file that is
// rebuilt at will, like the wallpaper: a crash in the middle leaves a file of the right
// form with some ranges old and some new. False, with nothing written, when the file is
// missing, of another length or not as expected; false too when a write fails (then its
// content is uncertain).
bool WriteFileRanges(const std::filesystem::path& file, std::string_view bytes, const std::vector<ByteRange>& ranges,
                     const std::vector<std::string>& before);

// Writes `bytes` over `file` in place, from its first byte; the file must already be
// exactly as long. For a file that is rebuilt at will, like the wallpaper: no disk space
// is taken and nothing is renamed (a new file and a rename cost many times the write on
// some file systems), and a crash in the middle leaves a file of the right form, part
// old and part new. False, with nothing written, when the file is missing or of another
// length; false too when the write fails (then its content is uncertain).
bool OverwriteFileInPlace(const std::filesystem::path& file, std::string_view bytes);

// WriteFileAtomic, except that a file already holding exactly these bytes is left as it
// is: a sync service would otherwise upload the unchanged file again to every computer.
bool WriteFileIfChanged(const std::filesystem::path& file, std::string_view bytes);

}  // namespace ov
