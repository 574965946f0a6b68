#pragma once
// Taking over data of older layouts at the first start of this folder layout.
#include "core/app/DataFolders.h"

namespace ov {

class IShellFileOps;
class EntryStore;

struct MigrationResult {
  bool ran = false;           // the entries folder did not exist: this was the first start
  bool movedEntries = false;  // the previous layout's entries moved from the program folder
};

// Only when the data folder has no "Entries" folder yet: creates the data, skin and
// overlay folders, moves "ImageCRC" from beside the program into the data folder, takes
// over the oldest layout's "Notes" as the section "Default" (with their holiday marks),
// and moves the previous layout's "Entries" from beside the program. Shell failures are
// not reported; the start goes on with whatever was achieved.
MigrationResult MigrateOldLayouts(IShellFileOps& shell, EntryStore& store, const DataFolders& folders);

// The information box text after the entries were moved.
std::string MovedEntriesMessage(const DataFolders& folders);

}  // namespace ov
