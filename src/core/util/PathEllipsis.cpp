#include "core/util/PathEllipsis.h"

#include <vector>

namespace ov {

namespace {

const char kEllipsis[] = "\xE2\x80\xA6";  // U+2026

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// Byte offsets where each UTF-8 character of `s` starts, plus the end.
std::vector<size_t> CharStarts(std::string_view s) {
  std::vector<size_t> starts;
  for (size_t i = 0; i < s.size(); ++i)
    if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) starts.push_back(i);
  starts.push_back(s.size());
  return starts;
}

// The name cut in its middle: as many characters as fit, split evenly before and after "…".
std::string CutMiddle(std::string_view name, int32_t maxWidth,
                      const std::function<int32_t(std::string_view)>& measure) {
  const std::vector<size_t> starts = CharStarts(name);
  const size_t chars = starts.size() - 1;
  for (size_t keep = chars; keep-- > 0;) {
    const size_t head = (keep + 1) / 2, tail = keep - head;
    std::string candidate(name.substr(0, starts[head]));
    candidate += kEllipsis;
    candidate += name.substr(starts[chars - tail]);
    if (measure(candidate) <= maxWidth || keep == 0) return candidate;
  }
  return kEllipsis;
}

}  // namespace

std::string ShortenPathMiddle(std::string_view path, int32_t maxWidth,
                              const std::function<int32_t(std::string_view)>& measure) {
  if (measure(path) <= maxWidth) return std::string(path);
  // Components with the separator that ends each; the last one is the file name.
  size_t nameStart = path.size();
  while (nameStart > 0 && !IsSeparator(path[nameStart - 1])) --nameStart;
  const std::string_view name = path.substr(nameStart);
  if (nameStart == 0) return CutMiddle(name, maxWidth, measure);

  size_t firstEnd = 0;  // the first component with its separator ("C:\", "\\server\")
  while (firstEnd < nameStart && IsSeparator(path[firstEnd])) ++firstEnd;
  while (firstEnd < nameStart && !IsSeparator(path[firstEnd])) ++firstEnd;
  if (firstEnd < nameStart) ++firstEnd;
  const std::string_view first = path.substr(0, firstEnd);
  const char sep = path[nameStart - 1];

  // Keep the first component and then as many trailing folders as fit.
  std::vector<size_t> folderStarts;  // where each folder after the first component begins
  for (size_t i = firstEnd; i < nameStart; ++i)
    if (i == firstEnd || IsSeparator(path[i - 1])) folderStarts.push_back(i);
  for (size_t drop = 1; drop <= folderStarts.size(); ++drop) {
    const size_t tailStart = drop < folderStarts.size() ? folderStarts[drop] : nameStart;
    std::string candidate(first);
    candidate += kEllipsis;
    candidate += sep;
    candidate += path.substr(tailStart);
    if (measure(candidate) <= maxWidth) return candidate;
  }
  std::string bare = std::string(kEllipsis) + sep + std::string(name);
  if (measure(bare) <= maxWidth) return bare;
  return CutMiddle(name, maxWidth, measure);
}

}  // namespace ov
