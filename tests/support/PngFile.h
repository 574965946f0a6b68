#pragma once
// Writes a surface as a PNG file (8-bit RGB, or RGBA with alpha) so tests can leave
// pictures to look at in the test artefacts.
#include <filesystem>

#include "core/render/Bitmap32.h"

namespace ov::test {

bool WritePng(const TBitmap32& picture, const std::filesystem::path& file, bool withAlpha = false);

// The folder for test artefacts (pictures, screenshots) of this build tree, created on
// first use; ORV_TEST_ARTEFACTS_DIR names it, a "test-artefacts" folder in the current
// one otherwise.
std::filesystem::path ArtefactsFolder();

}  // namespace ov::test
