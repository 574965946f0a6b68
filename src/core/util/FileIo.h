#pragma once
// Whole-file reading and crash-safe writing of user data.
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

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

// WriteFileAtomic, except that a file already holding exactly these bytes is left as it
// is: a sync service would otherwise upload the unchanged file again to every computer.
bool WriteFileIfChanged(const std::filesystem::path& file, std::string_view bytes);

}  // namespace ov
