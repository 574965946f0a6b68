#include "win/config/ChooseFont.h"

namespace ov {

bool ChooseFont(HWND, FontSpec&) {
  // The font dialog TFFont attaches here; until then nothing is chosen.
  return false;
}

}  // namespace ov
