#include "core/backup/CabFormat.h"

#include <cmath>

#include "core/calendar/DateTime.h"
#include "core/util/Text.h"

namespace ov {

namespace cab {

uint32_t Checksum(const uint8_t* data, size_t n, uint32_t seed) {
  uint32_t sum = seed;
  size_t words = n / 4;
  for (size_t i = 0; i < words; ++i, data += 4) sum ^= Get32(data);
  uint32_t last = 0;
  switch (n & 3) {
    case 3: last |= static_cast<uint32_t>(*data++) << 16; [[fallthrough]];
    case 2: last |= static_cast<uint32_t>(*data++) << 8; [[fallthrough]];
    case 1: last |= *data;
  }
  return sum ^ last;
}

const char* CompressionName(uint16_t typeCompress) {
  switch (typeCompress & kCompressMask) {
    case kCompressNone: return "uncompressed";
    case kCompressMsZip: return "MSZIP";
    case kCompressQuantum: return "Quantum";
    case kCompressLzx: return "LZX";
  }
  return "unknown";
}

}  // namespace cab

DosDateTime DosFromDateTime(double dateTime) {
  double v = ClampDateTime(dateTime);
  static const double kFirst = EncodeDateTime(1980, 1, 1, 0, 0, 0);
  static const double kLast = EncodeDateTime(2107, 12, 31, 23, 59, 58);
  if (v < kFirst) v = kFirst;
  if (v > kLast) v = kLast;
  CivilDate d = DecodeDate(v);
  // Whole seconds of the day, cut rather than rounded so a time never moves forward.
  // The small epsilon absorbs the binary representation of exact seconds.
  double secsOfDay = std::floor(TimeOf(v) * 86400.0 + 1e-6);
  if (secsOfDay > 86399) secsOfDay = 86399;
  int s = static_cast<int>(secsOfDay);
  DosDateTime r;
  r.date = static_cast<uint16_t>(((d.year - 1980) << 9) | (d.month << 5) | d.day);
  r.time = static_cast<uint16_t>(((s / 3600) << 11) | (((s / 60) % 60) << 5) | ((s % 60) / 2));
  return r;
}

double DateTimeFromDos(DosDateTime dos) {
  int year = 1980 + (dos.date >> 9);
  int month = (dos.date >> 5) & 0x0F;
  int day = dos.date & 0x1F;
  int hour = dos.time >> 11;
  int minute = (dos.time >> 5) & 0x3F;
  int second = (dos.time & 0x1F) * 2;
  if (month < 1) month = 1;
  if (day < 1) day = 1;
  if (hour > 23) hour = 23;
  if (minute > 59) minute = 59;
  if (second > 59) second = 58;
  return EncodeDateTime(year, month, day, hour, minute, second);
}

std::string CabWriteErrorText(CabWriteError code) {
  switch (code) {
    case CabWriteError::OpenSource: return "Failure opening file to be stored in cabinet";
    case CabWriteError::ReadSource: return "Failure reading file to be stored in cabinet";
    case CabWriteError::AllocFail: return "Out of memory while creating the cabinet";
    case CabWriteError::TempFile: return "Could not create a temporary file";
    case CabWriteError::BadCompressionType: return "Unknown compression type";
    case CabWriteError::CabinetFile: return "Could not create cabinet file";
    case CabWriteError::UserAbort: return "Client requested abort";
    case CabWriteError::CompressFail: return "Failure compressing data";
    case CabWriteError::FormatLimit: return "Data-size or file-count exceeded CAB format limits";
  }
  return "Unknown cabinet creation error";
}

std::string CabReadErrorText(CabReadError code) {
  switch (code) {
    case CabReadError::None: return "No error";
    case CabReadError::CabinetNotFound: return "The cabinet file cannot be opened";
    case CabReadError::NotACabinet: return "The file is not a cabinet";
    case CabReadError::UnknownVersion: return "The cabinet has an unknown version";
    case CabReadError::Corrupt: return "The cabinet is damaged";
    case CabReadError::AllocFail: return "Out of memory while reading the cabinet";
    case CabReadError::BadCompressionType: return "The cabinet uses a compression method that cannot be read";
    case CabReadError::DecompressFail: return "The cabinet's data cannot be decompressed";
    case CabReadError::TargetFile: return "A file of the cabinet cannot be written";
    case CabReadError::ReserveMismatch: return "The cabinet's reserved areas are inconsistent";
    case CabReadError::WrongCabinet: return "The file continues in another cabinet";
    case CabReadError::UserAbort: return "Extraction was stopped";
  }
  return "Unknown cabinet reading error";
}

namespace {
std::string WithDetail(std::string text, const std::string& detail) {
  if (!detail.empty()) text += ": " + detail;
  return text;
}
}  // namespace

ESTCabinet::ESTCabinet(int code, const std::string& text)
    : std::runtime_error(text + Format(" [0x%04X]", static_cast<unsigned>(code) & 0xFFFF)), code_(code) {}

ESTCabinet::ESTCabinet(CabWriteError code, const std::string& detail)
    : ESTCabinet(static_cast<int>(code), WithDetail(CabWriteErrorText(code), detail)) {}

ESTCabinet::ESTCabinet(CabReadError code, const std::string& detail)
    : ESTCabinet(static_cast<int>(code), WithDetail(CabReadErrorText(code), detail)) {}

}  // namespace ov
