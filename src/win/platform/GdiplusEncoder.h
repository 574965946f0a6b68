#pragma once
// PNG and JPEG encoding through GDI+ (needs a live GdiplusSession).
#include "core/platform/ImageEncoder.h"

namespace ov {

class GdiplusEncoder final : public IImageEncoder {
 public:
  bool SaveAsPng(const std::filesystem::path& source, const std::filesystem::path& target) override;
  bool SaveAsJpeg(const std::filesystem::path& source, const std::filesystem::path& target, int quality) override;
};

}  // namespace ov
