#include "core/calendar/ColorCodeEdit.h"

#include <algorithm>
#include <optional>
#include <string>
#include <system_error>

#include "core/calendar/ColorCodes.h"
#include "core/calendar/DateTime.h"
#include "core/calendar/EntryStore.h"
#include "core/calendar/Repeat.h"
#include "core/util/FileIo.h"
#include "core/util/Paths.h"
#include "core/util/Text.h"

namespace ov {

namespace fs = std::filesystem;

void ApplyColorCode(EntryStore& store, int index, bool set, const RepeatSeries* series, double start) {
  if (index < -1 || index > 7) return;
  const uint32_t mask = (set && index >= 0) ? (1u << index) : 0u;
  RepeatSeries walk;
  walk.start = DateOf(start);
  walk.end = series ? std::max(DateOf(series->end), walk.start) : walk.start;
  walk.kind = series ? series->kind : RepeatKind::Day;
  walk.everyDays = series ? series->everyDays : 1;

  YearCodesEditor codes(store.EntriesFolder());
  ForEachSeriesDay(walk, [&](double d) { codes.Set(d, mask); });
  codes.Flush();
  store.ReloadCodes(DecodeDate(walk.start).year);
}

namespace {

size_t CodePointCount(const std::string& s) {
  size_t n = 0;
  for (unsigned char c : s)
    if ((c & 0xC0) != 0x80) ++n;
  return n;
}

bool SkippedName(const std::string& name) { return CodePointCount(name) < 3 || name[0] == '('; }

std::optional<int> Digits(const std::string& s, size_t pos, size_t len) {
  if (pos + len > s.size()) return std::nullopt;
  int v = 0;
  for (size_t i = pos; i < pos + len; ++i) {
    if (s[i] < '0' || s[i] > '9') return std::nullopt;
    v = v * 10 + (s[i] - '0');
  }
  return v;
}

// The date in a name of the form Notes_YYYY-MM-DD.txt: characters 7..10, 12..13, 15..16.
std::optional<double> DateFromLegacyName(const std::string& name) {
  auto y = Digits(name, 6, 4), m = Digits(name, 11, 2), d = Digits(name, 14, 2);
  if (!y || !m || !d) return std::nullopt;
  return TryEncodeDate(*y, *m, *d);
}

// The value of the first line "Holiday=..." (name compared without regard to case).
bool MarkedAsHoliday(const std::string& bytes) {
  for (const std::string& line : SplitLines(bytes)) {
    size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    if (EqualsIgnoreCaseAscii(std::string_view(line).substr(0, eq), "Holiday")) return line.substr(eq + 1) == "1";
  }
  return false;
}

void CollectHolidays(const fs::path& folder, int depth, YearCodesEditor& codes, int& marked) {
  // Old note trees are a few levels deep; a deeper tree is not an old note tree.
  if (depth > 16) return;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = PathToUtf8(it->path().filename());
    if (SkippedName(name)) continue;
    std::error_code ec2;
    if (it->is_symlink(ec2)) continue;
    if (it->is_directory(ec2)) {
      CollectHolidays(it->path(), depth + 1, codes, marked);
      continue;
    }
    if (!it->is_regular_file(ec2)) continue;
    auto bytes = ReadFileBytes(it->path(), kMaxNoteFileBytes);
    if (!bytes || !MarkedAsHoliday(*bytes)) continue;
    if (auto date = DateFromLegacyName(name)) {
      codes.Set(*date, 1u);  // red, the holiday code, replacing any other
      ++marked;
    }
  }
}

}  // namespace

int ImportLegacyHolidays(const fs::path& legacyNotesFolder, EntryStore& store) {
  int marked = 0;
  YearCodesEditor codes(store.EntriesFolder());
  CollectHolidays(legacyNotesFolder, 0, codes, marked);
  codes.Flush();
  if (store.Codes().year != 0) store.ReloadCodes(store.Codes().year);
  return marked;
}

}  // namespace ov
