#pragma once
// Watches a folder and everything below it, on a thread of its own, for pictures that
// appear, disappear, are renamed or change size, and posts a message to a window for each
// change the library would show. The window decides when to act (the library waits for a
// quiet second).
#include <windows.h>

#include <filesystem>
#include <thread>

namespace ov {

class FolderWatcher {
 public:
  FolderWatcher() = default;
  ~FolderWatcher() { Stop(); }
  FolderWatcher(const FolderWatcher&) = delete;
  FolderWatcher& operator=(const FolderWatcher&) = delete;

  // Watches `folder` (stopping any earlier watch); false when it cannot be watched, for
  // example because it does not exist.
  bool Watch(const std::filesystem::path& folder, HWND notify, UINT message);
  void Stop();
  const std::filesystem::path& Folder() const { return folder_; }

 private:
  std::thread thread_;
  HANDLE stop_ = nullptr;
  std::filesystem::path folder_;
};

}  // namespace ov
