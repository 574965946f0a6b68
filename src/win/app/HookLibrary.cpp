#include "win/app/HookLibrary.h"

namespace ov {

HookLibrary::~HookLibrary() {
  if (module_) FreeLibrary(module_);
}

bool HookLibrary::Load() {
  if (module_) return initialize_ && deInitialize_;
  // No "cannot find the library" box from the system: the caller shows its own message.
  UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  module_ = LoadLibraryExW(path_.wstring().c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  SetErrorMode(oldMode);
  if (!module_) return false;
  initialize_ = reinterpret_cast<InitializeFn>(reinterpret_cast<void*>(GetProcAddress(module_, "Initialize")));
  deInitialize_ = reinterpret_cast<DeInitializeFn>(reinterpret_cast<void*>(GetProcAddress(module_, "DeInitialize")));
  return initialize_ && deInitialize_;
}

int HookLibrary::Initialize(HWND window) {
  if (!Load()) return -1;
  return initialize_(window);
}

void HookLibrary::DeInitialize() {
  if (module_ && deInitialize_) deInitialize_();
}

}  // namespace ov
