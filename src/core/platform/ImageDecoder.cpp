#include "core/platform/ImageDecoder.h"

#include <cctype>
#include <optional>

#include "core/util/FileIo.h"

namespace ov {

namespace {

// Reads the whitespace-separated header tokens of a P6 file, skipping '#' comments.
class HeaderReader {
 public:
  explicit HeaderReader(std::string_view bytes, size_t pos) : b_(bytes), pos_(pos) {}

  std::optional<int64_t> Number() {
    SkipBlanksAndComments();
    int64_t v = 0;
    size_t start = pos_;
    while (pos_ < b_.size() && std::isdigit(static_cast<unsigned char>(b_[pos_]))) {
      v = v * 10 + (b_[pos_] - '0');
      if (v > (int64_t(1) << 40)) return std::nullopt;
      ++pos_;
    }
    if (pos_ == start) return std::nullopt;
    return v;
  }
  // Lines of a P7 header, without the line end.
  std::optional<std::string_view> Line() {
    if (pos_ >= b_.size()) return std::nullopt;
    size_t e = b_.find('\n', pos_);
    if (e == std::string_view::npos) return std::nullopt;
    std::string_view line = b_.substr(pos_, e - pos_);
    pos_ = e + 1;
    return line;
  }
  // After the last header number of P6 exactly one whitespace byte follows.
  bool SkipOneBlank() {
    if (pos_ >= b_.size() || !std::isspace(static_cast<unsigned char>(b_[pos_]))) return false;
    ++pos_;
    return true;
  }
  size_t Pos() const { return pos_; }

 private:
  void SkipBlanksAndComments() {
    while (pos_ < b_.size()) {
      char c = b_[pos_];
      if (c == '#') {
        while (pos_ < b_.size() && b_[pos_] != '\n') ++pos_;
      } else if (std::isspace(static_cast<unsigned char>(c))) {
        ++pos_;
      } else {
        break;
      }
    }
  }
  std::string_view b_;
  size_t pos_;
};

struct PamHeader {
  int64_t width = 0, height = 0, depth = 0, maxval = 0;
  std::string tupltype;
  size_t dataStart = 0;
};

std::optional<PamHeader> ParsePamHeader(std::string_view bytes) {
  HeaderReader r(bytes, 3);
  PamHeader h;
  for (;;) {
    auto line = r.Line();
    if (!line) return std::nullopt;
    std::string_view l = *line;
    if (!l.empty() && l.back() == '\r') l.remove_suffix(1);
    if (l.empty() || l[0] == '#') continue;
    if (l == "ENDHDR") break;
    size_t sp = l.find(' ');
    if (sp == std::string_view::npos) return std::nullopt;
    std::string_view key = l.substr(0, sp), value = l.substr(sp + 1);
    if (key == "TUPLTYPE") {
      h.tupltype = std::string(value);
      continue;
    }
    HeaderReader num(value, 0);
    auto n = num.Number();
    if (!n) return std::nullopt;
    if (key == "WIDTH") h.width = *n;
    else if (key == "HEIGHT") h.height = *n;
    else if (key == "DEPTH") h.depth = *n;
    else if (key == "MAXVAL") h.maxval = *n;
  }
  h.dataStart = r.Pos();
  return h;
}

}  // namespace

DecodeResult NetpbmImageDecoder::DecodeBytes(TBitmap32& surface, std::string_view bytes) {
  surface.SetSize(0, 0);
  if (bytes.size() < 3 || bytes[0] != 'P' || !std::isspace(static_cast<unsigned char>(bytes[2])))
    return {};
  int64_t w = 0, h = 0, depth = 0;
  bool alpha = false;
  size_t start = 0;
  if (bytes[1] == '6') {
    HeaderReader r(bytes, 2);
    auto pw = r.Number(), ph = r.Number(), pm = r.Number();
    if (!pw || !ph || !pm || *pm != 255 || !r.SkipOneBlank()) return {};
    w = *pw;
    h = *ph;
    depth = 3;
    start = r.Pos();
  } else if (bytes[1] == '7') {
    auto hdr = ParsePamHeader(bytes);
    if (!hdr || hdr->maxval != 255) return {};
    w = hdr->width;
    h = hdr->height;
    depth = hdr->depth;
    const std::string& t = hdr->tupltype;
    bool known = (t == "RGB" && depth == 3) || (t == "RGB_ALPHA" && depth == 4) ||
                 (t == "GRAYSCALE" && depth == 1) || (t == "GRAYSCALE_ALPHA" && depth == 2);
    if (!known) return {};
    alpha = depth == 2 || depth == 4;
    start = hdr->dataStart;
  } else {
    return {};
  }
  if (!ImageSizeAcceptable(w, h)) return {};
  if (static_cast<uint64_t>(bytes.size() - start) < static_cast<uint64_t>(w * h * depth)) return {};

  surface.SetSize(static_cast<int32_t>(w), static_cast<int32_t>(h));
  const unsigned char* src = reinterpret_cast<const unsigned char*>(bytes.data()) + start;
  Pixel* dst = surface.Bits();
  const size_t n = static_cast<size_t>(w * h);
  for (size_t i = 0; i < n; ++i, src += depth) {
    uint32_t r, g, b, a = 255;
    if (depth >= 3) {
      r = src[0];
      g = src[1];
      b = src[2];
      if (depth == 4) a = src[3];
    } else {
      r = g = b = src[0];
      if (depth == 2) a = src[1];
    }
    dst[i] = (a << 24) | (r << 16) | (g << 8) | b;
  }
  return {true, alpha ? kPixelFormat32bppArgb : kPixelFormat24bppRgb};
}

DecodeResult NetpbmImageDecoder::Decode(TBitmap32& surface, const std::filesystem::path& file) {
  auto bytes = ReadFileBytes(file, size_t(1) << 30);
  if (!bytes) {
    surface.SetSize(0, 0);
    return {};
  }
  return DecodeBytes(surface, *bytes);
}

namespace {

std::string EncodeNetpbm(const TBitmap32& s, bool alpha) {
  std::string out = alpha ? "P7\nWIDTH " + std::to_string(s.Width()) + "\nHEIGHT " +
                                std::to_string(s.Height()) +
                                "\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n"
                          : "P6\n" + std::to_string(s.Width()) + " " + std::to_string(s.Height()) +
                                "\n255\n";
  const size_t n = static_cast<size_t>(s.Width()) * static_cast<size_t>(s.Height());
  out.reserve(out.size() + n * (alpha ? 4 : 3));
  for (size_t i = 0; i < n; ++i) {
    Pixel p = s.Bits()[i];
    out += static_cast<char>((p >> 16) & 0xFF);
    out += static_cast<char>((p >> 8) & 0xFF);
    out += static_cast<char>(p & 0xFF);
    if (alpha) out += static_cast<char>(p >> 24);
  }
  return out;
}

}  // namespace

std::string EncodePpm(const TBitmap32& surface) { return EncodeNetpbm(surface, false); }
std::string EncodePamRgba(const TBitmap32& surface) { return EncodeNetpbm(surface, true); }

}  // namespace ov
