#include "core/sync/NotesFingerprint.h"

#include <algorithm>
#include <system_error>

#include "core/util/Paths.h"
#include "core/util/StaleTemps.h"

namespace ov {

namespace fs = std::filesystem;

namespace {

// FNV-1a over bytes; the order of files does not matter because each file's own hash is
// summed.
uint64_t Hash(const void* data, size_t n, uint64_t h = 14695981039346656037ULL) {
  const unsigned char* p = static_cast<const unsigned char*>(data);
  for (size_t i = 0; i < n; ++i) h = (h ^ p[i]) * 1099511628211ULL;
  return h;
}

}  // namespace

NotesFingerprint FingerprintNotes(const fs::path& entriesFolder) {
  NotesFingerprint f;
  std::error_code ec;
  fs::recursive_directory_iterator it(entriesFolder, fs::directory_options::skip_permission_denied, ec), end;
  for (; !ec && it != end; it.increment(ec)) {
    std::error_code statEc;
    if (it->is_symlink(statEc)) {
      if (it->is_directory(statEc)) it.disable_recursion_pending();
      continue;
    }
    if (it->is_directory(statEc)) {
      if (it.depth() == 0) f.sections.push_back(PathToUtf8(it->path().filename()));
      continue;
    }
    const std::string name = PathToUtf8(it->path().lexically_relative(entriesFolder));
    // A write under way is seen again once it is renamed to its target.
    if (IsProgramTempName(PathToUtf8(it->path().filename()))) continue;
    const uint64_t size = it->file_size(statEc);
    const auto time = it->last_write_time(statEc).time_since_epoch().count();
    uint64_t h = Hash(name.data(), name.size());
    h = Hash(&size, sizeof size, h);
    h = Hash(&time, sizeof time, h);
    f.files += h;
  }
  std::sort(f.sections.begin(), f.sections.end());
  return f;
}

}  // namespace ov
