#include "core/library/ImageLibrary.h"

#include <system_error>

#include "core/images/ImageFiles.h"
#include "core/util/Paths.h"

namespace ov {

namespace fs = std::filesystem;

namespace {

// Deep folder chains (or a link loop) must not exhaust the stack.
constexpr int kMaxDepth = 64;

void Scan(const fs::path& folder, std::vector<TImageItem>& out, int depth) {
  if (depth > kMaxDepth) return;
  std::error_code ec;
  fs::directory_iterator it(folder, fs::directory_options::skip_permission_denied, ec);
  if (ec) return;
  for (; it != fs::directory_iterator(); it.increment(ec)) {
    if (ec) break;
    const fs::directory_entry& entry = *it;
    std::string name = PathToUtf8(entry.path().filename());
    if (name.size() < 3 || name[0] == '(') continue;
    std::error_code typeEc;
    if (entry.is_directory(typeEc)) {
      Scan(entry.path(), out, depth + 1);
    } else if (IsImageFile(entry.path())) {
      TImageItem item;
      item.Name = name;
      item.FileName = PathToUtf8(entry.path());
      std::error_code sizeEc;
      uintmax_t size = entry.file_size(sizeEc);
      item.FileSize = sizeEc ? 0 : size;
      out.push_back(std::move(item));
    }
  }
}

}  // namespace

void ScanImageFolder(const fs::path& folder, std::vector<TImageItem>& out) {
  if (folder.empty()) return;
  Scan(folder, out, 0);
}

}  // namespace ov
