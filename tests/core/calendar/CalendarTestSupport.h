#pragma once
// Shared pieces of the calendar tests: a store in a temporary folder and helpers to put
// note and codes files in place.
#include <filesystem>
#include <string>

#include "core/calendar/ColorCodes.h"
#include "core/calendar/DateTime.h"
#include "core/calendar/EntryStore.h"
#include "core/platform/CodePage.h"
#include "support/TempDir.h"

namespace ov::test {

// A date as the calendar stores it, and as a day number.
inline double D(int y, int m, int d) { return EncodeDate(y, m, d); }
inline int64_t Day(int y, int m, int d) { return DayNumberFromCivil(y, m, d); }

class StoreFixture {
 public:
  explicit StoreFixture(std::string section = "默认")
      : entries_(dir_.Path() / "Entries"), store_(entries_, std::move(section), codePage_) {}

  const std::filesystem::path& Entries() const { return entries_; }
  EntryStore& Store() { return store_; }
  const ICodePage& CodePage() const { return codePage_; }

  // The codes file of a year as 370 values (zeros where there is no file).
  YearCodes Codes(int year) const { return ReadYearCodes(entries_, year).values; }
  uint32_t CodeOf(double date) const {
    return Codes(DecodeDate(date).year)[static_cast<size_t>(DayOfYear(date) - 1)];
  }
  void SetCodeInFile(double date, uint32_t mask) {
    YearCodes v = Codes(DecodeDate(date).year);
    v[static_cast<size_t>(DayOfYear(date) - 1)] = mask;
    WriteYearCodes(entries_, DecodeDate(date).year, v);
  }
  std::string NoteText(double date) { return store_.ReadDayEntry(date).Text; }

 private:
  TempDir dir_;
  std::filesystem::path entries_;
  Latin1CodePage codePage_;
  EntryStore store_;
};

}  // namespace ov::test
