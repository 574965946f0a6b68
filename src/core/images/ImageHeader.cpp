#include "core/images/ImageHeader.h"

namespace ov {

namespace {

class Bytes {
 public:
  explicit Bytes(std::string_view b, bool bigEndian = false) : b_(b), be_(bigEndian) {}
  size_t Size() const { return b_.size(); }
  bool Has(size_t pos, size_t n) const { return pos <= b_.size() && n <= b_.size() - pos; }
  uint32_t U8(size_t pos) const { return Has(pos, 1) ? static_cast<unsigned char>(b_[pos]) : 0; }
  uint32_t U16(size_t pos) const {
    if (!Has(pos, 2)) return 0;
    return be_ ? (U8(pos) << 8 | U8(pos + 1)) : (U8(pos + 1) << 8 | U8(pos));
  }
  uint32_t U32(size_t pos) const {
    if (!Has(pos, 4)) return 0;
    return be_ ? (U16(pos) << 16 | U16(pos + 2)) : (U16(pos + 2) << 16 | U16(pos));
  }
  bool Match(size_t pos, std::string_view s) const { return Has(pos, s.size()) && b_.substr(pos, s.size()) == s; }
  std::string_view View(size_t pos, size_t n) const { return Has(pos, 0) ? b_.substr(pos, n) : std::string_view(); }

 private:
  std::string_view b_;
  bool be_;
};

// A TIFF structure (a TIFF file, or the EXIF block of a JPEG): looks up tags of IFD0.
struct TiffTags {
  int64_t width = -1, height = -1;
  int orientation = 1;
};

TiffTags ReadTiffIfd0(std::string_view data) {
  TiffTags t;
  Bytes le(data);
  bool be;
  if (le.Match(0, "II")) be = false;
  else if (le.Match(0, "MM")) be = true;
  else return t;
  Bytes b(data, be);
  if (b.U16(2) != 42) return t;
  size_t ifd = b.U32(4);
  if (!b.Has(ifd, 2)) return t;
  uint32_t count = b.U16(ifd);
  for (uint32_t i = 0; i < count; ++i) {
    size_t e = ifd + 2 + size_t(i) * 12;
    if (!b.Has(e, 12)) break;
    uint32_t tag = b.U16(e), type = b.U16(e + 2);
    uint32_t value = type == 3 ? b.U16(e + 8) : (type == 4 ? b.U32(e + 8) : 0);
    if (type != 3 && type != 4) continue;
    if (tag == 256) t.width = value;
    else if (tag == 257) t.height = value;
    else if (tag == 0x0112 && value >= 1 && value <= 8) t.orientation = static_cast<int>(value);
  }
  return t;
}

void ReadJpeg(const Bytes& b, ImageHeaderInfo& info) {
  size_t pos = 2;
  for (;;) {
    if (b.U8(pos) != 0xFF) return;
    while (b.U8(pos) == 0xFF) ++pos;  // fill bytes
    if (!b.Has(pos, 1)) return;
    uint32_t marker = b.U8(pos++);
    if (marker == 0xD8 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) continue;
    if (marker == 0xD9 || marker == 0xDA) return;  // end of image, start of scan data
    if (!b.Has(pos, 2)) return;
    Bytes be(b.View(0, b.Size()), true);
    uint32_t len = be.U16(pos);
    if (len < 2 || !b.Has(pos, len)) return;
    bool sof = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
    if (sof && len >= 7) {
      info.height = be.U16(pos + 3);
      info.width = be.U16(pos + 5);
    } else if (marker == 0xE1 && len >= 8 && b.Match(pos + 2, std::string_view("Exif\0\0", 6))) {
      // The TIFF structure of the EXIF block runs to the end of the segment.
      info.orientation = ReadTiffIfd0(b.View(pos + 8, len - 8)).orientation;
    }
    pos += len;
  }
}

}  // namespace

ImageHeaderInfo ReadImageHeader(std::string_view bytes) {
  ImageHeaderInfo info;
  Bytes le(bytes), be(bytes, true);
  if (be.Match(0, "\x89PNG\r\n\x1a\n")) {
    info.format = ImageFormat::Png;
    if (be.Match(12, "IHDR") && be.Has(16, 8)) {
      info.width = be.U32(16);
      info.height = be.U32(20);
    }
  } else if (be.U16(0) == 0xFFD8 && bytes.size() >= 3) {
    info.format = ImageFormat::Jpeg;
    ReadJpeg(le, info);
  } else if (le.Match(0, "GIF87a") || le.Match(0, "GIF89a")) {
    info.format = ImageFormat::Gif;
    if (le.Has(6, 4)) {
      info.width = le.U16(6);
      info.height = le.U16(8);
    }
  } else if (le.Match(0, "BM")) {
    info.format = ImageFormat::Bmp;
    uint32_t headerSize = le.U32(14);
    if (headerSize == 12 && le.Has(18, 4)) {
      info.width = le.U16(18);
      info.height = le.U16(20);
    } else if (headerSize >= 40 && le.Has(18, 8)) {
      int64_t w = static_cast<int32_t>(le.U32(18)), h = static_cast<int32_t>(le.U32(22));
      info.width = w < 0 ? -w : w;
      info.height = h < 0 ? -h : h;  // negative height: rows stored top-down
    }
  } else if (le.Match(0, std::string_view("II*\0", 4)) || le.Match(0, std::string_view("MM\0*", 4))) {
    info.format = ImageFormat::Tiff;
    TiffTags t = ReadTiffIfd0(bytes);
    info.width = t.width;
    info.height = t.height;
  } else if (le.U32(0) == 1 && le.Match(40, " EMF")) {
    info.format = ImageFormat::Emf;
  } else if (le.U32(0) == 0x9AC6CDD7u || ((le.U16(0) == 1 || le.U16(0) == 2) && le.U16(2) == 9)) {
    info.format = ImageFormat::Wmf;  // placeable or plain metafile
  }
  return info;
}

}  // namespace ov
