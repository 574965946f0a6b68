#include "core/render/FontSpec.h"

#include <cstring>

#include "core/platform/CodePage.h"
#include "core/util/Numeric.h"

namespace ov {

int FontSpec::PointSize() const {
  int32_t h = height < 0 ? -height : height;
  return static_cast<int>(Round(h * 72.0 / 96.0));
}

void FontSpec::SetPointSize(int points) {
  height = -static_cast<int32_t>((static_cast<int64_t>(points) * 96 + 36) / 72);
}

namespace {

void PutLong(std::string& b, size_t at, int32_t v) {
  uint32_t u = static_cast<uint32_t>(v);
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>((u >> (8 * i)) & 0xFF);
}

int32_t GetLong(const std::string& b, size_t at) {
  uint32_t u = 0;
  for (int i = 0; i < 4; ++i) u |= static_cast<uint32_t>(static_cast<unsigned char>(b[at + i])) << (8 * i);
  return static_cast<int32_t>(u);
}

}  // namespace

std::string EncodeLogFontA(const FontSpec& font, const ICodePage& codePage) {
  std::string b(kLogFontASize, '\0');
  PutLong(b, 0, font.height);
  PutLong(b, 4, 0);   // width: the font's own aspect
  PutLong(b, 8, 0);   // escapement
  PutLong(b, 12, 0);  // orientation
  PutLong(b, 16, font.weight);
  b[20] = font.italic ? 1 : 0;
  b[21] = font.underline ? 1 : 0;
  b[22] = font.strikeOut ? 1 : 0;
  b[23] = static_cast<char>(font.charSet);
  // out precision, clip precision, quality, pitch and family stay 0 (defaults)
  std::string face = codePage.FromUtf8(font.face).value_or("Tahoma");
  if (face.size() > 31) face.resize(31);
  std::memcpy(&b[28], face.data(), face.size());
  return b;
}

std::optional<FontSpec> DecodeLogFontA(const std::string& bytes, const ICodePage& codePage) {
  if (bytes.size() != kLogFontASize) return std::nullopt;
  FontSpec f;
  f.height = GetLong(bytes, 0);
  f.weight = GetLong(bytes, 16);
  f.italic = bytes[20] != 0;
  f.underline = bytes[21] != 0;
  f.strikeOut = bytes[22] != 0;
  f.charSet = static_cast<uint8_t>(bytes[23]);
  size_t len = 0;
  while (len < 32 && bytes[28 + len] != '\0') ++len;
  if (len == 0 || len == 32) return std::nullopt;
  f.face = codePage.ToUtf8(bytes.substr(28, len));
  if (f.height == 0 || f.height > 1000 || f.height < -1000) return std::nullopt;
  if (f.weight < 0 || f.weight > 1000) return std::nullopt;
  if (f.weight == 0) f.weight = 400;  // FW_DONTCARE draws as normal
  return f;
}

}  // namespace ov
