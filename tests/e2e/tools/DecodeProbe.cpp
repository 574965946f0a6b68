// decodeprobe.exe FILE: decodes a picture as the program does and prints its size, the
// time the decode took and the process's peak memory, for measuring large photos.
#include <windows.h>
#include <psapi.h>

#include <chrono>
#include <cstdio>

#include "core/images/ImageChecksum.h"
#include "win/platform/GdiplusDecoder.h"

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: decodeprobe FILE\n");
    return 64;
  }
  ov::GdiplusSession session;
  ov::GdiplusDecoder decoder;
  ov::TBitmap32 picture;
  auto start = std::chrono::steady_clock::now();
  ov::DecodeResult r = decoder.Decode(picture, argv[1]);
  double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  PROCESS_MEMORY_COUNTERS pmc{};
  pmc.cb = sizeof(pmc);
  GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof(pmc));
  std::printf("%s %dx%d decode %.0f ms peak-private %.0f MB peak-working-set %.0f MB checksum %08x\n",
              r.ok ? "decoded" : "refused", picture.Width(), picture.Height(), ms,
              pmc.PeakPagefileUsage / 1048576.0, pmc.PeakWorkingSetSize / 1048576.0, ov::ImageChecksum(picture));
  return r.ok ? 0 : 1;
}
