#pragma once
// Writes one cabinet file: one folder of MSZIP-compressed (or stored) data holding every
// file added, with each file's local date, time and attributes. The cabinet is built in
// memory and written under a temporary name that replaces the target only when it is
// complete, so a failed or abandoned cabinet leaves no file that looks like a good one.
#include <zlib.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/backup/CabFormat.h"

namespace ov {

enum class CabCompression { None, MsZip };

class IFileAttributes;

class TSTCabWriter {
 public:
  TSTCabWriter();
  ~TSTCabWriter();
  TSTCabWriter(const TSTCabWriter&) = delete;
  TSTCabWriter& operator=(const TSTCabWriter&) = delete;

  // Written into the cabinet header.
  uint16_t SetID = 0;
  CabCompression Compression = CabCompression::MsZip;
  // zlib level of the MSZIP blocks.
  int CompressionLevel = Z_DEFAULT_COMPRESSION;
  // Where files' attributes come from (null: read-only from the permissions, archive on).
  const IFileAttributes* Attributes = nullptr;

  // Runs before each file is added; setting skip leaves the file out.
  std::function<void(const std::filesystem::path& file, bool& skip)> OnBeforeFileAdd;

  // Starts a cabinet that CloseCabinet will write to `file` (made absolute; its folder
  // is created then). Abandons a cabinet still open.
  void CreateCabinet(const std::filesystem::path& file);

  // Adds every file of `folder` whose name matches `pattern` ('*' and '?' wildcards,
  // "*.*" matches every name) under `prefix` + "\" + name; with `recurse` then every
  // subfolder the same way with the prefix extended by its name. Files come in name
  // order, then subfolders in name order. Throws ESTCabinet.
  void AddFiles(const std::filesystem::path& folder, const std::string& pattern, const std::string& prefix,
                bool recurse);

  // Adds one file under `nameInCabinet` (UTF-8, backslash-separated). Throws ESTCabinet.
  void AddFile(const std::filesystem::path& file, const std::string& nameInCabinet);

  // Adds bytes as a file with the given time and attributes (for tests and tools).
  void AddBytes(const std::string& bytes, const std::string& nameInCabinet, DosDateTime time,
                uint16_t attributes = cab::kAttrArchive);

  // Finishes the cabinet and writes it. Throws ESTCabinet; on failure no file is left
  // under the target name or the temporary name. `flush` is accepted for the callers'
  // sake; the cabinet is always complete when written.
  void CloseCabinet(bool flush = true);

  // The finished cabinet's bytes instead of a file (for tests and the fuzzer's seeds).
  std::string FinishToBytes();

  // Drops the open cabinet without writing anything.
  void Abandon();

  bool IsOpen() const { return open_; }
  size_t FileCount() const { return files_.size(); }
  const std::filesystem::path& CabinetFile() const { return target_; }

 private:
  struct Entry {
    std::string name;  // as stored: UTF-8 or ASCII
    uint32_t size = 0;
    uint32_t offset = 0;
    DosDateTime time;
    uint16_t attributes = 0;
  };

  void Reset();
  void AddEntry(const std::string& nameInCabinet, DosDateTime time, uint16_t attributes,
                const std::function<void(Entry&)>& feed);
  void Append(const char* data, size_t n);
  void FlushBlock();
  std::string Assemble();

  bool open_ = false;
  std::filesystem::path target_;
  std::vector<Entry> files_;
  uint64_t folderBytes_ = 0;
  std::string block_;         // uncompressed bytes of the block being filled
  std::string history_;       // the previous block: the next block's deflate dictionary
  std::string data_;          // finished CFDATA records
  uint32_t blockCount_ = 0;
  z_stream z_{};
  bool zReady_ = false;
  std::vector<unsigned char> out_;
};

// True when `name` matches `pattern` ('*' any run, '?' one character, ASCII case-insensitive;
// "*.*" matches every name, also names without a dot).
bool MatchesPattern(const std::string& name, const std::string& pattern);

}  // namespace ov
