#include "win/app/StartTimes.h"

#include <windows.h>

#include <string>

#include "core/app/StepTimes.h"
#include "core/util/FileIo.h"

namespace ov {

namespace {

struct StartRecord {
  std::wstring file;
  StepTimes steps;
  ULONGLONG created = 0;  // 100-ns units since 1601
  bool written = false;
};

ULONGLONG Ticks(const FILETIME& t) { return (ULONGLONG(t.dwHighDateTime) << 32) | t.dwLowDateTime; }

// The precise clock from Windows 8 on; Windows 7 has the coarse one only.
ULONGLONG NowTicks() {
  using PreciseFn = VOID(WINAPI*)(LPFILETIME);
  static const auto precise = reinterpret_cast<PreciseFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetSystemTimePreciseAsFileTime")));
  FILETIME now{};
  if (precise) precise(&now);
  else GetSystemTimeAsFileTime(&now);
  return Ticks(now);
}

StartRecord* Record() {
  static StartRecord* record = [] () -> StartRecord* {
    wchar_t file[MAX_PATH * 2] = L"";
    const DWORD n = GetEnvironmentVariableW(L"OV_START_TIMES", file, MAX_PATH * 2);
    if (n == 0 || n >= MAX_PATH * 2) return nullptr;
    auto* r = new StartRecord;  // lives as long as the process
    r->file = file;
    FILETIME created{}, exited{}, kernel{}, user{};
    r->created = GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user) ? Ticks(created) : NowTicks();
    return r;
  }();
  return record;
}

}  // namespace

void MarkStartStep(const char* step) {
  StartRecord* r = Record();
  if (!r || r->written) return;
  r->steps.Mark(step, double(LONGLONG(NowTicks()) - LONGLONG(r->created)) / 10000.0);
}

void WriteStartTimes() {
  StartRecord* r = Record();
  if (!r || r->written) return;
  r->written = true;
  WriteFileAtomic(std::filesystem::path(r->file), r->steps.Report());
}

}  // namespace ov
