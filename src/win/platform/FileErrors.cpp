#include "win/platform/FileErrors.h"

#include "core/util/Text.h"
#include "win/platform/Utf16.h"

namespace ov {

std::string SystemErrorText(DWORD error) {
  wchar_t* buffer = nullptr;
  DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                           nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text = n && buffer ? std::wstring(buffer, n) : std::wstring();
  if (buffer) LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) text.pop_back();
  if (text.empty()) return Format("错误 0x%08X", static_cast<unsigned>(error));
  return Narrow(text);
}

std::string ReadFailureReason(const std::filesystem::path& file, uint64_t maxBytes) {
  HANDLE h = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return SystemErrorText(GetLastError());
  LARGE_INTEGER size{};
  bool sized = GetFileSizeEx(h, &size) != FALSE;
  DWORD error = sized ? ERROR_SUCCESS : GetLastError();
  CloseHandle(h);
  if (!sized) return SystemErrorText(error);
  if (static_cast<uint64_t>(size.QuadPart) > maxBytes)
    return Format("文件太大 (%llu 字节，最多 %llu 字节)。", static_cast<unsigned long long>(size.QuadPart),
                  static_cast<unsigned long long>(maxBytes));
  return SystemErrorText(ERROR_READ_FAULT);
}

}  // namespace ov
