#pragma once
// The Microsoft cabinet file format: the record layouts the writer and the reader share,
// the data-block checksum, DOS dates and times, and the error every cabinet operation
// raises.
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace ov {

namespace cab {

inline constexpr uint32_t kSignature = 0x4643534D;  // "MSCF"
inline constexpr uint8_t kVersionMajor = 1;
inline constexpr uint8_t kVersionMinor = 3;

inline constexpr size_t kHeaderSize = 36;       // CFHEADER without optional fields
inline constexpr size_t kFolderSize = 8;        // CFFOLDER without its reserved area
inline constexpr size_t kFileSize = 16;         // CFFILE without its name
inline constexpr size_t kDataHeaderSize = 8;    // CFDATA without its reserved area
inline constexpr size_t kMaxBlock = 32768;      // uncompressed bytes of one data block
inline constexpr size_t kMaxNameBytes = 255;    // a file name inside the cabinet, without its NUL
inline constexpr uint32_t kMaxFiles = 0xFFFF;
inline constexpr uint32_t kMaxBlocks = 0xFFFF;
inline constexpr uint64_t kMaxCabinetSize = 0x7FFFFFFF;

// Header flags.
inline constexpr uint16_t kFlagPrevCabinet = 0x0001;
inline constexpr uint16_t kFlagNextCabinet = 0x0002;
inline constexpr uint16_t kFlagReservePresent = 0x0004;

// Folder compression types (low four bits of typeCompress).
inline constexpr uint16_t kCompressNone = 0;
inline constexpr uint16_t kCompressMsZip = 1;
inline constexpr uint16_t kCompressQuantum = 2;
inline constexpr uint16_t kCompressLzx = 3;
inline constexpr uint16_t kCompressMask = 0x000F;

// File folder indexes that mean "continued in another cabinet".
inline constexpr uint16_t kFolderContinuedFromPrev = 0xFFFD;

// File attributes.
inline constexpr uint16_t kAttrReadOnly = 0x01;
inline constexpr uint16_t kAttrHidden = 0x02;
inline constexpr uint16_t kAttrSystem = 0x04;
inline constexpr uint16_t kAttrArchive = 0x20;
inline constexpr uint16_t kAttrExecute = 0x40;
inline constexpr uint16_t kAttrNameIsUtf8 = 0x80;

// The checksum of a CFDATA record: the 32-bit little-endian words of the data XORed
// together, a last partial word taken most significant byte first, seeded with `seed`.
// The record's checksum is Checksum(header bytes 4..7, 4, Checksum(data, n, 0)).
uint32_t Checksum(const uint8_t* data, size_t n, uint32_t seed);

// Little-endian field access.
inline uint16_t Get16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
inline uint32_t Get32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
         (static_cast<uint32_t>(p[3]) << 24);
}
inline void Put16(std::string& out, uint16_t v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>(v >> 8);
}
inline void Put32(std::string& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

// The name of a compression type for messages ("MSZIP", "LZX", ...).
const char* CompressionName(uint16_t typeCompress);

}  // namespace cab

// A date and time as a cabinet entry holds it: local time, two-second resolution.
struct DosDateTime {
  uint16_t date = 0;  // (year - 1980) << 9 | month << 5 | day
  uint16_t time = 0;  // hour << 11 | minute << 5 | second / 2
  // One number that orders date-times: later is larger.
  uint32_t Packed() const { return (static_cast<uint32_t>(date) << 16) | time; }
  bool operator==(const DosDateTime& o) const { return Packed() == o.Packed(); }
};

// A program date-time (days since 30 December 1899) to DOS form: seconds are cut to an
// even number; dates before 1980 give 1 January 1980, dates after 2107 the last second
// of 2107.
DosDateTime DosFromDateTime(double dateTime);
// DOS form back to a program date-time; fields out of range are held to the nearest
// valid value, so any two bytes read from a file give a date.
double DateTimeFromDos(DosDateTime dos);

// Error codes of cabinet creation.
enum class CabWriteError : int {
  OpenSource = 1,
  ReadSource = 2,
  AllocFail = 3,
  TempFile = 4,
  BadCompressionType = 5,
  CabinetFile = 6,
  UserAbort = 7,
  CompressFail = 8,
  FormatLimit = 9,
};

// Error codes of cabinet reading.
enum class CabReadError : int {
  None = 0,
  CabinetNotFound = 1,
  NotACabinet = 2,
  UnknownVersion = 3,
  Corrupt = 4,
  AllocFail = 5,
  BadCompressionType = 6,
  DecompressFail = 7,
  TargetFile = 8,
  ReserveMismatch = 9,
  WrongCabinet = 10,
  UserAbort = 11,
};

// The error of the cabinet component: its message is the error text followed by
// " [0x" + the code in four hex digits + "]".
class ESTCabinet : public std::runtime_error {
 public:
  ESTCabinet(int code, const std::string& text);
  ESTCabinet(CabWriteError code, const std::string& detail = {});
  ESTCabinet(CabReadError code, const std::string& detail = {});
  int Code() const { return code_; }

 private:
  int code_;
};

// The fixed English text of each error code (details are appended after a colon).
std::string CabWriteErrorText(CabWriteError code);
std::string CabReadErrorText(CabReadError code);

}  // namespace ov
