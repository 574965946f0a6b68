#include "core/util/FileIo.h"

#include <atomic>
#include <chrono>
#include <fstream>
#include <system_error>

namespace ov {

namespace fs = std::filesystem;

std::optional<std::string> ReadFileBytes(const fs::path& file, size_t maxBytes) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  in.seekg(0, std::ios::end);
  std::streamoff size = in.tellg();
  if (size < 0 || static_cast<unsigned long long>(size) > maxBytes) return std::nullopt;
  in.seekg(0, std::ios::beg);
  std::string data(static_cast<size_t>(size), '\0');
  if (size > 0 && !in.read(data.data(), size)) return std::nullopt;
  return data;
}

bool WriteFileAtomic(const fs::path& file, std::string_view bytes) {
  // A name that no other writer in this or another process picks at the same moment.
  static std::atomic<unsigned> counter{0};
  auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  // "~$<name>.<N>-<M>.tmp": sync services leave names that begin with "~$" or end in
  // ".tmp" alone, so a half-written file is never uploaded to the other computers.
  fs::path temp = file.parent_path() / fs::path("~$");
  temp += file.filename();
  temp += "." + std::to_string(static_cast<unsigned long long>(stamp) % 1000000007ULL) + "-" +
          std::to_string(counter++) + ".tmp";
  std::error_code ec;
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) {
      out.close();
      fs::remove(temp, ec);
      return false;
    }
  }
  fs::rename(temp, file, ec);
  if (ec) {
    fs::remove(temp, ec);
    return false;
  }
  return true;
}

bool WriteFileRanges(const fs::path& file, std::string_view bytes, const std::vector<ByteRange>& ranges,
                     const std::vector<std::string>& before) {
  std::error_code ec;
  if (fs::file_size(file, ec) != bytes.size() || ec || before.size() != ranges.size()) return false;
  std::fstream f(file, std::ios::binary | std::ios::in | std::ios::out);
  if (!f) return false;
  std::string held;
  for (size_t i = 0; i < ranges.size(); ++i) {
    const ByteRange& r = ranges[i];
    if (r.first > r.last || r.last > bytes.size() || before[i].size() != r.last - r.first) return false;
    held.resize(r.last - r.first);
    f.seekg(static_cast<std::streamoff>(r.first));
    if (!f.read(held.data(), static_cast<std::streamsize>(held.size())) || held != before[i]) return false;
  }
  for (const ByteRange& r : ranges) {
    f.seekp(static_cast<std::streamoff>(r.first));
    f.write(bytes.data() + r.first, static_cast<std::streamsize>(r.last - r.first));
  }
  f.flush();
  return bool(f);
}

bool OverwriteFileInPlace(const fs::path& file, std::string_view bytes) {
  std::error_code ec;
  if (fs::file_size(file, ec) != bytes.size() || ec) return false;
  std::fstream f(file, std::ios::binary | std::ios::in | std::ios::out);
  if (!f) return false;
  f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  f.flush();
  return bool(f);
}

bool WriteFileIfChanged(const fs::path& file, std::string_view bytes) {
  std::error_code ec;
  const auto size = fs::file_size(file, ec);
  if (!ec && size == bytes.size()) {
    if (auto old = ReadFileBytes(file, bytes.size()); old && *old == bytes) return true;
  }
  return WriteFileAtomic(file, bytes);
}

}  // namespace ov
