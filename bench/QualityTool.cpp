// Command-line access to the resampler and the BMP writer for bench/compare_quality.sh,
// which compares their output with ImageMagick's. Not a benchmark: it has its own main.
//   QualityTool resize spline|linear|nearest in.ppm out.ppm width height
//   QualityTool bmp 0..4 in.ppm out.bmp
//   QualityTool photo width height out.ppm        (the benchmarks' photograph-like picture)
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "BenchImages.h"
#include "core/render/BmpWriter.h"
#include "core/render/Resample.h"

namespace {

bool ReadPpm(const char* path, ov::TBitmap32& out) {
  std::ifstream f(path, std::ios::binary);
  std::string magic;
  int w = 0, h = 0, maxv = 0;
  f >> magic >> w >> h >> maxv;
  f.get();
  if (magic != "P6" || w <= 0 || h <= 0 || maxv != 255) return false;
  out.SetSize(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      unsigned char rgb[3];
      if (!f.read(reinterpret_cast<char*>(rgb), 3)) return false;
      out.At(x, y) = ov::MakeArgb(255, rgb[0], rgb[1], rgb[2]);
    }
  return true;
}

int Usage() {
  std::fprintf(stderr, "usage: QualityTool resize|bmp|photo ...\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  const std::string cmd = argv[1];
  if (cmd == "photo" && argc == 5) {
    return ov::bench::WritePpm(ov::bench::PhotoLike(std::atoi(argv[2]), std::atoi(argv[3])), argv[4]) ? 0 : 1;
  }
  ov::TBitmap32 src;
  if (cmd == "resize" && argc == 7) {
    if (!ReadPpm(argv[3], src)) return 1;
    ov::StretchFilter f = std::strcmp(argv[2], "spline") == 0   ? ov::StretchFilter::Spline
                          : std::strcmp(argv[2], "linear") == 0 ? ov::StretchFilter::Linear2
                                                                : ov::StretchFilter::Nearest;
    ov::TBitmap32 dst(std::atoi(argv[5]), std::atoi(argv[6]));
    ov::ResampleInto(dst, dst.BoundsRect(), src, src.BoundsRect(), f, ov::DrawMode::Opaque);
    return ov::bench::WritePpm(dst, argv[4]) ? 0 : 1;
  }
  if (cmd == "bmp" && argc == 5) {
    if (!ReadPpm(argv[3], src)) return 1;
    std::string bytes = ov::EncodeBmp(src, ov::BmpDepthFromPixelMode(std::atoi(argv[2])));
    std::ofstream o(argv[4], std::ios::binary);
    o.write(bytes.data(), std::streamsize(bytes.size()));
    return o ? 0 : 1;
  }
  return Usage();
}
