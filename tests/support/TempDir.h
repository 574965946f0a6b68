#pragma once
// A folder of its own for one test, removed with everything in it afterwards.
#include <filesystem>
#include <string>

namespace ov::test {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  // The folder as UTF-8 text with a trailing separator, the form the program keeps
  // its folders in.
  std::string Utf8WithSlash() const;

 private:
  std::filesystem::path path_;
};

// Writes bytes to a file, creating its folder.
void WriteFile(const std::filesystem::path& file, const std::string& bytes);
std::string ReadFile(const std::filesystem::path& file);

}  // namespace ov::test
