#include "core/render/Bitmap32.h"

namespace ov {

void TBitmap32::SetSize(int32_t width, int32_t height) {
  if (width <= 0 || height <= 0) width = height = 0;
  width_ = width;
  height_ = height;
  pixels_.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
  pixels_.shrink_to_fit();
}

}  // namespace ov
