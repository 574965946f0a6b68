#pragma once
// The user's special folders, as the shell resolves them.
#include <filesystem>
#include <string>

namespace ov {

enum class SpecialFolder { AppData, MyPictures, MyDocuments, Startup };

// Empty when the shell cannot resolve the folder.
std::filesystem::path GetSpecialFolder(SpecialFolder which);
// The folder of the running program file.
std::filesystem::path GetProgramFolder();
// The system temporary folder.
std::filesystem::path GetTempFolder();

}  // namespace ov

namespace ov {

// The path as the C library's fopen takes it: the short (8.3) form, which is ASCII on
// usual systems, in the ANSI code page. Empty when it cannot be given that way.
std::string AnsiPathForCLibrary(const std::filesystem::path& path);

}  // namespace ov
