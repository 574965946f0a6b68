#pragma once
// Conflict copies of the shared data besides the notes: a sync service that saw a codes
// file ("Codes2026.dat") or a picture's properties ("CRC_0000abcd.ini") changed on two
// computers keeps the other version beside it under a conflict name (ConflictNames.h).
// Such a copy is never read as live data (those files are read by their exact names).
// Codes are merged: days coded on one side only take that code; a day coded differently
// on both keeps the local code. Picture properties are not merged: the local file stays
// in use and the copy stays beside it for the user.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace ov {

// "Codes<year>.dat", the year 1..9999 without leading zeros.
bool IsCodesFileName(std::string_view fileName);
// "CRC_<8 hex digits>.ini".
bool IsImagePropsFileName(std::string_view fileName);

// The conflict copies in `folder` (not below it) of files `isOriginal` accepts, sorted.
std::vector<std::filesystem::path> ConflictCopiesIn(const std::filesystem::path& folder,
                                                    bool (*isOriginal)(std::string_view));

struct CodesMerge {
  std::filesystem::path copy;   // the conflict copy merged
  std::string original;         // the codes file it belongs to ("Codes2026.dat")
  int added = 0;                // days that took the copy's code
  std::vector<int> keptLocal;   // days of the year coded differently on both: local kept
  bool copyRemoved = false;     // everything of the copy is in the local file now
  bool ok = true;               // false: a file could not be read or written; nothing lost
};

// Merges every conflict copy of a codes file in the entries folder into that file. A
// copy whose every code is now in the local file is removed; one with days that kept the
// local code stays (nothing of it is lost). Merging again adds nothing and writes nothing.
std::vector<CodesMerge> MergeCodesConflicts(const std::filesystem::path& entriesFolder);

// A line for the program's log saying what a merge did, empty when it did nothing worth
// saying (no day added, none kept, the copy not removed, no failure).
std::string DescribeCodesMerge(const CodesMerge& merge);

// A line for the program's log about a conflict copy of a picture's properties, which is
// left where it is and not used.
std::string DescribeImagePropsCopy(const std::filesystem::path& copy);

// The log of what the program did with conflict copies: "Sync.log" in the data folder of
// this computer (it is not carried to other computers).
inline constexpr char kSyncLogName[] = "Sync.log";
// Appends a line (UTF-8, CR LF). A log grown past 256 KB starts over, so it stays small.
bool AppendLogLine(const std::filesystem::path& file, std::string_view line);

}  // namespace ov
