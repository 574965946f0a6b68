#pragma once
// Watches the notes for changes another computer's sync service makes: the entries
// folder itself (codes files, sections appearing or being renamed) and each section
// folder with everything below it, one watch per folder, since a watch of the whole tree
// misses changes on some shares. A slow re-read and an explicit Recheck (after the PC
// resumes) make good notifications that never arrive. A change is reported to a window
// once the files have been quiet for a moment, and only when the notes really differ.
#include <windows.h>

#include <atomic>
#include <filesystem>
#include <memory>
#include <thread>

namespace ov {

class NotesWatcher {
 public:
  NotesWatcher() = default;
  ~NotesWatcher() { Stop(); }
  NotesWatcher(const NotesWatcher&) = delete;
  NotesWatcher& operator=(const NotesWatcher&) = delete;

  // Starts watching `entriesFolder` (stopping any earlier watch); `message` is posted to
  // `notify` for each change. False when the thread could not start.
  bool Watch(const std::filesystem::path& entriesFolder, HWND notify, UINT message);
  // Compares the notes again now.
  void Recheck();
  // Around a rebuild of the wallpaper, which draws the notes as they are on disk then:
  // changes found while held are not reported, and Release takes the notes as they are
  // as the ones shown. The program's own writes (a note closed, a code set) are followed
  // by a rebuild and so never come back as a change from elsewhere.
  void Hold();
  void Release();
  void Stop();

 private:
  std::thread thread_;
  HANDLE stop_ = nullptr;
  HANDLE recheck_ = nullptr;
  HANDLE release_ = nullptr;
  std::shared_ptr<std::atomic<bool>> held_ = std::make_shared<std::atomic<bool>>(false);
};

}  // namespace ov
