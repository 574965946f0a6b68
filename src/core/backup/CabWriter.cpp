#include "core/backup/CabWriter.h"

#include <algorithm>
#include <atomic>
#include <fstream>

#include "core/backup/FileTimes.h"
#include "core/platform/FileAttributes.h"
#include "core/util/Paths.h"
#include "core/util/Text.h"

namespace ov {

namespace fs = std::filesystem;
using cab::Put16;
using cab::Put32;

bool MatchesPattern(const std::string& name, const std::string& pattern) {
  if (pattern == "*.*" || pattern == "*") return true;
  // Iterative wildcard match with one backtrack point for the last '*'.
  size_t n = 0, p = 0, starP = std::string::npos, starN = 0;
  auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || lower(pattern[p]) == lower(name[n]))) {
      ++n;
      ++p;
    } else if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starN = n;
    } else if (starP != std::string::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

TSTCabWriter::TSTCabWriter() = default;

TSTCabWriter::~TSTCabWriter() {
  if (zReady_) deflateEnd(&z_);
}

void TSTCabWriter::Reset() {
  open_ = false;
  files_.clear();
  folderBytes_ = 0;
  block_.clear();
  history_.clear();
  data_.clear();
  blockCount_ = 0;
}

void TSTCabWriter::CreateCabinet(const fs::path& file) {
  Reset();
  std::error_code ec;
  target_ = fs::absolute(file, ec);
  if (ec) target_ = file;
  if (!zReady_) {
    if (deflateInit2(&z_, CompressionLevel, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
      throw ESTCabinet(CabWriteError::AllocFail);
    zReady_ = true;
  }
  open_ = true;
}

void TSTCabWriter::Abandon() { Reset(); }

void TSTCabWriter::AddFiles(const fs::path& folder, const std::string& pattern, const std::string& prefix,
                            bool recurse) {
  std::vector<fs::path> files, folders;
  std::error_code ec;
  fs::directory_iterator it(folder, ec), end;
  // A folder that cannot be listed adds nothing, as an empty one would.
  for (; !ec && it != end; it.increment(ec)) {
    const fs::directory_entry& e = *it;
    std::error_code sec;
    fs::file_status st = e.symlink_status(sec);
    if (sec) continue;
    if (fs::is_directory(st)) {
      folders.push_back(e.path());
    } else if (fs::is_regular_file(st) || (fs::is_symlink(st) && fs::is_regular_file(e.status(sec)))) {
      if (MatchesPattern(PathToUtf8(e.path().filename()), pattern)) files.push_back(e.path());
    }
  }
  std::sort(files.begin(), files.end());
  std::sort(folders.begin(), folders.end());
  std::string base = prefix;
  while (!base.empty() && (base.front() == '\\' || base.front() == '/')) base.erase(0, 1);
  auto join = [&](const fs::path& p) {
    std::string name = PathToUtf8(p.filename());
    return base.empty() ? name : base + "\\" + name;
  };
  for (const fs::path& f : files) {
    bool skip = false;
    if (OnBeforeFileAdd) OnBeforeFileAdd(f, skip);
    if (!skip) AddFile(f, join(f));
  }
  if (recurse)
    for (const fs::path& d : folders) AddFiles(d, pattern, join(d), true);
}

void TSTCabWriter::AddFile(const fs::path& file, const std::string& nameInCabinet) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw ESTCabinet(CabWriteError::OpenSource, PathToUtf8(file));
  std::optional<double> written = FileLocalWriteTime(file);
  DosDateTime time = DosFromDateTime(written.value_or(0));
  static const PortableFileAttributes kPortable;
  const IFileAttributes& source = Attributes ? *Attributes : kPortable;
  uint16_t attributes = source.Get(file).value_or(cab::kAttrArchive) & kFileAttributeMask;
  AddEntry(nameInCabinet, time, attributes, [&](Entry& entry) {
    char buf[65536];
    uint64_t total = 0;
    while (in) {
      in.read(buf, sizeof buf);
      std::streamsize got = in.gcount();
      if (got <= 0) break;
      total += static_cast<uint64_t>(got);
      if (total > 0xFFFFFFFFull) throw ESTCabinet(CabWriteError::FormatLimit, PathToUtf8(file));
      Append(buf, static_cast<size_t>(got));
    }
    if (in.bad()) throw ESTCabinet(CabWriteError::ReadSource, PathToUtf8(file));
    entry.size = static_cast<uint32_t>(total);
  });
}

void TSTCabWriter::AddBytes(const std::string& bytes, const std::string& nameInCabinet, DosDateTime time,
                            uint16_t attributes) {
  AddEntry(nameInCabinet, time, attributes, [&](Entry& entry) {
    if (bytes.size() > 0xFFFFFFFFull) throw ESTCabinet(CabWriteError::FormatLimit);
    Append(bytes.data(), bytes.size());
    entry.size = static_cast<uint32_t>(bytes.size());
  });
}

void TSTCabWriter::AddEntry(const std::string& nameInCabinet, DosDateTime time, uint16_t attributes,
                            const std::function<void(Entry&)>& feed) {
  if (!open_) throw ESTCabinet(CabWriteError::CabinetFile, "no cabinet is open");
  Entry entry;
  entry.name = nameInCabinet;
  while (!entry.name.empty() && (entry.name.front() == '\\' || entry.name.front() == '/')) entry.name.erase(0, 1);
  if (entry.name.empty() || entry.name.size() > cab::kMaxNameBytes)
    throw ESTCabinet(CabWriteError::FormatLimit, "file name length: " + entry.name);
  if (files_.size() >= cab::kMaxFiles) throw ESTCabinet(CabWriteError::FormatLimit, "too many files");
  // Names beyond ASCII are stored as UTF-8 and marked so, whatever code page reads them.
  attributes &= static_cast<uint16_t>(~cab::kAttrNameIsUtf8);
  if (std::any_of(entry.name.begin(), entry.name.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; }))
    attributes |= cab::kAttrNameIsUtf8;
  entry.time = time;
  entry.attributes = attributes;
  if (folderBytes_ > 0xFFFFFFFFull) throw ESTCabinet(CabWriteError::FormatLimit, "folder size");
  entry.offset = static_cast<uint32_t>(folderBytes_);
  feed(entry);
  if (folderBytes_ > 0xFFFFFFFFull) throw ESTCabinet(CabWriteError::FormatLimit, "folder size");
  files_.push_back(std::move(entry));
}

void TSTCabWriter::Append(const char* data, size_t n) {
  while (n > 0) {
    size_t take = std::min(n, cab::kMaxBlock - block_.size());
    block_.append(data, take);
    data += take;
    n -= take;
    folderBytes_ += take;
    if (block_.size() == cab::kMaxBlock) FlushBlock();
  }
}

void TSTCabWriter::FlushBlock() {
  if (block_.empty()) return;
  if (blockCount_ >= cab::kMaxBlocks) throw ESTCabinet(CabWriteError::FormatLimit, "too much data");
  const unsigned char* payload = reinterpret_cast<const unsigned char*>(block_.data());
  size_t payloadSize = block_.size();
  if (Compression == CabCompression::MsZip) {
    // Each block is a complete raw deflate stream (ending on a byte boundary with a final
    // block) preceded by "CK", compressed with the previous block as its dictionary,
    // because a reader's inflater keeps that history from block to block.
    if (deflateReset(&z_) != Z_OK) throw ESTCabinet(CabWriteError::CompressFail);
    if (!history_.empty() &&
        deflateSetDictionary(&z_, reinterpret_cast<const Bytef*>(history_.data()),
                             static_cast<uInt>(history_.size())) != Z_OK)
      throw ESTCabinet(CabWriteError::CompressFail);
    out_.resize(2 + deflateBound(&z_, static_cast<uLong>(block_.size())) + 16);
    out_[0] = 'C';
    out_[1] = 'K';
    z_.next_in = reinterpret_cast<Bytef*>(block_.data());
    z_.avail_in = static_cast<uInt>(block_.size());
    z_.next_out = out_.data() + 2;
    z_.avail_out = static_cast<uInt>(out_.size() - 2);
    if (deflate(&z_, Z_FINISH) != Z_STREAM_END) throw ESTCabinet(CabWriteError::CompressFail);
    payload = out_.data();
    payloadSize = out_.size() - 2 - z_.avail_out + 2;
  }
  if (payloadSize > 0xFFFF) throw ESTCabinet(CabWriteError::CompressFail, "block too large");
  std::string header;
  header.reserve(cab::kDataHeaderSize);
  Put32(header, 0);
  Put16(header, static_cast<uint16_t>(payloadSize));
  Put16(header, static_cast<uint16_t>(block_.size()));
  uint32_t sum = cab::Checksum(payload, payloadSize, 0);
  sum = cab::Checksum(reinterpret_cast<const uint8_t*>(header.data()) + 4, 4, sum);
  header[0] = static_cast<char>(sum & 0xFF);
  header[1] = static_cast<char>((sum >> 8) & 0xFF);
  header[2] = static_cast<char>((sum >> 16) & 0xFF);
  header[3] = static_cast<char>(sum >> 24);
  data_ += header;
  data_.append(reinterpret_cast<const char*>(payload), payloadSize);
  ++blockCount_;
  history_.swap(block_);
  block_.clear();
}

std::string TSTCabWriter::Assemble() {
  if (!open_) throw ESTCabinet(CabWriteError::CabinetFile, "no cabinet is open");
  FlushBlock();
  const bool hasFolder = !files_.empty();
  size_t filesSize = 0;
  for (const Entry& e : files_) filesSize += cab::kFileSize + e.name.size() + 1;
  const size_t folderTable = hasFolder ? cab::kFolderSize : 0;
  const uint64_t dataStart = cab::kHeaderSize + folderTable + filesSize;
  const uint64_t total = dataStart + data_.size();
  if (total > cab::kMaxCabinetSize) throw ESTCabinet(CabWriteError::FormatLimit, "cabinet size");

  std::string out;
  out.reserve(static_cast<size_t>(total));
  Put32(out, cab::kSignature);
  Put32(out, 0);
  Put32(out, static_cast<uint32_t>(total));
  Put32(out, 0);
  Put32(out, static_cast<uint32_t>(cab::kHeaderSize + folderTable));  // first CFFILE
  Put32(out, 0);
  out += static_cast<char>(cab::kVersionMinor);
  out += static_cast<char>(cab::kVersionMajor);
  Put16(out, hasFolder ? 1 : 0);
  Put16(out, static_cast<uint16_t>(files_.size()));
  Put16(out, 0);  // flags: no reserve, no neighbouring cabinets
  Put16(out, SetID);
  Put16(out, 0);  // number of this cabinet in its set
  if (hasFolder) {
    Put32(out, static_cast<uint32_t>(dataStart));
    Put16(out, static_cast<uint16_t>(blockCount_));
    Put16(out, Compression == CabCompression::MsZip ? cab::kCompressMsZip : cab::kCompressNone);
  }
  for (const Entry& e : files_) {
    Put32(out, e.size);
    Put32(out, e.offset);
    Put16(out, 0);  // folder 0
    Put16(out, e.time.date);
    Put16(out, e.time.time);
    Put16(out, e.attributes);
    out += e.name;
    out += '\0';
  }
  out += data_;
  return out;
}

std::string TSTCabWriter::FinishToBytes() {
  std::string bytes = Assemble();
  Reset();
  return bytes;
}

void TSTCabWriter::CloseCabinet(bool /*flush*/) {
  std::string bytes;
  try {
    bytes = Assemble();
  } catch (...) {
    Reset();
    throw;
  }
  fs::path target = target_;
  Reset();
  std::error_code ec;
  if (target.has_parent_path()) fs::create_directories(target.parent_path(), ec);
  static std::atomic<unsigned> counter{0};
  fs::path temp = target;
  temp += ".part" + std::to_string(counter++);
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) throw ESTCabinet(CabWriteError::CabinetFile, PathToUtf8(target));
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) {
      out.close();
      fs::remove(temp, ec);
      throw ESTCabinet(CabWriteError::CabinetFile, PathToUtf8(target));
    }
  }
  fs::rename(temp, target, ec);
  if (ec) {
    std::error_code ignored;
    fs::remove(temp, ignored);
    throw ESTCabinet(CabWriteError::CabinetFile, PathToUtf8(target) + ": " + ec.message());
  }
}

}  // namespace ov
