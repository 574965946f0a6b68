#pragma once
// Which files the program treats as pictures.
#include <filesystem>

namespace ov {

// True for the extensions .bmp .jpg .jpeg .png .gif .tif .tiff .emf .wmf in any case.
bool IsImageFile(const std::filesystem::path& file);

}  // namespace ov
