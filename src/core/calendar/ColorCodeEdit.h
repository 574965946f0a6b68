#pragma once
// Changing colour codes: a code chosen in the entry pop-up (for one day or a series), and
// the one-time import of holiday marks from notes of the oldest layout.
#include <filesystem>

namespace ov {

class EntryStore;
struct RepeatSeries;

// Marks (set) or unmarks the days from `start`: the day alone, or with `series` every day
// of that series up to its end (its kind and n; the start is `start`). index 0..7 is a
// colour code, -1 clears; the new mask is 1 << index when `set`, else 0, so a day holds at
// most one code. Other indexes change nothing. Each year's file is written once; a year
// whose file cannot be read is left alone. Afterwards the store's code cache holds the
// start year again, read from the file.
//
// The pop-up passes set = !(current mask has bit index): choosing the day's colour again
// clears it, another colour replaces it, "清除" (-1) clears.
void ApplyColorCode(EntryStore& store, int index, bool set, const RepeatSeries* series, double start);

// Converts holiday marks of old notes: every file under `legacyNotesFolder` (sub-folders
// included; names shorter than three characters or starting with "(" are skipped) whose
// name=value line "Holiday" has the value "1" marks its day (from the name
// Notes_YYYY-MM-DD.txt) red, replacing any other code. Names that do not hold a valid date
// are ignored. Returns the number of days marked; the store's code cache is reloaded.
int ImportLegacyHolidays(const std::filesystem::path& legacyNotesFolder, EntryStore& store);

}  // namespace ov
