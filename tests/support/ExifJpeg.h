#pragma once
// JPEG files with an EXIF orientation, as cameras write them, for the picture tests.
#include <cstdint>
#include <string>

namespace ov::test {

// The JPEG's bytes with an EXIF block holding only the orientation tag inserted right
// after the start-of-image marker.
inline std::string WithExifOrientation(const std::string& jpeg, uint16_t orientation) {
  std::string tiff("II*\0\x08\0\0\0\x01\0\x12\x01\x03\0\x01\0\0\0", 18);
  tiff += static_cast<char>(orientation);
  tiff += std::string(7, '\0');  // rest of the value, next-IFD offset
  std::string body = std::string("Exif\0\0", 6) + tiff;
  std::string seg = std::string("\xFF\xE1", 2) + static_cast<char>((body.size() + 2) >> 8) +
                    static_cast<char>((body.size() + 2) & 0xFF) + body;
  return jpeg.substr(0, 2) + seg + jpeg.substr(2);
}

}  // namespace ov::test
