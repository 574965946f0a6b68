#include "core/backup/CabReader.h"

#include <zlib.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <fstream>

#include "core/backup/FileTimes.h"
#include "core/platform/CodePage.h"
#include "core/platform/FileAttributes.h"
#include "core/util/Paths.h"
#include "core/util/Text.h"

namespace ov {

namespace fs = std::filesystem;

bool MemoryCabSource::ReadAt(uint64_t offset, void* dst, size_t n) {
  if (offset > size_ || n > size_ - offset) return false;
  if (n) std::memcpy(dst, data_ + offset, n);
  return true;
}

namespace {

class FileCabSource final : public ICabSource {
 public:
  explicit FileCabSource(const fs::path& file) : in_(file, std::ios::binary) {
    if (in_) {
      in_.seekg(0, std::ios::end);
      std::streamoff end = in_.tellg();
      size_ = end > 0 ? static_cast<uint64_t>(end) : 0;
    }
  }
  bool IsOpen() const { return static_cast<bool>(in_); }
  uint64_t Size() const override { return size_; }
  bool ReadAt(uint64_t offset, void* dst, size_t n) override {
    if (offset > size_ || n > size_ - offset) return false;
    in_.clear();
    in_.seekg(static_cast<std::streamoff>(offset));
    in_.read(static_cast<char*>(dst), static_cast<std::streamsize>(n));
    return in_.gcount() == static_cast<std::streamsize>(n);
  }

 private:
  std::ifstream in_;
  uint64_t size_ = 0;
};

// A name from the cabinet as valid UTF-8.
std::string NameToUtf8(const std::string& raw, bool isUtf8, const ICodePage* codePage) {
  static const Latin1CodePage kLatin1;
  if (isUtf8 || !codePage) return IsValidUtf8(raw) ? raw : kLatin1.ToUtf8(raw);
  std::string s = codePage->ToUtf8(raw);
  return IsValidUtf8(s) ? s : kLatin1.ToUtf8(raw);
}

// Reads a NUL-terminated string of at most 256 bytes at offset; advances offset.
bool ReadCString(ICabSource& src, uint64_t& offset, std::string& out) {
  uint8_t buf[257];
  uint64_t size = src.Size();
  if (offset >= size) return false;
  size_t n = static_cast<size_t>(std::min<uint64_t>(sizeof buf, size - offset));
  if (!src.ReadAt(offset, buf, n)) return false;
  const void* nul = std::memchr(buf, 0, n);
  if (!nul) return false;
  size_t len = static_cast<size_t>(static_cast<const uint8_t*>(nul) - buf);
  out.assign(reinterpret_cast<const char*>(buf), len);
  offset += len + 1;
  return true;
}

// The uncompressed data of one folder, decoded block by block on demand.
class FolderDecoder {
 public:
  FolderDecoder(ICabSource& src, const CabDirectory& dir, const CabFolder& folder)
      : src_(src), dir_(dir), folder_(folder) {
    if (inflateInit2(&z_, -15) == Z_OK) zReady_ = true;
    Restart();
  }
  ~FolderDecoder() {
    if (zReady_) inflateEnd(&z_);
  }
  FolderDecoder(const FolderDecoder&) = delete;
  FolderDecoder& operator=(const FolderDecoder&) = delete;

  uint64_t Position() const { return pos_; }
  CabReadError Error() const { return error_; }
  const std::string& Detail() const { return detail_; }

  void Restart() {
    next_ = folder_.firstData;
    blocksRead_ = 0;
    block_.clear();
    blockPos_ = 0;
    history_.clear();
    pos_ = 0;
  }

  // Moves n bytes on, passing them to `take` when it is set. False on a decoding error
  // (Error() says which) or when `take` refuses bytes.
  template <typename Take>
  bool Pull(uint64_t n, Take&& take) {
    while (n > 0) {
      if (blockPos_ == block_.size() && !NextBlock()) return false;
      size_t chunk = static_cast<size_t>(std::min<uint64_t>(n, block_.size() - blockPos_));
      if (!take(block_.data() + blockPos_, chunk)) return false;
      blockPos_ += chunk;
      pos_ += chunk;
      n -= chunk;
    }
    return true;
  }

 private:
  bool Fail(CabReadError e, std::string detail) {
    error_ = e;
    detail_ = std::move(detail);
    return false;
  }

  bool NextBlock() {
    if (blocksRead_ >= folder_.dataCount) return Fail(CabReadError::Corrupt, "the folder's data ends before its files");
    uint8_t head[cab::kDataHeaderSize];
    if (!src_.ReadAt(next_, head, sizeof head)) return Fail(CabReadError::Corrupt, "a data block is cut off");
    uint32_t csum = cab::Get32(head);
    uint16_t cbData = cab::Get16(head + 4);
    uint16_t cbUncomp = cab::Get16(head + 6);
    size_t reserve = dir_.dataReserve;
    raw_.resize(reserve + cbData);
    if (!src_.ReadAt(next_ + sizeof head, raw_.data(), raw_.size()))
      return Fail(CabReadError::Corrupt, "a data block is cut off");
    next_ += sizeof head + raw_.size();
    ++blocksRead_;
    if (csum != 0) {
      uint32_t sum = cab::Checksum(head + 4, 4, cab::Checksum(raw_.data(), raw_.size(), 0));
      // Some writers leave the reserved area out of the sum.
      uint32_t sumNoReserve = cab::Checksum(head + 4, 4, cab::Checksum(raw_.data() + reserve, cbData, 0));
      if (sum != csum && sumNoReserve != csum)
        return Fail(CabReadError::Corrupt, Format("checksum error in data block %d", blocksRead_ - 1));
    }
    if (cbUncomp > cab::kMaxBlock) return Fail(CabReadError::Corrupt, "a data block is too large");
    const uint8_t* data = raw_.data() + reserve;
    block_.resize(cbUncomp);
    blockPos_ = 0;
    switch (folder_.compression & cab::kCompressMask) {
      case cab::kCompressNone:
        if (cbData != cbUncomp) return Fail(CabReadError::Corrupt, "a stored block has the wrong size");
        if (cbUncomp) std::memcpy(block_.data(), data, cbUncomp);
        break;
      case cab::kCompressMsZip:
        if (!InflateBlock(data, cbData, cbUncomp)) return false;
        break;
      default:
        return Fail(CabReadError::BadCompressionType, cab::CompressionName(folder_.compression));
    }
    // The last 32 KiB of output are the next block's deflate history.
    history_.insert(history_.end(), block_.begin(), block_.end());
    if (history_.size() > cab::kMaxBlock) history_.erase(history_.begin(), history_.end() - cab::kMaxBlock);
    return true;
  }

  bool InflateBlock(const uint8_t* data, size_t cbData, size_t cbUncomp) {
    if (!zReady_) return Fail(CabReadError::AllocFail, {});
    if (cbData < 2 || data[0] != 'C' || data[1] != 'K')
      return Fail(CabReadError::DecompressFail, "an MSZIP block lacks its signature");
    if (inflateReset(&z_) != Z_OK) return Fail(CabReadError::DecompressFail, {});
    if (!history_.empty() &&
        inflateSetDictionary(&z_, history_.data(), static_cast<uInt>(history_.size())) != Z_OK)
      return Fail(CabReadError::DecompressFail, {});
    // One spare byte of room tells a block that decodes to more than it claims.
    out_.resize(cbUncomp + 1);
    z_.next_in = const_cast<Bytef*>(data + 2);
    z_.avail_in = static_cast<uInt>(cbData - 2);
    z_.next_out = out_.data();
    z_.avail_out = static_cast<uInt>(out_.size());
    int r = inflate(&z_, Z_SYNC_FLUSH);
    size_t produced = out_.size() - z_.avail_out;
    // A block ends either with a final deflate block or, from some writers, on a sync
    // point with all its input used.
    bool ended = r == Z_STREAM_END || ((r == Z_OK || r == Z_BUF_ERROR) && z_.avail_in == 0);
    if (!ended || produced != cbUncomp)
      return Fail(CabReadError::DecompressFail, Format("MSZIP block %d does not decode", blocksRead_ - 1));
    // An empty block has no buffer to copy into.
    if (cbUncomp) std::memcpy(block_.data(), out_.data(), cbUncomp);
    return true;
  }

  ICabSource& src_;
  const CabDirectory& dir_;
  const CabFolder& folder_;
  z_stream z_{};
  bool zReady_ = false;
  uint64_t next_ = 0;
  int blocksRead_ = 0;
  std::vector<uint8_t> raw_, block_, out_, history_;
  size_t blockPos_ = 0;
  uint64_t pos_ = 0;
  CabReadError error_ = CabReadError::None;
  std::string detail_;
};

void NoteError(CabExtractReport& report, CabReadError e, const std::string& detail) {
  if (report.firstError != CabReadError::None) return;
  report.firstError = e;
  report.error = ESTCabinet(e, detail).what();
}

// COM and LPT followed by one digit name serial and parallel ports. Windows also takes
// the superscript digits one to three (UTF-8 C2 B9, C2 B2, C2 B3) as those digits.
bool IsNumberedDeviceName(const std::string& lowerBase) {
  if (lowerBase.compare(0, 3, "com") != 0 && lowerBase.compare(0, 3, "lpt") != 0) return false;
  const std::string digit = lowerBase.substr(3);
  if (digit.size() == 1) return digit[0] >= '0' && digit[0] <= '9';
  return digit == "\xC2\xB9" || digit == "\xC2\xB2" || digit == "\xC2\xB3";
}

}  // namespace

std::unique_ptr<ICabSource> OpenCabFile(const fs::path& file, std::string* error) {
  auto src = std::make_unique<FileCabSource>(file);
  if (!src->IsOpen()) {
    if (error) {
      std::error_code ec;
      bool exists = fs::exists(file, ec);
      *error = exists ? std::string("the file cannot be read") : std::string("the file does not exist");
    }
    return nullptr;
  }
  return src;
}

CabReadError ReadCabDirectory(ICabSource& src, CabDirectory& dir, const ICodePage* codePage) {
  dir = CabDirectory{};
  uint8_t h[cab::kHeaderSize];
  if (!src.ReadAt(0, h, sizeof h) || cab::Get32(h) != cab::kSignature) return CabReadError::NotACabinet;
  if (h[25] != cab::kVersionMajor) return CabReadError::UnknownVersion;
  uint32_t coffFiles = cab::Get32(h + 16);
  dir.header.folderCount = cab::Get16(h + 26);
  dir.header.fileCount = cab::Get16(h + 28);
  dir.header.flags = cab::Get16(h + 30);
  dir.header.setId = cab::Get16(h + 32);
  dir.header.cabinetNumber = cab::Get16(h + 34);
  uint64_t offset = cab::kHeaderSize;
  if (dir.header.flags & cab::kFlagReservePresent) {
    uint8_t r[4];
    if (!src.ReadAt(offset, r, sizeof r)) return CabReadError::Corrupt;
    offset += 4 + cab::Get16(r);
    dir.folderReserve = r[2];
    dir.dataReserve = r[3];
  }
  std::string ignored;
  int names = ((dir.header.flags & cab::kFlagPrevCabinet) ? 2 : 0) + ((dir.header.flags & cab::kFlagNextCabinet) ? 2 : 0);
  for (int i = 0; i < names; ++i)
    if (!ReadCString(src, offset, ignored)) return CabReadError::Corrupt;
  // The tables must fit in the file before anything is allocated for them.
  uint64_t folderBytes = uint64_t(dir.header.folderCount) * (cab::kFolderSize + dir.folderReserve);
  if (offset + folderBytes > src.Size()) return CabReadError::Corrupt;
  if (uint64_t(coffFiles) + uint64_t(dir.header.fileCount) * (cab::kFileSize + 1) > src.Size())
    return CabReadError::Corrupt;
  dir.folders.resize(dir.header.folderCount);
  for (CabFolder& f : dir.folders) {
    uint8_t b[cab::kFolderSize];
    if (!src.ReadAt(offset, b, sizeof b)) return CabReadError::Corrupt;
    f.firstData = cab::Get32(b);
    f.dataCount = cab::Get16(b + 4);
    f.compression = cab::Get16(b + 6);
    offset += cab::kFolderSize + dir.folderReserve;
  }
  dir.files.resize(dir.header.fileCount);
  offset = coffFiles;
  for (CabFileEntry& e : dir.files) {
    uint8_t b[cab::kFileSize];
    if (!src.ReadAt(offset, b, sizeof b)) return CabReadError::Corrupt;
    e.size = cab::Get32(b);
    e.folderOffset = cab::Get32(b + 4);
    e.folderIndex = cab::Get16(b + 8);
    e.time.date = cab::Get16(b + 10);
    e.time.time = cab::Get16(b + 12);
    e.attributes = cab::Get16(b + 14);
    offset += cab::kFileSize;
    std::string raw;
    if (!ReadCString(src, offset, raw)) return CabReadError::Corrupt;
    e.name = NameToUtf8(raw, (e.attributes & cab::kAttrNameIsUtf8) != 0, codePage);
  }
  return CabReadError::None;
}

CabExtractReport ExtractCabinet(ICabSource& src, const CabDirectory& dir, ICabSink& sink) {
  CabExtractReport report;
  // Files in folder order, each folder's files by their place in its data, so every
  // folder is decoded once from start to end.
  std::vector<size_t> order(dir.files.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
    const CabFileEntry& x = dir.files[a];
    const CabFileEntry& y = dir.files[b];
    if (x.folderIndex != y.folderIndex) return x.folderIndex < y.folderIndex;
    return x.folderOffset < y.folderOffset;
  });

  std::unique_ptr<FolderDecoder> decoder;
  int decoderFolder = -1;
  bool folderBroken = false;
  for (size_t i : order) {
    const CabFileEntry& e = dir.files[i];
    bool abort = false;
    bool begun = sink.Begin(e, abort);
    if (abort) {
      if (begun) sink.End(e, false);
      NoteError(report, CabReadError::UserAbort, {});
      return report;
    }
    if (!begun) continue;
    auto fail = [&](CabReadError err, const std::string& detail) {
      NoteError(report, err, e.name + ": " + detail);
      sink.End(e, false);
      ++report.failed;
    };
    if (e.folderIndex >= dir.folders.size()) {
      if (e.folderIndex >= cab::kFolderContinuedFromPrev)
        fail(CabReadError::WrongCabinet, "continued across cabinets");
      else
        fail(CabReadError::Corrupt, "no such folder");
      continue;
    }
    if (decoderFolder != e.folderIndex) {
      decoder = std::make_unique<FolderDecoder>(src, dir, dir.folders[e.folderIndex]);
      decoderFolder = e.folderIndex;
      folderBroken = false;
      uint16_t method = dir.folders[e.folderIndex].compression & cab::kCompressMask;
      if (method != cab::kCompressNone && method != cab::kCompressMsZip) {
        folderBroken = true;
        NoteError(report, CabReadError::BadCompressionType,
                  Format("folder %d uses %s compression", e.folderIndex, cab::CompressionName(method)));
      }
    }
    if (folderBroken) {
      fail(decoder->Error() == CabReadError::None ? CabReadError::BadCompressionType : decoder->Error(),
           "its folder cannot be decoded");
      continue;
    }
    if (e.folderOffset < decoder->Position()) decoder->Restart();
    bool targetFailed = false;
    bool ok = decoder->Pull(e.folderOffset - decoder->Position(), [](const uint8_t*, size_t) { return true; }) &&
              decoder->Pull(e.size, [&](const uint8_t* p, size_t n) {
                if (sink.Write(p, n)) return true;
                targetFailed = true;
                return false;
              });
    if (!ok) {
      if (targetFailed) {
        // The folder is fine; only this file's target failed, so the next file starts
        // by decoding the folder again from its beginning.
        decoder->Restart();
        fail(CabReadError::TargetFile, "cannot be written");
      } else {
        folderBroken = true;
        fail(decoder->Error(), decoder->Detail());
      }
      continue;
    }
    if (sink.End(e, true)) {
      ++report.written;
    } else {
      NoteError(report, CabReadError::TargetFile, e.name + ": cannot be written");
      ++report.failed;
    }
  }
  return report;
}

std::optional<fs::path> SafeRelativePath(const std::string& name) {
  if (name.empty() || name.front() == '\\' || name.front() == '/') return std::nullopt;
  std::vector<std::string> parts;
  std::string cur;
  auto finish = [&]() -> bool {
    if (cur.empty() || cur == "." || cur == "..") return false;
    if (cur.back() == '.' || cur.back() == ' ') return false;
    std::string base = ToLowerAscii(cur.substr(0, cur.find('.')));
    while (!base.empty() && base.back() == ' ') base.pop_back();
    static const char* const kDevices[] = {"con", "prn", "aux", "nul", "conin$", "conout$"};
    for (const char* d : kDevices)
      if (base == d) return false;
    if (IsNumberedDeviceName(base)) return false;
    parts.push_back(cur);
    cur.clear();
    return true;
  };
  for (char c : name) {
    unsigned char u = static_cast<unsigned char>(c);
    if (c == '\\' || c == '/') {
      if (!finish()) return std::nullopt;
      continue;
    }
    if (u < 0x20 || std::strchr("<>:\"|?*", c)) return std::nullopt;
    cur += c;
  }
  if (!finish()) return std::nullopt;
  fs::path p;
  try {
    for (const std::string& part : parts) p /= PathFromUtf8(part);
  } catch (...) {
    return std::nullopt;
  }
  if (p.is_absolute() || p.has_root_name() || p.has_root_directory()) return std::nullopt;
  return p;
}

namespace {

// Writes each file to a temporary file and lets it replace its target only when the whole
// file arrived. Until then nothing else is made: the temporary goes into the nearest folder
// on the way to the target that exists already, and missing folders are created just
// before the rename, so a damaged cabinet leaves no empty (section) folders behind.
// A target of the entry's size is first compared with the incoming bytes instead: when
// they are the same, only its time and attributes are set. Restoring over a data folder
// where most notes are unchanged then writes only the changed ones (quicker, and a
// synced notes folder does not upload every file again). At the first difference the
// bytes compared so far are copied from the target into a temporary, and it goes on as
// for any other file.
class FileSink final : public ICabSink {
 public:
  FileSink(TSTCabReader& reader, const fs::path& folder) : reader_(reader), folder_(folder) {}

  const IFileAttributes& Attributes() const {
    static const PortableFileAttributes kPortable;
    return reader_.Attributes ? *reader_.Attributes : kPortable;
  }

  bool Begin(const CabFileEntry& e, bool& abort) override {
    dest_.clear();
    if (auto rel = SafeRelativePath(e.name)) dest_ = folder_ / *rel;
    if (reader_.OnCopyFile) reader_.OnCopyFile(e, dest_, abort);
    if (abort || dest_.empty()) return false;
    std::error_code ec;
    if (reader_.DontOverwriteReadOnlyFiles && fs::exists(dest_, ec) &&
        (Attributes().Get(dest_).value_or(0) & cab::kAttrReadOnly))
      return false;
    const fs::file_status status = fs::symlink_status(dest_, ec);
    if (!ec && fs::is_regular_file(status) && fs::file_size(dest_, ec) == e.size && !ec) {
      current_.open(dest_, std::ios::binary);
      if (current_) {
        compared_ = 0;
        return true;
      }
      current_.clear();
    }
    return OpenTemporary();
  }

  bool Write(const uint8_t* data, size_t n) override {
    if (current_.is_open()) {
      if (SameAsCurrent(data, n)) {
        compared_ += n;
        return true;
      }
      if (!WriteFromTemporaryOn()) return false;
    }
    if (!out_) return false;
    out_.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(n));
    return static_cast<bool>(out_);
  }

  bool End(const CabFileEntry& e, bool ok) override {
    std::error_code ec;
    if (current_.is_open()) {
      // Every byte was the target's own: it stays, with the entry's time and attributes.
      current_.close();
      current_.clear();
      if (ok) ok = Touch(e);
      if (reader_.OnFileDone) reader_.OnFileDone(e, dest_, ok);
      return ok;
    }
    bool wasOpen = out_.is_open();
    if (wasOpen) {
      out_.flush();
      ok = ok && static_cast<bool>(out_);
      out_.close();
    } else {
      ok = false;
    }
    out_.clear();
    if (ok) {
      SetFileLocalWriteTime(temp_, DateTimeFromDos(e.time));
      ok = Replace(e);
    }
    if (!ok && wasOpen) fs::remove(temp_, ec);
    if (reader_.OnFileDone) reader_.OnFileDone(e, dest_, ok);
    return ok;
  }

 private:
  bool OpenTemporary() {
    static std::atomic<unsigned> counter{0};
    fs::path name = dest_.filename();
    name += ".cabpart" + std::to_string(counter++);
    temp_ = ExistingFolderTowards(dest_.parent_path()) / name;
    out_.open(temp_, std::ios::binary | std::ios::trunc);
    return true;
  }

  bool SameAsCurrent(const uint8_t* data, size_t n) {
    buffer_.resize(n);
    current_.read(buffer_.data(), static_cast<std::streamsize>(n));
    return static_cast<size_t>(current_.gcount()) == n && std::memcmp(buffer_.data(), data, n) == 0;
  }

  // The target differs from the entry after `compared_` equal bytes: those bytes go into
  // a new temporary, read again from the target.
  bool WriteFromTemporaryOn() {
    current_.close();
    current_.clear();
    OpenTemporary();
    if (!out_) return false;
    std::ifstream in(dest_, std::ios::binary);
    std::vector<char> chunk(64 * 1024);
    for (uint64_t left = compared_; left > 0;) {
      const size_t n = static_cast<size_t>(std::min<uint64_t>(left, chunk.size()));
      in.read(chunk.data(), static_cast<std::streamsize>(n));
      if (static_cast<size_t>(in.gcount()) != n) return false;
      out_.write(chunk.data(), static_cast<std::streamsize>(n));
      left -= n;
    }
    return static_cast<bool>(out_);
  }

  // Gives an unchanged target the entry's time and attributes, as a replaced one gets
  // (a read-only target takes no new time, so it becomes a plain file first).
  bool Touch(const CabFileEntry& e) {
    if (Attributes().Get(dest_).value_or(0) & cab::kAttrReadOnly) Attributes().Set(dest_, cab::kAttrArchive);
    SetFileLocalWriteTime(dest_, DateTimeFromDos(e.time));
    Attributes().Set(dest_, e.attributes & kFileAttributeMask);
    return true;
  }

  // The folder itself when it exists, else the nearest existing folder above it. The
  // destination folder is created when nothing on the way exists.
  fs::path ExistingFolderTowards(const fs::path& folder) const {
    std::error_code ec;
    fs::path p = folder;
    while (!p.empty() && !fs::is_directory(p, ec)) {
      if (p == folder_) {
        fs::create_directories(p, ec);
        break;
      }
      fs::path up = p.parent_path();
      if (up == p) break;
      p = up;
    }
    return p;
  }

  // Puts the finished temporary in the target's place. Only a plain file is replaced: a
  // folder of that name (a section) or anything else is left alone, attributes included.
  // A failed rename leaves the target as it was and removes the folders made for it.
  bool Replace(const CabFileEntry& e) {
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(dest_, ec);
    const bool exists = fs::exists(status);
    if (exists && !fs::is_regular_file(status)) return false;
    std::vector<fs::path> made;
    for (fs::path p = dest_.parent_path(); !p.empty() && !fs::exists(p, ec);) {
      made.push_back(p);  // deepest first
      fs::path up = p.parent_path();
      if (up == p) break;
      p = up;
    }
    bool ok = true;
    if (!made.empty()) ok = fs::create_directories(dest_.parent_path(), ec) && !ec;
    std::optional<uint16_t> before;
    if (ok && exists) {
      // A read-only, hidden or system target could not be replaced; it becomes a plain file first.
      before = Attributes().Get(dest_);
      Attributes().Set(dest_, cab::kAttrArchive);
    }
    if (ok) {
      fs::rename(temp_, dest_, ec);
      ok = !ec;
    }
    if (ok) {
      Attributes().Set(dest_, e.attributes & kFileAttributeMask);
      return true;
    }
    if (before) Attributes().Set(dest_, *before);
    for (const fs::path& folder : made) fs::remove(folder, ec);  // only while empty
    return false;
  }

  TSTCabReader& reader_;
  fs::path folder_;
  fs::path dest_, temp_;
  std::ofstream out_;
  std::ifstream current_;  // the target while it is being compared
  uint64_t compared_ = 0;
  std::vector<char> buffer_;
};

}  // namespace

bool TSTCabReader::CabinetInfo(const fs::path& file, CabHeader& header) {
  std::string error;
  auto src = OpenCabFile(file, &error);
  if (!src) throw ESTCabinet(CabReadError::CabinetNotFound, PathToUtf8(file) + ": " + error);
  CabDirectory dir;
  CabReadError e = ReadCabDirectory(*src, dir, CodePage);
  if (e == CabReadError::NotACabinet || e == CabReadError::UnknownVersion) return false;
  header = dir.header;
  return true;
}

CabExtractReport TSTCabReader::Extract(const fs::path& cabinet, const fs::path& folder) {
  std::string error;
  auto src = OpenCabFile(cabinet, &error);
  if (!src) throw ESTCabinet(CabReadError::CabinetNotFound, PathToUtf8(cabinet) + ": " + error);
  CabDirectory dir;
  CabReadError e = ReadCabDirectory(*src, dir, CodePage);
  if (e != CabReadError::None) throw ESTCabinet(e, PathToUtf8(cabinet));
  FileSink sink(*this, folder);
  return ExtractCabinet(*src, dir, sink);
}

}  // namespace ov
