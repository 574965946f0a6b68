// Colour-code files of any size and content: read, changed through the editor, read back.
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "FuzzCheck.h"
#include "core/calendar/ColorCodes.h"
#include "core/calendar/DateTime.h"

namespace fs = std::filesystem;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace ov;
  static const fs::path folder = [] {
    static fs::path p = fs::temp_directory_path() / ("orv-fuzz-codes-" + std::to_string(getpid()));
    fs::create_directories(p);
    std::atexit([] {
      std::error_code ec;
      fs::remove_all(p, ec);
    });
    return p;
  }();
  const int year = 2024;
  const fs::path file = CodesFilePath(folder, year);
  {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }

  const YearCodesRead r = ReadYearCodes(folder, year);
  FUZZ_CHECK(r.readable);
  for (size_t k = 0; k < kCodesPerYear; ++k) {
    uint32_t expect = 0;
    if ((k + 1) * 4 <= size)
      for (int b = 0; b < 4; ++b) expect |= uint32_t(data[k * 4 + b]) << (8 * b);
    FUZZ_CHECK(r.values[k] == expect);
    const int code = ColorCodeOfMask(r.values[k]);
    FUZZ_CHECK(code >= -1 && code <= 7);
    (void)ColorCodeRgb(code);
  }

  // One day changed: only that day differs afterwards, and the file has its full size.
  const int dayIndex = size > 0 ? data[0] % 366 : 0;  // 2024 has 366 days
  const uint32_t mask = size > 1 ? data[size - 1] : 1;
  YearCodesEditor editor(folder);
  editor.Set(EncodeDate(year, 1, 1) + dayIndex, mask);
  FUZZ_CHECK(editor.Flush());
  CodesCache cache;
  cache.Load(folder, year);
  FUZZ_CHECK(cache.codes.readable);
  for (int d = 1; d <= kCodesPerYear; ++d) {
    const uint32_t expect = d == dayIndex + 1 ? mask : r.values[size_t(d - 1)];
    FUZZ_CHECK(cache.MaskOfDay(d) == expect);
  }
  FUZZ_CHECK(fs::file_size(file) == kCodesFileSize);
  (void)cache.MaskOfDay(0);
  (void)cache.MaskOfDay(kCodesPerYear + 1);
  return 0;
}
