#include "win/library/FolderWatcher.h"

#include <string>
#include <vector>

#include "core/library/ImageLibrary.h"

namespace ov {

namespace {

// A change report that goes missing (some file systems report only part of what happens
// below the top folder) is made good by comparing the tree once a minute anyway.
constexpr DWORD kPollMs = 60000;
// A copy in progress reports every block written: the tree is compared once the reports
// have paused this long.
constexpr DWORD kSettleMs = 200;

// What the library would hold: the pictures' paths and sizes, folded into one number.
uint64_t LibrarySignature(const std::filesystem::path& folder) {
  std::vector<TImageItem> items;
  ScanImageFolder(folder, items);
  uint64_t h = 1469598103934665603ull;
  auto mix = [&h](uint64_t v) {
    h ^= v;
    h *= 1099511628211ull;
  };
  for (const TImageItem& item : items) {
    for (unsigned char c : item.FileName) mix(c);
    mix(item.FileSize);
  }
  mix(items.size());
  return h;
}

void WatchUntilStopped(HANDLE change, HANDLE stop, const std::filesystem::path& folder, HWND notify,
                       UINT message) {
  uint64_t signature = LibrarySignature(folder);
  HANDLE waits[2] = {stop, change};
  for (;;) {
    const DWORD r = WaitForMultipleObjects(2, waits, FALSE, kPollMs);
    if (r == WAIT_OBJECT_0 || r == WAIT_FAILED) return;
    if (r == WAIT_OBJECT_0 + 1) {
      if (!FindNextChangeNotification(change)) return;
      while (WaitForMultipleObjects(2, waits, FALSE, kSettleMs) == WAIT_OBJECT_0 + 1)
        if (!FindNextChangeNotification(change)) break;
      if (WaitForSingleObject(stop, 0) == WAIT_OBJECT_0) return;
    }
    // Only changes the library would show count: a text file saved beside the
    // pictures rebuilds nothing.
    const uint64_t now = LibrarySignature(folder);
    if (now == signature) continue;
    signature = now;
    PostMessageW(notify, message, 0, 0);
  }
}

}  // namespace

bool FolderWatcher::Watch(const std::filesystem::path& folder, HWND notify, UINT message) {
  Stop();
  HANDLE change = FindFirstChangeNotificationW(folder.c_str(), TRUE,
                                              FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME |
                                                  FILE_NOTIFY_CHANGE_SIZE);
  if (change == INVALID_HANDLE_VALUE) return false;
  stop_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (!stop_) {
    FindCloseChangeNotification(change);
    return false;
  }
  folder_ = folder;
  HANDLE stop = stop_;
  thread_ = std::thread([change, stop, folder, notify, message] {
    try {
      WatchUntilStopped(change, stop, folder, notify, message);
    } catch (...) {
      // Out of memory while scanning, say: the folder is no longer watched, and the
      // menu's refresh still rescans it. Nothing may end the program from here.
    }
    FindCloseChangeNotification(change);
  });
  return true;
}

void FolderWatcher::Stop() {
  if (stop_) SetEvent(stop_);
  if (thread_.joinable()) thread_.join();
  if (stop_) CloseHandle(stop_);
  stop_ = nullptr;
  folder_.clear();
}

}  // namespace ov
