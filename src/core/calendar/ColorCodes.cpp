#include "core/calendar/ColorCodes.h"

#include <fstream>
#include <string>
#include <system_error>

#include "core/calendar/DateTime.h"
#include "core/util/FileIo.h"
#include "core/util/Paths.h"
#include "core/util/Text.h"

namespace ov {

namespace fs = std::filesystem;

uint32_t ColorCodeRgb(int index) {
  if (index < 0 || index >= static_cast<int>(kColorCodeTable.size())) return 0;
  return kColorCodeTable[static_cast<size_t>(index)].rgb;
}

int ColorCodeOfMask(uint32_t mask) {
  for (int i = 0; i < 8; ++i)
    if (mask & (1u << i)) return i;
  return -1;
}

fs::path CodesFilePath(const fs::path& entriesFolder, int year) {
  return entriesFolder / PathFromUtf8(Format("Codes%d.dat", year));
}

YearCodesRead ReadYearCodes(const fs::path& entriesFolder, int year) {
  return ReadCodesFile(CodesFilePath(entriesFolder, year));
}

YearCodesRead ReadCodesFile(const fs::path& file) {
  YearCodesRead r;
  std::error_code ec;
  fs::file_status st = fs::status(file, ec);
  if (ec || !fs::exists(st)) return r;  // no file: no codes
  std::ifstream in(file, std::ios::binary);
  if (!in || fs::is_directory(st)) {
    r.readable = false;
    return r;
  }
  // One block of at most 1480 bytes; whatever the file holds beyond it is not read.
  unsigned char bytes[kCodesFileSize] = {};
  in.read(reinterpret_cast<char*>(bytes), kCodesFileSize);
  if (in.bad()) {
    r.values = {};
    r.readable = false;
    return r;
  }
  const size_t got = static_cast<size_t>(in.gcount());
  for (size_t k = 0; k < kCodesPerYear && (k + 1) * 4 <= got; ++k) {
    const unsigned char* p = bytes + k * 4;
    r.values[k] = uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
  }
  return r;
}

bool WriteYearCodes(const fs::path& entriesFolder, int year, const YearCodes& values) {
  std::string bytes(kCodesFileSize, '\0');
  for (size_t k = 0; k < kCodesPerYear; ++k)
    for (int b = 0; b < 4; ++b) bytes[k * 4 + b] = static_cast<char>((values[k] >> (8 * b)) & 0xFF);
  std::error_code ec;
  fs::create_directories(entriesFolder, ec);
  return WriteFileIfChanged(CodesFilePath(entriesFolder, year), bytes);
}

void CodesCache::Load(const fs::path& entriesFolder, int y) {
  year = y;
  codes = ReadYearCodes(entriesFolder, y);
}

uint32_t CodesCache::MaskOfDay(int dayOfYear) const {
  if (dayOfYear < 1 || dayOfYear > kCodesPerYear) return 0;
  return codes.values[static_cast<size_t>(dayOfYear - 1)];
}

void YearCodesEditor::Set(double date, uint32_t mask) {
  if (!IsValidDateTime(date)) return;
  const int year = DecodeDate(date).year;
  if (year != year_) {
    Flush();
    year_ = year;
    working_ = ReadYearCodes(entriesFolder_, year);
  }
  if (!working_.readable) return;
  working_.values[static_cast<size_t>(DayOfYear(date) - 1)] = mask;
  dirty_ = true;
}

bool YearCodesEditor::Flush() {
  if (dirty_ && working_.readable && !WriteYearCodes(entriesFolder_, year_, working_.values)) ok_ = false;
  dirty_ = false;
  return ok_;
}

}  // namespace ov
