#pragma once
// Re-encoding a picture file of any readable format as PNG or JPEG, with the system's
// imaging library.
#include <filesystem>

namespace ov {

class IImageEncoder {
 public:
  virtual ~IImageEncoder() = default;
  // Each returns true only when the encoder reported success; on failure no partial
  // target is left behind.
  virtual bool SaveAsPng(const std::filesystem::path& source, const std::filesystem::path& target) = 0;
  virtual bool SaveAsJpeg(const std::filesystem::path& source, const std::filesystem::path& target,
                          int quality) = 0;
};

}  // namespace ov
