#include "core/reminders/TimePrefix.h"

namespace ov {

namespace {

constexpr std::string_view kFullWidthColon = "\xEF\xBC\x9A";  // U+FF1A
constexpr std::string_view kFullWidthTilde = "\xEF\xBD\x9E";  // U+FF5E

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

void SkipBlanks(std::string_view s, size_t& i) {
  while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
}

bool Consume(std::string_view s, size_t& i, std::string_view what) {
  if (s.substr(i, what.size()) != what) return false;
  i += what.size();
  return true;
}

// One time of day at i; on success i is after the minutes.
bool ReadTime(std::string_view s, size_t& i, int& hour, int& minute) {
  size_t p = i;
  int h = 0, digits = 0;
  while (p < s.size() && IsDigit(s[p]) && digits < 3) h = h * 10 + (s[p++] - '0'), ++digits;
  if (digits == 0 || digits > 2 || h > 23) return false;
  if (!Consume(s, p, ":") && !Consume(s, p, kFullWidthColon)) return false;
  if (p + 2 > s.size() || !IsDigit(s[p]) || !IsDigit(s[p + 1])) return false;
  const int m = (s[p] - '0') * 10 + (s[p + 1] - '0');
  if (m > 59) return false;
  p += 2;
  // "9:301" or "9:30:15" is something else than a time.
  if (p < s.size() && (IsDigit(s[p]) || s[p] == ':' || s.substr(p, kFullWidthColon.size()) == kFullWidthColon))
    return false;
  hour = h;
  minute = m;
  i = p;
  return true;
}

}  // namespace

std::optional<TimePrefix> ParseTimePrefix(std::string_view line) {
  size_t i = 0;
  SkipBlanks(line, i);
  TimePrefix result;
  if (!ReadTime(line, i, result.hour, result.minute)) return std::nullopt;
  // An optional end of a range: taken only when a whole time follows the sign.
  size_t r = i;
  SkipBlanks(line, r);
  if (Consume(line, r, "-") || Consume(line, r, "~") || Consume(line, r, kFullWidthTilde)) {
    SkipBlanks(line, r);
    int h = 0, m = 0;
    if (ReadTime(line, r, h, m)) i = r;
  }
  SkipBlanks(line, i);
  std::string_view text = line.substr(i);
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') text.remove_suffix(1);
  if (text.empty()) return std::nullopt;
  result.text = std::string(text);
  return result;
}

}  // namespace ov
