#pragma once
// A cheap summary of the notes folder (every file's name, size and time, and the section
// folders), compared between re-reads to tell whether another computer changed anything.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace ov {

struct NotesFingerprint {
  uint64_t files = 0;                  // over names, sizes and write times below Entries
  std::vector<std::string> sections;   // the section folders, sorted
  bool operator==(const NotesFingerprint& o) const { return files == o.files && sections == o.sections; }
  bool operator!=(const NotesFingerprint& o) const { return !(*this == o); }
};

// The fingerprint of an entries folder. Temporaries of writes under way do not count;
// conflict copies do (a new one is something to offer for merging).
NotesFingerprint FingerprintNotes(const std::filesystem::path& entriesFolder);

}  // namespace ov
