#include "core/shell/TrayIconFace.h"

#include <algorithm>

#include "core/calendar/DateTime.h"

namespace ov {

TrayIconFace TrayIconFaceFor(double now, int32_t size) {
  TrayIconFace face;
  face.day = DecodeDate(ClampDateTime(now)).day;
  face.text = std::to_string(face.day);
  face.size = std::max<int32_t>(size, 8);
  const int32_t s = face.size;
  // A strip of about a quarter of the leaf on top, the digits filling the rest: two digits
  // must fit side by side, so the height gives way on small icons.
  face.header = {0, 0, s, std::max<int32_t>(2, s / 4)};
  face.textArea = {0, face.header.bottom, s, s};
  face.fontHeight = std::max<int32_t>(6, std::min<int32_t>(s - face.header.bottom, s * 3 / 4));
  return face;
}

bool TrayIconOutdated(int shownDay, double now) { return DecodeDate(ClampDateTime(now)).day != shownDay; }

}  // namespace ov
