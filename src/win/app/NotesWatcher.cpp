#include "win/app/NotesWatcher.h"

#include <string>
#include <vector>

#include "core/sync/NotesFingerprint.h"
#include "core/util/Paths.h"

namespace ov {

namespace fs = std::filesystem;

namespace {

// Notifications that never arrive (network shares drop them) are made good by comparing
// the notes this often anyway. Each comparison walks every note's name, size and time,
// so it stays rare: the hidden program must cost next to nothing while it waits.
constexpr DWORD kPollMs = 300000;
// A sync service writes a file in pieces: the notes are compared once reports have
// paused this long.
constexpr DWORD kSettleMs = 300;
// WaitForMultipleObjects takes at most 64 handles: stop, recheck, the entries folder and
// up to 61 section folders; further sections are covered by the slow re-read.
constexpr size_t kMaxHandles = MAXIMUM_WAIT_OBJECTS;

class Watches {
 public:
  ~Watches() { Close(); }
  void Open(const fs::path& entries, const std::vector<std::string>& sections) {
    Close();
    Add(entries, FALSE);
    // Some file systems report a change below a folder's subtree only one level down, so
    // the note folders of this year and the next are watched on their own as well.
    SYSTEMTIME now{};
    GetLocalTime(&now);
    for (const std::string& s : sections) {
      if (handles_.size() + 2 >= kMaxHandles) break;
      const fs::path section = entries / PathFromUtf8(s);
      Add(section, TRUE);
      const int thisYear = now.wYear;
      for (int year : {thisYear, thisYear + 1})
        if (handles_.size() + 2 < kMaxHandles) Add(section / "Notes" / std::to_wstring(year), FALSE);
    }
  }
  void Close() {
    for (HANDLE h : handles_) FindCloseChangeNotification(h);
    handles_.clear();
  }
  const std::vector<HANDLE>& Handles() const { return handles_; }

 private:
  void Add(const fs::path& folder, BOOL subtree) {
    HANDLE h = FindFirstChangeNotificationW(folder.c_str(), subtree,
                                           FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME |
                                               FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE);
    if (h != INVALID_HANDLE_VALUE) handles_.push_back(h);
  }
  std::vector<HANDLE> handles_;
};

// The handles waited on: stop, recheck, release, then the folder watches.
constexpr DWORD kFirstWatch = 3;
// How long a hold may keep a change unreported: a rebuild that takes longer than this
// has gone wrong, and the change is reported after all.
constexpr DWORD kMaxHoldMs = 10000;

void WatchUntilStopped(HANDLE stop, HANDLE recheck, HANDLE release, const std::atomic<bool>& held,
                       const fs::path& entries, HWND notify, UINT message) {
  NotesFingerprint last = FingerprintNotes(entries);
  Watches watches;
  watches.Open(entries, last.sections);
  // The notes as they are now are the ones shown (after a rebuild).
  auto takeAsShown = [&] {
    NotesFingerprint now = FingerprintNotes(entries);
    if (now.sections != last.sections) watches.Open(entries, now.sections);
    last = std::move(now);
  };
  for (;;) {
    std::vector<HANDLE> waits{stop, recheck, release};
    waits.insert(waits.end(), watches.Handles().begin(), watches.Handles().end());
    const DWORD n = static_cast<DWORD>(waits.size());
    const DWORD r = WaitForMultipleObjects(n, waits.data(), FALSE, kPollMs);
    if (r == WAIT_OBJECT_0 || r == WAIT_FAILED) return;
    if (r == WAIT_OBJECT_0 + 2) {
      takeAsShown();
      continue;
    }
    if (r >= WAIT_OBJECT_0 + kFirstWatch && r < WAIT_OBJECT_0 + n) {
      FindNextChangeNotification(waits[r - WAIT_OBJECT_0]);
      // Wait for a quiet moment, bounded so a folder that never settles is still compared.
      for (int k = 0; k < 20; ++k) {
        const DWORD again = WaitForMultipleObjects(n, waits.data(), FALSE, kSettleMs);
        if (again == WAIT_OBJECT_0) return;
        if (again == WAIT_TIMEOUT || again == WAIT_FAILED) break;
        if (again == WAIT_OBJECT_0 + 2) takeAsShown();
        if (again >= WAIT_OBJECT_0 + kFirstWatch && again < WAIT_OBJECT_0 + n)
          FindNextChangeNotification(waits[again - WAIT_OBJECT_0]);
      }
    }
    // The program is rebuilding (after its own write, most likely): what it draws is
    // taken as shown when it is done.
    if (held) {
      const HANDLE done[] = {stop, release};
      const DWORD d = WaitForMultipleObjects(2, done, FALSE, kMaxHoldMs);
      if (d == WAIT_OBJECT_0 || d == WAIT_FAILED) return;
      if (d == WAIT_OBJECT_0 + 1) {
        takeAsShown();
        continue;
      }
    }
    const NotesFingerprint now = FingerprintNotes(entries);
    if (now == last) continue;
    // A section appeared, went or was renamed: its folder is watched from now on.
    if (now.sections != last.sections) watches.Open(entries, now.sections);
    last = now;
    PostMessageW(notify, message, 0, 0);
  }
}

}  // namespace

bool NotesWatcher::Watch(const fs::path& entriesFolder, HWND notify, UINT message) {
  Stop();
  stop_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  recheck_ = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  release_ = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  if (!stop_ || !recheck_ || !release_) {
    Stop();
    return false;
  }
  HANDLE stop = stop_, recheck = recheck_, release = release_;
  std::shared_ptr<std::atomic<bool>> held = held_;
  try {
    thread_ = std::thread([stop, recheck, release, held, entriesFolder, notify, message] {
      try {
        WatchUntilStopped(stop, recheck, release, *held, entriesFolder, notify, message);
      } catch (...) {
        // Out of memory while comparing, say: the notes are no longer watched, and a
        // rebuild still reads them. Nothing may end the program from here.
      }
    });
  } catch (...) {
    Stop();
    return false;
  }
  return true;
}

void NotesWatcher::Recheck() {
  if (recheck_) SetEvent(recheck_);
}

void NotesWatcher::Hold() { *held_ = true; }

void NotesWatcher::Release() {
  *held_ = false;
  if (release_) SetEvent(release_);
}

void NotesWatcher::Stop() {
  if (stop_) SetEvent(stop_);
  if (thread_.joinable()) thread_.join();
  if (stop_) CloseHandle(stop_);
  if (recheck_) CloseHandle(recheck_);
  if (release_) CloseHandle(release_);
  stop_ = recheck_ = release_ = nullptr;
}

}  // namespace ov
