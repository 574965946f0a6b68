#include "core/sync/NotesMove.h"

#include <system_error>
#include <vector>

#include "core/sync/ConflictNames.h"
#include "core/util/FileIo.h"
#include "core/util/Paths.h"
#include "core/util/StaleTemps.h"

namespace ov {

namespace fs = std::filesystem;

namespace {

constexpr const char* kSharedFolders[] = {"Entries", "ImageCRC"};

bool Allowed(const MoveHooks& hooks, MoveStep step, const fs::path& rel) {
  return !hooks.allow || hooks.allow(step, rel);
}

// Every regular file below Entries\ and ImageCRC\, relative to `folder`; temporaries of
// interrupted writes are left out. False when a folder could not be listed whole.
bool ListShared(const fs::path& folder, std::vector<fs::path>& out) {
  for (const char* sub : kSharedFolders) {
    const fs::path root = folder / sub;
    std::error_code ec;
    if (!fs::exists(root, ec)) {
      if (ec) return false;
      continue;
    }
    fs::recursive_directory_iterator it(root, fs::directory_options::none, ec), end;
    for (; !ec && it != end; it.increment(ec)) {
      std::error_code statEc;
      if (it->is_symlink(statEc)) {
        if (it->is_directory(statEc)) it.disable_recursion_pending();
        continue;
      }
      if (!it->is_regular_file(statEc)) continue;
      if (IsProgramTempName(PathToUtf8(it->path().filename()))) continue;
      out.push_back(it->path().lexically_relative(folder));
    }
    if (ec) return false;
  }
  return true;
}

bool SameContent(const fs::path& a, const fs::path& b) {
  std::error_code ea, eb;
  const auto sa = fs::file_size(a, ea), sb = fs::file_size(b, eb);
  if (ea || eb || sa != sb) return false;
  auto da = ReadFileBytes(a, sa), db = ReadFileBytes(b, sb);
  return da && db && *da == *db;
}

fs::path FreeConflictPath(const fs::path& file, const MoveHooks& hooks) {
  std::error_code ec;
  const std::string name = PathToUtf8(file.filename());
  for (int n = 1; n < 1000; ++n) {
    std::string stamp = hooks.stamp;
    if (n > 1) stamp += " " + std::to_string(n);
    fs::path p = file.parent_path() / PathFromUtf8(OwnConflictName(name, hooks.computer, stamp));
    if (!fs::exists(p, ec) && !ec) return p;
  }
  return {};
}

struct Copied {
  fs::path source;       // absolute
  fs::path destination;  // absolute
  bool created = false;  // this move made the destination file
};

void RemoveCreated(const std::vector<Copied>& copies) {
  std::error_code ec;
  for (const Copied& c : copies)
    if (c.created) fs::remove(c.destination, ec);
}

// Removes empty folders below `root` (deepest first) and `root` itself when empty.
void RemoveEmptyFolders(const fs::path& root) {
  std::error_code ec;
  std::vector<fs::path> folders;
  for (fs::recursive_directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code statEc;
    if (it->is_directory(statEc) && !it->is_symlink(statEc)) folders.push_back(it->path());
  }
  for (auto it = folders.rbegin(); it != folders.rend(); ++it) fs::remove(*it, ec);  // only empty ones go
  fs::remove(root, ec);
}

}  // namespace

bool HoldsNotes(const fs::path& sharedFolder) {
  std::vector<fs::path> files;
  if (!ListShared(sharedFolder, files)) return true;  // unknown: ask rather than overwrite
  for (const fs::path& rel : files)
    if (rel.begin() != rel.end() && *rel.begin() == "Entries") return true;
  return false;
}

bool HoldsUnfinishedMove(const fs::path& sharedFolder) {
  std::error_code ec;
  return fs::is_regular_file(sharedFolder / kMoveMarkName, ec);
}

MoveResult MoveSharedData(const fs::path& from, const fs::path& to, MoveChoice choice, const MoveHooks& hooks) {
  MoveResult r;
  const fs::path mark = to / kMoveMarkName;
  bool marked = false;  // only a mark of this move is removed
  auto unmark = [&mark, &marked] {
    std::error_code ec;
    if (marked) fs::remove(mark, ec);
  };
  auto fail = [&r, &unmark](MoveStep step, const fs::path& rel) {
    unmark();
    r.outcome = MoveResult::Failed;
    r.failedAt = step;
    r.failedFile = rel;
    return r;
  };

  if (choice == MoveChoice::UseTarget) {
    if (!Allowed(hooks, MoveStep::Switch, {}) || !hooks.switchOver || !hooks.switchOver())
      return fail(MoveStep::Switch, {});
    return r;
  }

  std::vector<fs::path> files;
  if (!Allowed(hooks, MoveStep::List, {}) || !ListShared(from, files)) return fail(MoveStep::List, {});
  r.files = files.size();
  const size_t total = files.size() * 2;
  size_t done = 0;

  // Marks the target until the switch; without the mark (a folder that cannot be written
  // to) the copy below fails anyway.
  {
    std::error_code ec;
    fs::create_directories(to, ec);
    marked = WriteFileAtomic(mark, "");
  }
  std::vector<Copied> copies;
  copies.reserve(files.size());
  for (const fs::path& rel : files) {
    Copied c{from / rel, to / rel, false};
    std::error_code ec;
    const bool exists = fs::exists(c.destination, ec);
    if (ec || !Allowed(hooks, MoveStep::Copy, rel)) {
      RemoveCreated(copies);
      return fail(MoveStep::Copy, rel);
    }
    if (!exists || !SameContent(c.source, c.destination)) {
      if (exists) {
        // Both sides have this file with different content: both are kept.
        c.destination = FreeConflictPath(c.destination, hooks);
        ++r.conflictCopies;
      }
      fs::create_directories(c.destination.parent_path(), ec);
      auto bytes = ReadFileBytes(c.source);
      c.created = !c.destination.empty() && bytes && WriteFileAtomic(c.destination, *bytes);
      if (!c.created) {
        RemoveCreated(copies);
        return fail(MoveStep::Copy, rel);
      }
    }
    copies.push_back(c);
    if (hooks.progress && !hooks.progress(++done, total)) {
      RemoveCreated(copies);
      unmark();
      r.outcome = MoveResult::Cancelled;
      return r;
    }
  }

  for (size_t i = 0; i < copies.size(); ++i) {
    if (!Allowed(hooks, MoveStep::Verify, files[i]) || !SameContent(copies[i].source, copies[i].destination)) {
      RemoveCreated(copies);
      return fail(MoveStep::Verify, files[i]);
    }
    if (hooks.progress && !hooks.progress(++done, total)) {
      RemoveCreated(copies);
      unmark();
      r.outcome = MoveResult::Cancelled;
      return r;
    }
  }

  if (!Allowed(hooks, MoveStep::Switch, {}) || !hooks.switchOver || !hooks.switchOver()) {
    RemoveCreated(copies);
    return fail(MoveStep::Switch, {});
  }

  unmark();
  // From here on the new folder is in use: a file that cannot be removed stays behind.
  for (size_t i = 0; i < copies.size(); ++i) {
    std::error_code ec;
    if (!Allowed(hooks, MoveStep::CleanUp, files[i]) || !fs::remove(copies[i].source, ec) || ec) ++r.leftBehind;
  }
  for (const char* sub : kSharedFolders) RemoveEmptyFolders(from / sub);
  return r;
}

}  // namespace ov
