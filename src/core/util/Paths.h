#pragma once
// Conversions between UTF-8 text and std::filesystem::path. On Windows a path holds
// UTF-16, so every conversion goes through here rather than through path's narrow
// constructors, which would use the ANSI code page.
#include <filesystem>
#include <string>

namespace ov {

namespace fs = std::filesystem;

inline fs::path PathFromUtf8(const std::string& s) {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  return fs::u8path(s);
#pragma GCC diagnostic pop
}

inline std::string PathToUtf8(const fs::path& p) { return p.u8string(); }

}  // namespace ov
