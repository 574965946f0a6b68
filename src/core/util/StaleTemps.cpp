#include "core/util/StaleTemps.h"

#include <system_error>

#include "core/util/Paths.h"

namespace ov {

namespace fs = std::filesystem;

namespace {

// Consumes one or more decimal digits at the front of `text`.
bool SkipDigits(std::string_view& text) {
  size_t n = 0;
  while (n < text.size() && text[n] >= '0' && text[n] <= '9') ++n;
  text.remove_prefix(n);
  return n > 0;
}

size_t Sweep(const fs::path& folder, const StaleTempOptions& options, int depthLeft) {
  size_t removed = 0;
  std::error_code ec;
  fs::directory_iterator it(folder, fs::directory_options::skip_permission_denied, ec);
  for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
    const fs::directory_entry& entry = *it;
    std::error_code statEc;
    if (entry.is_symlink(statEc)) continue;
    if (entry.is_directory(statEc)) {
      if (depthLeft > 0) removed += Sweep(entry.path(), options, depthLeft - 1);
      continue;
    }
    if (!entry.is_regular_file(statEc)) continue;
    if (!options.isTemp || !options.isTemp(PathToUtf8(entry.path().filename()))) continue;
    const fs::file_time_type written = entry.last_write_time(statEc);
    if (statEc || options.now - written < options.minAge) continue;
    if (fs::remove(entry.path(), statEc) && !statEc) ++removed;
  }
  return removed;
}

}  // namespace

bool IsAtomicWriteTempName(std::string_view name) {
  // "~$<target>.<N>-<M>.tmp"
  if (name.size() > 2 && name.substr(0, 2) == "~$" && name.size() > 4 && name.substr(name.size() - 4) == ".tmp") {
    std::string_view rest = name.substr(2, name.size() - 6);
    const size_t dash = rest.rfind('-');
    if (dash != std::string_view::npos) {
      std::string_view m = rest.substr(dash + 1);
      std::string_view front = rest.substr(0, dash);
      const size_t dot = front.rfind('.');
      if (dot != 0 && dot != std::string_view::npos) {
        std::string_view n = front.substr(dot + 1);
        if (SkipDigits(n) && n.empty() && SkipDigits(m) && m.empty()) return true;
      }
    }
  }
  // "<target>.tmp<N>-<M>", the form earlier versions wrote. Searched from the end: the
  // target's own name may contain ".tmp".
  const size_t at = name.rfind(".tmp");
  if (at == 0 || at == std::string_view::npos) return false;
  std::string_view rest = name.substr(at + 4);
  if (!SkipDigits(rest) || rest.empty() || rest.front() != '-') return false;
  rest.remove_prefix(1);
  return SkipDigits(rest) && rest.empty();
}

bool IsCabinetPartName(std::string_view name) {
  // Searched from the end: the target's own name may contain either marker.
  const size_t cabpart = name.rfind(".cabpart");
  if (cabpart != 0 && cabpart != std::string_view::npos) {
    std::string_view rest = name.substr(cabpart + 8);
    if (SkipDigits(rest) && rest.empty()) return true;
  }
  const size_t part = name.rfind(".cab.part");
  if (part == 0 || part == std::string_view::npos) return false;
  std::string_view rest = name.substr(part + 9);
  return SkipDigits(rest) && rest.empty();
}

bool IsProgramTempName(std::string_view name) { return IsAtomicWriteTempName(name) || IsCabinetPartName(name); }

size_t RemoveStaleWriteTemps(const fs::path& folder, const StaleTempOptions& options) {
  return Sweep(folder, options, options.depth);
}

}  // namespace ov
