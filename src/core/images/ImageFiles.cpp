#include "core/images/ImageFiles.h"

#include "core/util/Paths.h"
#include "core/util/Text.h"

namespace ov {

bool IsImageFile(const std::filesystem::path& file) {
  static const char* const kExtensions[] = {".bmp", ".jpg", ".jpeg", ".png", ".gif",
                                            ".tif", ".tiff", ".emf", ".wmf"};
  const std::string ext = PathToUtf8(file.extension());
  for (const char* e : kExtensions)
    if (EqualsIgnoreCaseAscii(ext, e)) return true;
  return false;
}

}  // namespace ov
