#pragma once
// The desktop hook library MHookOV.dll, bound at run time so that a missing or broken
// library shows the program's own error box instead of a loader failure.
#include <windows.h>

#include <filesystem>

namespace ov {

class HookLibrary {
 public:
  explicit HookLibrary(std::filesystem::path dllPath) : path_(std::move(dllPath)) {}
  ~HookLibrary();
  HookLibrary(const HookLibrary&) = delete;
  HookLibrary& operator=(const HookLibrary&) = delete;

  // Loads the library when needed and calls its Initialize. 0 means the hook is
  // installed; a library that cannot be loaded or lacks the function gives -1.
  int Initialize(HWND window);
  // Calls DeInitialize when the library is loaded; harmless otherwise.
  void DeInitialize();

 private:
  bool Load();
  using InitializeFn = int(WINAPI*)(HWND);
  using DeInitializeFn = void(WINAPI*)();

  std::filesystem::path path_;
  HMODULE module_ = nullptr;
  InitializeFn initialize_ = nullptr;
  DeInitializeFn deInitialize_ = nullptr;
};

}  // namespace ov
