#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <random>

#include "core/util/Paths.h"

namespace ov::test {

namespace fs = std::filesystem;

TempDir::TempDir() {
  static std::atomic<int> counter{0};
  std::random_device rd;
  auto base = fs::temp_directory_path();
  for (int attempt = 0; attempt < 100; ++attempt) {
    fs::path p = base / ("ovtest-" + std::to_string(rd()) + "-" + std::to_string(counter++));
    std::error_code ec;
    if (fs::create_directory(p, ec)) {
      path_ = p;
      return;
    }
  }
  ADD_FAILURE() << "cannot create a temporary folder in " << base;
}

TempDir::~TempDir() {
  std::error_code ec;
  if (!path_.empty()) fs::remove_all(path_, ec);
}

std::string TempDir::Utf8WithSlash() const {
  std::string s = PathToUtf8(path_);
#ifdef _WIN32
  s += '\\';
#else
  s += '/';
#endif
  return s;
}

void WriteFile(const fs::path& file, const std::string& bytes) {
  std::error_code ec;
  fs::create_directories(file.parent_path(), ec);
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  ASSERT_TRUE(out.good()) << "cannot write " << file;
}

std::string ReadFile(const fs::path& file) {
  // In one read: test code is compiled without optimisation, where a character-wise
  // copy of a wallpaper-sized file takes most of a test's time.
  std::ifstream in(file, std::ios::binary);
  std::string bytes;
  if (!in) return bytes;
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  if (size <= 0) return bytes;
  bytes.resize(static_cast<size_t>(size));
  in.seekg(0);
  in.read(bytes.data(), size);
  bytes.resize(static_cast<size_t>(in.gcount()));
  return bytes;
}

}  // namespace ov::test
