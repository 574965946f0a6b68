#pragma once
// Shared fixtures of the backup tests: a data folder with notes, cabinet bytes in memory,
// and a sink that collects what a cabinet holds.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <random>
#include <string>

#include "core/backup/CabReader.h"
#include "core/backup/CabWriter.h"
#include "core/backup/FileTimes.h"
#include "core/calendar/DateTime.h"
#include "core/util/FileIo.h"
#include "core/util/Paths.h"
#include "support/TempDir.h"

namespace ov::test {

namespace fs = std::filesystem;

// What one cabinet entry decoded to.
struct Extracted {
  std::string bytes;
  DosDateTime time;
  uint16_t attributes = 0;
  bool ok = false;
};

// Keeps every file of a cabinet in memory, by name.
class MemorySink final : public ICabSink {
 public:
  std::map<std::string, Extracted> files;
  bool Begin(const CabFileEntry& e, bool&) override {
    current_ = &files[e.name];
    current_->bytes.clear();
    current_->time = e.time;
    current_->attributes = e.attributes;
    return true;
  }
  bool Write(const uint8_t* p, size_t n) override {
    current_->bytes.append(reinterpret_cast<const char*>(p), n);
    return true;
  }
  bool End(const CabFileEntry&, bool ok) override {
    current_->ok = ok;
    return ok;
  }

 private:
  Extracted* current_ = nullptr;
};

// Reads cabinet bytes completely; the report's error is empty when all went well.
inline CabExtractReport ReadAll(const std::string& cabinet, MemorySink& sink, CabDirectory* dirOut = nullptr) {
  MemoryCabSource src(cabinet.data(), cabinet.size());
  CabDirectory dir;
  CabReadError e = ReadCabDirectory(src, dir);
  EXPECT_EQ(e, CabReadError::None);
  if (dirOut) *dirOut = dir;
  if (e != CabReadError::None) return {};
  return ExtractCabinet(src, dir, sink);
}

// Seeded bytes: `compressible` gives note-like text, otherwise noise.
inline std::string TestBytes(size_t n, unsigned seed, bool compressible) {
  std::mt19937 rng(seed);
  std::string s(n, '\0');
  static const char kWords[] = "[EOHDR]\r\nMeeting with the team at 10, lunch, call home. ";
  for (size_t i = 0; i < n; ++i)
    s[i] = compressible ? kWords[(i + rng() % 3) % (sizeof kWords - 1)] : static_cast<char>(rng());
  return s;
}

inline void WriteWithTime(const fs::path& file, const std::string& bytes, double localTime) {
  WriteFile(file, bytes);
  ASSERT_TRUE(SetFileLocalWriteTime(file, localTime)) << file;
}

// Every regular file below a folder by its relative path ('/'-separated), with its bytes.
inline std::map<std::string, std::string> TreeOf(const fs::path& root) {
  std::map<std::string, std::string> out;
  std::error_code ec;
  for (fs::recursive_directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec))
    if (it->is_regular_file()) {
      std::string rel = PathToUtf8(fs::path(fs::relative(it->path(), root).generic_string()));
      out[rel] = ReadFile(it->path());
    }
  return out;
}

}  // namespace ov::test
