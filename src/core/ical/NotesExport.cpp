#include "core/ical/NotesExport.h"

#include <string_view>
#include <system_error>

#include "core/calendar/ColorCodes.h"
#include "core/calendar/DateTime.h"
#include "core/calendar/EntryStore.h"
#include "core/util/FileIo.h"
#include "core/util/Paths.h"

namespace ov {

DayRange DefaultExportRange(int64_t today) {
  const int year = CivilFromDayNumber(today).year;
  return {DayNumberFromCivil(year, 1, 1), DayNumberFromCivil(year, 12, 31)};
}

std::string DefaultExportFileName(const std::string& section) {
  std::string name = section.empty() ? std::string(kDefaultSectionName) : section;
  for (char& c : name) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (u < 0x20 || std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos) c = '_';
  }
  return name + ".ics";
}

CollectedNotes CollectNotes(EntryStore& store, DayRange range) {
  CollectedNotes out;
  for (int64_t day = range.first; day <= range.last; ++day) {
    const CivilDate c = CivilFromDayNumber(day);
    // A year without a notes folder has no notes: skip it whole instead of asking for
    // each of its days.
    if ((c.month == 1 && c.day == 1) || day == range.first) {
      std::error_code ec;
      if (!std::filesystem::is_directory(store.NoteFilePath(double(day)).parent_path(), ec)) {
        day = DayNumberFromCivil(c.year, 12, 31);
        continue;
      }
    }
    const std::optional<std::string> text = store.TryReadNoteText(double(day));
    if (!text) {
      ++out.unreadable;
      continue;
    }
    if (text->empty()) continue;
    ExportedNote n;
    n.day = day;
    n.text = *text;
    const uint32_t mask = store.ColorCodesOf(double(day));
    for (const ColorCodeItem& item : kColorCodeTable)
      if (mask & (1u << item.index)) n.categories.push_back(item.caption);
    out.notes.push_back(std::move(n));
  }
  return out;
}

std::string ExportRangeProblem(DayRange range) {
  if (range.last < range.first) return "结束日期早于开始日期，请重新选择。";
  if (range.last - range.first >= kMaxExportDays) return "一次最多导出一百年的项目，请选择较短的日期范围。";
  return {};
}

ExportOutcome ExportNotesToFile(EntryStore& store, DayRange range, const std::filesystem::path& file,
                                int64_t stampUtcSeconds) {
  ExportOutcome r;
  r.message = ExportRangeProblem(range);
  if (!r.message.empty()) {
    r.status = ExportStatus::BadRange;
    return r;
  }
  CollectedNotes collected = CollectNotes(store, range);
  r.unreadable = collected.unreadable;
  const std::string skipped =
      r.unreadable > 0 ? "\r\n有 " + std::to_string(r.unreadable) + " 天的项目无法读取，没有导出。" : std::string();
  if (collected.notes.empty()) {
    r.status = ExportStatus::NoNotes;
    r.message = "所选日期范围内没有项目，没有写入文件。" + skipped;
    return r;
  }
  const std::string ics = NotesAsIcs(store.CurrentSection(), collected.notes, stampUtcSeconds);
  if (!WriteFileAtomic(file, ics)) {
    r.status = ExportStatus::WriteFailed;
    r.message = "无法写入文件“" + PathToUtf8(file) + "”。\r\n请检查文件夹是否存在、是否可以写入以及磁盘空间。";
    return r;
  }
  r.status = ExportStatus::Written;
  r.days = int(collected.notes.size());
  r.message = "已将 " + std::to_string(r.days) + " 天的项目导出到“" + PathToUtf8(file) + "”。" + skipped;
  return r;
}

}  // namespace ov
