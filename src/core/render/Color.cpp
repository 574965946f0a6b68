#include "core/render/Color.h"

#include "core/platform/SystemColors.h"

namespace ov {

Pixel ToArgb(uint32_t winColor) {
  uint32_t c = IsSystemColor(winColor) ? SystemColor(static_cast<int>(winColor & 0xFF)) : winColor;
  return 0xFF000000u | ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

}  // namespace ov
