#include "core/backup/FileTimes.h"

#include <chrono>
#include <cmath>
#include <ctime>

#include "core/calendar/DateTime.h"

namespace ov {

namespace fs = std::filesystem;

namespace {

bool LocalBrokenDown(std::time_t t, std::tm& out) {
#ifdef _WIN32
  return localtime_s(&out, &t) == 0;
#else
  return localtime_r(&t, &out) != nullptr;
#endif
}

}  // namespace

std::optional<double> FileLocalWriteTime(const fs::path& file) {
  std::error_code ec;
  fs::file_time_type ft = fs::last_write_time(file, ec);
  if (ec) return std::nullopt;
  auto sys = std::chrono::file_clock::to_sys(ft);
  auto secs = std::chrono::floor<std::chrono::seconds>(sys).time_since_epoch().count();
  std::tm tm{};
  if (!LocalBrokenDown(static_cast<std::time_t>(secs), tm)) return std::nullopt;
  return EncodeDateTime(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec);
}

std::optional<DosDateTime> FileDosWriteTime(const fs::path& file) {
  auto t = FileLocalWriteTime(file);
  if (!t) return std::nullopt;
  return DosFromDateTime(*t);
}

bool SetFileLocalWriteTime(const fs::path& file, double localDateTime) {
  double v = ClampDateTime(localDateTime);
  CivilDate d = DecodeDate(v);
  int secsOfDay = static_cast<int>(std::floor(TimeOf(v) * 86400.0 + 1e-6));
  if (secsOfDay > 86399) secsOfDay = 86399;
  std::tm tm{};
  tm.tm_year = d.year - 1900;
  tm.tm_mon = d.month - 1;
  tm.tm_mday = d.day;
  tm.tm_hour = secsOfDay / 3600;
  tm.tm_min = (secsOfDay / 60) % 60;
  tm.tm_sec = secsOfDay % 60;
  tm.tm_isdst = -1;  // let the system decide whether daylight saving applies then
  std::time_t t = std::mktime(&tm);
  if (t == static_cast<std::time_t>(-1)) return false;
  auto sys = std::chrono::system_clock::time_point(std::chrono::seconds(static_cast<long long>(t)));
  std::error_code ec;
  fs::last_write_time(file, std::chrono::file_clock::from_sys(sys), ec);
  return !ec;
}

}  // namespace ov
