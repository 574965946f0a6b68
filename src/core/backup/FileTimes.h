#pragma once
// File modification times as local date-times, the form cabinet entries and the
// program's settings hold them in.
#include <filesystem>
#include <optional>

#include "core/backup/CabFormat.h"

namespace ov {

// The file's last-write time in local time (days since 30 December 1899, whole seconds);
// nullopt when it cannot be read.
std::optional<double> FileLocalWriteTime(const std::filesystem::path& file);

// The file's last-write time in the two-second DOS form of cabinet entries.
std::optional<DosDateTime> FileDosWriteTime(const std::filesystem::path& file);

// Sets the file's last-write time from a local date-time. False on failure.
bool SetFileLocalWriteTime(const std::filesystem::path& file, double localDateTime);

}  // namespace ov
