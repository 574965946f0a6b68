#pragma once
// "导出为 .ics...": the notes of the active section over a range of days, collected from
// the note files and written as an iCalendar file, with the texts the user is shown.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "core/ical/IcsExport.h"

namespace ov {

class EntryStore;

inline constexpr char kExportIcsCaption[] = "导出为 .ics...";
inline constexpr char kExportIcsDialogCaption[] = "导出为 .ics";
// The save dialog's filter, "|"-separated pairs.
inline constexpr char kExportIcsFilter[] = "iCalendar 文件 (*.ics)|*.ics|所有文件 (*.*)|*.*";
// Longer ranges are refused: a range is read day by day.
inline constexpr int64_t kMaxExportDays = 366 * 100;

// Days as the program counts them (days since 30 December 1899), both inclusive.
struct DayRange {
  int64_t first = 0;
  int64_t last = 0;
};

// The calendar year of `today`.
DayRange DefaultExportRange(int64_t today);
// "<section>.ics", with characters a file name cannot hold replaced by "_".
std::string DefaultExportFileName(const std::string& section);

struct CollectedNotes {
  std::vector<ExportedNote> notes;
  int unreadable = 0;  // note files that exist but could not be read; not exported
};
// The active section's non-empty notes of the range, in date order, each with the
// names of its colour codes as categories.
CollectedNotes CollectNotes(EntryStore& store, DayRange range);

// Why a range cannot be exported (the end before the start, more than a hundred years);
// empty when it can.
std::string ExportRangeProblem(DayRange range);

enum class ExportStatus { Written, NoNotes, BadRange, WriteFailed };
struct ExportOutcome {
  ExportStatus status = ExportStatus::NoNotes;
  int days = 0;         // note days written
  int unreadable = 0;   // note days left out because their files could not be read
  std::string message;  // what the user is told
};
// Collects the notes and writes them to `file` (replaced only when the new file is
// complete). Nothing is written when the range holds no note or is not a range.
ExportOutcome ExportNotesToFile(EntryStore& store, DayRange range, const std::filesystem::path& file,
                                int64_t stampUtcSeconds);

}  // namespace ov
