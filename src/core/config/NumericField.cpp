#include "core/config/NumericField.h"

#include <algorithm>

#include "core/util/Numeric.h"

namespace ov {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// A whole number: an optional sign and at least one digit, nothing else. Numbers beyond
// 32 bits saturate; the range clamp follows anyway.
bool ParseWhole(const std::string& s, int64_t& out) {
  size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
  if (i == s.size()) return false;
  int64_t v = 0;
  for (; i < s.size(); ++i) {
    if (s[i] < '0' || s[i] > '9') return false;
    if (v < 10'000'000'000LL) v = v * 10 + (s[i] - '0');
  }
  out = negative ? -v : v;
  return true;
}

}  // namespace

NumericField::NumericField(int16_t minimum, int16_t maximum, int16_t resetValue, int16_t step)
    : min_(std::min(minimum, maximum)),
      max_(std::max(minimum, maximum)),
      reset_(resetValue),
      step_(step > 0 ? step : 1),
      pos_(min_),
      barPos_(min_) {
  SetPosition(std::clamp(resetValue, min_, max_));
}

int16_t NumericField::Clamp16(int64_t v) const { return static_cast<int16_t>(Clamp<int64_t>(v, min_, max_)); }

bool NumericField::TextChanged(const std::string& typed) {
  size_t b = 0, e = typed.size();
  while (b < e && IsBlank(typed[b])) ++b;
  while (e > b && IsBlank(typed[e - 1])) --e;
  text_ = typed.substr(b, e - b);
  int64_t n = 0;
  if (!ParseWhole(text_, n)) return false;
  int16_t v = Clamp16(n);
  if (v != n) text_ = std::to_string(v);
  barPos_ = v;
  // "0", "00" and "-0" stay as typed, so the user can go on typing after a zero.
  if (v != 0) text_ = std::to_string(v);
  bold_ = v == reset_;
  pos_ = v;
  return true;
}

void NumericField::SetPosition(int32_t value) { TextChanged(std::to_string(Clamp16(value))); }

void NumericField::Arrow(bool up, bool shift, bool ctrl) {
  int64_t p = pos_;
  if (shift) p = up ? max_ : min_;
  if (ctrl) p += up ? 9 : -9;
  p += up ? step_ : -step_;
  SetPosition(Clamp16(p));
}

void NumericField::BarAt(int32_t x, int32_t width) {
  if (width <= 0) return;
  int64_t v = min_ + Round(static_cast<double>(x) / width * (max_ - min_));
  SetPosition(Clamp16(v));
}

}  // namespace ov
