#pragma once
// The user's special folders, as the shell resolves them.
#include <filesystem>

namespace ov {

enum class SpecialFolder { AppData, MyPictures, MyDocuments, Startup };

// Empty when the shell cannot resolve the folder.
std::filesystem::path GetSpecialFolder(SpecialFolder which);
// The folder of the running program file.
std::filesystem::path GetProgramFolder();
// The system temporary folder.
std::filesystem::path GetTempFolder();

}  // namespace ov
