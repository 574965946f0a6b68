#pragma once
// Reads cabinet files: every standard cabinet with one or more folders, stored or MSZIP
// data, checksums verified. Folders in other methods (LZX, Quantum) are reported by name.
// A file is written under a temporary name and replaces the target only once all its
// bytes were decoded with their checksums held, so a damaged cabinet never leaves a
// truncated or half-replaced file, nor folders made for it. Only plain files are replaced.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/backup/CabFormat.h"

namespace ov {

class ICodePage;
class IFileAttributes;

// Random access to the bytes of a cabinet.
class ICabSource {
 public:
  virtual ~ICabSource() = default;
  virtual uint64_t Size() const = 0;
  // Reads exactly n bytes at offset; false when they are not all there.
  virtual bool ReadAt(uint64_t offset, void* dst, size_t n) = 0;
};

class MemoryCabSource final : public ICabSource {
 public:
  MemoryCabSource(const void* data, size_t size) : data_(static_cast<const uint8_t*>(data)), size_(size) {}
  uint64_t Size() const override { return size_; }
  bool ReadAt(uint64_t offset, void* dst, size_t n) override;

 private:
  const uint8_t* data_;
  size_t size_;
};

// A cabinet file; Open gives nullptr and the system's error text when it cannot be opened.
std::unique_ptr<ICabSource> OpenCabFile(const std::filesystem::path& file, std::string* error);

struct CabHeader {
  uint16_t setId = 0;
  uint16_t cabinetNumber = 0;
  uint16_t flags = 0;
  uint16_t folderCount = 0;
  uint16_t fileCount = 0;
};

struct CabFolder {
  uint32_t firstData = 0;  // offset of the first CFDATA record
  uint16_t dataCount = 0;
  uint16_t compression = 0;
};

struct CabFileEntry {
  std::string name;         // UTF-8, as in the cabinet (backslash-separated)
  uint32_t size = 0;
  uint32_t folderOffset = 0;
  uint16_t folderIndex = 0;
  DosDateTime time;
  uint16_t attributes = 0;
};

struct CabDirectory {
  CabHeader header;
  std::vector<CabFolder> folders;
  std::vector<CabFileEntry> files;
  uint8_t folderReserve = 0;
  uint8_t dataReserve = 0;
};

// Reads the header, folder and file tables. Names without the UTF-8 attribute are
// converted from `codePage` (null: taken as UTF-8 when valid, else as Windows-1252).
CabReadError ReadCabDirectory(ICabSource& source, CabDirectory& dir, const ICodePage* codePage = nullptr);

// Where extracted bytes go; ExtractCabinet drives it file by file.
class ICabSink {
 public:
  virtual ~ICabSink() = default;
  // Before a file's data: false skips the file; setting abort stops the extraction.
  virtual bool Begin(const CabFileEntry& entry, bool& abort) = 0;
  // The next bytes of the file begun; false when they cannot be stored (target error).
  virtual bool Write(const uint8_t* data, size_t n) = 0;
  // After the file: ok only when every byte arrived with its checksums held. Returns
  // whether the file was stored.
  virtual bool End(const CabFileEntry& entry, bool ok) = 0;
};

struct CabExtractReport {
  int written = 0;   // files that ended whole
  int failed = 0;    // files begun that did not
  CabReadError firstError = CabReadError::None;
  std::string error;  // message of the first error, as ESTCabinet words it; empty when none
};

// Decodes every file of the cabinet in folder order. Errors in one folder (a bad
// checksum, damaged data, an unsupported method, a file continued in another cabinet)
// fail that folder's remaining files and the extraction goes on with the next folder.
CabExtractReport ExtractCabinet(ICabSource& source, const CabDirectory& dir, ICabSink& sink);

// A cabinet name as a path below a destination folder; nullopt when it could leave the
// folder or name something other than a plain file there: an absolute name, a leading
// separator, a drive or stream colon, "." or ".." components, empty components, names
// ending in a dot or space, characters Windows refuses, or device names such as CON.
std::optional<std::filesystem::path> SafeRelativePath(const std::string& name);

class TSTCabReader {
 public:
  // When set, existing read-only targets are left alone.
  bool DontOverwriteReadOnlyFiles = false;
  // Code page of names stored without the UTF-8 attribute (null: see ReadCabDirectory).
  const ICodePage* CodePage = nullptr;
  // How extracted files get their attributes (null: read-only through the permissions).
  const IFileAttributes* Attributes = nullptr;

  // Runs for each file before it is written. `destination` comes preset to destination
  // folder + name (empty when the name is unsafe, see SafeRelativePath); clearing it
  // skips the file, setting abort stops the extraction.
  std::function<void(const CabFileEntry& entry, std::filesystem::path& destination, bool& abort)> OnCopyFile;
  // Runs after each file that was begun; ok when it was written whole.
  std::function<void(const CabFileEntry& entry, const std::filesystem::path& destination, bool ok)> OnFileDone;

  // False when the file is not a cabinet; true with the header otherwise. Throws
  // ESTCabinet (CabinetNotFound, with the system's text) when the file cannot be opened.
  bool CabinetInfo(const std::filesystem::path& file, CabHeader& header);

  // Extracts every file into `folder`. Throws ESTCabinet when the file cannot be opened
  // or is no cabinet; errors while extracting are in the report.
  CabExtractReport Extract(const std::filesystem::path& cabinet, const std::filesystem::path& folder);
};

}  // namespace ov
