#include "support/PngFile.h"

#include <zlib.h>

#include <fstream>
#include <string>

#include "core/util/Paths.h"

namespace ov::test {

namespace {

void Put32(std::string& s, uint32_t v) {
  for (int i = 3; i >= 0; --i) s += char((v >> (8 * i)) & 0xFF);
}

void Chunk(std::string& out, const char* type, const std::string& data) {
  Put32(out, uint32_t(data.size()));
  std::string body = std::string(type, 4) + data;
  out += body;
  Put32(out, uint32_t(crc32(0, reinterpret_cast<const Bytef*>(body.data()), uInt(body.size()))));
}

}  // namespace

bool WritePng(const TBitmap32& p, const std::filesystem::path& file, bool withAlpha) {
  if (p.Empty()) return false;
  const int channels = withAlpha ? 4 : 3;
  std::string raw;
  raw.reserve(size_t(p.Height()) * (size_t(p.Width()) * channels + 1));
  for (int32_t y = 0; y < p.Height(); ++y) {
    raw += '\0';  // filter type: none
    const Pixel* row = p.Row(y);
    for (int32_t x = 0; x < p.Width(); ++x) {
      raw += char(RedOf(row[x]));
      raw += char(GreenOf(row[x]));
      raw += char(BlueOf(row[x]));
      if (withAlpha) raw += char(AlphaOf(row[x]));
    }
  }
  uLongf size = compressBound(uLong(raw.size()));
  std::string z(size, '\0');
  if (compress2(reinterpret_cast<Bytef*>(z.data()), &size, reinterpret_cast<const Bytef*>(raw.data()),
                uLong(raw.size()), 6) != Z_OK)
    return false;
  z.resize(size);
  std::string png = "\x89PNG\r\n\x1a\n";
  std::string ihdr;
  Put32(ihdr, uint32_t(p.Width()));
  Put32(ihdr, uint32_t(p.Height()));
  ihdr += char(8);                      // bit depth
  ihdr += char(withAlpha ? 6 : 2);      // RGBA or RGB
  ihdr += std::string(3, '\0');         // compression, filter, interlace
  Chunk(png, "IHDR", ihdr);
  Chunk(png, "IDAT", z);
  Chunk(png, "IEND", "");
  std::ofstream f(file, std::ios::binary);
  f.write(png.data(), std::streamsize(png.size()));
  return bool(f);
}

std::filesystem::path ArtefactsFolder() {
#ifdef ORV_TEST_ARTEFACTS_DIR
  std::string dir = ORV_TEST_ARTEFACTS_DIR;
#ifdef _WIN32
  if (!dir.empty() && dir[0] == '/') dir = "Z:" + dir;  // the Unix build tree seen from Wine
#endif
  std::filesystem::path p = PathFromUtf8(dir);
#else
  std::filesystem::path p = "test-artefacts";
#endif
  std::error_code ec;
  std::filesystem::create_directories(p, ec);
  return p;
}

}  // namespace ov::test
