#include "core/sync/ConflictNames.h"

namespace ov {

namespace {

bool IsDigits(std::string_view s) {
  if (s.empty()) return false;
  for (char c : s)
    if (c < '0' || c > '9') return false;
  return true;
}

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool ContainsIgnoreCase(std::string_view text, std::string_view word) {
  if (word.size() > text.size()) return false;
  for (size_t i = 0; i + word.size() <= text.size(); ++i) {
    size_t k = 0;
    while (k < word.size() && LowerAscii(text[i + k]) == LowerAscii(word[k])) ++k;
    if (k == word.size()) return true;
  }
  return false;
}

// Whether `tail` (what follows the original's stem, before its extension) marks a
// conflict copy.
bool IsConflictTail(std::string_view tail) {
  // "-<computer>", with an optional "-<n>" the service adds when the name is taken.
  if (tail.size() > 1 && tail[0] == '-') return true;
  // " (<computer>'s conflicted copy <date>)" / " (<computer> 的冲突副本 <date>)"
  if (tail.size() > 3 && tail.substr(0, 2) == " (" && tail.back() == ')') {
    std::string_view inner = tail.substr(2, tail.size() - 3);
    return ContainsIgnoreCase(inner, "conflicted copy") || inner.find("冲突副本") != std::string_view::npos;
  }
  // ".sync-conflict-<date>-<time>-<device>"
  constexpr std::string_view kSync = ".sync-conflict-";
  return tail.size() > kSync.size() && tail.substr(0, kSync.size()) == kSync;
}

}  // namespace

bool IsNoteFileName(std::string_view n) {
  // Notes_YYYY-MM-DD.txt
  if (n.size() != 20 || n.substr(0, 6) != "Notes_" || n.substr(16) != ".txt") return false;
  return IsDigits(n.substr(6, 4)) && n[10] == '-' && IsDigits(n.substr(11, 2)) && n[13] == '-' &&
         IsDigits(n.substr(14, 2));
}

std::optional<std::string> ConflictOriginal(std::string_view name, bool (*isOriginal)(std::string_view)) {
  if (!isOriginal || isOriginal(name)) return std::nullopt;
  const size_t dot = name.rfind('.');
  if (dot == std::string_view::npos || dot == 0) return std::nullopt;
  const std::string_view stem = name.substr(0, dot), ext = name.substr(dot);
  // The original's stem ends where a marker begins; try each place a marker could start.
  for (size_t k = 1; k < stem.size(); ++k) {
    const char c = stem[k];
    if (c != '-' && c != ' ' && c != '.') continue;
    std::string original(stem.substr(0, k));
    original += ext;
    if (isOriginal(original) && IsConflictTail(stem.substr(k))) return original;
  }
  return std::nullopt;
}

std::string OwnConflictName(std::string_view fileName, std::string_view computer, std::string_view stamp) {
  const size_t dot = fileName.rfind('.');
  const std::string_view stem = dot == std::string_view::npos ? fileName : fileName.substr(0, dot);
  const std::string_view ext = dot == std::string_view::npos ? std::string_view() : fileName.substr(dot);
  std::string out(stem);
  out += " (";
  // Characters a file name cannot hold are left out of the computer's name.
  constexpr std::string_view kNotInNames = "\\/:*?\"<>|()";
  for (char c : computer)
    if (kNotInNames.find(c) == std::string_view::npos && static_cast<unsigned char>(c) >= 32) out += c;
  if (out.back() != '(') out += ' ';
  out += "的冲突副本 ";
  out += stamp;
  out += ')';
  out += ext;
  return out;
}

}  // namespace ov
