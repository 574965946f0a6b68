#include "core/library/ImageLibrary.h"

#include <cstdint>
#include <system_error>

#include "core/images/ImageFiles.h"
#include "core/util/Paths.h"

namespace ov {

namespace fs = std::filesystem;

namespace {

// Deep folder chains (or a link loop) must not exhaust the stack.
constexpr int kMaxDepth = 64;

// A name's length as the system counts it, in UTF-16 units: one per character, two for
// characters beyond the basic plane (4-byte UTF-8 sequences).
size_t NameLength(const std::string& utf8) {
  size_t n = 0;
  for (unsigned char c : utf8) {
    if ((c & 0xC0) != 0x80) ++n;  // a lead byte or plain ASCII starts a character
    if (c >= 0xF0) ++n;
  }
  return n;
}

// Calls `found` for every file the scan takes in, with the directory entry and its name.
// An entry whose name has no UTF-8 form is passed over (with what lies below it): the
// library could not name it.
template <typename Found>
void Scan(const fs::path& folder, const Found& found, int depth) {
  if (depth > kMaxDepth) return;
  std::error_code ec;
  fs::directory_iterator it(folder, fs::directory_options::skip_permission_denied, ec);
  if (ec) return;
  for (; it != fs::directory_iterator(); it.increment(ec)) {
    if (ec) break;
    const fs::directory_entry& entry = *it;
    std::optional<std::string> utf8 = PathToUtf8IfValid(entry.path().filename());
    if (!utf8) continue;
    const std::string& name = *utf8;
    if (NameLength(name) < 3 || name[0] == '(') continue;
    std::error_code typeEc;
    if (entry.is_directory(typeEc)) {
      Scan(entry.path(), found, depth + 1);
    } else {
      found(entry, name);
    }
  }
}

bool Scannable(const fs::path& folder) { return NameLength(PathToUtf8(folder)) >= 2; }

}  // namespace

std::optional<std::string> PathToUtf8IfValid(const fs::path& p) {
  if constexpr (sizeof(fs::path::value_type) == 2) {
    const auto& units = p.native();
    for (size_t i = 0; i < units.size(); ++i) {
      const auto u = static_cast<uint32_t>(units[i]);
      if (u < 0xD800 || u > 0xDFFF) continue;
      const bool pair = u <= 0xDBFF && i + 1 < units.size() && static_cast<uint32_t>(units[i + 1]) >= 0xDC00 &&
                        static_cast<uint32_t>(units[i + 1]) <= 0xDFFF;
      if (!pair) return std::nullopt;
      ++i;
    }
  }
  return PathToUtf8(p);
}

void ScanImageFolder(const fs::path& folder, std::vector<TImageItem>& out) {
  if (!Scannable(folder)) return;
  auto found = [&out](const fs::directory_entry& entry, const std::string& name) {
    if (!IsImageFile(entry.path())) return;
    TImageItem item;
    item.Name = name;
    item.FileName = PathToUtf8(entry.path());
    std::error_code sizeEc;
    uintmax_t size = entry.file_size(sizeEc);
    item.FileSize = sizeEc ? 0 : size;
    out.push_back(std::move(item));
  };
  Scan(folder, found, 0);
}

void ScanAllFiles(const fs::path& folder, std::vector<fs::path>& out) {
  if (!Scannable(folder)) return;
  Scan(folder, [&out](const fs::directory_entry& entry, const std::string&) { out.push_back(entry.path()); }, 0);
}

}  // namespace ov
